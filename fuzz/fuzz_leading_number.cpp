// SPDX-FileCopyrightText: The LC Tune developers
// SPDX-License-Identifier: MIT

// Properties of the leading-number reader on any bytes: it never crashes, never reads outside the
// text, never gives a NaN, and on a plain decimal text (sign, digits, one point, e-exponent, with
// blanks anywhere) agrees bit for bit with std::strtod on the text with the blanks removed. The
// program never calls setlocale, so strtod works in the "C" locale and takes "." as the point.

#include "model/leading_number.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n';
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// [+-]? (digits [.] digits* | . digits) ([eE] [+-]? digits)?, all of it. strtod reads more
// ("inf", "0x1p3", a leading blank) and the calculator reads "D" exponents and &H, so only on
// this common ground must they agree.
bool isPlainDecimal(std::string_view s)
{
    std::size_t i = 0;
    auto digits = [&] {
        const std::size_t start = i;
        while (i < s.size() && isDigit(s[i]))
            ++i;
        return i - start;
    };
    if (i < s.size() && (s[i] == '+' || s[i] == '-'))
        ++i;
    std::size_t mantissa = digits();
    if (i < s.size() && s[i] == '.') {
        ++i;
        mantissa += digits();
    }
    if (mantissa == 0)
        return false;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        ++i;
        if (i < s.size() && (s[i] == '+' || s[i] == '-'))
            ++i;
        if (digits() == 0)
            return false;
    }
    return i == s.size();
}

bool sameBits(double a, double b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    // An exact-size heap copy: one byte read past the text is a heap overflow to AddressSanitizer.
    const auto copy = std::make_unique<char[]>(size);
    if (size > 0)
        std::memcpy(copy.get(), data, size);
    const std::string_view text(copy.get(), size);

    const double value = model::readLeadingNumber(text);
    if (std::isnan(value))
        std::abort();

    std::string squeezed;
    for (const char c : text) {
        if (!isBlank(c))
            squeezed.push_back(c);
    }
    if (isPlainDecimal(squeezed) && !sameBits(value, std::strtod(squeezed.c_str(), nullptr)))
        std::abort();
    return 0;
}
