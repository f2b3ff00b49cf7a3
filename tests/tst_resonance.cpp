// SPDX-FileCopyrightText: The LC Tune developers
// SPDX-License-Identifier: MIT

// The three resonance formulas on plain numbers. The expected values were worked out to 30 digits
// with Python's decimal module from the two constants, not with this program.

#include "model/resonance.h"

#include <QTest>

#include <cmath>
#include <limits>
#include <optional>

namespace {

constexpr double inf = std::numeric_limits<double>::infinity();
constexpr double notANumber = std::numeric_limits<double>::quiet_NaN();
constexpr double largest = std::numeric_limits<double>::max();

std::optional<double> evaluate(const QString &formula, double a, double b)
{
    if (formula == QLatin1String("F"))
        return model::resonantFrequency(a, b);
    if (formula == QLatin1String("L"))
        return model::inductanceFor(a, b);
    if (formula == QLatin1String("C"))
        return model::capacitanceFor(a, b);
    qFatal("no formula %s", qPrintable(formula));
}

} // namespace

class TestResonance : public QObject
{
    Q_OBJECT

private slots:
    void formulas_data();
    void formulas();
};

void TestResonance::formulas_data()
{
    QTest::addColumn<QString>("formula");
    QTest::addColumn<double>("a");
    QTest::addColumn<double>("b");
    QTest::addColumn<bool>("hasResult");
    QTest::addColumn<double>("want");

    // F(L, C), L(F, C), C(F, L); the first rows are the window's start ranges.
    // clang-format off
    QTest::newRow("F from 5 uH and 23 pF")        << "F" << 5.0   << 23.0  << true  << 14.8412709505006313;
    QTest::newRow("F from 8 uH and 23 pF")        << "F" << 8.0   << 23.0  << true  << 11.7330548938185189;
    QTest::newRow("F from 5 uH and 53 pF")        << "F" << 5.0   << 53.0  << true  << 9.77680778901958174;
    QTest::newRow("L from 9.78 MHz and 53 pF")    << "L" << 9.78  << 53.0  << true  << 4.99673921697335990;
    QTest::newRow("L from 9.78 MHz and 23 pF")    << "L" << 9.78  << 23.0  << true  << 11.5142251521560032;
    QTest::newRow("C from 14.84 MHz and 5 uH")    << "C" << 14.84 << 5.0   << true  << 23.0039522199054061;
    QTest::newRow("C from 9.78 MHz and 8 uH")     << "C" << 9.78  << 8.0   << true  << 33.1033973124485093;
    QTest::newRow("F from a tiny product")        << "F" << 1e-300 << 1.0  << true  << 1.591549e152;
    QTest::newRow("L from a tiny frequency")      << "L" << 1e-150 << 1.0  << true  << 2.53302959e304;
    QTest::newRow("F: inductance zero")           << "F" << 0.0   << 23.0  << false << 0.0;
    QTest::newRow("F: capacitance negative")      << "F" << 5.0   << -1.0  << false << 0.0;
    QTest::newRow("F: inductance infinite")       << "F" << inf   << 23.0  << false << 0.0;
    QTest::newRow("F: capacitance not a number")  << "F" << 5.0   << notANumber << false << 0.0;
    QTest::newRow("F: product overflows")         << "F" << 1e200 << 1e200 << false << 0.0;
    QTest::newRow("F: product underflows")        << "F" << 1e-200 << 1e-200 << false << 0.0;
    QTest::newRow("L: frequency zero")            << "L" << 0.0   << 23.0  << false << 0.0;
    QTest::newRow("L: frequency negative")        << "L" << -9.78 << 23.0  << false << 0.0;
    QTest::newRow("L: capacitance zero")          << "L" << 9.78  << 0.0   << false << 0.0;
    QTest::newRow("L: largest frequency squared") << "L" << largest << 1.0 << false << 0.0;
    QTest::newRow("L: frequency squared underflows") << "L" << 1e-200 << 1.0 << false << 0.0;
    QTest::newRow("L: quotient overflows")        << "L" << 1e-160 << 1.0  << false << 0.0;
    QTest::newRow("C: inductance negative")       << "C" << 14.84 << -5.0  << false << 0.0;
    QTest::newRow("C: inductance infinite")       << "C" << 14.84 << inf   << false << 0.0;
    QTest::newRow("C: frequency not a number")    << "C" << notANumber << 5.0 << false << 0.0;
    // clang-format on
}

void TestResonance::formulas()
{
    QFETCH(QString, formula);
    QFETCH(double, a);
    QFETCH(double, b);
    QFETCH(bool, hasResult);
    QFETCH(double, want);

    const std::optional<double> got = evaluate(formula, a, b);
    QCOMPARE(got.has_value(), hasResult);
    if (!got)
        return;
    // A few roundings of double arithmetic away from the exact value.
    QVERIFY2(std::abs(*got - want) <= 1e-14 * want, qPrintable(QString::number(*got, 'g', 17)));
}

QTEST_APPLESS_MAIN(TestResonance)
#include "tst_resonance.moc"
