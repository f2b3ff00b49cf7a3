// SPDX-FileCopyrightText: The LC Tune developers
// SPDX-License-Identifier: MIT

// Long sessions at the real window: random actions over every control (spin arrows, keys and
// wheel, typing, appending and pasting, odd and overflowing numbers, units, Quick boxes, fix
// buttons, language), drawn from a small random generator with a fixed start value. After each
// action everything the user can read is compared with a reference that this test keeps on its
// own: its own copy of the seven texts, the units, the steps, the fix mode and the language, the
// look that each fix mode gives the controls, and its own arithmetic from the circuit formulas
// (numbers read with strtod, written with printf), so that it shares no code with the calculator.
// A failure prints its start value; a longer run replays it:
//   LCTUNE_SESSION_START=<start value> LCTUNE_SESSION_ACTIONS=<count> tests/tst_session

#include "window_test_support.h"

#include "window/spin_bar.h"

#include <QCheckBox>
#include <QClipboard>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QWheelEvent>

#include <array>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <optional>
#include <string>

using namespace testing;

namespace {

// xorshift64*: the same sequence on every machine and library for a given start value.
class Dice
{
public:
    explicit Dice(std::uint64_t startValue) : m_state(startValue == 0 ? 1 : startValue) { }

    int below(int n)
    {
        m_state ^= m_state >> 12;
        m_state ^= m_state << 25;
        m_state ^= m_state >> 27;
        return static_cast<int>(((m_state * 2685821657736338717ULL) >> 33) % std::uint64_t(n));
    }

private:
    std::uint64_t m_state;
};

enum Quantity { Inductance, Capacitance, Frequency };

// Base units: uH, pF (totals, Cx included) and MHz.
struct Inputs
{
    double lmin, lmax, cmin, cmax, fmin, fmax, cx;
};

bool usable(double value)
{
    return std::isfinite(value) && value > 0;
}

// F = 159.1549 / sqrt(L C).
std::optional<double> frequency(double l, double c)
{
    if (!usable(l) || !usable(c) || !usable(l * c))
        return std::nullopt;
    return 159.1549 / std::sqrt(l * c);
}

// 25330.2959 / (F^2 X): L from a total C, or a total C from L.
std::optional<double> fromFrequency(double f, double x)
{
    if (!usable(f) || !usable(x) || !usable(f * f * x))
        return std::nullopt;
    const double result = 25330.2959 / (f * f * x);
    if (!std::isfinite(result))
        return std::nullopt;
    return result;
}

std::optional<double> lessCx(std::optional<double> total, double cx)
{
    if (!total || !std::isfinite(*total - cx))
        return std::nullopt;
    return *total - cx;
}

// printf's rounding of the exact binary value; a number that rounds to zero has no sign.
std::string formatted(double value, int decimals)
{
    char buffer[400];
    std::snprintf(buffer, sizeof buffer, "%.*f", decimals, value);
    std::string text = buffer;
    if (text.front() == '-' && text.find_first_not_of("0.", 1) == std::string::npos)
        text.erase(0, 1);
    return text;
}

// The calculator as the user knows it, kept apart from the one under test.
class Reference
{
public:
    std::array<std::string, 7> text { "5.00", "8.00", "20", "50", "9.78", "14.84", "3.0" };
    std::array<bool, 3> firstUnit { false, true, false }; // nH, pF, kHz chosen
    std::array<bool, 3> quick {};
    int mode = 1;
    bool slovak = false;

    bool fixed(int quantity) const { return mode == quantity + 1; }
    static int groupOfBox(int box) { return box == 7 ? Capacitance : (box - 1) / 2; }
    double step(int quantity) const { return quick[quantity] ? 1.0 : 0.01; }

    void pressFixButton(int n) { mode = n; }
    void pressLanguageButton() { slovak = !slovak; }

    void tick(int quantity)
    {
        if (!fixed(quantity))
            quick[quantity] = !quick[quantity];
    }

    // A locked box takes no typing.
    void type(int box, const std::string &typed, bool append)
    {
        if (!fixed(groupOfBox(box)))
            text[box - 1] = append ? text[box - 1] + typed : typed;
    }

    void chooseUnit(int option)
    {
        const int quantity = (option - 1) / 2;
        const bool first = option % 2 == 1;
        // The unit already chosen raises nothing in the window.
        if (fixed(quantity) || firstUnit[quantity] == first)
            return;
        firstUnit[quantity] = first;
        solve(quantity);
    }

    // Whatever moved the bar, arrow, key or wheel: one step toward the top is +1.
    void spin(int bar, int position)
    {
        if (fixed(groupOfBox(bar)))
            return;
        spinPass(bar, position);
        // Setting the bar back to rest runs the same steps once more.
        spinPass(bar, 0);
    }

private:
    // The reading rule ignores blanks.
    static double number(std::string t)
    {
        std::erase(t, ' ');
        return std::strtod(t.c_str(), nullptr);
    }
    double number(int box) const { return number(text[box - 1]); }

    void spinPass(int bar, int p)
    {
        const int quantity = groupOfBox(bar);
        if (bar == 7) {
            double v = number(7) + p * 0.1;
            if (v <= 0)
                v = 0.1;
            if (std::isfinite(v))
                text[6] = formatted(v, 1);
        } else if (bar % 2 == 1) {
            const double s = step(quantity);
            double v = number(bar) + p * s;
            if (v <= 0)
                v = s;
            if (std::isfinite(v)) {
                text[bar - 1] = formatted(v, 2);
                if (number(bar + 1) < v)
                    text[bar] = text[bar - 1];
            }
        } else {
            double v = number(bar) + p * step(quantity);
            if (v < number(bar - 1))
                v = number(bar - 1);
            if (std::isfinite(v))
                text[bar - 1] = formatted(v, 2);
        }
        solve(quantity);
    }

    Inputs read() const
    {
        Inputs in {};
        const double perHenry = firstUnit[Inductance] ? 1000.0 : 1.0;
        in.lmin = number(1) / perHenry;
        in.lmax = number(2) / perHenry;
        const double toPicofarad = firstUnit[Capacitance] ? 1.0 : 1000.0;
        in.cx = number(7);
        in.cmin = number(3) * toPicofarad + in.cx;
        in.cmax = number(4) * toPicofarad + in.cx;
        const double perHertz = firstUnit[Frequency] ? 1000.0 : 1.0;
        in.fmin = number(5) / perHertz;
        in.fmax = number(6) / perHertz;
        return in;
    }

    void show(int quantity, std::optional<double> lower, std::optional<double> upper)
    {
        if (!lower || !upper)
            return;
        const double factors[3][2] = { { 1000, 1 }, { 1, 0.001 }, { 1000, 1 } };
        const double factor = factors[quantity][firstUnit[quantity] ? 0 : 1];
        if (!std::isfinite(*lower * factor) || !std::isfinite(*upper * factor))
            return;
        text[2 * quantity] = formatted(*lower * factor, 3);
        text[2 * quantity + 1] = formatted(*upper * factor, 3);
    }

    // The range of the quantity that is neither the changed one nor the fixed one; nothing when
    // the changed one is fixed.
    void solve(int changed)
    {
        const Inputs in = read();
        if (changed == Inductance && mode == 2)
            show(Frequency, frequency(in.lmax, in.cmin), frequency(in.lmin, in.cmin));
        if (changed == Inductance && mode == 3)
            show(Capacitance, lessCx(fromFrequency(in.fmin, in.lmax), in.cx),
                lessCx(fromFrequency(in.fmin, in.lmin), in.cx));
        if (changed == Capacitance && mode == 1)
            show(Frequency, frequency(in.lmin, in.cmax), frequency(in.lmin, in.cmin));
        if (changed == Capacitance && mode == 3)
            show(Inductance, fromFrequency(in.fmin, in.cmax), fromFrequency(in.fmin, in.cmin));
        if (changed == Frequency && mode == 1)
            show(Capacitance, lessCx(fromFrequency(in.fmax, in.lmin), in.cx),
                lessCx(fromFrequency(in.fmin, in.lmin), in.cx));
        if (changed == Frequency && mode == 2)
            show(Inductance, fromFrequency(in.fmax, in.cmin), fromFrequency(in.fmin, in.cmin));
    }
};

const char *const unitNames[3][2] = { { "nH", "uH" }, { "pF", "nF" }, { "kHz", "MHz" } };

// The colours a fix mode gives the boxes and labels.
constexpr const char *lightGreen = "#c0ffc0";
constexpr const char *lightRed = "#ffc0c0";
constexpr const char *silver = "#c0c0c0";
constexpr const char *black = "#000000";
constexpr const char *grey = "#808080";

QString line(const QString &name, const char *property, const QString &value)
{
    return QStringLiteral("%1 %2=%3").arg(name, QLatin1String(property), value);
}

QString numbered(const char *kind, int n)
{
    return QLatin1String(kind) + QString::number(n);
}

// Everything the session compares, as "name property=value" lines in a fixed order.
QStringList predicted(const Reference &r)
{
    QStringList state;
    for (int i = 0; i < 7; ++i)
        state << line(numbered("Text", i + 1), "text", QString::fromStdString(r.text[i]));
    for (int q = 0; q < 3; ++q) {
        const bool fixed = r.fixed(q);
        const QString enabled = QString::number(int(!fixed));
        state << line(numbered("Command", q + 1), "tag", QString::number(int(fixed)));
        const char *caption = fixed ? unitNames[q][r.firstUnit[q] ? 0 : 1] : "Min.";
        state << line(numbered("Label", 2 * q + 1), "caption", QLatin1String(caption));
        state << line(numbered("Label", 2 * q + 2), "colour", QLatin1String(fixed ? grey : black));
        state << line(
            numbered("Text", 2 * q + 1), "back", QLatin1String(fixed ? lightRed : lightGreen));
        state << line(
            numbered("Text", 2 * q + 2), "back", QLatin1String(fixed ? silver : lightGreen));
        // The frozen group's boxes show no stale cue, whatever they showed before.
        if (fixed) {
            state << line(numbered("Text", 2 * q + 1), "colour", QLatin1String(black));
            state << line(numbered("Text", 2 * q + 2), "colour", QLatin1String(grey));
        }
        for (int box : { 2 * q + 1, 2 * q + 2 }) {
            state << line(numbered("Text", box), "locked", QString::number(int(fixed)));
            state << line(numbered("VScroll", box), "enabled", enabled);
        }
        for (int option : { 2 * q + 1, 2 * q + 2 }) {
            const bool chosen = r.firstUnit[q] == (option % 2 == 1);
            state << line(numbered("Option", option), "chosen", QString::number(int(chosen)));
            state << line(numbered("Option", option), "enabled", enabled);
        }
        state << line(numbered("Check", q + 1), "ticked", QString::number(int(r.quick[q])));
        state << line(numbered("Check", q + 1), "enabled", enabled);
        state << line(numbered("Command", q + 1), "enabled", enabled);
        state << line(QStringLiteral("step"), unitNames[q][1], QString::number(r.step(q)));
    }
    const bool cxFrozen = r.fixed(Capacitance);
    state << line(QStringLiteral("Text7"), "back", QLatin1String(cxFrozen ? silver : "#80ff80"));
    state << line(QStringLiteral("Text7"), "locked", QString::number(int(cxFrozen)));
    if (cxFrozen)
        state << line(QStringLiteral("Text7"), "colour", QLatin1String(grey));
    state << line(QStringLiteral("VScroll7"), "enabled", QString::number(int(!cxFrozen)));
    for (int bar = 1; bar <= 7; ++bar)
        state << line(numbered("VScroll", bar), "position", QStringLiteral("0"));
    state << line(QStringLiteral("Command5"), "tag", QString::number(int(r.slovak)));
    state << line(QStringLiteral("Form1"), "title",
        r.slovak ? QStringLiteral("Výpočet rezonančného obvodu")
                 : QStringLiteral("The Resonance circuit calculation"));
    state << line(QStringLiteral("Label11"), "caption", QLatin1String(r.slovak ? "EN" : "SK"));
    state << line(QStringLiteral("Check1"), "caption",
        r.slovak ? QStringLiteral("Rýchle") : QStringLiteral("Quick"));
    return state;
}

QString colourOf(QWidget *widget, QPalette::ColorRole role)
{
    return widget->palette().color(QPalette::Active, role).name();
}

QStringList shown(window::MainWindow &w)
{
    auto box = [&w](int n) { return control<QLineEdit>(w, qPrintable(numbered("Text", n))); };
    auto enabled = [&w](const QString &name) {
        return QString::number(int(control(w, qPrintable(name))->isEnabled()));
    };
    QStringList state;
    for (int i = 1; i <= 7; ++i)
        state << line(numbered("Text", i), "text", box(i)->text());
    const double steps[] = { w.module().StepL, w.module().StepC, w.module().StepF };
    for (int q = 0; q < 3; ++q) {
        const QString fix = numbered("Command", q + 1);
        const bool fixed = control(w, qPrintable(fix))->property("Tag").toString() == u"1";
        state << line(fix, "tag", control(w, qPrintable(fix))->property("Tag").toString());
        const QString lower = numbered("Label", 2 * q + 1);
        const QString upper = numbered("Label", 2 * q + 2);
        state << line(lower, "caption", control<QLabel>(w, qPrintable(lower))->text());
        state << line(
            upper, "colour", colourOf(control(w, qPrintable(upper)), QPalette::WindowText));
        state << line(
            numbered("Text", 2 * q + 1), "back", colourOf(box(2 * q + 1), QPalette::Base));
        state << line(
            numbered("Text", 2 * q + 2), "back", colourOf(box(2 * q + 2), QPalette::Base));
        if (fixed) {
            for (int n : { 2 * q + 1, 2 * q + 2 })
                state << line(numbered("Text", n), "colour", colourOf(box(n), QPalette::Text));
        }
        for (int n : { 2 * q + 1, 2 * q + 2 }) {
            state << line(
                numbered("Text", n), "locked", QString::number(int(box(n)->isReadOnly())));
            state << line(numbered("VScroll", n), "enabled", enabled(numbered("VScroll", n)));
        }
        for (int option : { 2 * q + 1, 2 * q + 2 }) {
            const QString name = numbered("Option", option);
            const bool chosen = control<QRadioButton>(w, qPrintable(name))->isChecked();
            state << line(name, "chosen", QString::number(int(chosen)));
            state << line(name, "enabled", enabled(name));
        }
        const QString check = numbered("Check", q + 1);
        const bool ticked = control<QCheckBox>(w, qPrintable(check))->isChecked();
        state << line(check, "ticked", QString::number(int(ticked)));
        state << line(check, "enabled", enabled(check));
        state << line(fix, "enabled", enabled(fix));
        state << line(QStringLiteral("step"), unitNames[q][1], QString::number(steps[q]));
    }
    state << line(QStringLiteral("Text7"), "back", colourOf(box(7), QPalette::Base));
    state << line(QStringLiteral("Text7"), "locked", QString::number(int(box(7)->isReadOnly())));
    if (box(7)->isReadOnly())
        state << line(QStringLiteral("Text7"), "colour", colourOf(box(7), QPalette::Text));
    state << line(QStringLiteral("VScroll7"), "enabled", enabled(QStringLiteral("VScroll7")));
    for (int bar = 1; bar <= 7; ++bar) {
        const auto *spin = control<window::SpinBar>(w, qPrintable(numbered("VScroll", bar)));
        state << line(numbered("VScroll", bar), "position", QString::number(spin->position()));
    }
    state << line(
        QStringLiteral("Command5"), "tag", control(w, "Command5")->property("Tag").toString());
    state << line(QStringLiteral("Form1"), "title", w.windowTitle());
    state << line(QStringLiteral("Label11"), "caption", control<QLabel>(w, "Label11")->text());
    state << line(QStringLiteral("Check1"), "caption", control<QCheckBox>(w, "Check1")->text());
    return state;
}

QString differences(const QStringList &got, const QStringList &want)
{
    QStringList lines;
    for (qsizetype i = 0; i < std::max(got.size(), want.size()); ++i) {
        if (got.value(i) != want.value(i))
            lines << QStringLiteral("shown \"%1\", predicted \"%2\"")
                         .arg(got.value(i), want.value(i));
    }
    return lines.join(QLatin1String("; "));
}

// A number as a user types it into a box of that quantity: mostly two decimals in a range that
// suits the box, sometimes three; now and then no number, a mistyped one, one with blanks, one
// beyond the range of a double, or one that a step takes to a text rounding to zero, which the
// nested pass then floors.
std::string typedText(Dice &dice, int box)
{
    static const char *const odd[] = { "", "abc", "0", "-2.5", "7,5", "-0.006", "-0.996", "-0.06",
        "1e3", "2.5e-1", "1 2.5", "1e309", "-1e309", "-0", ".", "e5", "+", "ľščťž" };
    const int kind = dice.below(20);
    if (kind < 3)
        return odd[dice.below(std::size(odd))];
    char buffer[32];
    if (box == 7) {
        const int tenths = dice.below(200);
        std::snprintf(buffer, sizeof buffer, "%d.%d", tenths / 10, tenths % 10);
        return buffer;
    }
    // Hundredths: 0.50..60 for L, 1..500 for C, 0.50..30 for F.
    const int lowest[] = { 50, 100, 50 };
    const int span[] = { 5950, 49900, 2950 };
    const int quantity = (box - 1) / 2;
    if (kind < 6) {
        const int thousandths = 10 * lowest[quantity] + dice.below(10 * span[quantity]);
        std::snprintf(buffer, sizeof buffer, "%d.%03d", thousandths / 1000, thousandths % 1000);
    } else {
        const int hundredths = lowest[quantity] + dice.below(span[quantity]);
        std::snprintf(buffer, sizeof buffer, "%d.%02d", hundredths / 100, hundredths % 100);
    }
    return buffer;
}

// The other ways a user moves a spin bar than its arrows, each one step toward the top (+1) or
// the bottom (-1) from rest.
void moveBar(window::SpinBar *bar, int how)
{
    static constexpr Qt::Key keys[] = { Qt::Key_Up, Qt::Key_Down, Qt::Key_PageUp, Qt::Key_PageDown,
        Qt::Key_Home, Qt::Key_End };
    if (how < int(std::size(keys))) {
        bar->setFocus();
        QTest::keyClick(bar, keys[how]);
        return;
    }
    const QPoint at = bar->rect().center();
    QWheelEvent wheel(at, bar->mapToGlobal(at), {}, { 0, how % 2 == 0 ? 120 : -120 }, Qt::NoButton,
        Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(bar, &wheel);
}

// Keys as a keyboard sends them, letters beyond Latin-1 included.
void typeKeys(QLineEdit *box, const QString &text)
{
    for (QChar c : text) {
        if (c.unicode() < 0x80)
            QTest::keyClick(box, char(c.unicode()));
        else
            QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

// Way 0 pastes over the text, 1 appends to it, any other types over it.
void enter(QLineEdit *box, const QString &text, int how)
{
    box->setFocus();
    if (how == 0)
        QGuiApplication::clipboard()->setText(text);
    if (how == 1) {
        QTest::keyClick(box, Qt::Key_End);
    } else {
        QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(box, Qt::Key_Backspace);
    }
    if (how == 0)
        QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
    else
        typeKeys(box, text);
}

// Draws one action, does it at the window as a user would and tells the reference; returns
// what was done, for the failure message.
QString step(Dice &dice, window::MainWindow &w, Reference &r)
{
    const int roll = dice.below(100);
    if (roll < 45) {
        const int bar = 1 + dice.below(7);
        const QString name = numbered("VScroll", bar);
        auto *spin = control<window::SpinBar>(w, qPrintable(name));
        const int how = dice.below(16);
        // Mostly the arrows; the keys and the wheel now and then. Even ways go up.
        if (how < 8) {
            clickArrow(spin, how % 2 == 0 ? Arrow::Upper : Arrow::Lower);
        } else {
            moveBar(spin, how - 8);
        }
        r.spin(bar, how % 2 == 0 ? 1 : -1);
        return QStringLiteral("%1 way %2").arg(name).arg(how);
    }
    if (roll < 62) {
        const int box = 1 + dice.below(7);
        const std::string text = typedText(dice, box);
        const QString name = numbered("Text", box);
        const int how = dice.below(6);
        enter(control<QLineEdit>(w, qPrintable(name)), QString::fromStdString(text), how);
        r.type(box, text, how == 1);
        return QStringLiteral("%1 way %2 \"%3\"")
            .arg(name)
            .arg(how)
            .arg(QString::fromStdString(text));
    }
    QString name;
    if (roll < 74) {
        const int option = 1 + dice.below(6);
        name = numbered("Option", option);
        click(control(w, qPrintable(name)));
        r.chooseUnit(option);
    } else if (roll < 84) {
        const int check = 1 + dice.below(3);
        name = numbered("Check", check);
        click(control(w, qPrintable(name)));
        r.tick(check - 1);
    } else if (roll < 95) {
        const int mode = 1 + dice.below(3);
        name = numbered("Command", mode);
        click(control(w, qPrintable(name)));
        r.pressFixButton(mode);
    } else {
        name = QStringLiteral("Command5");
        click(control(w, "Command5"));
        r.pressLanguageButton();
    }
    return name;
}

qulonglong fromEnvironment(const char *name, qulonglong fallback)
{
    bool ok = false;
    const qulonglong value = qEnvironmentVariable(name).toULongLong(&ok);
    return ok ? value : fallback;
}

} // namespace

class TestSession : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void sessionMatchesTheReference_data();
    void sessionMatchesTheReference();
};

void TestSession::initTestCase()
{
    // QApplication hands the C library the user's locale; the reference reads and writes
    // numbers with "." whatever it is.
    std::setlocale(LC_NUMERIC, "C");
}

void TestSession::sessionMatchesTheReference_data()
{
    QTest::addColumn<quint64>("startValue");
    // A few seconds each in the plain build; the sanitizer build's test preset asks for more.
    const auto actions = fromEnvironment("LCTUNE_SESSION_ACTIONS", 1000);
    QTest::addColumn<qulonglong>("actions");
    const auto start = fromEnvironment("LCTUNE_SESSION_START", 0);
    if (start != 0) {
        QTest::addRow("session from start value %llu", start) << quint64(start) << actions;
        return;
    }
    for (quint64 value : { 1ULL, 20240611ULL, 987654321ULL })
        QTest::addRow("session from start value %llu", value) << value << actions;
}

void TestSession::sessionMatchesTheReference()
{
    QFETCH(quint64, startValue);
    QFETCH(qulonglong, actions);
    Dice dice(startValue);
    ShownWindow window;
    Reference reference;
    QCOMPARE(shown(window.w), predicted(reference));
    for (qulonglong i = 1; i <= actions; ++i) {
        const QString action = step(dice, window.w, reference);
        // Painting belongs to the session too: it is where a bad text or colour would be drawn.
        QCoreApplication::processEvents();
        const QStringList got = shown(window.w);
        const QStringList want = predicted(reference);
        QVERIFY2(got == want,
            qPrintable(QStringLiteral("start value %1, action %2 (%3): %4")
                           .arg(startValue)
                           .arg(i)
                           .arg(action, differences(got, want))));
    }
}

LCTUNE_WINDOW_TEST_MAIN(TestSession)
#include "tst_session.moc"
