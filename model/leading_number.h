// SPDX-FileCopyrightText: The LC Tune developers
// SPDX-License-Identifier: MIT

#pragma once

#include <string_view>

namespace model {

// Reads the number at the start of a box or tag text. Blanks, tabs and line feeds are ignored
// wherever they stand; then come an optional sign, digits with at most one ".", and an optional
// exponent (E or D in either case, an optional sign, digits). A text starting with &H or &O (either
// case) holds a hexadecimal or octal whole number. Reading stops at the first character that cannot
// continue the number, so "9,78" reads as 9 and "5.00 uH" as 5; a text holding no number reads as
// 0. No text is ever rejected, and the result is never a NaN.
//
// The value is the correctly rounded double of the digits read. A decimal number too large for a
// double reads as an infinity of its sign, as std::strtod gives it, so that the solvers see a value
// they cannot use instead of a made-up largest double; one too small reads as a zero of its sign.
// Hexadecimal and octal numbers are unsigned whatever their length: &HFFFF is 65535, not the
// 16-bit -1 of old BASICs, because a box holds a magnitude and a machine word size has no meaning
// here (&HFFFF being -1 while &H10000 is 65536 would make the value jump with the digit count).
// Beyond the range of a double they read as +infinity.
double readLeadingNumber(std::string_view text);

} // namespace model
