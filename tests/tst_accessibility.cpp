// SPDX-FileCopyrightText: The LC Tune developers
// SPDX-License-Identifier: MIT

// The window for a screen reader and a keyboard-only user: every control's accessible name and
// description in both languages, the focus chain in the layout's tab order, and the keys.

#include "window_test_support.h"

#include <QAccessible>
#include <QAccessibleInterface>
#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>

using namespace testing;

namespace {

QString accessibleText(QWidget *widget, QAccessible::Text text)
{
    QAccessibleInterface *face = QAccessible::queryAccessibleInterface(widget);
    return face ? face->text(text) : QString();
}

void pressKey(QWidget *widget, Qt::Key key)
{
    widget->setFocus(Qt::TabFocusReason);
    QTest::keyClick(widget, key);
}

// A key held down until it repeats: the events that the keyboard sends for each repeat come
// between the first press and the last release.
void holdKey(QWidget *widget, Qt::Key key, Qt::KeyboardModifiers modifiers, int repeats)
{
    QTest::keyPress(widget, key, modifiers);
    for (int i = 0; i < repeats; ++i) {
        for (auto type : { QEvent::KeyRelease, QEvent::KeyPress }) {
            QKeyEvent repeat(type, key, modifiers, QString(), true);
            QApplication::sendEvent(widget, &repeat);
        }
    }
    QTest::keyRelease(widget, key, modifiers);
}

// Every text the window shows, each after its control's name.
QStringList shownTexts(window::MainWindow &w)
{
    QStringList texts;
    for (const auto *box : w.findChildren<QLineEdit *>())
        texts << box->objectName() + QLatin1Char('=') + box->text();
    for (const auto *label : w.findChildren<QLabel *>())
        texts << label->objectName() + QLatin1Char('=') + label->text();
    return texts;
}

// What is wrong with the focus cue of the control that has the focus: that it shows no cue in its
// own rectangle, or that the focus changes the window outside it; empty when nothing is.
QString cueProblem(window::MainWindow &w)
{
    QWidget *focus = QApplication::focusWidget();
    const QRect area = areaIn(w, focus);
    int inside = 0;
    int outside = 0;
    for (const CuePixel &pixel : focusCue(w))
        ++(area.contains(pixel.at) ? inside : outside);
    // A cue is at least a short line; a few pixels outside may be a neighbour's antialiasing.
    if (inside >= 8 && outside <= 3)
        return QString();
    return QStringLiteral("%1: %2 pixels change inside, %3 outside")
        .arg(focus->objectName())
        .arg(inside)
        .arg(outside);
}

} // namespace

class TestAccessibility : public QObject
{
    Q_OBJECT

private slots:
    void names_data();
    void names();
    void focusChain_data();
    void focusChain();
    void focusCueAtStart();
    void arrowKeysStep_data();
    void arrowKeysStep();
    void arrowKeysChooseUnit_data();
    void arrowKeysChooseUnit();
    void spaceTicksQuickBox();
    void keysPressButton_data();
    void keysPressButton();
    void enterInBoxChangesNothing();
};

void TestAccessibility::names_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<bool>("inSlovak");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("description");

    // The boxes by their role, the spin bars by the role of their box and the step, the buttons
    // and frames by their tool tip, which also describes them. The Quick boxes by their caption
    // and their frame's, described by their tip; the unit buttons by their caption alone. The
    // window and the language indicator show how the toolkit's own names follow the switch.
    struct Row
    {
        const char *control;
        const char *english;
        const char *slovak;
        const char *englishDescription;
        const char *slovakDescription;
    };
    // clang-format off
    const Row rows[] = {
        {"Form1",    "The Resonance circuit calculation", "Výpočet rezonančného obvodu",            "", ""},
        {"Text1",    "Lower Inductance",                  "Najmenšia indukčnosť",                   "Lower Inductance",                  "Najmenšia indukčnosť"},
        {"Text2",    "Upper Inductance",                  "Najväčšia indukčnosť",                   "Upper Inductance",                  "Najväčšia indukčnosť"},
        {"Text3",    "Lower Capacitance",                 "Najmenšia kapacita",                     "Lower Capacitance",                 "Najmenšia kapacita"},
        {"Text4",    "Upper Capacitance",                 "Najväčšia kapacita",                     "Upper Capacitance",                 "Najväčšia kapacita"},
        {"Text5",    "Lower Frequency",                   "Najmenší kmitočet",                      "Lower Frequency",                   "Najmenší kmitočet"},
        {"Text6",    "Upper Frequency",                   "Najväčší kmitočet",                      "Upper Frequency",                   "Najväčší kmitočet"},
        {"Text7",    "Parasitic Capacitances",            "Parazitné kapacity",                     "Parasitic Capacitances",            "Parazitné kapacity"},
        {"VScroll1", "Lower Inductance step",             "Krok najmenšej indukčnosti",             "", ""},
        {"VScroll2", "Upper Inductance step",             "Krok najväčšej indukčnosti",             "", ""},
        {"VScroll3", "Lower Capacitance step",            "Krok najmenšej kapacity",                "", ""},
        {"VScroll4", "Upper Capacitance step",            "Krok najväčšej kapacity",                "", ""},
        {"VScroll5", "Lower Frequency step",              "Krok najmenšieho kmitočtu",              "", ""},
        {"VScroll6", "Upper Frequency step",              "Krok najväčšieho kmitočtu",              "", ""},
        {"VScroll7", "Parasitic Capacitances step",       "Krok parazitných kapacít",               "", ""},
        {"Command1", "Fix lower Lp value setup",          "Zafixovanie minimálnej hodnoty Lp",      "Fix lower Lp value setup",          "Zafixovanie minimálnej hodnoty Lp"},
        {"Command2", "Fix lower Cp value",                "Zafixovanie minimálnej hodnoty Cp",      "Fix lower Cp value",                "Zafixovanie minimálnej hodnoty Cp"},
        {"Command3", "Fix lower Fx value setup",          "Zafixovanie minimálnej hodnoty Fx",      "Fix lower Fx value setup",          "Zafixovanie minimálnej hodnoty Fx"},
        {"Command4", "Print this calculation",            "Vytlač tento výpočet",                   "Print this calculation",            "Vytlač tento výpočet"},
        {"Command5", "Nastavenie slovenského jazyka",     "Setup English language",                 "Nastavenie slovenského jazyka",     "Setup English language"},
        {"Check1",   "Quick, Lp",                         "Rýchle, Lp",                             "Setup Lp range quickly",            "Rýchle nastavenie rozsahu Lp"},
        {"Check2",   "Quick, Cp",                         "Rýchle, Cp",                             "Setup Cp range quickly",            "Rýchle nastavenie rozsahu Cp"},
        {"Check3",   "Quick, Fx",                         "Rýchle, Fx",                             "Setup Fx range quickly",            "Rýchle nastavenie rozsahu Fx"},
        {"Frame1",   "Setup range of Inductace",          "Nastavenie rozsahu indukčnosti",         "Setup range of Inductace",          "Nastavenie rozsahu indukčnosti"},
        {"Frame2",   "Setup range of Capacitance",        "Nastavenie rozsahu kapacity",            "Setup range of Capacitance",        "Nastavenie rozsahu kapacity"},
        {"Frame3",   "Setup range of Frequency",          "Nastavnie rozsahu frekvencie",           "Setup range of Frequency",          "Nastavnie rozsahu frekvencie"},
        {"Frame4",   "Setup Parasitic capacitance",       "Nastavenie hodnoty parazitných kapacít", "Setup Parasitic capacitance",       "Nastavenie hodnoty parazitných kapacít"},
        {"Option1",  "nH",                                "nH",                                     "", ""},
        {"Option2",  "uH",                                "uH",                                     "", ""},
        {"Option3",  "pF",                                "pF",                                     "", ""},
        {"Option4",  "nF",                                "nF",                                     "", ""},
        {"Option5",  "kHz",                               "kHz",                                    "", ""},
        {"Option6",  "MHz",                               "MHz",                                    "", ""},
        {"Label11",  "SK",                                "EN",                                     "", ""},
    };
    // clang-format on
    for (const Row &row : rows) {
        QTest::addRow("%s in English", row.control)
            << QString::fromLatin1(row.control) << false << QString::fromUtf8(row.english)
            << QString::fromUtf8(row.englishDescription);
        QTest::addRow("%s in Slovak", row.control)
            << QString::fromLatin1(row.control) << true << QString::fromUtf8(row.slovak)
            << QString::fromUtf8(row.slovakDescription);
    }
}

void TestAccessibility::names()
{
    QFETCH(QString, control);
    QFETCH(bool, inSlovak);
    QFETCH(QString, name);
    QFETCH(QString, description);

    ShownWindow shown;
    if (inSlovak)
        click(testing::control(shown.w, "Command5"));
    QWidget *widget = control == QLatin1String("Form1")
        ? &shown.w
        : testing::control(shown.w, qPrintable(control));
    QCOMPARE(accessibleText(widget, QAccessible::Name), name);
    QCOMPARE(accessibleText(widget, QAccessible::Description), description);
}

void TestAccessibility::focusChain_data()
{
    QTest::addColumn<QString>("fixButton");
    QTest::addColumn<QStringList>("chain");

    // The layout's tab indices in rising order, less the labels and frames, which take no focus,
    // and less what the fix mode disables: its fix button, spin bars, unit buttons and Quick box.
    // The unit buttons of one frame are a single stop, at the chosen one (uH, pF and MHz at
    // start); the arrow keys move within it.
    // clang-format off
    QTest::newRow("inductance fixed")
        << "Command1"
        << QStringList {"Command2", "Text5",    "Text6",    "Option6",  "Command3", "Text3",
                        "Text4",    "Option3",  "Text2",    "Text1",    "VScroll3", "VScroll4",
                        "VScroll5", "VScroll6", "Text7",    "VScroll7", "Check2",   "Check3",
                        "Command4", "Command5"};
    QTest::newRow("capacitance fixed")
        << "Command2"
        << QStringList {"Text5",    "Text6",    "Option6",  "Command3", "Text3",    "Text4",
                        "Option2",  "Text2",    "Text1",    "Command1", "VScroll1", "VScroll2",
                        "VScroll5", "VScroll6", "Text7",    "Check1",   "Check3",   "Command4",
                        "Command5"};
    QTest::newRow("frequency fixed")
        << "Command3"
        << QStringList {"Command2", "Text5",    "Text6",    "Text3",    "Text4",    "Option3",
                        "Option2",  "Text2",    "Text1",    "Command1", "VScroll1", "VScroll2",
                        "VScroll3", "VScroll4", "Text7",    "VScroll7", "Check1",   "Check2",
                        "Command4", "Command5"};
    // clang-format on
}

void TestAccessibility::focusChain()
{
    QFETCH(QString, fixButton);
    QFETCH(QStringList, chain);

    ActiveWindow shown;
    auto *fix = control(shown.w, qPrintable(fixButton));
    if (fix->isEnabled())
        click(fix);
    control(shown.w, qPrintable(chain.first()))->setFocus(Qt::TabFocusReason);
    QStringList visited { QApplication::focusWidget()->objectName() };
    // One round and one step more, to show that the chain closes on itself; every stop shows
    // that it has the focus.
    for (qsizetype i = 0; i < chain.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visited << QApplication::focusWidget()->objectName();
        const QString problem = cueProblem(shown.w);
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
    }
    QCOMPARE(visited, chain + QStringList { chain.first() });
}

// The window opens with the focus on its first stop, and shows it there before any key.
void TestAccessibility::focusCueAtStart()
{
    ActiveWindow shown;
    QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("Command2"));
    const QString problem = cueProblem(shown.w);
    QVERIFY2(problem.isEmpty(), qPrintable(problem));
}

void TestAccessibility::arrowKeysStep_data()
{
    QTest::addColumn<QString>("bar");
    QTest::addColumn<Qt::Key>("key");
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("text");

    // At start the inductance is fixed and nothing is quick: a step is 0.01, and 0.1 for Cx.
    // clang-format off
    QTest::newRow("up raises the lower C")   << "VScroll3" << Qt::Key_Up   << "Text3" << "20.01";
    QTest::newRow("down lowers the lower C") << "VScroll3" << Qt::Key_Down << "Text3" << "19.99";
    QTest::newRow("up raises the upper F")   << "VScroll6" << Qt::Key_Up   << "Text6" << "14.85";
    QTest::newRow("down lowers Cx")          << "VScroll7" << Qt::Key_Down << "Text7" << "2.9";
    // clang-format on
}

void TestAccessibility::arrowKeysStep()
{
    QFETCH(QString, bar);
    QFETCH(Qt::Key, key);
    QFETCH(QString, box);
    QFETCH(QString, text);

    ActiveWindow shown;
    pressKey(control(shown.w, qPrintable(bar)), key);
    QCOMPARE(control<QLineEdit>(shown.w, qPrintable(box))->text(), text);
}

void TestAccessibility::arrowKeysChooseUnit_data()
{
    QTest::addColumn<QString>("fixButton");
    QTest::addColumn<QStringList>("setup");
    QTest::addColumn<QString>("from");
    QTest::addColumn<bool>("backwards");
    QTest::addColumn<QString>("landsOn");
    QTest::addColumn<Qt::Key>("key");
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("text");

    // Tab or Shift+Tab from the stop beside a frame lands on its chosen unit, each unit of each
    // frame in turn, whether chosen at start or by a click, and after a press on the other unit
    // that was dragged off it; an arrow key then chooses the other unit, and the unit's handler
    // recomputes as a click does. A unit is entered from the side where the other unit would
    // otherwise take the focus.
    const QStringList atStart;
    // clang-format off
    QTest::newRow("MHz at start, Tab, up chooses kHz")
        << "Command1" << atStart                      << "Text6"    << false << "Option6" << Qt::Key_Up   << "Option5" << "Text3" << "23003949.220";
    QTest::newRow("kHz after a press on MHz, Shift+Tab, down chooses MHz")
        << "Command1" << QStringList{"Option5", "Option6 pressed off"}
                                                      << "Command3" << true  << "Option5" << Qt::Key_Down << "Option6" << "Text3" << "20.004";
    QTest::newRow("pF at start, Shift+Tab, down chooses nF")
        << "Command1" << atStart                      << "Text2"    << true  << "Option3" << Qt::Key_Down << "Option4" << "Text5" << "0.318";
    QTest::newRow("nF, Tab, up chooses pF")
        << "Command1" << QStringList{"Option4"}       << "Text4"    << false << "Option4" << Qt::Key_Up   << "Option3" << "Text5" << "9.777";
    QTest::newRow("uH at start, Shift+Tab, up chooses nH")
        << "Command3" << atStart                      << "Text2"    << true  << "Option2" << Qt::Key_Up   << "Option1" << "Text3" << "33100.397";
    QTest::newRow("nH, Tab, down chooses uH")
        << "Command3" << QStringList{"Option1"}       << "Option3"  << false << "Option1" << Qt::Key_Down << "Option2" << "Text3" << "30.103";
    // clang-format on
}

void TestAccessibility::arrowKeysChooseUnit()
{
    QFETCH(QString, fixButton);
    QFETCH(QStringList, setup);
    QFETCH(QString, from);
    QFETCH(bool, backwards);
    QFETCH(QString, landsOn);
    QFETCH(Qt::Key, key);
    QFETCH(QString, chosen);
    QFETCH(QString, box);
    QFETCH(QString, text);

    ActiveWindow shown;
    auto *fix = control(shown.w, qPrintable(fixButton));
    if (fix->isEnabled())
        click(fix);
    for (const QString &action : setup) {
        QWidget *option = control(shown.w, qPrintable(action.section(QLatin1Char(' '), 0, 0)));
        if (action.endsWith(QLatin1String("pressed off"))) {
            QTest::mousePress(option, Qt::LeftButton, {}, option->rect().center());
            QTest::mouseRelease(option, Qt::LeftButton, {}, QPoint(-5, -5));
        } else {
            click(option);
        }
    }
    control(shown.w, qPrintable(from))->setFocus(Qt::TabFocusReason);
    QTest::keyClick(
        QApplication::focusWidget(), Qt::Key_Tab, backwards ? Qt::ShiftModifier : Qt::NoModifier);
    QCOMPARE(QApplication::focusWidget()->objectName(), landsOn);
    QTest::keyClick(QApplication::focusWidget(), key);
    QVERIFY(control<QRadioButton>(shown.w, qPrintable(chosen))->isChecked());
    QCOMPARE(QApplication::focusWidget()->objectName(), chosen);
    QCOMPARE(control<QLineEdit>(shown.w, qPrintable(box))->text(), text);
}

void TestAccessibility::spaceTicksQuickBox()
{
    ActiveWindow shown;
    auto *quick = control<QCheckBox>(shown.w, "Check2");
    pressKey(quick, Qt::Key_Space);
    QVERIFY(quick->isChecked());
    // Ticked by the keyboard, the box gives the capacitance its quick step of 1.
    pressKey(control(shown.w, "VScroll3"), Qt::Key_Up);
    QCOMPARE(control<QLineEdit>(shown.w, "Text3")->text(), QStringLiteral("21.00"));
}

void TestAccessibility::keysPressButton_data()
{
    QTest::addColumn<QString>("fixButton");
    QTest::addColumn<QString>("button");
    QTest::addColumn<Qt::Key>("key");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<int>("repeats");
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("caption");

    // Space, Enter and the keypad's Enter each click the button once, as a click does, however
    // long the key is held: a fix mode shows the fixed quantity's unit in place of its "Min."
    // caption, the language button shows the other language's indicator. The print button is
    // only counted.
    const Qt::KeyboardModifiers none = Qt::NoModifier;
    const Qt::KeyboardModifiers keypad = Qt::KeypadModifier;
    // clang-format off
    QTest::newRow("Space fixes the capacitance")       << ""         << "Command2" << Qt::Key_Space  << none   << 0 << "Label3"  << "pF";
    QTest::newRow("Space fixes the frequency")         << ""         << "Command3" << Qt::Key_Space  << none   << 0 << "Label5"  << "MHz";
    QTest::newRow("Enter fixes the inductance")        << "Command2" << "Command1" << Qt::Key_Return << none   << 0 << "Label1"  << "uH";
    QTest::newRow("keypad Enter fixes the inductance") << "Command3" << "Command1" << Qt::Key_Enter  << keypad << 0 << "Label1"  << "uH";
    QTest::newRow("Enter fixes the capacitance")       << ""         << "Command2" << Qt::Key_Return << none   << 0 << "Label3"  << "pF";
    QTest::newRow("keypad Enter fixes the capacitance") << ""        << "Command2" << Qt::Key_Enter  << keypad << 0 << "Label3"  << "pF";
    QTest::newRow("Enter fixes the frequency")         << ""         << "Command3" << Qt::Key_Return << none   << 0 << "Label5"  << "MHz";
    QTest::newRow("keypad Enter fixes the frequency")  << ""         << "Command3" << Qt::Key_Enter  << keypad << 0 << "Label5"  << "MHz";
    QTest::newRow("Enter prints")                      << ""         << "Command4" << Qt::Key_Return << none   << 0 << ""        << "";
    QTest::newRow("keypad Enter prints")               << ""         << "Command4" << Qt::Key_Enter  << keypad << 0 << ""        << "";
    QTest::newRow("held Enter prints one page")        << ""         << "Command4" << Qt::Key_Return << none   << 3 << ""        << "";
    QTest::newRow("Enter switches the language")       << ""         << "Command5" << Qt::Key_Return << none   << 0 << "Label11" << "EN";
    QTest::newRow("keypad Enter switches the language") << ""        << "Command5" << Qt::Key_Enter  << keypad << 0 << "Label11" << "EN";
    QTest::newRow("held Enter switches the language once") << ""     << "Command5" << Qt::Key_Return << none   << 3 << "Label11" << "EN";
    // clang-format on
}

void TestAccessibility::keysPressButton()
{
    QFETCH(QString, fixButton);
    QFETCH(QString, button);
    QFETCH(Qt::Key, key);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(int, repeats);
    QFETCH(QString, label);
    QFETCH(QString, caption);

    ActiveWindow shown;
    if (!fixButton.isEmpty())
        click(control(shown.w, qPrintable(fixButton)));
    auto *pressed = control<QPushButton>(shown.w, qPrintable(button));
    // Printing is tested on its own; here the press must not reach a printer.
    if (button == QLatin1String("Command4"))
        pressed->disconnect(&shown.w);
    QSignalSpy clicks(pressed, &QPushButton::clicked);
    pressed->setFocus(Qt::TabFocusReason);
    holdKey(pressed, key, modifiers, repeats);
    QCOMPARE(clicks.count(), 1);
    if (!label.isEmpty())
        QCOMPARE(control<QLabel>(shown.w, qPrintable(label))->text(), caption);
}

// A typed number counts from the next spin click; Enter neither takes it in nor presses a button.
void TestAccessibility::enterInBoxChangesNothing()
{
    ActiveWindow shown;
    auto *box = control<QLineEdit>(shown.w, "Text3");
    box->setFocus(Qt::TabFocusReason);
    typeInto(box, QStringLiteral("25"));
    const QStringList before = shownTexts(shown.w);
    QTest::keyClick(box, Qt::Key_Return);
    QTest::keyClick(box, Qt::Key_Enter, Qt::KeypadModifier);
    QCOMPARE(shownTexts(shown.w), before);
    QCOMPARE(QApplication::focusWidget(), box);
}

LCTUNE_WINDOW_TEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
