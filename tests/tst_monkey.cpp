// SPDX-FileCopyrightText: The LC Tune developers
// SPDX-License-Identifier: MIT

// A monkey at the window: a long pseudo-random run of user actions on the real widgets, with what
// must hold after every action checked after each one. The run is fixed by its start value, so a
// failure is replayed by running again with the start value and action count that it prints:
//   LCTUNE_MONKEY_START=<start value> LCTUNE_MONKEY_ACTIONS=<count> tests/tst_monkey

#include "window_test_support.h"

#include "model/leading_number.h"
#include "window/spin_bar.h"

#include <QCheckBox>
#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QWheelEvent>

#include <array>
#include <cmath>
#include <cstdint>
#include <random>
#include <utility>

using namespace testing;

namespace {

// A few seconds in the plain build and well under a minute in the sanitizer build, whose test
// preset asks for 20,000; the long run sets its own count.
constexpr qulonglong defaultActions = 5000;
constexpr qulonglong defaultStart = 1;

qulonglong fromEnvironment(const char *name, qulonglong fallback)
{
    bool ok = false;
    const qulonglong value = qEnvironmentVariable(name).toULongLong(&ok);
    return ok ? value : fallback;
}

struct Group
{
    const char *lowerBox, *upperBox;
    std::array<const char *, 2> bars, options, units;
    const char *quick, *lowerLabel, *upperLabel, *fixButton;
};

// clang-format off
constexpr std::array<Group, 3> groups = {{
    {"Text1", "Text2", {"VScroll1", "VScroll2"}, {"Option1", "Option2"}, {"nH", "uH"},
     "Check1", "Label1", "Label2", "Command1"},
    {"Text3", "Text4", {"VScroll3", "VScroll4"}, {"Option3", "Option4"}, {"pF", "nF"},
     "Check2", "Label3", "Label4", "Command2"},
    {"Text5", "Text6", {"VScroll5", "VScroll6"}, {"Option5", "Option6"}, {"kHz", "MHz"},
     "Check3", "Label5", "Label6", "Command3"},
}};
// clang-format on

constexpr std::array<const char *, 7> boxes = { "Text1", "Text2", "Text3", "Text4", "Text5",
    "Text6", "Text7" };
constexpr std::array<const char *, 7> bars = { "VScroll1", "VScroll2", "VScroll3", "VScroll4",
    "VScroll5", "VScroll6", "VScroll7" };
constexpr std::array<const char *, 6> options = { "Option1", "Option2", "Option3", "Option4",
    "Option5", "Option6" };
constexpr std::array<const char *, 3> quickBoxes = { "Check1", "Check2", "Check3" };
constexpr std::array<const char *, 3> fixButtons = { "Command1", "Command2", "Command3" };

constexpr std::array<std::pair<Qt::Key, const char *>, 6> keysOfABar = { {
    { Qt::Key_Up, "Up" },
    { Qt::Key_Down, "Down" },
    { Qt::Key_PageUp, "PageUp" },
    { Qt::Key_PageDown, "PageDown" },
    { Qt::Key_Home, "Home" },
    { Qt::Key_End, "End" },
} };

// What a user types, mistypes or pastes: numbers, separators that the reader stops at, exponents,
// BASIC's &H and &O, a number beyond the range of a double, a negative zero and letters outside
// ASCII.
// clang-format off
constexpr std::array<const char *, 34> pieces = {
    "0", "1", "2", "5", "7", "9", "12.5", "0.01", "99999", "1e3", "1e-3", "300",
    ".", " ", ",", "e", "E+", "D-2", "&H", "&hFF", "&O17", "&HFFFFFFFFFFFFFFFFFF",
    "1e309", "-1e309", "1e-320", "-0", "-", "+", "3,5", "e5",
    "ľščťž", "ýäô", "µ", "°",
};
// clang-format on

// 64-bit Mersenne Twister taken modulo: the same sequence from a start value on every platform,
// which std's distributions do not promise.
class Dice
{
public:
    explicit Dice(qulonglong start) : m_engine(start) { }
    std::size_t below(std::size_t n) { return static_cast<std::size_t>(m_engine() % n); }
    template <typename T, std::size_t N> T pick(const std::array<T, N> &from)
    {
        return from[below(N)];
    }

private:
    std::mt19937_64 m_engine;
};

QString randomText(Dice &dice)
{
    QString text;
    const std::size_t count = dice.below(5);
    for (std::size_t i = 0; i < count; ++i)
        text += QString::fromUtf8(dice.pick(pieces));
    return text;
}

// Beyond what any box shows: up to 2,000 digits, a number far beyond the range of a double or a
// fraction that underflows it.
QString longText(Dice &dice)
{
    const std::size_t length = 300 + dice.below(1700);
    QString text = dice.below(2) == 0 ? QString() : QStringLiteral("0.");
    while (std::size_t(text.size()) < length)
        text += QChar(u'0' + char16_t(dice.below(10)));
    return text;
}

void typeInto(QLineEdit *box, const QString &text)
{
    for (QChar c : text) {
        if (c.unicode() < 0x80)
            QTest::keyClick(box, char(c.unicode()));
        else
            QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

struct Action
{
    QString description;
    // The box the user typed into, or -1.
    int typedBox = -1;
};

Action act(window::MainWindow &w, Dice &dice)
{
    const std::size_t kind = dice.below(100);
    if (kind < 36) {
        const char *name = dice.pick(bars);
        const bool upper = dice.below(2) == 0;
        clickArrow(control<QScrollBar>(w, name), upper ? Arrow::Upper : Arrow::Lower);
        return { QStringLiteral("%1 %2 arrow").arg(name, upper ? "upper" : "lower") };
    }
    if (kind < 40) {
        // The other ways a user moves a scroll bar: its keys, once it has the focus, and the wheel.
        const char *name = dice.pick(bars);
        auto *bar = control<QScrollBar>(w, name);
        const std::size_t how = dice.below(keysOfABar.size() + 2);
        if (how < keysOfABar.size()) {
            bar->setFocus();
            QTest::keyClick(bar, keysOfABar[how].first);
            return { QStringLiteral("%1 key on %2").arg(keysOfABar[how].second, name) };
        }
        const bool up = how == keysOfABar.size();
        const QPoint at = bar->rect().center();
        QWheelEvent wheel(at, bar->mapToGlobal(at), {}, { 0, up ? 120 : -120 }, Qt::NoButton,
            Qt::NoModifier, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(bar, &wheel);
        return { QStringLiteral("wheel %1 on %2").arg(up ? "up" : "down", name) };
    }
    if (kind < 67) {
        const int index = int(dice.below(boxes.size()));
        auto *box = control<QLineEdit>(w, boxes[index]);
        box->setFocus();
        const std::size_t how = dice.below(20);
        if (how == 0) {
            const QString text = longText(dice);
            QGuiApplication::clipboard()->setText(text);
            QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
            return {
                QStringLiteral("paste %1 characters into %2").arg(text.size()).arg(boxes[index]),
                index
            };
        }
        if (how < 3) {
            QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClick(box, Qt::Key_Backspace);
            return { QStringLiteral("clear %1").arg(boxes[index]), index };
        }
        const QString text = randomText(dice);
        const bool append = how < 8;
        QTest::keyClick(
            box, append ? Qt::Key_End : Qt::Key_A, append ? Qt::NoModifier : Qt::ControlModifier);
        typeInto(box, text);
        return {
            QStringLiteral("%1 \"%2\" in %3").arg(append ? "append" : "type", text, boxes[index]),
            index
        };
    }
    const char *name = kind < 79 ? dice.pick(options)
        : kind < 86              ? dice.pick(quickBoxes)
        : kind < 94              ? dice.pick(fixButtons)
                                 : "Command5";
    click(control(w, name));
    return { QStringLiteral("click %1").arg(QLatin1String(name)) };
}

// Where a result box's number comes from, and the factor from the base unit to the shown one.
struct ResultSource
{
    double model::Module1::*value;
    const char *unitOption;
    double factorWhenChosen, factorOtherwise;
};

// clang-format off
constexpr std::array<ResultSource, 6> resultSources = {{
    {&model::Module1::LcalcMin, "Option1", 1000, 1},
    {&model::Module1::LcalcMax, "Option1", 1000, 1},
    {&model::Module1::CcalcMin, "Option3", 1,    0.001},
    {&model::Module1::CcalcMax, "Option3", 1,    0.001},
    {&model::Module1::FcalcMin, "Option5", 1000, 1},
    {&model::Module1::FcalcMax, "Option5", 1000, 1},
}};
// clang-format on

class Checker
{
public:
    explicit Checker(window::MainWindow &w) : m_w(w) { }

    QStringList problems;

    void expect(bool ok, const QString &what)
    {
        if (!ok)
            problems << what;
    }

    void expectColour(const QColor &got, const QColor &want, const char *name, const char *role)
    {
        expect(got == want,
            QStringLiteral("%1 %2 colour %3, want %4")
                .arg(QLatin1String(name), QLatin1String(role), got.name(), want.name()));
    }

    // A result box may show the stale cue instead of its own text colour.
    void expectTextColour(const char *name, const QColor &want)
    {
        const QColor got = control(m_w, name)->palette().color(QPalette::Active, QPalette::Text);
        if (got != window::QtForm::staleColour())
            expectColour(got, want, name, "text");
    }

    void expectEnabled(const char *name, bool enabled)
    {
        expect(control(m_w, name)->isEnabled() == enabled,
            QStringLiteral("%1 %2").arg(QLatin1String(name), enabled ? "disabled" : "enabled"));
    }

    void checkBox(const char *name, QRgb back, bool locked)
    {
        auto *box = control<QLineEdit>(m_w, name);
        expectColour(
            box->palette().color(QPalette::Active, QPalette::Base), QColor(back), name, "back");
        expect(box->isReadOnly() == locked,
            QStringLiteral("%1 %2").arg(QLatin1String(name), locked ? "unlocked" : "locked"));
    }

    void checkLabel(const char *name, const QColor &fore, const QString &caption)
    {
        auto *label = control<QLabel>(m_w, name);
        expectColour(
            label->palette().color(QPalette::Active, QPalette::WindowText), fore, name, "text");
        expect(label->text() == caption,
            QStringLiteral("%1 reads \"%2\", want \"%3\"").arg(name, label->text(), caption));
    }

    // The look, locks and enabled states that the fix mode gives every quantity group.
    void checkFixMode()
    {
        int mode = 0;
        for (int i = 0; i < 3; ++i) {
            const QString tag = control(m_w, fixButtons[i])->property("Tag").toString();
            expect(tag == QLatin1String("0") || tag == QLatin1String("1"),
                QStringLiteral("%1 has tag \"%2\"").arg(fixButtons[i], tag));
            if (tag == QLatin1String("1")) {
                expect(mode == 0, QStringLiteral("more than one fix button has tag \"1\""));
                mode = i + 1;
            }
        }
        expect(mode != 0, QStringLiteral("no fix button has tag \"1\""));
        if (mode == 0)
            return;
        const QColor black(Qt::black);
        const QColor grey(0x80, 0x80, 0x80);
        for (int g = 0; g < 3; ++g) {
            const Group &group = groups[g];
            const bool fixed = g == mode - 1;
            checkBox(group.lowerBox, fixed ? 0xFFC0C0 : 0xC0FFC0, fixed);
            checkBox(group.upperBox, fixed ? 0xC0C0C0 : 0xC0FFC0, fixed);
            expectTextColour(group.lowerBox, black);
            expectTextColour(group.upperBox, fixed ? grey : black);
            for (const char *name : group.bars)
                expectEnabled(name, !fixed);
            for (const char *name : group.options)
                expectEnabled(name, !fixed);
            expectEnabled(group.quick, !fixed);
            expectEnabled(group.fixButton, !fixed);
            const bool first = control<QRadioButton>(m_w, group.options[0])->isChecked();
            const char *unit = group.units[first ? 0 : 1];
            checkLabel(group.lowerLabel, black, QLatin1String(fixed ? unit : "Min."));
            checkLabel(group.upperLabel, fixed ? grey : black, QStringLiteral("Max."));
        }
        const bool capacitanceFixed = mode == 2;
        checkBox("Text7", capacitanceFixed ? 0xC0C0C0 : 0x80FF80, capacitanceFixed);
        expectTextColour("Text7", capacitanceFixed ? grey : black);
        expectEnabled("VScroll7", !capacitanceFixed);
        expectEnabled("Command4", true);
        expectEnabled("Command5", true);
    }

    void checkSpinBarsRest()
    {
        for (const char *name : bars) {
            auto *bar = control<window::SpinBar>(m_w, name);
            expect(bar->position() == 0 && bar->sliderPosition() == 0,
                QStringLiteral("%1 at %2").arg(name).arg(bar->position()));
        }
    }

    void checkQuickSteps()
    {
        const double steps[] = { m_w.module().StepL, m_w.module().StepC, m_w.module().StepF };
        for (int i = 0; i < 3; ++i) {
            const bool ticked = control<QCheckBox>(m_w, quickBoxes[i])->isChecked();
            expect(steps[i] == (ticked ? 1.0 : 0.01),
                QStringLiteral("%1 %2 with step %3")
                    .arg(quickBoxes[i], ticked ? "ticked" : "unticked")
                    .arg(steps[i]));
        }
    }

    // A text the program wrote: a spin's two decimals (one in Text7) or a result's three, "."
    // and no grouping, read back by the box reader as the number the text says.
    void checkWrittenText(int index, bool justWritten)
    {
        const char *name = boxes[index];
        const QString text = control<QLineEdit>(m_w, name)->text();
        static const QRegularExpression rangeBox(QStringLiteral("^-?\\d+\\.\\d{2,3}$"));
        static const QRegularExpression parasiticBox(QStringLiteral("^-?\\d+\\.\\d$"));
        const bool parasitic = index == 6;
        const bool wellFormed = (parasitic ? parasiticBox : rangeBox).match(text).hasMatch();
        expect(wellFormed, QStringLiteral("%1 written as \"%2\"").arg(name, text));
        if (!wellFormed)
            return;
        // QString's own conversion is the independent reading of the same decimal text.
        const double says = text.toDouble();
        const double read = model::readLeadingNumber(text.toStdString());
        expect(read == says && std::isfinite(read),
            QStringLiteral("%1 \"%2\" reads back as %3").arg(name, text).arg(read, 0, 'g', 17));
        expect(!(text.startsWith(u'-') && says == 0),
            QStringLiteral("%1 written as negative zero \"%2\"").arg(name, text));
        const bool result = text.size() - text.indexOf(u'.') == 4;
        if (!justWritten || !result || parasitic)
            return;
        // A result is the module's number in the shown unit, to within the third decimal.
        const ResultSource &source = resultSources[std::size_t(index)];
        const bool chosen = control<QRadioButton>(m_w, source.unitOption)->isChecked();
        const double shown = m_w.module().*source.value
            * (chosen ? source.factorWhenChosen : source.factorOtherwise);
        expect(std::abs(says - shown) <= 0.0005 + 1e-12 * std::abs(shown),
            QStringLiteral("%1 shows %2 for the result %3").arg(name, text).arg(shown, 0, 'g', 17));
    }

    void checkNoInfOrNan()
    {
        for (const char *name : boxes) {
            const QString text = control<QLineEdit>(m_w, name)->text().toLower();
            expect(!text.contains(QLatin1String("inf")) && !text.contains(QLatin1String("nan")),
                QStringLiteral("%1 shows \"%2\"").arg(name, text));
        }
    }

private:
    window::MainWindow &m_w;
};

} // namespace

class TestMonkey : public QObject
{
    Q_OBJECT

private slots:
    void randomUserSessionKeepsTheWindowSound();
};

void TestMonkey::randomUserSessionKeepsTheWindowSound()
{
    const qulonglong start = fromEnvironment("LCTUNE_MONKEY_START", defaultStart);
    const qulonglong actions = fromEnvironment("LCTUNE_MONKEY_ACTIONS", defaultActions);
    qInfo("start value %llu, %llu actions", start, actions);
    ShownWindow shown;
    auto &w = shown.w;
    Dice dice(start);
    std::array<QString, boxes.size()> texts;
    std::array<bool, boxes.size()> programWrote {};
    for (std::size_t i = 0; i < boxes.size(); ++i)
        texts[i] = control<QLineEdit>(w, boxes[i])->text();
    QStringList recent;
    for (qulonglong n = 1; n <= actions; ++n) {
        const Action action = act(w, dice);
        // Painting belongs to the run too: it is where a bad text or colour would be drawn.
        QCoreApplication::processEvents();
        recent << action.description;
        if (recent.size() > 12)
            recent.removeFirst();
        Checker checker(w);
        for (int i = 0; i < int(boxes.size()); ++i) {
            const QString text = control<QLineEdit>(w, boxes[std::size_t(i)])->text();
            const bool changed = text != texts[std::size_t(i)];
            if (changed) {
                texts[std::size_t(i)] = text;
                programWrote[std::size_t(i)] = i != action.typedBox;
            }
            if (programWrote[std::size_t(i)])
                checker.checkWrittenText(i, changed);
        }
        checker.checkNoInfOrNan();
        checker.checkFixMode();
        checker.checkSpinBarsRest();
        checker.checkQuickSteps();
        if (!checker.problems.isEmpty()) {
            QFAIL(qPrintable(
                QStringLiteral("after action %1 of start value %2: %3\n  %4\nlast actions:\n  %5\n"
                               "replay: LCTUNE_MONKEY_START=%2 LCTUNE_MONKEY_ACTIONS=%1")
                    .arg(n)
                    .arg(start)
                    .arg(action.description, checker.problems.join(QLatin1String("\n  ")),
                        recent.join(QLatin1String("\n  ")))));
        }
    }
}

QTEST_MAIN(TestMonkey)
#include "tst_monkey.moc"
