// SPDX-FileCopyrightText: The LC Tune developers
// SPDX-License-Identifier: MIT

// Stands in for the print helper: takes what the window hands over, keeps it as a file of its own
// in a directory where told, and answers as told, after a while where told.
// Usage: print_stand_in <exit status> <milliseconds> <words> [<directory>]

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <thread>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

int main(int argc, char *argv[])
{
    if (argc < 4)
        return 99;
#ifdef _WIN32
    // The page is binary: text mode would end it at the first Ctrl-Z and drop its CRs.
    _setmode(_fileno(stdin), _O_BINARY);
#endif
    const std::string taken(std::istreambuf_iterator<char>(std::cin), {});
    // Written whole under another name first, so that a reader never finds half a page.
    if (argc > 4) {
        const std::filesystem::path directory = argv[4];
        std::ofstream(directory / "taking", std::ios::binary) << taken;
        const auto kept = std::distance(std::filesystem::directory_iterator(directory), {});
        std::filesystem::rename(directory / "taking", directory / std::to_string(kept));
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(std::atoi(argv[2])));
    std::cout << argv[3];
    return std::atoi(argv[1]);
}
