// SPDX-FileCopyrightText: The LC Tune developers
// SPDX-License-Identifier: MIT

#include "model/leading_number.h"

#include <QTest>

#include <cfloat>
#include <cmath>
#include <limits>

namespace {

constexpr double inf = std::numeric_limits<double>::infinity();

// Exact: every expected value is a literal the compiler rounds correctly, and so must the reader.
// The sign of a zero counts too.
bool same(double got, double want)
{
    return got == want && std::signbit(got) == std::signbit(want);
}

QString repeated(const char *head, int count, char digit, const char *tail = "")
{
    return QString::fromLatin1(head) + QString(count, QLatin1Char(digit))
        + QString::fromLatin1(tail);
}

} // namespace

class TestLeadingNumber : public QObject
{
    Q_OBJECT

private slots:
    void reads_data();
    void reads();
};

void TestLeadingNumber::reads_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("expected");

    // clang-format off
    QTest::newRow("whole number")                 << "20" << 20.0;
    QTest::newRow("decimal")                      << "9.78" << 9.78;
    QTest::newRow("initial box with zeros")       << "5.00" << 5.0;

    QTest::newRow("blank between digits")         << "1 2.5" << 12.5;
    QTest::newRow("blank, digit, blank, digit")   << " 1 2" << 12.0;
    QTest::newRow("tab and line feed inside")     << "1\t2\n.5" << 12.5;
    QTest::newRow("leading and trailing blanks")  << " \t\n 7 \n" << 7.0;
    QTest::newRow("blank after the sign")         << "- 5" << -5.0;
    QTest::newRow("blanks inside the exponent")   << "1 e - 3" << 0.001;
    QTest::newRow("carriage return ends it")      << "1\r2" << 1.0;
    QTest::newRow("no-break space ends it")       << QString::fromUtf8("\u00a05") << 0.0;

    QTest::newRow("plus sign")                    << "+7" << 7.0;
    QTest::newRow("minus sign")                   << "-7.25" << -7.25;
    QTest::newRow("sign only")                    << "-" << 0.0;
    QTest::newRow("plus only")                    << "+" << 0.0;
    QTest::newRow("two signs")                    << "--5" << 0.0;
    QTest::newRow("plus then minus")              << "+-5" << 0.0;
    QTest::newRow("negative zero")                << "-0" << -0.0;

    QTest::newRow("point first")                  << ".5" << 0.5;
    QTest::newRow("sign then point")              << "-.5" << -0.5;
    QTest::newRow("trailing point")               << "5." << 5.0;
    QTest::newRow("point only")                   << "." << 0.0;
    QTest::newRow("sign and point only")          << "-." << 0.0;
    QTest::newRow("second point ends it")         << "1.2.3" << 1.2;
    QTest::newRow("two points in a row")          << "1..5" << 1.0;

    QTest::newRow("comma ends it")                << "9,78" << 9.0;
    QTest::newRow("unit after the number")        << "5.00 uH" << 5.0;
    QTest::newRow("letters glued to the number")  << "5uH3" << 5.0;
    QTest::newRow("letters only")                 << "abc" << 0.0;
    QTest::newRow("empty")                        << "" << 0.0;
    QTest::newRow("blanks only")                  << "  \t " << 0.0;
    QTest::newRow("full-width digit")             << QString::fromUtf8("\uff15") << 0.0;

    QTest::newRow("exponent")                     << "1e3" << 1000.0;
    QTest::newRow("capital exponent")             << "1E3" << 1000.0;
    QTest::newRow("D exponent")                   << "1D3" << 1000.0;
    QTest::newRow("small d exponent")             << "2.5d-1" << 0.25;
    QTest::newRow("negative exponent")            << "25e-1" << 2.5;
    QTest::newRow("explicit plus exponent")       << "1e+2" << 100.0;
    QTest::newRow("exponent after a point")       << "5.e1" << 50.0;
    QTest::newRow("exponent without digits")      << "1e" << 1.0;
    QTest::newRow("exponent sign without digits") << "1e+" << 1.0;
    QTest::newRow("exponent minus then letter")   << "1e-x" << 1.0;
    QTest::newRow("point after the exponent")     << "1e3.5" << 1000.0;
    QTest::newRow("second exponent ends it")      << "1e3e2" << 1000.0;
    QTest::newRow("exponent without mantissa")    << "e5" << 0.0;
    QTest::newRow("point then exponent")          << ".e5" << 0.0;
    QTest::newRow("zero to a huge power")         << "0e999999999999999999999" << 0.0;

    QTest::newRow("hexadecimal")                  << "&H10" << 16.0;
    QTest::newRow("hexadecimal lower case")       << "&hfF" << 255.0;
    QTest::newRow("hexadecimal E is a digit")     << "&H1E3" << 483.0;
    QTest::newRow("hexadecimal stops at point")   << "&H1.5" << 1.0;
    QTest::newRow("hexadecimal with blanks")      << " & H 1 0" << 16.0;
    QTest::newRow("hexadecimal without digits")   << "&H" << 0.0;
    QTest::newRow("hexadecimal then junk")        << "&Hx1" << 0.0;
    QTest::newRow("octal")                        << "&o17" << 15.0;
    QTest::newRow("octal capital")                << "&O777" << 511.0;
    QTest::newRow("octal stops at 8")             << "&O78" << 7.0;
    QTest::newRow("octal without valid digit")    << "&O9" << 0.0;
    QTest::newRow("octal without digits")         << "&o" << 0.0;
    QTest::newRow("ampersand alone")              << "&" << 0.0;
    QTest::newRow("ampersand, other letter")      << "&X10" << 0.0;
    QTest::newRow("ampersand, digits")            << "&17" << 0.0;
    QTest::newRow("sign before ampersand")        << "-&H10" << 0.0;

    // Unsigned whatever the width: no 16- or 32-bit two's complement.
    QTest::newRow("hexadecimal 16 bits set")      << "&HFFFF" << 65535.0;
    QTest::newRow("hexadecimal 32 bits set")      << "&HFFFFFFFF" << 4294967295.0;
    QTest::newRow("octal 16 bits set")            << "&O177777" << 65535.0;
    QTest::newRow("hexadecimal 2^64")             << "&H10000000000000000" << 18446744073709551616.0;
    QTest::newRow("octal 2^67")                   << repeated("&O2", 22, '0') << 147573952589676412928.0;
    // 2^53 + 1 lies halfway between two doubles; the even one wins. 2^53 + 3 rounds up.
    QTest::newRow("hexadecimal tie to even")      << "&H20000000000001" << 9007199254740992.0;
    QTest::newRow("hexadecimal tie upwards")      << "&H20000000000003" << 9007199254740996.0;
    QTest::newRow("octal tie to even")            << repeated("&O4", 16, '0', "1") << 9007199254740992.0;
    QTest::newRow("octal leading zeros")          << repeated("&O", 100, '0', "17") << 15.0;
    QTest::newRow("hexadecimal beyond a double")  << repeated("&H", 300, 'F') << inf;
    QTest::newRow("octal beyond a double")        << repeated("&O", 400, '7') << inf;

    QTest::newRow("too large for a double")       << "1e309" << inf;
    QTest::newRow("too large and negative")       << "-1e309" << -inf;
    QTest::newRow("too large by its digits")      << repeated("1", 400, '0') << inf;
    QTest::newRow("huge exponent digits")         << "1e99999999999999999999" << inf;
    QTest::newRow("largest double")               << "1.7976931348623157e308" << DBL_MAX;
    QTest::newRow("rounds down to largest")       << "1.7976931348623158e308" << DBL_MAX;
    QTest::newRow("just above largest")           << "1.7976931348623159e308" << inf;
    QTest::newRow("too small for a double")       << "1e-400" << 0.0;
    QTest::newRow("too small and negative")       << "-1e-400" << -0.0;
    QTest::newRow("too small by its zeros")       << repeated("0.", 1000, '0', "1") << 0.0;
    QTest::newRow("tiny exponent digits")         << "1e-99999999999999999999" << 0.0;
    QTest::newRow("smallest subnormal")           << "4.9406564584124654e-324" << 4.9406564584124654e-324;
    QTest::newRow("subnormal")                    << "1e-310" << 1e-310;
    QTest::newRow("fraction, then overflow")      << repeated("0.", 10, '0', "1e320") << inf;

    // Correct rounding needs every digit: 2^53 + 1 + 1e-10 lies just above the halfway point.
    QTest::newRow("halfway, then a far digit")    << "9007199254740993.0000000001" << 9007199254740994.0;
    QTest::newRow("halfway exactly")              << "9007199254740993" << 9007199254740992.0;
    QTest::newRow("long decimal of 0.1")          << "0.1000000000000000055511151231257827" << 0.1;
    QTest::newRow("many integer digits")          << repeated("1", 300, '0') << 1e300;
    QTest::newRow("many leading zeros")           << repeated("", 300, '0', "1.5") << 1.5;
    QTest::newRow("many digits with blanks")      << repeated("1 ", 100, '0', " e-100") << 1.0;
    // clang-format on
}

void TestLeadingNumber::reads()
{
    QFETCH(QString, text);
    QFETCH(double, expected);

    const std::string utf8 = text.toStdString();
    const double got = model::readLeadingNumber(utf8);
    QVERIFY2(same(got, expected),
        qPrintable(
            QStringLiteral("read %1, expected %2").arg(got, 0, 'g', 17).arg(expected, 0, 'g', 17)));
}

QTEST_APPLESS_MAIN(TestLeadingNumber)
#include "tst_leading_number.moc"
