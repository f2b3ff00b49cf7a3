// SPDX-FileCopyrightText: The LC Tune developers
// SPDX-License-Identifier: MIT

// Stands in for the print helper: takes the pages that the window hands over, keeps each copy as
// a file of its own ("<title>\n<image>") in a directory where told, and answers as told, after a
// while where told: <milliseconds> is the wait of every hand-over, or "<first>,<later>", where a
// wait "@<ms>" lasts until that many milliseconds after the epoch.
// Usage: print_stand_in <exit status> <milliseconds> <words> [<directory>] [--pages <file>]

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iomanip>
#include <iostream>
#include <iterator>
#include <random>
#include <sstream>
#include <string>
#include <system_error>
#include <thread>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

namespace {

// Written whole under another name first, so that a reader never finds half a page; named for
// the time taken, so that the names sort in the order taken, whichever stand-in took it. A test
// that has ended has taken its directory away: nothing is kept then.
void keep(const std::filesystem::path &directory, const std::string &page, int copy)
{
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    std::ostringstream name;
    name << std::setw(20) << std::setfill('0') << std::chrono::nanoseconds(now).count() << '-'
         << std::random_device {}() << '-' << copy;
    std::error_code gone;
    std::ofstream(directory / ("taking-" + name.str()), std::ios::binary) << page;
    std::filesystem::rename(directory / ("taking-" + name.str()), directory / name.str(), gone);
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc < 4)
        return 99;
    // Pages from a window that has closed come in a file, the stand-in's to remove.
    std::ostringstream input;
    if (argc > 2 && std::string(argv[argc - 2]) == "--pages") {
        input << std::ifstream(argv[argc - 1], std::ios::binary).rdbuf();
        std::filesystem::remove(argv[argc - 1]);
        argc -= 2;
    } else {
#ifdef _WIN32
        // The page is binary: text mode would end it at the first Ctrl-Z and drop its CRs.
        _setmode(_fileno(stdin), _O_BINARY);
#endif
        std::ios::sync_with_stdio(false);
        input << std::cin.rdbuf();
    }
    const std::string taken = input.str();
    const std::string wait = argv[2];
    std::error_code gone;
    const bool first = argc <= 4 || std::filesystem::is_empty(argv[4], gone);
    const std::size_t comma = wait.find(',');
    const char *waitText =
        first || comma == std::string::npos ? wait.c_str() : wait.c_str() + comma + 1;
    for (std::size_t at = 0; argc > 4 && at < taken.size();) {
        const std::size_t lineEnd = taken.find('\n', at);
        std::istringstream head(taken.substr(at, lineEnd - at));
        int copies = 0;
        std::size_t bytes = 0;
        std::string title;
        head >> copies >> bytes;
        std::getline(head >> std::ws, title);
        if (lineEnd == std::string::npos || copies < 1 || lineEnd + 1 + bytes > taken.size())
            return 98;
        for (int copy = 0; copy < copies; ++copy)
            keep(argv[4], title + '\n' + taken.substr(lineEnd + 1, bytes), copy);
        at = lineEnd + 1 + bytes;
    }
    if (*waitText == '@')
        std::this_thread::sleep_until(std::chrono::system_clock::time_point(
            std::chrono::milliseconds(std::atoll(waitText + 1))));
    else
        std::this_thread::sleep_for(std::chrono::milliseconds(std::atoi(waitText)));
    std::cout << argv[3];
    return std::atoi(argv[1]);
}
