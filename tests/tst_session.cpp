// SPDX-FileCopyrightText: The LC Tune developers
// SPDX-License-Identifier: MIT

// A long session at the real window: a few hundred actions over every control (fix buttons,
// units, Quick boxes, spins, typing, language), drawn from a small random generator with a fixed
// start value. After each action everything the user can read is compared with a reference that
// this test keeps on its own: its own copy of the seven texts, the units, the steps, the fix mode
// and the language, and its own arithmetic from the circuit formulas (numbers read with strtod,
// written with printf), so that it shares no code with the calculator.

#include "window_test_support.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

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

struct Range
{
    double lower;
    double upper;
};

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

    void pressFixButton(int n) { mode = n; }
    void pressLanguageButton() { slovak = !slovak; }

    void tick(int quantity)
    {
        if (!fixed(quantity))
            quick[quantity] = !quick[quantity];
    }

    void type(int box, const std::string &typed)
    {
        if (!fixed(groupOfBox(box)))
            text[box - 1] = typed;
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

    void clickSpin(int bar, int position)
    {
        if (fixed(groupOfBox(bar)))
            return;
        spinPass(bar, position);
        // Setting the bar back to rest runs the same steps once more.
        spinPass(bar, 0);
    }

private:
    static int groupOfBox(int box) { return box == 7 ? Capacitance : (box - 1) / 2; }

    static double number(const std::string &t) { return std::strtod(t.c_str(), nullptr); }
    double number(int box) const { return number(text[box - 1]); }

    double step(int quantity) const { return quick[quantity] ? 1.0 : 0.01; }

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

// Everything the session compares, as "name=value" lines in a fixed order.
QStringList predicted(const Reference &r)
{
    QStringList state;
    for (int i = 0; i < 7; ++i)
        state << QStringLiteral("Text%1=%2").arg(i + 1).arg(QString::fromStdString(r.text[i]));
    for (int q = 0; q < 3; ++q) {
        state << QStringLiteral("Command%1 tag=%2").arg(q + 1).arg(r.fixed(q) ? 1 : 0);
        const char *caption = r.fixed(q) ? unitNames[q][r.firstUnit[q] ? 0 : 1] : "Min.";
        state << QStringLiteral("Label%1=%2").arg(2 * q + 1).arg(QLatin1String(caption));
        state << QStringLiteral("Option%1=%2").arg(2 * q + 1).arg(int(r.firstUnit[q]));
        state << QStringLiteral("Option%1=%2").arg(2 * q + 2).arg(int(!r.firstUnit[q]));
        state << QStringLiteral("Check%1=%2").arg(q + 1).arg(int(r.quick[q]));
    }
    state << QStringLiteral("Command5 tag=%1").arg(r.slovak ? 1 : 0);
    state << QStringLiteral("title=%1")
                 .arg(r.slovak ? QStringLiteral("Výpočet rezonančného obvodu")
                               : QStringLiteral("The Resonance circuit calculation"));
    state << QStringLiteral("Label11=%1").arg(QLatin1String(r.slovak ? "EN" : "SK"));
    state << QStringLiteral("Quick caption=%1")
                 .arg(r.slovak ? QStringLiteral("Rýchle") : QStringLiteral("Quick"));
    return state;
}

QStringList shown(window::MainWindow &w)
{
    QStringList state;
    for (int i = 1; i <= 7; ++i) {
        const QString name = QStringLiteral("Text%1").arg(i);
        state << name + "=" + control<QLineEdit>(w, qPrintable(name))->text();
    }
    for (int q = 1; q <= 3; ++q) {
        const QString fix = QStringLiteral("Command%1").arg(q);
        state << fix + " tag=" + control(w, qPrintable(fix))->property("Tag").toString();
        const QString label = QStringLiteral("Label%1").arg(2 * q - 1);
        state << label + "=" + control<QLabel>(w, qPrintable(label))->text();
        for (int option : { 2 * q - 1, 2 * q }) {
            const QString name = QStringLiteral("Option%1").arg(option);
            state << QStringLiteral("%1=%2").arg(name).arg(
                int(control<QRadioButton>(w, qPrintable(name))->isChecked()));
        }
        const QString check = QStringLiteral("Check%1").arg(q);
        state << QStringLiteral("%1=%2").arg(check).arg(
            int(control<QCheckBox>(w, qPrintable(check))->isChecked()));
    }
    state << "Command5 tag=" + control(w, "Command5")->property("Tag").toString();
    state << "title=" + w.windowTitle();
    state << "Label11=" + control<QLabel>(w, "Label11")->text();
    state << "Quick caption=" + control<QCheckBox>(w, "Check1")->text();
    return state;
}

QString differences(const QStringList &got, const QStringList &want)
{
    QStringList lines;
    for (qsizetype i = 0; i < want.size(); ++i) {
        if (got.value(i) != want[i])
            lines << QStringLiteral("shown %1, predicted %2").arg(got.value(i), want[i]);
    }
    return lines.join(QLatin1String("; "));
}

// A number as a user types it into a box of that quantity: mostly two decimals in a range that
// suits the box, sometimes three, now and then no number or one that a step takes to a text
// rounding to zero, which the nested pass then floors.
std::string typedText(Dice &dice, int box)
{
    static const char *const odd[] = { "", "abc", "0", "-2.5", "7,5", "-0.006", "-0.996", "-0.06" };
    const int kind = dice.below(20);
    if (kind < 2)
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
    if (kind < 5) {
        const int thousandths = 10 * lowest[quantity] + dice.below(10 * span[quantity]);
        std::snprintf(buffer, sizeof buffer, "%d.%03d", thousandths / 1000, thousandths % 1000);
    } else {
        const int hundredths = lowest[quantity] + dice.below(span[quantity]);
        std::snprintf(buffer, sizeof buffer, "%d.%02d", hundredths / 100, hundredths % 100);
    }
    return buffer;
}

// Draws one action, does it at the window as a user would and tells the reference; returns
// what was done, for the failure message.
QString step(Dice &dice, window::MainWindow &w, Reference &r)
{
    const int roll = dice.below(100);
    if (roll < 45) {
        const int bar = 1 + dice.below(7);
        const bool up = dice.below(2) == 0;
        const QString name = QStringLiteral("VScroll%1").arg(bar);
        clickArrow(control<QScrollBar>(w, qPrintable(name)), up ? Arrow::Upper : Arrow::Lower);
        r.clickSpin(bar, up ? 1 : -1);
        return name + (up ? " up" : " down");
    }
    if (roll < 62) {
        const int box = 1 + dice.below(7);
        const std::string text = typedText(dice, box);
        const QString name = QStringLiteral("Text%1").arg(box);
        typeInto(control<QLineEdit>(w, qPrintable(name)), QString::fromStdString(text));
        r.type(box, text);
        return name + "=" + QString::fromStdString(text);
    }
    QString name;
    if (roll < 74) {
        const int option = 1 + dice.below(6);
        name = QStringLiteral("Option%1").arg(option);
        click(control(w, qPrintable(name)));
        r.chooseUnit(option);
    } else if (roll < 84) {
        const int check = 1 + dice.below(3);
        name = QStringLiteral("Check%1").arg(check);
        click(control(w, qPrintable(name)));
        r.tick(check - 1);
    } else if (roll < 95) {
        const int mode = 1 + dice.below(3);
        name = QStringLiteral("Command%1").arg(mode);
        click(control(w, qPrintable(name)));
        r.pressFixButton(mode);
    } else {
        name = QStringLiteral("Command5");
        click(control(w, "Command5"));
        r.pressLanguageButton();
    }
    return name;
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
    QTest::addColumn<int>("actions");
    QTest::newRow("session from start value 1") << quint64(1) << 400;
    QTest::newRow("session from start value 20240611") << quint64(20240611) << 400;
    QTest::newRow("session from start value 987654321") << quint64(987654321) << 400;
}

void TestSession::sessionMatchesTheReference()
{
    QFETCH(quint64, startValue);
    QFETCH(int, actions);
    Dice dice(startValue);
    ShownWindow window;
    Reference reference;
    QCOMPARE(shown(window.w), predicted(reference));
    for (int i = 1; i <= actions; ++i) {
        const QString action = step(dice, window.w, reference);
        const QStringList got = shown(window.w);
        const QStringList want = predicted(reference);
        QVERIFY2(got == want,
            qPrintable(QStringLiteral("start value %1, action %2 (%3): %4")
                           .arg(startValue)
                           .arg(i)
                           .arg(action, differences(got, want))));
    }
}

QTEST_MAIN(TestSession)
#include "tst_session.moc"
