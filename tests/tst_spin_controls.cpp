// SPDX-FileCopyrightText: The LC Tune developers
// SPDX-License-Identifier: MIT

// The spin bars, the Quick boxes and the unit buttons as the user works them: real clicks on the
// real arrows, typing into the boxes, and all seven boxes read back after the clicks. The expected
// texts were worked out by hand and with a separate calculator from the circuit formulas, not
// with this program.

#include "window_test_support.h"

#include "fake_form.h"
#include "model/spin.h"
#include "window/qt_form.h"
#include "window/spin_bar.h"

#include <QCheckBox>
#include <QClipboard>
#include <QRadioButton>
#include <QTimer>

#include <array>

using namespace testing;

namespace {

constexpr std::array boxNames = { "Text1", "Text2", "Text3", "Text4", "Text5", "Text6", "Text7" };

// The largest double written out in full, as a spin writes it with two decimals.
const QString largestDouble = QStringLiteral(
    "17976931348623157081452742373170435679807056752584499659891747680315726078002853876058955"
    "86327668781715404589535143824642343213268894641827684675467035375169860499105765512820762"
    "45490090389328944075868508455133942304583236903222948165808559332123348274797826204144723"
    "168738177180919299881250404026184124858368.00");

QStringList shownTexts(window::MainWindow &w)
{
    QStringList texts;
    for (const char *name : boxNames)
        texts << QStringLiteral("%1=%2").arg(
            QLatin1String(name), control<QLineEdit>(w, name)->text());
    return texts;
}

// The result boxes that show the cue for a range the last solver could not compute.
QStringList staleBoxes(window::MainWindow &w)
{
    QStringList stale;
    for (const char *name : boxNames) {
        const QColor shown =
            control<QLineEdit>(w, name)->palette().color(QPalette::Active, QPalette::Text);
        if (shown == window::QtForm::staleColour())
            stale << QLatin1String(name);
    }
    return stale;
}

void addRowColumns()
{
    QTest::addColumn<QStringList>("setup");
    QTest::addColumn<QStringList>("clicks");
    QTest::addColumn<QStringList>("changed");
    QTest::addColumn<QStringList>("stale");
}

// setup: the actions that bring the window to the state under test; clicks: the actions under
// test; changed: every box whose text the clicks change, with its new text; stale: the result
// boxes left showing the no-result cue.
void row(const char *tag, const QStringList &setup, const QStringList &clicks,
    const QStringList &changed, const QStringList &stale = {})
{
    QTest::newRow(tag) << setup << clicks << changed << stale;
}

// Every box not named in `changed` must keep the text it had before the clicks, so a stray write
// into any of the seven boxes fails the row as surely as a wrong result does.
void checkRow()
{
    QFETCH(QStringList, setup);
    QFETCH(QStringList, clicks);
    QFETCH(QStringList, changed);
    QFETCH(QStringList, stale);
    ShownWindow shown;
    for (const QString &action : setup)
        act(shown.w, action);
    QStringList want = shownTexts(shown.w);
    for (const QString &box : changed) {
        const QString name = box.section(QLatin1Char('='), 0, 0);
        for (QString &text : want) {
            if (text.section(QLatin1Char('='), 0, 0) == name)
                text = box;
        }
    }
    for (const QString &action : clicks)
        act(shown.w, action);
    const QStringList texts = shownTexts(shown.w);
    QCOMPARE(texts, want);
    QCOMPARE(staleBoxes(shown.w), stale);
    for (const QString &text : texts) {
        QVERIFY2(!text.contains(QLatin1String("inf"), Qt::CaseInsensitive)
                && !text.contains(QLatin1String("nan"), Qt::CaseInsensitive),
            qPrintable(text));
    }
    for (const char *bar :
        { "VScroll1", "VScroll2", "VScroll3", "VScroll4", "VScroll5", "VScroll6", "VScroll7" })
        QCOMPARE(control<window::SpinBar>(shown.w, bar)->position(), 0);
}

} // namespace

class TestSpinControls : public QObject
{
    Q_OBJECT

private slots:
    void lowerBoxSpin_data();
    void lowerBoxSpin() { checkRow(); }
    void lowerBoxPushesUpperBox_data();
    void lowerBoxPushesUpperBox() { checkRow(); }
    void upperBoxSpin_data();
    void upperBoxSpin() { checkRow(); }
    void parasiticSpin_data();
    void parasiticSpin() { checkRow(); }
    void quickBox_data();
    void quickBox() { checkRow(); }
    void nonNumberBox_data();
    void nonNumberBox() { checkRow(); }
    void typedDecimals_data();
    void typedDecimals() { checkRow(); }
    void unitChoice_data();
    void unitChoice() { checkRow(); }
    void disabledControls_data();
    void disabledControls() { checkRow(); }
    void overflow_data();
    void overflow() { checkRow(); }
    void oneClickRunsOneNestedPass_data();
    void oneClickRunsOneNestedPass();
    void nestedPassRecomputesOnTheWindow();
    void nestedPassRerunsTheSolver_data();
    void nestedPassRerunsTheSolver();
    void heldArrowRepeatsWholeSteps();
    void pasteOfAnyLength();
};

void TestSpinControls::lowerBoxSpin_data()
{
    addRowColumns();
    row("the road of one click at start", {}, { "VScroll3 up" },
        { "Text3=20.01", "Text5=9.777", "Text6=14.838" });
    row("fine step up on the lower inductance, C fixed", { "Command2" }, { "VScroll1 up" },
        { "Text1=5.01", "Text5=11.733", "Text6=14.826" });
    row("fine step up on the lower inductance, F fixed", { "Command3" }, { "VScroll1 up" },
        { "Text1=5.01", "Text3=30.103", "Text4=49.860" });
    row("fine step down on the lower capacitance, F fixed", { "Command3" }, { "VScroll3 down" },
        { "Text1=4.997", "Text2=11.519", "Text3=19.99" });
    row("fine step up on the lower frequency, L fixed", {}, { "VScroll5 up" },
        { "Text3=20.004", "Text4=49.857", "Text5=9.79" });
    row("fine step down on the lower frequency, C fixed", { "Command2" }, { "VScroll5 down" },
        { "Text1=5.001", "Text2=11.538", "Text5=9.77" });
    row("Quick step from the layout's whole number", { "Check2" }, { "VScroll3 up" },
        { "Text3=21.00", "Text5=9.777", "Text6=14.529" });
    row("floor keeps 0.01 with the fine step, C fixed", { "Command2", "Text1=0.01" },
        { "VScroll1 down" }, { "Text5=11.733", "Text6=331.861" });
    row("floor keeps 0.01 with the fine step, F fixed", { "Command3", "Text1=0.01" },
        { "VScroll1 down" }, { "Text3=30.103", "Text4=26479.718" });
    row("floor keeps 0.01 on the lower frequency", { "Text5=0.01" }, { "VScroll5 down" },
        { "Text3=20.004", "Text4=50660588.800" });
    row("floor lifts 0.50 to the Quick step, C fixed", { "Command2", "Check1", "Text1=0.50" },
        { "VScroll1 down" }, { "Text1=1.00", "Text5=11.733", "Text6=33.186" });
    row("floor lifts 0.50 to the Quick step, F fixed", { "Command3", "Check1", "Text1=0.50" },
        { "VScroll1 down" }, { "Text1=1.00", "Text3=30.103", "Text4=261.827" });
    row("floor lifts 0.50 capacitance to the Quick step", { "Check2", "Text3=0.50" },
        { "VScroll3 down" }, { "Text3=1.00", "Text5=9.777", "Text6=35.588" });
    // The click writes 0.00 (from 0.004); the nested pass reads that as 0 and floors it.
    row("a number rounding to 0.00 is floored by the nested pass",
        { "Command2", "Check1", "Text1=-0.996" }, { "VScroll1 up" },
        { "Text1=1.00", "Text5=11.733", "Text6=33.186" });
    row("fine step on 500.00 nH, C fixed",
        { "Command2", "Option1", "Text1=500.00", "Text2=800.00" }, { "VScroll1 up" },
        { "Text1=500.01", "Text5=37.103", "Text6=46.932" });
    row("fine step on 500.00 nH, F fixed",
        { "Command3", "Option1", "Text1=500.00", "Text2=800.00" }, { "VScroll1 up" },
        { "Text1=500.01", "Text3=328.034", "Text4=526.644" });
    row("fine step on 9.78 kHz", { "Option5" }, { "VScroll5 up" },
        { "Text4=52857284.825", "Text5=9.79" });
}

void TestSpinControls::lowerBoxPushesUpperBox_data()
{
    addRowColumns();
    row("both 8.00 and up makes both 8.01, C fixed", { "Command2", "Text1=8.00" },
        { "VScroll1 up" }, { "Text1=8.01", "Text2=8.01", "Text5=11.726", "Text6=11.726" });
    row("both 8.00 and up makes both 8.01, F fixed", { "Command3", "Text1=8.00" },
        { "VScroll1 up" }, { "Text1=8.01", "Text2=8.01", "Text3=30.062", "Text4=30.062" });
    row("a Quick step overtakes the upper box", { "Command2", "Check1", "Text1=7.50" },
        { "VScroll1 up" }, { "Text1=8.50", "Text2=8.50", "Text5=11.383", "Text6=11.383" });
    // 7.994 + 0.01 is written 8.00 but lies above 8.001.
    row("upper box compared with the unrounded number",
        { "Command2", "Text1=7.994", "Text2=8.001" }, { "VScroll1 up" },
        { "Text1=8.00", "Text2=8.00", "Text5=11.733", "Text6=11.733" });
    row("upper box not overtaken keeps its own text", { "Command2", "Text1=7.984", "Text2=8.001" },
        { "VScroll1 up" }, { "Text1=7.99", "Text5=11.732", "Text6=11.740" });
    row("an upper box equal to the new number keeps its text",
        { "Command2", "Text1=7.99", "Text2=8" }, { "VScroll1 up" },
        { "Text1=8.00", "Text5=11.733", "Text6=11.733" });
    row("capacitance pushes its upper box", { "Text3=50" }, { "VScroll3 up" },
        { "Text3=50.01", "Text4=50.01", "Text5=9.776", "Text6=9.776" });
    row("frequency pushes its upper box", { "Command2", "Text5=14.84" }, { "VScroll5 up" },
        { "Text1=4.994", "Text2=4.994", "Text5=14.85", "Text6=14.85" });
    row("an upper box of letters is pushed", { "Command3", "Text2=abc" }, { "VScroll1 up" },
        { "Text1=5.01", "Text2=5.01", "Text3=49.860", "Text4=49.860" });
}

void TestSpinControls::upperBoxSpin_data()
{
    addRowColumns();
    row("both 5.00 and down leaves 5.00", { "Command2", "Text2=5.00" }, { "VScroll2 down" },
        { "Text5=14.841", "Text6=14.841" });
    row("a Quick step stops at the lower box", { "Command2", "Check1", "Text2=5.50" },
        { "VScroll2 down" }, { "Text2=5.00", "Text5=14.841", "Text6=14.841" });
    row("fine step up on the upper inductance, F fixed", { "Command3" }, { "VScroll2 up" },
        { "Text2=8.01", "Text3=30.062", "Text4=49.965" });
    row("an upper box below its lower box is raised by an up click", { "Command2", "Text2=3" },
        { "VScroll2 up" }, { "Text2=5.00", "Text5=14.841", "Text6=14.841" });
    row("held by the unrounded lower number, which stays as typed",
        { "Command2", "Text1=5.004", "Text2=5.00" }, { "VScroll2 down" },
        { "Text5=14.841", "Text6=14.835" });
    row("reaches 0.00 only over a lower box there", { "Command2", "Text1=-1", "Text2=0.01" },
        { "VScroll2 down" }, { "Text2=0.00" }, { "Text5", "Text6" });
    row("goes below zero only over a lower box there", { "Command2", "Text1=-1", "Text2=-0.50" },
        { "VScroll2 down" }, { "Text2=-0.51" }, { "Text5", "Text6" });
    row("upper capacitance, L fixed", {}, { "VScroll4 up" },
        { "Text4=50.01", "Text5=9.776", "Text6=14.841" });
    row("upper capacitance, F fixed", { "Command3" }, { "VScroll4 down" },
        { "Text1=4.998", "Text2=11.514", "Text4=49.99" });
    row("upper frequency, L fixed", {}, { "VScroll6 down" },
        { "Text3=20.035", "Text4=49.965", "Text6=14.83" });
    row("upper frequency, C fixed", { "Command2" }, { "VScroll6 up" },
        { "Text1=4.994", "Text2=11.514", "Text6=14.85" });
}

void TestSpinControls::parasiticSpin_data()
{
    addRowColumns();
    row("3.0 up gives 3.1 and recomputes F with L fixed", {}, { "VScroll7 up" },
        { "Text5=9.768", "Text6=14.809", "Text7=3.1" });
    row("3.0 down gives 2.9 and recomputes L with F fixed", { "Command3" }, { "VScroll7 down" },
        { "Text1=5.006", "Text2=11.565", "Text7=2.9" });
    row("0.1 down stays 0.1", { "Text7=0.1" }, { "VScroll7 down" },
        { "Text5=10.056", "Text6=15.876" });
    row("letters become 0.1 with the upper arrow", { "Text7=abc" }, { "VScroll7 up" },
        { "Text5=10.056", "Text6=15.876", "Text7=0.1" });
    row("letters become 0.1 with the lower arrow", { "Text7=abc" }, { "VScroll7 down" },
        { "Text5=10.056", "Text6=15.876", "Text7=0.1" });
    row("typed hundredths rounded to tenths", { "Text7=3.04" }, { "VScroll7 up" },
        { "Text5=9.768", "Text6=14.809", "Text7=3.1" });
    row("the capacitance Quick step does not move Cx", { "Check2" }, { "VScroll7 up" },
        { "Text5=9.768", "Text6=14.809", "Text7=3.1" });
    // 0.02 and 0.05 nF are the layout's 20 and 50 pF: the same range as with pF shows that Cx
    // is still read in pF.
    row("nF leaves Cx in pF", { "Option4", "Text3=0.02", "Text4=0.05" }, { "VScroll7 up" },
        { "Text5=9.768", "Text6=14.809", "Text7=3.1" });
}

void TestSpinControls::quickBox_data()
{
    addRowColumns();
    row("ticking changes no box", { "Command2" }, { "Check1" }, {});
    row("ticked, the lower box moves by 1", { "Command2", "Check1" }, { "VScroll1 up" },
        { "Text1=6.00", "Text5=11.733", "Text6=13.548" });
    row("ticked, the upper box moves by 1", { "Command2", "Check1" }, { "VScroll2 up" },
        { "Text2=9.00", "Text5=11.062", "Text6=14.841" });
    row("unticking returns to 0.01", { "Command2", "Check1", "Check1" }, { "VScroll1 up" },
        { "Text1=5.01", "Text5=11.733", "Text6=14.826" });
    row("the step survives a round of fix modes", { "Check2", "Command2", "Command3" },
        { "VScroll3 up" }, { "Text1=4.997", "Text2=11.034", "Text3=21.00" });
    row("the step survives a unit change", { "Check2", "Option4" }, { "VScroll3 up" },
        { "Text3=21.00", "Text6=0.491" });
    row("a Quick box moves only its own quantity", { "Check3" }, { "VScroll3 up" },
        { "Text3=20.01", "Text5=9.777", "Text6=14.838" });
    row("frequency Quick step", { "Check3" }, { "VScroll5 up" },
        { "Text3=20.004", "Text4=40.595", "Text5=10.78" });
}

void TestSpinControls::nonNumberBox_data()
{
    addRowColumns();
    row("lower box of letters, upper arrow", { "Command2", "Text1=abc" }, { "VScroll1 up" },
        { "Text1=0.01", "Text5=11.733", "Text6=331.861" });
    row("lower box of letters, lower arrow", { "Command2", "Text1=abc" }, { "VScroll1 down" },
        { "Text1=0.01", "Text5=11.733", "Text6=331.861" });
    row("empty lower box with the Quick step", { "Command3", "Check1", "Text1=" },
        { "VScroll1 down" }, { "Text1=1.00", "Text3=30.103", "Text4=261.827" });
    row("upper box of letters is raised to its lower box", { "Command2", "Text2=abc" },
        { "VScroll2 up" }, { "Text2=5.00", "Text5=14.841", "Text6=14.841" });
    row("upper box of letters over a negative lower box, down",
        { "Command2", "Text1=-1", "Text2=abc" }, { "VScroll2 down" }, { "Text2=-0.01" },
        { "Text5", "Text6" });
    row("upper box of letters over a negative lower box, up",
        { "Command2", "Text1=-1", "Text2=abc" }, { "VScroll2 up" }, { "Text2=0.01" },
        { "Text5", "Text6" });
    // A frequency or inductance of letters leaves the range it feeds out of date; the next run
    // that has a result leaves no box so, the inputs it did not step included.
    row("L fixed: frequency of letters, upper frequency up", { "Text5=abc" }, { "VScroll6 up" },
        { "Text6=14.85" }, { "Text3", "Text4" });
    row("L fixed: then a capacitance step clears every cue", { "Text5=abc", "VScroll6 up" },
        { "VScroll3 up" }, { "Text3=20.01", "Text5=9.777", "Text6=14.838" });
    row("C fixed: frequency of letters, upper frequency up", { "Command2", "Text5=abc" },
        { "VScroll6 up" }, { "Text6=14.85" }, { "Text1", "Text2" });
    row("C fixed: then an inductance step clears every cue",
        { "Command2", "Text5=abc", "VScroll6 up" }, { "VScroll1 up" },
        { "Text1=5.01", "Text5=11.733", "Text6=14.826" });
    row("F fixed: inductance of letters, upper inductance up", { "Command3", "Text1=abc" },
        { "VScroll2 up" }, { "Text2=8.01" }, { "Text3", "Text4" });
    row("F fixed: then a capacitance step clears every cue",
        { "Command3", "Text1=abc", "VScroll2 up" }, { "VScroll3 up" },
        { "Text1=4.997", "Text2=11.509", "Text3=20.01" });
    row("a comma ends the number", { "Text3=20,5" }, { "VScroll3 up" },
        { "Text3=20.01", "Text5=9.777", "Text6=14.838" });
    row("a unit after the number is ignored", { "Text4=50 pF" }, { "VScroll4 up" },
        { "Text4=50.01", "Text5=9.776", "Text6=14.841" });
}

void TestSpinControls::typedDecimals_data()
{
    addRowColumns();
    row("three decimals rounded down", { "Text3=20.123" }, { "VScroll3 up" },
        { "Text3=20.13", "Text5=9.777", "Text6=14.800" });
    row("three decimals rounded up", { "Text3=20.996" }, { "VScroll3 up" },
        { "Text3=21.01", "Text5=9.777", "Text6=14.526" });
    row("upper box rounded", { "Text4=49.987" }, { "VScroll4 down" },
        { "Text4=49.98", "Text5=9.779", "Text6=14.841" });
    row("four decimals on the upper frequency", { "Text6=14.8449" }, { "VScroll6 up" },
        { "Text3=19.973", "Text4=49.965", "Text6=14.85" });
    row("the Quick step is added to the number as typed", { "Command2", "Check1", "Text1=5.678" },
        { "VScroll1 up" }, { "Text1=6.68", "Text5=11.733", "Text6=12.840" });
}

void TestSpinControls::unitChoice_data()
{
    addRowColumns();
    row("nF with L fixed recomputes F", {}, { "Option4" }, { "Text5=0.318", "Text6=0.503" });
    row("pF again with L fixed", { "Option4" }, { "Option3" }, { "Text5=9.777", "Text6=14.841" });
    row("kHz with L fixed recomputes C", {}, { "Option5" },
        { "Text3=23003949.220", "Text4=52965432.700" });
    row("nH with C fixed recomputes F", { "Command2" }, { "Option1" },
        { "Text5=371.032", "Text6=469.322" });
    row("uH again with C fixed", { "Command2", "Option1" }, { "Option2" },
        { "Text5=11.733", "Text6=14.841" });
    row("kHz with C fixed recomputes L", { "Command2" }, { "Option5" },
        { "Text1=5000859.178", "Text2=11514225.152" });
    row("nH with F fixed recomputes C", { "Command3" }, { "Option1" },
        { "Text3=33100.397", "Text4=52962.436" });
    row("nF with F fixed recomputes L", { "Command3" }, { "Option4" },
        { "Text1=0.005", "Text2=0.013" });
    row("nF with F fixed reads Cx in pF", { "Command3", "Text3=0.02", "Text4=0.05" }, { "Option4" },
        { "Text1=4.997", "Text2=11.514" });
    // Choosing the unit already chosen changes nothing the solvers read.
    row("the unit already chosen computes nothing", {}, { "Option3" }, {});
}

void TestSpinControls::disabledControls_data()
{
    addRowColumns();
    row("L fixed: lower inductance spin", {}, { "VScroll1 up" }, {});
    row("L fixed: upper inductance spin", {}, { "VScroll2 down" }, {});
    row("L fixed: nH", {}, { "Option1" }, {});
    // Had nH been chosen, 5.01 would read as 0.00501 uH.
    row("L fixed: nH stays unchosen", {}, { "Option1", "Command2", "VScroll1 up" },
        { "Text1=5.01", "Text5=11.733", "Text6=14.826" });
    row("L fixed: the Quick box keeps the fine step", {}, { "Check1", "Command2", "VScroll1 up" },
        { "Text1=5.01", "Text5=11.733", "Text6=14.826" });
    row("C fixed: lower capacitance spin", { "Command2" }, { "VScroll3 up" }, {});
    row("C fixed: upper capacitance spin", { "Command2" }, { "VScroll4 down" }, {});
    row("C fixed: Cx spin", { "Command2" }, { "VScroll7 up" }, {});
    row("C fixed: nF", { "Command2" }, { "Option4" }, {});
    row("C fixed: the Quick box keeps the fine step", { "Command2" },
        { "Check2", "Command1", "VScroll3 up" }, { "Text3=20.01", "Text5=9.777", "Text6=14.838" });
    row("F fixed: lower frequency spin", { "Command3" }, { "VScroll5 down" }, {});
    row("F fixed: upper frequency spin", { "Command3" }, { "VScroll6 up" }, {});
    row("F fixed: kHz", { "Command3" }, { "Option5" }, {});
    row("F fixed: the Quick box keeps the fine step", { "Command3" },
        { "Check3", "Command1", "VScroll5 up" }, { "Text3=20.004", "Text4=49.857", "Text5=9.79" });
    row("F fixed: typing into the fixed box", { "Command3" }, { "Text5=1" }, {});
}

// A box beyond the range of a double reads as an infinity: its spin has no text to write, so the
// box keeps what the user typed and the range it feeds is marked as having no result. A box at
// the largest double stays finite, since the step is far below its last digit.
void TestSpinControls::overflow_data()
{
    addRowColumns();
    row("lower capacitance beyond a double", { "Text3=1e309" }, { "VScroll3 up" }, {},
        { "Text5", "Text6" });
    row("upper capacitance beyond a double", { "Text4=1e309" }, { "VScroll4 down" }, {},
        { "Text5", "Text6" });
    row("Cx beyond a double", { "Text7=1e309" }, { "VScroll7 up" }, {}, { "Text5", "Text6" });
    row("lower capacitance at the largest double", { "Text3=1.7976931348623157e308" },
        { "VScroll3 up" }, { "Text3=" + largestDouble, "Text4=" + largestDouble },
        { "Text5", "Text6" });
    row("upper capacitance at the largest double, Quick step",
        { "Check2", "Text4=1.7976931348623157e308" }, { "VScroll4 up" },
        { "Text4=" + largestDouble }, { "Text5", "Text6" });
    row("nF takes a large box beyond a double", { "Text4=1e306" }, { "Option4" }, {},
        { "Text5", "Text6" });
    // About 4.8e305 uH: shown in uH in full, beyond a double in nH.
    row("an inductance too large for nH", { "Command2", "Option1", "Text5=1e-152", "Command3" },
        { "VScroll3 up" }, { "Text3=20.01" }, { "Text1", "Text2" });
    row("lower box at minus infinity is floored", { "Text3=-1e309" }, { "VScroll3 up" },
        { "Text3=0.01", "Text5=9.777", "Text6=41.025" });
    row("upper box at minus infinity is raised", { "Text4=-1e309" }, { "VScroll4 up" },
        { "Text4=20.00", "Text5=14.841", "Text6=14.841" });
}

void TestSpinControls::oneClickRunsOneNestedPass_data()
{
    QTest::addColumn<QStringList>("setup");
    QTest::addColumn<QString>("bar");
    QTest::addColumn<int>("changes");
    QTest::addColumn<QStringList>("textChanges");
    QTest::addColumn<int>("inNestedPass");
    QTest::newRow("the road of one click")
        << QStringList {} << "VScroll3" << 2 << QStringList { "Text3", "Text5", "Text6" } << 0;
    QTest::newRow("a lower box pushing its upper box")
        << QStringList { "Command2", "Text1=8.00" } << "VScroll1" << 2
        << QStringList { "Text1", "Text2", "Text5", "Text6" } << 0;
    QTest::newRow("Cx with F fixed") << QStringList { "Command3" } << "VScroll7" << 2
                                     << QStringList { "Text7", "Text1", "Text2" } << 0;
    // The outer pass writes 0.00, which has no result; the nested pass floors it and computes.
    QTest::newRow("a text that does not read back as the number written")
        << QStringList { "Command2", "Check1", "Text1=-0.996" } << "VScroll1" << 2
        << QStringList { "Text1", "Text1", "Text5", "Text6" } << 3;
    QTest::newRow("disabled Cx spin")
        << QStringList { "Command2" } << "VScroll7" << 0 << QStringList {} << 0;
    QTest::newRow("disabled inductance spin")
        << QStringList {} << "VScroll2" << 0 << QStringList {} << 0;
}

// Counts the bar's change events and every text that changes during one click on the upper
// arrow, noting the bar's position at each change: +1 while the outer pass runs, 0 in the
// nested pass that setting it back raises.
void TestSpinControls::oneClickRunsOneNestedPass()
{
    QFETCH(QStringList, setup);
    QFETCH(QString, bar);
    QFETCH(int, changes);
    QFETCH(QStringList, textChanges);
    QFETCH(int, inNestedPass);
    ShownWindow shown;
    for (const QString &action : setup)
        act(shown.w, action);
    auto *spin = control<window::SpinBar>(shown.w, qPrintable(bar));
    // Connected after the window's own handler, so it sees each event once that handler is done.
    int seen = 0;
    connect(spin, &window::SpinBar::changed, spin, [&] { ++seen; });
    QStringList textsChanged;
    QList<int> positions;
    for (const char *name : boxNames) {
        connect(control<QLineEdit>(shown.w, name), &QLineEdit::textChanged, spin, [&, name] {
            textsChanged << QLatin1String(name);
            positions << spin->position();
        });
    }
    clickArrow(spin, Arrow::Upper);
    QCOMPARE(seen, changes);
    QCOMPARE(textsChanged, textChanges);
    QCOMPARE(positions.count(0), inNestedPass);
    QCOMPARE(spin->position(), 0);
}

// The solver's run in the nested pass, seen on the real window: the computed range is spoilt in
// the module the moment the outer pass has shown it; only a second run can put it back.
void TestSpinControls::nestedPassRecomputesOnTheWindow()
{
    ShownWindow shown;
    auto &w = shown.w;
    auto *upperF = control<QLineEdit>(w, "Text6");
    int spoilt = 0;
    connect(upperF, &QLineEdit::textChanged, upperF, [&] {
        w.module().Cmin = 0;
        w.module().FcalcMin = 0;
        w.module().FcalcMax = 0;
        ++spoilt;
    });
    clickArrow(control<QScrollBar>(w, "VScroll3"), Arrow::Upper);
    QCOMPARE(spoilt, 1);
    QCOMPARE(upperF->text(), QStringLiteral("14.838"));
    // 20.01 pF plus Cx 3.0; 9.777 and 14.838 as the outer pass showed them.
    QVERIFY(qAbs(w.module().Cmin - 23.01) < 1e-9);
    QVERIFY(qAbs(w.module().FcalcMin - 9.777) < 0.0005);
    QVERIFY(qAbs(w.module().FcalcMax - 14.838) < 0.0005);
}

void TestSpinControls::nestedPassRerunsTheSolver_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("bar");
    QTest::addColumn<QString>("box");
    QTest::addColumn<QStringList>("results");
    auto row = [](const char *tag, int mode, const char *bar, const char *box,
                   const QStringList &results) {
        QTest::newRow(tag) << mode << QString::fromLatin1(bar) << QString::fromLatin1(box)
                           << results;
    };
    row("lower inductance, C fixed", 2, "VScroll1", "Text1", { "Text5", "Text6" });
    row("upper inductance, F fixed", 3, "VScroll2", "Text2", { "Text3", "Text4" });
    row("lower capacitance, L fixed", 1, "VScroll3", "Text3", { "Text5", "Text6" });
    row("upper capacitance, F fixed", 3, "VScroll4", "Text4", { "Text1", "Text2" });
    row("lower frequency, L fixed", 1, "VScroll5", "Text5", { "Text3", "Text4" });
    row("upper frequency, C fixed", 2, "VScroll6", "Text6", { "Text1", "Text2" });
    row("Cx, L fixed", 1, "VScroll7", "Text7", { "Text5", "Text6" });
    row("Cx, F fixed", 3, "VScroll7", "Text7", { "Text1", "Text2" });
    row("Cx while C is fixed runs no solver", 2, "VScroll7", "Text7", {});
}

// On the plain-data form, whose bars raise their handler inside setScrollValue as the toolkit
// does, writes are counted one by one, same text or not: the spun box and each result box are
// written once in each pass.
void TestSpinControls::nestedPassRerunsTheSolver()
{
    QFETCH(int, mode);
    QFETCH(QString, bar);
    QFETCH(QString, box);
    QFETCH(QStringList, results);
    FakeForm form = testing::startForm(mode);
    model::Module1 m;
    m.StepL = m.StepC = m.StepF = 0.01;
    const model::Control spin = *model::controlNamed(bar.toStdString());
    int nestedPasses = 0;
    auto texts = [&form] {
        QStringList all;
        for (const char *name : boxNames)
            all << QString::fromStdString(form[*model::controlNamed(name)].text);
        return all;
    };
    QStringList textsBeforeNestedPass;
    form.onScrollChange = [&](model::Control changed) {
        ++nestedPasses;
        textsBeforeNestedPass = texts();
        model::spinChanged(form, m, changed);
    };
    form[spin].scroll = 1;
    model::spinChanged(form, m, spin);

    QCOMPARE(nestedPasses, 1);
    QCOMPARE(form[spin].scroll, 0);
    QCOMPARE(texts(), textsBeforeNestedPass);
    QStringList writes;
    for (const char *name : boxNames) {
        if (const int n = form[*model::controlNamed(name)].textWrites)
            writes << QStringLiteral("%1 x%2").arg(QLatin1String(name)).arg(n);
    }
    QStringList want { box + " x2" };
    for (const QString &result : results)
        want << result + " x2";
    want.sort();
    QCOMPARE(writes, want);
}

// Held down, an arrow repeats on the bar's own timer: each repeat is one whole step with its
// nested pass, seen as one text per step written while the bar stood at +1.
void TestSpinControls::heldArrowRepeatsWholeSteps()
{
    ShownWindow shown;
    auto *bar = control<window::SpinBar>(shown.w, "VScroll3");
    auto *box = control<QLineEdit>(shown.w, "Text3");
    QStringList steps;
    connect(box, &QLineEdit::textChanged, bar, [&](const QString &text) {
        steps << QStringLiteral("%1 at %2").arg(text).arg(bar->position());
    });
    int changes = 0;
    connect(bar, &window::SpinBar::changed, bar, [&] { ++changes; });
    // A bound for a bar that never repeats, so that the test fails instead of hanging; the
    // check itself counts steps, not time.
    QTimer bound;
    bound.setSingleShot(true);
    bound.start(20000);
    const QPoint arrow = arrowCentre(bar, Arrow::Upper);
    QTest::mousePress(bar, Qt::LeftButton, {}, arrow);
    while (steps.size() < 4 && bound.isActive())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    QTest::mouseRelease(bar, Qt::LeftButton, {}, arrow);

    const int clicks = int(steps.size());
    QVERIFY2(clicks >= 4, qPrintable(QStringLiteral("only %1 steps").arg(clicks)));
    QStringList want;
    for (int i = 1; i <= clicks; ++i)
        want << QStringLiteral("20.%1 at 1").arg(i, 2, 10, QLatin1Char('0'));
    QCOMPARE(steps, want);
    QCOMPARE(changes, 2 * clicks);
    QCOMPARE(bar->position(), 0);
    QCOMPARE(box->text(), want.last().section(QLatin1Char(' '), 0, 0));
    QCOMPARE(control<QLineEdit>(shown.w, "Text4")->text(), QStringLiteral("50"));
}

// A paste far beyond the toolkit's default limit of 32,767 characters is kept whole, and the next
// spin reads it by the leading-number rule: the blanks are skipped, the 7 is the number.
void TestSpinControls::pasteOfAnyLength()
{
    ShownWindow shown;
    auto *box = control<QLineEdit>(shown.w, "Text3");
    const QString pasted = QString(40000, QLatin1Char(' ')) + QLatin1Char('7');
    QApplication::clipboard()->setText(pasted);
    box->setFocus();
    box->selectAll();
    QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(box->text(), pasted);
    clickArrow(control<QScrollBar>(shown.w, "VScroll3"), Arrow::Upper);
    QCOMPARE(box->text(), QStringLiteral("7.01"));
}

LCTUNE_WINDOW_TEST_MAIN(TestSpinControls)
#include "tst_spin_controls.moc"
