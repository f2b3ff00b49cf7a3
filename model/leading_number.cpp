// SPDX-FileCopyrightText: The LC Tune developers
// SPDX-License-Identifier: MIT

#include "model/leading_number.h"

#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace {

bool isIgnored(char c)
{
    return c == ' ' || c == '\t' || c == '\n';
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool isHexDigit(char c)
{
    return isDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

bool isOctalDigit(char c)
{
    return c >= '0' && c <= '7';
}

// Walks the text and never stops on an ignored character, so the grammar below can be written as
// if the text had none.
class Cursor
{
public:
    explicit Cursor(std::string_view text) : m_text(text) { skipIgnored(); }

    bool atEnd() const { return m_pos == m_text.size(); }
    bool at(char c) const { return !atEnd() && m_text[m_pos] == c; }
    bool atAnyOf(std::string_view set) const
    {
        return !atEnd() && set.find(m_text[m_pos]) != std::string_view::npos;
    }
    template <typename Predicate> bool atClass(Predicate isMember) const
    {
        return !atEnd() && isMember(m_text[m_pos]);
    }
    // Only where !atEnd().
    char current() const { return m_text[m_pos]; }
    void advance()
    {
        ++m_pos;
        skipIgnored();
    }

private:
    void skipIgnored()
    {
        while (m_pos < m_text.size() && isIgnored(m_text[m_pos]))
            ++m_pos;
    }

    std::string_view m_text;
    std::size_t m_pos = 0;
};

// The characters handed to std::from_chars: the number without the ignored characters. Box texts
// fit the inline part; only an absurdly long number needs the heap.
class Collected
{
public:
    void push(char c)
    {
        if (m_size < m_inline.size()) {
            m_inline[m_size] = c;
        } else {
            if (m_size == m_inline.size())
                m_heap.assign(m_inline.data(), m_size);
            m_heap.push_back(c);
        }
        ++m_size;
    }
    bool empty() const { return m_size == 0; }
    const char *begin() const
    {
        return m_size <= m_inline.size() ? m_inline.data() : m_heap.data();
    }
    const char *end() const { return begin() + m_size; }

private:
    std::array<char, 64> m_inline;
    std::size_t m_size = 0;
    std::string m_heap;
};

constexpr double infinity = std::numeric_limits<double>::infinity();

double readDecimal(Cursor cursor)
{
    Collected chars;
    const bool negative = cursor.at('-');
    if (negative)
        chars.push('-');
    if (negative || cursor.at('+'))
        cursor.advance();

    // Decimal order of the first significant digit, needed only to tell an overflow from an
    // underflow when from_chars reports a value out of range.
    long long order = 0;
    bool significant = false;
    bool anyDigit = false;
    while (cursor.atClass(isDigit)) {
        significant = significant || cursor.current() != '0';
        if (significant)
            ++order;
        anyDigit = true;
        chars.push(cursor.current());
        cursor.advance();
    }
    if (cursor.at('.')) {
        chars.push('.');
        cursor.advance();
        while (cursor.atClass(isDigit)) {
            if (!significant) {
                significant = cursor.current() != '0';
                --order;
            }
            anyDigit = true;
            chars.push(cursor.current());
            cursor.advance();
        }
    }
    if (!anyDigit)
        return 0.0;

    if (cursor.atAnyOf("EeDd")) {
        // An exponent letter counts only when digits follow it; "1e" and "1e+" read as 1.
        Cursor exponent = cursor;
        exponent.advance();
        const bool exponentNegative = exponent.at('-');
        if (exponentNegative || exponent.at('+'))
            exponent.advance();
        if (exponent.atClass(isDigit)) {
            chars.push('e');
            if (exponentNegative)
                chars.push('-');
            long long value = 0;
            while (exponent.atClass(isDigit)) {
                // Saturates far beyond any double's range; the digits still go to from_chars.
                if (value < 1'000'000'000)
                    value = value * 10 + (exponent.current() - '0');
                chars.push(exponent.current());
                exponent.advance();
            }
            order += exponentNegative ? -value : value;
        }
    }

    double value = 0.0;
    const auto [end, error] = std::from_chars(chars.begin(), chars.end(), value);
    if (error == std::errc::result_out_of_range) {
        const double magnitude = order > 0 ? infinity : 0.0;
        return negative ? -magnitude : magnitude;
    }
    return value;
}

// Digits after &H: hexadecimal as they stand.
double readHex(Cursor cursor)
{
    Collected digits;
    while (cursor.atClass(isHexDigit)) {
        digits.push(cursor.current());
        cursor.advance();
    }
    if (digits.empty())
        return 0.0;
    double value = 0.0;
    const auto [end, error] =
        std::from_chars(digits.begin(), digits.end(), value, std::chars_format::hex);
    return error == std::errc::result_out_of_range ? infinity : value;
}

// Digits after &O: regrouped from three bits a digit into hexadecimal digits, so that from_chars
// rounds an octal number of any length exactly as it does a hexadecimal one.
double readOctal(Cursor cursor)
{
    std::string octal;
    while (cursor.atClass(isOctalDigit)) {
        octal.push_back(cursor.current());
        cursor.advance();
    }
    if (octal.empty())
        return 0.0;

    constexpr std::string_view hexDigits = "0123456789abcdef";
    std::string hex(octal.size() * 3 / 4 + 1, '0');
    auto out = hex.rbegin();
    unsigned bits = 0;
    int bitCount = 0;
    // Clang 14, which builds the fuzzer, cannot compile std::views::reverse over GCC 12's library.
    // NOLINTNEXTLINE(modernize-loop-convert)
    for (auto digit = octal.rbegin(); digit != octal.rend(); ++digit) {
        bits |= static_cast<unsigned>(*digit - '0') << bitCount;
        bitCount += 3;
        if (bitCount >= 4) {
            *out++ = hexDigits[bits & 0xFu];
            bits >>= 4;
            bitCount -= 4;
        }
    }
    if (bitCount > 0)
        *out = hexDigits[bits];

    double value = 0.0;
    const auto [end, error] =
        std::from_chars(hex.data(), hex.data() + hex.size(), value, std::chars_format::hex);
    return error == std::errc::result_out_of_range ? infinity : value;
}

} // namespace

namespace model {

double readLeadingNumber(std::string_view text)
{
    Cursor cursor(text);
    if (!cursor.at('&'))
        return readDecimal(cursor);

    cursor.advance();
    if (cursor.atAnyOf("Hh")) {
        cursor.advance();
        return readHex(cursor);
    }
    if (cursor.atAnyOf("Oo")) {
        cursor.advance();
        return readOctal(cursor);
    }
    return 0.0;
}

} // namespace model
