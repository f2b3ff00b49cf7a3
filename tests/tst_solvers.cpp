// SPDX-FileCopyrightText: The LC Tune developers
// SPDX-License-Identifier: MIT

#include "model/result_display.h"
#include "model/solvers.h"
#include "model/units.h"

#include "tests/fake_form.h"

#include <QTest>

#include <cmath>
#include <limits>

using model::Control;
using model::Module1;
using testing::FakeForm;

namespace {

constexpr double inf = std::numeric_limits<double>::infinity();

Control named(const QString &name)
{
    const auto control = model::controlNamed(name.toStdString());
    if (!control)
        qFatal("no control named %s", qPrintable(name));
    return *control;
}

// An edit is a unit ("nH", "nF", ...), which selects that option button of its pair, or
// "Name=value", which sets a box's text or, for an option button, its value (1 or 0) alone.
void apply(FakeForm &form, const QStringList &edits)
{
    struct Unit
    {
        const char *name;
        Control chosen, other;
    };
    static constexpr Unit units[] = {
        { "nH", Control::Option1, Control::Option2 },
        { "uH", Control::Option2, Control::Option1 },
        { "pF", Control::Option3, Control::Option4 },
        { "nF", Control::Option4, Control::Option3 },
        { "kHz", Control::Option5, Control::Option6 },
        { "MHz", Control::Option6, Control::Option5 },
    };
    for (const QString &edit : edits) {
        const qsizetype equals = edit.indexOf(QLatin1Char('='));
        if (equals < 0) {
            for (const Unit &unit : units) {
                if (edit == QLatin1String(unit.name)) {
                    form[unit.chosen].option = true;
                    form[unit.other].option = false;
                }
            }
            continue;
        }
        const Control control = named(edit.left(equals));
        const QString value = edit.mid(equals + 1);
        if (edit.startsWith(QLatin1String("Option")))
            form[control].option = value == QLatin1String("1");
        else
            form[control].text = value.toStdString();
    }
}

void run(const QString &solver, FakeForm &form, Module1 &m)
{
    if (solver == QLatin1String("Vypocet_z_L"))
        model::Vypocet_z_L(form, m);
    else if (solver == QLatin1String("Vypocet_z_C"))
        model::Vypocet_z_C(form, m);
    else if (solver == QLatin1String("Vypocet_z_F"))
        model::Vypocet_z_F(form, m);
    else
        qFatal("no solver %s", qPrintable(solver));
}

// Where a quantity's range lives: its boxes, its computed range and the range read from its boxes.
struct Computed
{
    Control lowerBox, upperBox;
    double Module1::*lower;
    double Module1::*upper;
    double Module1::*readLower;
    double Module1::*readUpper;
};

Computed computed(const QString &quantity)
{
    if (quantity == QLatin1String("L"))
        return { Control::Text1, Control::Text2, &Module1::LcalcMin, &Module1::LcalcMax,
            &Module1::Lmin, &Module1::Lmax };
    if (quantity == QLatin1String("C"))
        return { Control::Text3, Control::Text4, &Module1::CcalcMin, &Module1::CcalcMax,
            &Module1::Cmin, &Module1::Cmax };
    return { Control::Text5, Control::Text6, &Module1::FcalcMin, &Module1::FcalcMax, &Module1::Fmin,
        &Module1::Fmax };
}

constexpr Control boxes[] = { Control::Text1, Control::Text2, Control::Text3, Control::Text4,
    Control::Text5, Control::Text6, Control::Text7 };
// The boxes that show a range, the only ones a result can leave out of date.
constexpr Control rangeBoxes[] = { Control::Text1, Control::Text2, Control::Text3, Control::Text4,
    Control::Text5, Control::Text6 };

bool near(double got, double want, double relative)
{
    if (std::isinf(want))
        return got == want;
    return std::abs(got - want) <= relative * std::abs(want);
}

QString text(const FakeForm &form, Control box)
{
    return QString::fromStdString(form[box].text);
}

int textWrites(const FakeForm &form)
{
    int writes = 0;
    for (const Control box : boxes)
        writes += form[box].textWrites;
    return writes;
}

int allWrites(const FakeForm &form)
{
    int writes = 0;
    for (std::size_t i = 0; i < model::controlCount; ++i)
        writes += form[static_cast<Control>(i)].writes;
    return writes;
}

// Results of the computed ranges, left for a solver to overwrite or to keep.
Module1 withEarlierResults()
{
    Module1 m;
    m.LcalcMin = 1.5;
    m.LcalcMax = 2.5;
    m.CcalcMin = 3.5;
    m.CcalcMax = 4.5;
    m.FcalcMin = 5.5;
    m.FcalcMax = 6.5;
    return m;
}

bool sameResults(const Module1 &a, const Module1 &b)
{
    return a.LcalcMin == b.LcalcMin && a.LcalcMax == b.LcalcMax && a.CcalcMin == b.CcalcMin
        && a.CcalcMax == b.CcalcMax && a.FcalcMin == b.FcalcMin && a.FcalcMax == b.FcalcMax;
}

} // namespace

class TestSolvers : public QObject
{
    Q_OBJECT

private slots:
    void readsBoxesInBaseUnits_data();
    void readsBoxesInBaseUnits();
    void readingBoxesChangesNothingElse();

    void initialRanges_data();
    void initialRanges();
    void ownQuantityFixedOnlyRefreshes_data();
    void ownQuantityFixedOnlyRefreshes();
    void fixedTagReadsAsOne_data();
    void fixedTagReadsAsOne();
    void bothTestsRunInTurn();
    void sameRunTwiceSameResult();
    void frequencyBackFromShownCapacitance();
    void unitsAndParasiticCapacitance_data();
    void unitsAndParasiticCapacitance();

    void showsResultInUnit_data();
    void showsResultInUnit();
    void selectorMatchesExactly_data();
    void selectorMatchesExactly();
    void shownResultReadsBack_data();
    void shownResultReadsBack();

    void noResultKeepsBoxes_data();
    void noResultKeepsBoxes();
    void resultTooLargeForItsUnit();
};

void TestSolvers::readsBoxesInBaseUnits_data()
{
    QTest::addColumn<QStringList>("edits");
    QTest::addColumn<double>("lmin");
    QTest::addColumn<double>("lmax");
    QTest::addColumn<double>("cmin");
    QTest::addColumn<double>("cmax");
    QTest::addColumn<double>("fmin");
    QTest::addColumn<double>("fmax");

    // clang-format off
    QTest::newRow("initial boxes, uH pF MHz")       << QStringList{}
                                                    << 5.0 << 8.0 << 23.0 << 53.0 << 9.78 << 14.84;
    QTest::newRow("initial boxes, nH nF kHz")       << QStringList{"nH", "nF", "kHz"}
                                                    << 0.005 << 0.008 << 20003.0 << 50003.0 << 0.00978 << 0.01484;
    QTest::newRow("Cx stays in pF beside nF")       << QStringList{"nF", "Text3=0.02"}
                                                    << 5.0 << 8.0 << 23.0 << 50003.0 << 9.78 << 14.84;
    QTest::newRow("neither C button counts as nF")  << QStringList{"Option3=0", "Option4=0"}
                                                    << 5.0 << 8.0 << 20003.0 << 50003.0 << 9.78 << 14.84;
    QTest::newRow("comma ends a number")            << QStringList{"Text5=9,78"}
                                                    << 5.0 << 8.0 << 23.0 << 53.0 << 9.0 << 14.84;
    QTest::newRow("letters and empty read as 0")    << QStringList{"Text1=abc", "Text2="}
                                                    << 0.0 << 0.0 << 23.0 << 53.0 << 9.78 << 14.84;
    QTest::newRow("blanks inside a number")         << QStringList{"Text1= 1 2"}
                                                    << 12.0 << 8.0 << 23.0 << 53.0 << 9.78 << 14.84;
    QTest::newRow("exponent")                       << QStringList{"Text2=1e3"}
                                                    << 5.0 << 1000.0 << 23.0 << 53.0 << 9.78 << 14.84;
    QTest::newRow("empty Cx")                       << QStringList{"Text7="}
                                                    << 5.0 << 8.0 << 20.0 << 50.0 << 9.78 << 14.84;
    QTest::newRow("lower above upper, not swapped") << QStringList{"Text1=9", "Text6=1"}
                                                    << 9.0 << 8.0 << 23.0 << 53.0 << 9.78 << 1.0;
    QTest::newRow("too large for a double")         << QStringList{"Text1=1e309"}
                                                    << inf << 8.0 << 23.0 << 53.0 << 9.78 << 14.84;
    QTest::newRow("overflows when brought to pF")   << QStringList{"nF", "Text4=1e306"}
                                                    << 5.0 << 8.0 << 20003.0 << inf << 9.78 << 14.84;
    // clang-format on
}

void TestSolvers::readsBoxesInBaseUnits()
{
    QFETCH(QStringList, edits);
    QFETCH(double, lmin);
    QFETCH(double, lmax);
    QFETCH(double, cmin);
    QFETCH(double, cmax);
    QFETCH(double, fmin);
    QFETCH(double, fmax);

    FakeForm form = testing::startForm(1);
    apply(form, edits);
    Module1 m;
    model::PrepocitaJednotky(form, m);

    const double got[] = { m.Lmin, m.Lmax, m.Cmin, m.Cmax, m.Fmin, m.Fmax };
    const double want[] = { lmin, lmax, cmin, cmax, fmin, fmax };
    QString mismatches;
    for (std::size_t i = 0; i < std::size(got); ++i) {
        // A unit division may land one rounding away from the literal.
        if (!near(got[i], want[i], 1e-15))
            mismatches += QStringLiteral(" [%1] %2 not %3").arg(i).arg(got[i]).arg(want[i]);
    }
    QVERIFY2(mismatches.isEmpty(), qPrintable(mismatches));
}

void TestSolvers::readingBoxesChangesNothingElse()
{
    FakeForm form = testing::startForm(1);
    Module1 m = withEarlierResults();
    m.StepL = 0.01;
    m.StepC = 1;
    m.StepF = 0.01;
    const Module1 before = m;

    model::PrepocitaJednotky(form, m);

    QVERIFY(sameResults(m, before));
    QCOMPARE(m.StepL, 0.01);
    QCOMPARE(m.StepC, 1.0);
    QCOMPARE(m.StepF, 0.01);
    QCOMPARE(allWrites(form), 0);
}

void TestSolvers::initialRanges_data()
{
    QTest::addColumn<QString>("solver");
    QTest::addColumn<int>("fixMode");
    QTest::addColumn<QString>("quantity");
    QTest::addColumn<double>("lower");
    QTest::addColumn<double>("upper");
    QTest::addColumn<QString>("lowerText");
    QTest::addColumn<QString>("upperText");

    // From the formulas in 40-digit decimal arithmetic, e.g. 159.1549 / sqrt(5 * 53) and
    // 25330.2959 / (14.84^2 * 5) - 3; the leading digits are those the calculator is known by
    // (9.776807..., 20.003952..., ...).
    // clang-format off
    QTest::newRow("C changed, L fixed: F range")    << "Vypocet_z_C" << 1 << "F"
        << 9.776807789019581736 << 14.84127095050063133 << "9.777" << "14.841";
    QTest::newRow("F changed, L fixed: C range")    << "Vypocet_z_F" << 1 << "C"
        << 20.00395221990540609 << 49.96543569991761493 << "20.004" << "49.965";
    QTest::newRow("L changed, C fixed: F range")    << "Vypocet_z_L" << 2 << "F"
        << 11.73305489381851889 << 14.84127095050063133 << "11.733" << "14.841";
    QTest::newRow("F changed, C fixed: L range")    << "Vypocet_z_F" << 2 << "L"
        << 5.000859178240305672 << 11.51422515215600325 << "5.001" << "11.514";
    QTest::newRow("L changed, F fixed: C range")    << "Vypocet_z_L" << 3 << "C"
        << 30.10339731244850933 << 49.96543569991761493 << "30.103" << "49.965";
    QTest::newRow("C changed, F fixed: L range")    << "Vypocet_z_C" << 3 << "L"
        << 4.996739216973359899 << 11.51422515215600325 << "4.997" << "11.514";
    // clang-format on
}

void TestSolvers::initialRanges()
{
    QFETCH(QString, solver);
    QFETCH(int, fixMode);
    QFETCH(QString, quantity);
    QFETCH(double, lower);
    QFETCH(double, upper);
    QFETCH(QString, lowerText);
    QFETCH(QString, upperText);

    // Every box out of date beforehand: a run with a result leaves none so, inputs included.
    FakeForm form = testing::startForm(fixMode);
    for (const Control box : rangeBoxes)
        form[box].stale = true;
    Module1 m;
    run(solver, form, m);

    const Computed c = computed(quantity);
    // A few roundings of double arithmetic away from the exact values.
    QVERIFY2(near(m.*c.lower, lower, 1e-14), qPrintable(QString::number(m.*c.lower, 'g', 17)));
    QVERIFY2(near(m.*c.upper, upper, 1e-14), qPrintable(QString::number(m.*c.upper, 'g', 17)));
    QCOMPARE(text(form, c.lowerBox), lowerText);
    QCOMPARE(text(form, c.upperBox), upperText);
    QCOMPARE(textWrites(form), 2);
    for (const Control box : rangeBoxes)
        QVERIFY2(!form[box].stale, model::controlName(box).data());
}

void TestSolvers::ownQuantityFixedOnlyRefreshes_data()
{
    QTest::addColumn<QString>("solver");
    QTest::addColumn<int>("fixMode");

    QTest::newRow("L changed while L fixed") << "Vypocet_z_L" << 1;
    QTest::newRow("C changed while C fixed") << "Vypocet_z_C" << 2;
    QTest::newRow("F changed while F fixed") << "Vypocet_z_F" << 3;
}

void TestSolvers::ownQuantityFixedOnlyRefreshes()
{
    QFETCH(QString, solver);
    QFETCH(int, fixMode);

    FakeForm form = testing::startForm(fixMode);
    Module1 m = withEarlierResults();
    const Module1 before = m;
    run(solver, form, m);

    QCOMPARE(allWrites(form), 0);
    QVERIFY(sameResults(m, before));
    QCOMPARE(m.Cmax, 53.0);
}

void TestSolvers::fixedTagReadsAsOne_data()
{
    QTest::addColumn<QString>("tag");
    QTest::addColumn<bool>("fixed");

    QTest::newRow("one") << "1" << true;
    QTest::newRow("one with blanks") << " 1 " << true;
    QTest::newRow("one with decimals") << "1.000" << true;
    QTest::newRow("one as exponent") << "0.1e1" << true;
    QTest::newRow("leading zero") << "01" << true;
    QTest::newRow("hexadecimal one") << "&H1" << true;
    QTest::newRow("comma ends the number") << "1,5" << true;
    QTest::newRow("zero") << "0" << false;
    QTest::newRow("two") << "2" << false;
    QTest::newRow("minus one") << "-1" << false;
    QTest::newRow("nearly one") << "1.0001" << false;
    QTest::newRow("empty") << "" << false;
    QTest::newRow("word") << "yes" << false;
}

void TestSolvers::fixedTagReadsAsOne()
{
    QFETCH(QString, tag);
    QFETCH(bool, fixed);

    FakeForm form = testing::startForm(0);
    form[Control::Command1].tag = tag.toStdString();
    Module1 m;
    model::Vypocet_z_C(form, m);

    QCOMPARE(form[Control::Text5].textWrites == 1, fixed);
}

// With two quantities fixed (which the window never allows) both tests succeed, one after the
// other: neither is an else of the other.
void TestSolvers::bothTestsRunInTurn()
{
    FakeForm form = testing::startForm(1);
    form[Control::Command3].tag = "1";
    Module1 m;
    model::Vypocet_z_C(form, m);

    QCOMPARE(text(form, Control::Text5), QStringLiteral("9.777"));
    QCOMPARE(text(form, Control::Text1), QStringLiteral("4.997"));
}

void TestSolvers::sameRunTwiceSameResult()
{
    const std::pair<QString, int> runs[] = { { "Vypocet_z_L", 2 }, { "Vypocet_z_L", 3 },
        { "Vypocet_z_C", 1 }, { "Vypocet_z_C", 3 }, { "Vypocet_z_F", 1 }, { "Vypocet_z_F", 2 } };
    for (const auto &[solver, fixMode] : runs) {
        FakeForm form = testing::startForm(fixMode);
        Module1 m;
        run(solver, form, m);
        const FakeForm once = form;
        const Module1 first = m;
        run(solver, form, m);
        for (const Control box : boxes)
            QCOMPARE(text(form, box), text(once, box));
        QVERIFY(sameResults(m, first));
    }
}

// L fixed: the C range for the F boxes, then the F range for the shown C, gives the F boxes' texts
// back to within the three decimals (159.1549 squared is not quite 25330.2959).
void TestSolvers::frequencyBackFromShownCapacitance()
{
    FakeForm form = testing::startForm(1);
    Module1 m;
    model::Vypocet_z_F(form, m);
    QCOMPARE(text(form, Control::Text3), QStringLiteral("20.004"));
    model::Vypocet_z_C(form, m);

    QCOMPARE(text(form, Control::Text5), QStringLiteral("9.780"));
    QCOMPARE(text(form, Control::Text6), QStringLiteral("14.840"));
}

void TestSolvers::unitsAndParasiticCapacitance_data()
{
    QTest::addColumn<QString>("solver");
    QTest::addColumn<int>("fixMode");
    QTest::addColumn<QStringList>("edits");
    QTest::addColumn<QString>("quantity");
    QTest::addColumn<QString>("lowerText");
    QTest::addColumn<QString>("upperText");

    // clang-format off
    QTest::newRow("F shown in kHz")                 << "Vypocet_z_C" << 1 << QStringList{"kHz"}
                                                    << "F" << "9776.808" << "14841.271";
    QTest::newRow("L read in nH")                   << "Vypocet_z_C" << 1 << QStringList{"nH", "Text1=5000"}
                                                    << "F" << "9.777" << "14.841";
    QTest::newRow("C read in nF, Cx in pF")         << "Vypocet_z_C" << 1 << QStringList{"nF", "Text3=0.02", "Text4=0.05"}
                                                    << "F" << "9.777" << "14.841";
    QTest::newRow("C shown in nF without Cx")       << "Vypocet_z_F" << 1 << QStringList{"nF"}
                                                    << "C" << "0.020" << "0.050";
    QTest::newRow("F read in kHz")                  << "Vypocet_z_F" << 1 << QStringList{"kHz", "Text5=9780", "Text6=14840"}
                                                    << "C" << "20.004" << "49.965";
    QTest::newRow("L shown in nH")                  << "Vypocet_z_C" << 3 << QStringList{"nH"}
                                                    << "L" << "4996.739" << "11514.225";
    QTest::newRow("fixed C in nF with Cx in pF")    << "Vypocet_z_L" << 2 << QStringList{"nF", "Text3=0.02"}
                                                    << "F" << "11.733" << "14.841";
    // 159.1549 / sqrt(5 * 50) and 159.1549 / sqrt(5 * 20).
    QTest::newRow("empty Cx adds nothing")          << "Vypocet_z_C" << 1 << QStringList{"Text7="}
                                                    << "F" << "10.066" << "15.915";
    // The circuit needs 23.004 and 52.965 pF in all: less than Cx, so less than nothing.
    QTest::newRow("needed C below Cx is shown")     << "Vypocet_z_F" << 1 << QStringList{"Text7=100"}
                                                    << "C" << "-76.996" << "-47.035";
    QTest::newRow("needed C just below Cx")         << "Vypocet_z_F" << 1 << QStringList{"Text7=23.004"}
                                                    << "C" << "0.000" << "29.961";
    // clang-format on
}

void TestSolvers::unitsAndParasiticCapacitance()
{
    QFETCH(QString, solver);
    QFETCH(int, fixMode);
    QFETCH(QStringList, edits);
    QFETCH(QString, quantity);
    QFETCH(QString, lowerText);
    QFETCH(QString, upperText);

    FakeForm form = testing::startForm(fixMode);
    apply(form, edits);
    Module1 m;
    run(solver, form, m);

    const Computed c = computed(quantity);
    QCOMPARE(text(form, c.lowerBox), lowerText);
    QCOMPARE(text(form, c.upperBox), upperText);
}

void TestSolvers::showsResultInUnit_data()
{
    QTest::addColumn<QString>("selector");
    QTest::addColumn<QString>("unit");
    QTest::addColumn<double>("lower");
    QTest::addColumn<double>("upper");
    QTest::addColumn<QString>("lowerText");
    QTest::addColumn<QString>("upperText");

    // clang-format off
    QTest::newRow("F in MHz")                << "F" << "MHz" << 9.776807789019582 << 14.84127095050063 << "9.777" << "14.841";
    QTest::newRow("F in kHz")                << "F" << "kHz" << 9.776807789019582 << 14.84127095050063 << "9776.808" << "14841.271";
    QTest::newRow("C in pF")                 << "C" << "pF" << 20.003952219905406 << 49.96543569991762 << "20.004" << "49.965";
    QTest::newRow("C in nF")                 << "C" << "nF" << 20.003952219905406 << 49.96543569991762 << "0.020" << "0.050";
    QTest::newRow("L in nH")                 << "L" << "nH" << 0.0123 << 5.000859178240306 << "12.300" << "5000.859";
    QTest::newRow("L in uH")                 << "L" << "uH" << 5.000859178240306 << 11.514225152156003 << "5.001" << "11.514";
    QTest::newRow("whole numbers")           << "L" << "uH" << 20.0 << 50.0 << "20.000" << "50.000";
    QTest::newRow("negative capacitance")    << "C" << "pF" << -76.99604778009459 << -47.034564300082385 << "-76.996" << "-47.035";
    QTest::newRow("rounds to zero from below") << "C" << "pF" << -0.0000477800946 << 1.0 << "0.000" << "1.000";
    QTest::newRow("large value, no grouping")  << "F" << "kHz" << 1234.5678 << 98765.4321 << "1234567.800" << "98765432.100";
    // clang-format on
}

void TestSolvers::showsResultInUnit()
{
    QFETCH(QString, selector);
    QFETCH(QString, unit);
    QFETCH(double, lower);
    QFETCH(double, upper);
    QFETCH(QString, lowerText);
    QFETCH(QString, upperText);

    FakeForm form = testing::startForm(1);
    apply(form, { unit });
    const Computed c = computed(selector);
    form[c.lowerBox].stale = true;
    form[c.upperBox].stale = true;
    Module1 m;
    m.*c.lower = lower;
    m.*c.upper = upper;
    model::Zobraz(form, m, selector.toStdString());

    QCOMPARE(text(form, c.lowerBox), lowerText);
    QCOMPARE(text(form, c.upperBox), upperText);
    QVERIFY(!form[c.lowerBox].stale && !form[c.upperBox].stale);
}

void TestSolvers::selectorMatchesExactly_data()
{
    QTest::addColumn<QString>("selector");

    QTest::newRow("lower-case l") << "l";
    QTest::newRow("lower-case c") << "c";
    QTest::newRow("lower-case f") << "f";
    QTest::newRow("empty") << "";
    QTest::newRow("two letters") << "LC";
    QTest::newRow("trailing blank") << "F ";
    QTest::newRow("leading blank") << " C";
    QTest::newRow("frame caption") << "Lp";
}

void TestSolvers::selectorMatchesExactly()
{
    QFETCH(QString, selector);

    FakeForm form = testing::startForm(1);
    const Module1 m = withEarlierResults();
    model::Zobraz(form, m, selector.toStdString());
    model::markNoResult(form, selector.toStdString());

    QCOMPARE(allWrites(form), 0);
}

void TestSolvers::shownResultReadsBack_data()
{
    QTest::addColumn<QString>("selector");
    QTest::addColumn<QString>("unit");
    // Shown units per base unit.
    QTest::addColumn<double>("factor");

    QTest::newRow("uH") << "L"
                        << "uH" << 1.0;
    QTest::newRow("nH") << "L"
                        << "nH" << 1000.0;
    QTest::newRow("pF") << "C"
                        << "pF" << 1.0;
    QTest::newRow("nF") << "C"
                        << "nF" << 0.001;
    QTest::newRow("MHz") << "F"
                         << "MHz" << 1.0;
    QTest::newRow("kHz") << "F"
                         << "kHz" << 1000.0;
}

// A range written by Zobraz and read by PrepocitaJednotky in the same unit gives the value again
// to within half a unit of the third decimal of the unit shown; a capacitance comes back with Cx.
void TestSolvers::shownResultReadsBack()
{
    QFETCH(QString, selector);
    QFETCH(QString, unit);
    QFETCH(double, factor);

    const double halfUnit = 0.0005 / factor;
    const double values[] = { 0.0123, 0.5, 3.0, 4.996739216973360, 9.776807789019582,
        20.003952219905406, 49.96543569991762, 150.25, 999.9996, 12345.678 };
    QStringList failures;
    for (const double value : values) {
        FakeForm form = testing::startForm(1);
        apply(form, { unit });
        const Computed c = computed(selector);
        Module1 m;
        m.*c.lower = value;
        m.*c.upper = 2 * value;
        model::Zobraz(form, m, selector.toStdString());
        model::PrepocitaJednotky(form, m);

        const double cx = selector == QLatin1String("C") ? 3.0 : 0.0;
        const double backLower = m.*c.readLower - cx;
        const double backUpper = m.*c.readUpper - cx;
        // Beyond half a unit, only the roundings of reading, the unit division and adding Cx.
        const double slack = 1e-13 * (value + cx);
        if (std::abs(backLower - value) > halfUnit + slack
            || std::abs(backUpper - 2 * value) > halfUnit + 2 * slack)
            failures << QStringLiteral("%1 shown as %2").arg(value).arg(text(form, c.lowerBox));
    }
    QVERIFY2(failures.isEmpty(), qPrintable(failures.join(QStringLiteral(", "))));
}

void TestSolvers::noResultKeepsBoxes_data()
{
    QTest::addColumn<QString>("solver");
    QTest::addColumn<int>("fixMode");
    QTest::addColumn<QString>("quantity");
    QTest::addColumn<QStringList>("edits");

    // clang-format off
    // F = 159.1549 / sqrt(L C) from Lmax, Lmin and Cmin.
    QTest::newRow("zL F: Lmin zero")                << "Vypocet_z_L" << 2 << "F" << QStringList{"Text1=0"};
    QTest::newRow("zL F: Lmin negative")            << "Vypocet_z_L" << 2 << "F" << QStringList{"Text1=-5"};
    QTest::newRow("zL F: Lmax zero")                << "Vypocet_z_L" << 2 << "F" << QStringList{"Text2=0"};
    QTest::newRow("zL F: Lmax negative")            << "Vypocet_z_L" << 2 << "F" << QStringList{"Text2=-8"};
    QTest::newRow("zL F: Cmin zero with Cx")        << "Vypocet_z_L" << 2 << "F" << QStringList{"Text3=-3"};
    QTest::newRow("zL F: Cmin negative")            << "Vypocet_z_L" << 2 << "F" << QStringList{"Text3=-10"};
    QTest::newRow("zL F: L too large for a double") << "Vypocet_z_L" << 2 << "F" << QStringList{"Text1=1e309"};
    QTest::newRow("zL F: product overflows")        << "Vypocet_z_L" << 2 << "F" << QStringList{"Text2=1e200", "Text3=1e200"};
    QTest::newRow("zL F: product underflows")       << "Vypocet_z_L" << 2 << "F" << QStringList{"Text1=1e-200", "Text3=1e-200", "Text7=0"};
    // C = 25330.2959 / (F^2 L) - Cx from Fmin, Lmax, Lmin.
    QTest::newRow("zL C: Fmin zero")                << "Vypocet_z_L" << 3 << "C" << QStringList{"Text5=0"};
    QTest::newRow("zL C: Fmin negative")            << "Vypocet_z_L" << 3 << "C" << QStringList{"Text5=-9.78"};
    QTest::newRow("zL C: Lmin zero")                << "Vypocet_z_L" << 3 << "C" << QStringList{"Text1=0"};
    QTest::newRow("zL C: Lmin negative")            << "Vypocet_z_L" << 3 << "C" << QStringList{"Text1=-5"};
    QTest::newRow("zL C: Lmax zero")                << "Vypocet_z_L" << 3 << "C" << QStringList{"Text2=0"};
    QTest::newRow("zL C: Lmax negative")            << "Vypocet_z_L" << 3 << "C" << QStringList{"Text2=-8"};
    QTest::newRow("zL C: Cx too large")             << "Vypocet_z_L" << 3 << "C" << QStringList{"Text7=1e309"};
    QTest::newRow("zL C: F squared underflows")     << "Vypocet_z_L" << 3 << "C" << QStringList{"Text5=1e-200"};
    QTest::newRow("zL C: quotient overflows")       << "Vypocet_z_L" << 3 << "C" << QStringList{"Text5=1e-160"};
    // F from Lmin, Cmax and Cmin.
    QTest::newRow("zC F: Lmin zero")                << "Vypocet_z_C" << 1 << "F" << QStringList{"Text1=0"};
    QTest::newRow("zC F: Lmin negative")            << "Vypocet_z_C" << 1 << "F" << QStringList{"Text1=-5"};
    QTest::newRow("zC F: Cmin zero with Cx")        << "Vypocet_z_C" << 1 << "F" << QStringList{"Text3=-3"};
    QTest::newRow("zC F: Cmin negative")            << "Vypocet_z_C" << 1 << "F" << QStringList{"Text3=-10"};
    QTest::newRow("zC F: Cmax zero with Cx")        << "Vypocet_z_C" << 1 << "F" << QStringList{"Text4=-3"};
    QTest::newRow("zC F: Cmax negative")            << "Vypocet_z_C" << 1 << "F" << QStringList{"Text4=-10"};
    QTest::newRow("zC F: empty C box, empty Cx")    << "Vypocet_z_C" << 1 << "F" << QStringList{"Text3=", "Text7="};
    QTest::newRow("zC F: Cmax too large")           << "Vypocet_z_C" << 1 << "F" << QStringList{"Text4=1e309"};
    QTest::newRow("zC F: Cmin not a number")        << "Vypocet_z_C" << 1 << "F" << QStringList{"Text3=1e309", "Text7=-1e309"};
    // L = 25330.2959 / (F^2 C) from Fmin, Cmax and Cmin.
    QTest::newRow("zC L: Fmin zero")                << "Vypocet_z_C" << 3 << "L" << QStringList{"Text5=0"};
    QTest::newRow("zC L: Fmin negative")            << "Vypocet_z_C" << 3 << "L" << QStringList{"Text5=-1"};
    QTest::newRow("zC L: Cmin zero with Cx")        << "Vypocet_z_C" << 3 << "L" << QStringList{"Text3=-3"};
    QTest::newRow("zC L: Cmin negative")            << "Vypocet_z_C" << 3 << "L" << QStringList{"Text3=-10"};
    QTest::newRow("zC L: Cmax zero with Cx")        << "Vypocet_z_C" << 3 << "L" << QStringList{"Text4=-3"};
    QTest::newRow("zC L: Cmax negative")            << "Vypocet_z_C" << 3 << "L" << QStringList{"Text4=-10"};
    QTest::newRow("zC L: nF box overflows in pF")   << "Vypocet_z_C" << 3 << "L" << QStringList{"nF", "Text4=1e306"};
    // C from Fmax, Fmin, Lmin and Cx.
    QTest::newRow("zF C: Fmax zero")                << "Vypocet_z_F" << 1 << "C" << QStringList{"Text6=0"};
    QTest::newRow("zF C: Fmax negative")            << "Vypocet_z_F" << 1 << "C" << QStringList{"Text6=-1"};
    QTest::newRow("zF C: Fmin zero")                << "Vypocet_z_F" << 1 << "C" << QStringList{"Text5=0"};
    QTest::newRow("zF C: Fmin negative")            << "Vypocet_z_F" << 1 << "C" << QStringList{"Text5=-1"};
    QTest::newRow("zF C: Lmin zero")                << "Vypocet_z_F" << 1 << "C" << QStringList{"Text1=0"};
    QTest::newRow("zF C: Lmin negative")            << "Vypocet_z_F" << 1 << "C" << QStringList{"Text1=-5"};
    QTest::newRow("zF C: empty F box")              << "Vypocet_z_F" << 1 << "C" << QStringList{"Text5="};
    QTest::newRow("zF C: letters in the L box")     << "Vypocet_z_F" << 1 << "C" << QStringList{"Text1=abc"};
    QTest::newRow("zF C: Cx minus infinity")        << "Vypocet_z_F" << 1 << "C" << QStringList{"Text7=-1e309"};
    QTest::newRow("zF C: result minus Cx overflows") << "Vypocet_z_F" << 1 << "C" << QStringList{"Text7=-1.7976931348623157e308", "Text1=1e-304"};
    // L from Fmax, Fmin and Cmin.
    QTest::newRow("zF L: Fmax zero")                << "Vypocet_z_F" << 2 << "L" << QStringList{"Text6=0"};
    QTest::newRow("zF L: Fmax negative")            << "Vypocet_z_F" << 2 << "L" << QStringList{"Text6=-1"};
    QTest::newRow("zF L: Fmin zero")                << "Vypocet_z_F" << 2 << "L" << QStringList{"Text5=0"};
    QTest::newRow("zF L: Fmin negative")            << "Vypocet_z_F" << 2 << "L" << QStringList{"Text5=-1"};
    QTest::newRow("zF L: Cmin zero with Cx")        << "Vypocet_z_F" << 2 << "L" << QStringList{"Text3=-3"};
    QTest::newRow("zF L: Cmin negative")            << "Vypocet_z_F" << 2 << "L" << QStringList{"Text3=-10"};
    QTest::newRow("zF L: F too large for a double") << "Vypocet_z_F" << 2 << "L" << QStringList{"Text6=1e309"};
    QTest::newRow("zF L: quotient overflows")       << "Vypocet_z_F" << 2 << "L" << QStringList{"Text6=1e-160"};
    // clang-format on
}

// A formula without a result leaves every box's text and the computed range as they were and
// marks the result boxes stale; the next run with a result clears the mark.
void TestSolvers::noResultKeepsBoxes()
{
    QFETCH(QString, solver);
    QFETCH(int, fixMode);
    QFETCH(QString, quantity);
    QFETCH(QStringList, edits);

    FakeForm form = testing::startForm(fixMode);
    Module1 m;
    run(solver, form, m);
    const FakeForm good = form;
    const Module1 earlier = m;

    apply(form, edits);
    const FakeForm edited = form;
    run(solver, form, m);

    const Computed c = computed(quantity);
    for (const Control box : boxes)
        QCOMPARE(form[box].textWrites, edited[box].textWrites);
    QVERIFY(sameResults(m, earlier));
    QVERIFY(form[c.lowerBox].stale && form[c.upperBox].stale);

    for (const Control box : boxes)
        form[box].text = good[box].text;
    run(solver, form, m);
    QVERIFY(!form[c.lowerBox].stale && !form[c.upperBox].stale);
}

// F fixed at 1e-152 MHz with C fixed at 23 pF: L is 1.1e307 uH, a double, but in nH beyond the
// largest one. The result is kept in the module; the boxes cannot show it and are marked.
void TestSolvers::resultTooLargeForItsUnit()
{
    FakeForm form = testing::startForm(2);
    apply(form, { "nH", "Text5=1e-152", "Text6=1e-152" });
    Module1 m;
    model::Vypocet_z_F(form, m);

    QVERIFY(near(m.LcalcMin, 1.1013172130434783e307, 1e-14));
    QCOMPARE(form[Control::Text1].textWrites + form[Control::Text2].textWrites, 0);
    QVERIFY(form[Control::Text1].stale && form[Control::Text2].stale);
}

QTEST_APPLESS_MAIN(TestSolvers)
#include "tst_solvers.moc"
