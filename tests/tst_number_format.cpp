// SPDX-FileCopyrightText: The LC Tune developers
// SPDX-License-Identifier: MIT

#include "model/number_format.h"

#include "model/leading_number.h"

#include <QTest>

#include <cfloat>
#include <cmath>
#include <limits>

class TestNumberFormat : public QObject
{
    Q_OBJECT

private slots:
    void writes_data();
    void writes();
    void hasNoText_data();
    void hasNoText();
    void readsBack_data();
    void readsBack();
};

void TestNumberFormat::writes_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("decimals");
    QTest::addColumn<QString>("expected");

    // The exact decimal expansion of the largest double, 2^1024 - 2^971.
    const QString largest = QStringLiteral(
        "17976931348623157081452742373170435679807056752584499659891747680315726078002853876058"
        "95586327668781715404589535143824642343213268894641827684675467035375169860499105765512"
        "82076245490090389328944075868508455133942304583236903222948165808559332123348274797826"
        "204144723168738177180919299881250404026184124858368.000");

    // clang-format off
    QTest::newRow("three zeros added")            << 9.78 << 3 << "9.780";
    QTest::newRow("whole number")                 << 20.0 << 3 << "20.000";
    QTest::newRow("leading zero under one")       << 0.02 << 3 << "0.020";
    QTest::newRow("zero")                         << 0.0 << 3 << "0.000";
    QTest::newRow("negative zero has no sign")    << -0.0 << 3 << "0.000";
    QTest::newRow("negative rounding to zero")    << -0.0004 << 3 << "0.000";
    QTest::newRow("negative")                     << -1.5 << 3 << "-1.500";
    QTest::newRow("negative under one")           << -0.25 << 3 << "-0.250";
    QTest::newRow("rounds up")                    << 9.776807789019582 << 3 << "9.777";
    QTest::newRow("rounds down")                  << 14.84127095050063 << 3 << "14.841";
    QTest::newRow("carry through the point")      << 9.9996 << 3 << "10.000";
    QTest::newRow("negative carry")               << -9.9996 << 3 << "-10.000";
    QTest::newRow("no digit grouping")            << 1234567.891 << 3 << "1234567.891";
    QTest::newRow("2^100 to every digit")         << 1267650600228229401496703205376.0 << 3
                                                  << "1267650600228229401496703205376.000";
    QTest::newRow("largest double")               << DBL_MAX << 3 << largest;
    QTest::newRow("smallest subnormal")           << 4.9406564584124654e-324 << 3 << "0.000";

    // Halves that a double holds exactly go to the even digit.
    QTest::newRow("exact half to even, down")     << 0.125 << 2 << "0.12";
    QTest::newRow("exact half to even, up")       << 0.375 << 2 << "0.38";
    QTest::newRow("exact half, three decimals")   << 2.0625 << 3 << "2.062";
    QTest::newRow("two and a half to none")       << 2.5 << 0 << "2.";
    QTest::newRow("three and a half to none")     << 3.5 << 0 << "4.";
    QTest::newRow("negative half to none")        << -2.5 << 0 << "-2.";
    QTest::newRow("minus a half to zero")         << -0.5 << 0 << "0.";
    QTest::newRow("one decimal, half to even")    << 3.25 << 1 << "3.2";
    // Decimal halves are not halves as doubles: the binary value decides.
    QTest::newRow("0.0005 lies above half")       << 0.0005 << 3 << "0.001";
    QTest::newRow("-0.0005 lies above half")      << -0.0005 << 3 << "-0.001";
    QTest::newRow("0.0015 lies above half")       << 0.0015 << 3 << "0.002";
    QTest::newRow("1.0005 lies below half")       << 1.0005 << 3 << "1.000";
    QTest::newRow("3.05 lies below half")         << 3.05 << 1 << "3.0";

    QTest::newRow("spin step, two decimals")      << 20.0 + 0.01 << 2 << "20.01";
    QTest::newRow("two decimals under one")       << 0.05 << 2 << "0.05";
    QTest::newRow("spin step, one decimal")       << 3.0 + 0.1 << 1 << "3.1";
    QTest::newRow("one decimal, whole number")    << 3.0 << 1 << "3.0";
    QTest::newRow("most decimals")                << 0.1 << model::maxDecimals << "0.10000000000000000555";
    // clang-format on
}

void TestNumberFormat::writes()
{
    QFETCH(double, value);
    QFETCH(int, decimals);
    QFETCH(QString, expected);

    const std::optional<std::string> text = model::formatFixed(value, decimals);
    QVERIFY(text);
    QCOMPARE(QString::fromStdString(*text), expected);
}

void TestNumberFormat::hasNoText_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("decimals");

    constexpr double inf = std::numeric_limits<double>::infinity();
    QTest::newRow("infinity") << inf << 3;
    QTest::newRow("minus infinity") << -inf << 3;
    QTest::newRow("not a number") << std::numeric_limits<double>::quiet_NaN() << 3;
    QTest::newRow("negative count of decimals") << 1.0 << -1;
    QTest::newRow("too many decimals") << 1.0 << model::maxDecimals + 1;
}

void TestNumberFormat::hasNoText()
{
    QFETCH(double, value);
    QFETCH(int, decimals);

    QVERIFY(!model::formatFixed(value, decimals));
}

void TestNumberFormat::readsBack_data()
{
    QTest::addColumn<int>("decimals");

    QTest::newRow("results, three decimals") << 3;
    QTest::newRow("spin steps, two decimals") << 2;
    QTest::newRow("parasitic capacitance, one decimal") << 1;
}

// Read back by the leading-number rule, a written value lies within half a unit of the last
// decimal of the value written, and writing it again gives the same text.
void TestNumberFormat::readsBack()
{
    QFETCH(int, decimals);

    const double halfUnit = 0.5 * std::pow(10.0, -decimals);
    constexpr double mantissas[] = { 1.0, 1.23456789, 2.5, 3.14159265, 4.99951, 5.001, 6.0625,
        7.77777777, 9.99949, 9.99951 };
    QStringList failures;
    for (int exponent = -5; exponent <= 9; ++exponent) {
        for (const double mantissa : mantissas) {
            for (const double sign : { 1.0, -1.0 }) {
                const double value = sign * mantissa * std::pow(10.0, exponent);
                const std::string text = model::formatFixed(value, decimals).value();
                const double back = model::readLeadingNumber(text);
                // Beyond half a unit only the rounding of the text to the nearest double.
                const double slack = 2 * DBL_EPSILON * std::abs(value);
                const bool close = std::abs(back - value) <= halfUnit + slack;
                const bool stable = model::formatFixed(back, decimals) == text;
                if (!close || !stable)
                    failures << QStringLiteral("%1 -> %2").arg(value, 0, 'g', 17).arg(text.c_str());
            }
        }
    }
    QVERIFY2(failures.isEmpty(), qPrintable(failures.join(QStringLiteral(", "))));
}

QTEST_APPLESS_MAIN(TestNumberFormat)
#include "tst_number_format.moc"
