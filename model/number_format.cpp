// SPDX-FileCopyrightText: The LC Tune developers
// SPDX-License-Identifier: MIT

#include "model/number_format.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>

namespace model {

std::optional<std::string> formatFixed(double value, int decimals)
{
    if (!std::isfinite(value) || decimals < 0 || decimals > maxDecimals)
        return std::nullopt;

    // Sign, the 309 integer digits of the largest double, the point and the decimals.
    std::array<char, 1 + 309 + 1 + maxDecimals> buffer;
    auto [end, error] = std::to_chars(
        buffer.data(), buffer.data() + buffer.size(), value, std::chars_format::fixed, decimals);
    if (error != std::errc {})
        return std::nullopt;
    if (decimals == 0)
        *end++ = '.';

    char *begin = buffer.data();
    if (*begin == '-' && std::all_of(begin + 1, end, [](char c) { return c == '0' || c == '.'; }))
        ++begin;
    return std::string(begin, end);
}

} // namespace model
