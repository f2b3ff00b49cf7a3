// SPDX-FileCopyrightText: The LC Tune developers
// SPDX-License-Identifier: MIT

#pragma once

#include <optional>
#include <string>

namespace model {

inline constexpr int maxDecimals = 20;

// Writes value with exactly `decimals` digits after a "." that is always there ("2." for no
// decimals), no digit grouping, a zero before the point of a value under 1 and a leading "-" for a
// negative value, whatever the user's regional settings, so that readLeadingNumber reads the text
// back as the same number. A value that rounds to zero has no sign: never "-0.000".
//
// Rounding is that of the exact binary value, as std::to_chars does it: a double that lies exactly
// halfway (0.125 to two decimals, 2.5 to none) goes to the even last digit, as printf does; 0.0005
// is not a half as a double but a little above, so it gives 0.001, while 1.0005 lies a little below
// and gives 1.000.
//
// An infinity or a NaN has no text, and neither has a count of decimals outside 0..maxDecimals:
// the result is then std::nullopt, so a caller cannot put "inf" or "nan" into a box by mistake.
std::optional<std::string> formatFixed(double value, int decimals);

} // namespace model
