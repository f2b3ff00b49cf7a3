// SPDX-FileCopyrightText: The LC Tune developers
// SPDX-License-Identifier: MIT

// The window for a screen reader and a keyboard-only user: every control's accessible name and
// description in both languages, the focus chain in the layout's tab order, and the keys.

#include "window_test_support.h"

#include "model/language.h"
#include "window/form_table.h"

#include <QAccessible>
#include <QAccessibleInterface>
#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>

#include <algorithm>

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

QString spokenText(QWidget *widget)
{
    QAccessibleInterface *face = QAccessible::queryAccessibleInterface(widget);
    QAccessibleTextInterface *text = face ? face->textInterface() : nullptr;
    return text ? text->text(0, text->characterCount()) : QString();
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

// The caption of the frame that holds a control, as the layout gives it.
QString frameCaptionOf(const char *control)
{
    const auto row = [](const char *name) {
        return std::ranges::find_if(window::formTable,
            [name](const window::ControlRow &r) { return qstrcmp(r.name, name) == 0; });
    };
    return QString::fromUtf8(row(row(control)->parent)->text);
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
    void fixButtonHandsTheFocusOn_data();
    void fixButtonHandsTheFocusOn();
    void readerHearsWhatAStepComputed_data();
    void readerHearsWhatAStepComputed();
    void boxDescriptions_data();
    void boxDescriptions();
    void readerReadsTheWholeLine_data();
    void readerReadsTheWholeLine();
};

void TestAccessibility::names_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<bool>("inSlovak");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("description");

    // From the language table itself: the boxes, buttons and frames are called by their tool
    // tip; the Quick boxes by their caption and their frame's, described by their tip; the spin
    // bars by their own names. The window and the language indicator show how the toolkit's own
    // names follow the switch. A null description is not checked here: the boxes and the fix
    // buttons describe their state (boxDescriptions).
    auto add = [](const char *control, bool inSlovak, const QString &name,
                   const QString &description) {
        QTest::addRow("%s in %s", control, inSlovak ? "Slovak" : "English")
            << QString::fromLatin1(control) << inSlovak << name << description;
    };
    for (bool inSlovak : { false, true }) {
        auto shown = [inSlovak](const model::LanguageText &entry) {
            const std::string_view text = inSlovak ? entry.slovak : entry.english;
            return QString::fromUtf8(text.data(), qsizetype(text.size()));
        };
        QHash<model::Control, QString> captions;
        for (const model::LanguageText &entry : model::languageTexts) {
            if (entry.property == model::TextProperty::Caption)
                captions.insert(entry.control, shown(entry));
        }
        for (const model::LanguageText &entry : model::languageTexts) {
            const char *name = model::controlName(entry.control).data();
            const bool isCheck = QByteArray(name).startsWith("Check");
            const bool describesState = QByteArray(name).startsWith("Text")
                || entry.control == model::Control::Command1
                || entry.control == model::Control::Command2
                || entry.control == model::Control::Command3;
            if (entry.property == model::TextProperty::Caption && !isCheck)
                add(name, inSlovak, shown(entry), QString(""));
            else if (entry.property == model::TextProperty::ToolTip && isCheck)
                add(name, inSlovak,
                    captions.value(entry.control) + QStringLiteral(", ") + frameCaptionOf(name),
                    shown(entry));
            else if (entry.property == model::TextProperty::ToolTip)
                add(name, inSlovak, shown(entry), describesState ? QString() : shown(entry));
        }
        for (const model::LanguageText &entry : model::spinBarNames)
            add(model::controlName(entry.control).data(), inSlovak, shown(entry), QString(""));
        // The unit buttons are called by their caption in both languages.
        for (const char *option :
            { "Option1", "Option2", "Option3", "Option4", "Option5", "Option6" })
            add(option, inSlovak, QString(), QString(""));
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
    if (auto *option = qobject_cast<QRadioButton *>(widget))
        name = option->text();
    QCOMPARE(accessibleText(widget, QAccessible::Name), name);
    if (!description.isNull())
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
    // Left is a line up and Right a line down, as on a classic vertical scroll bar.
    QTest::newRow("left raises the lower C")  << "VScroll3" << Qt::Key_Left  << "Text3" << "20.01";
    QTest::newRow("right lowers Cx")          << "VScroll7" << Qt::Key_Right << "Text7" << "2.9";
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
    // The arrows go round within the frame.
    QTest::newRow("MHz at start, Tab, down goes round to kHz")
        << "Command1" << atStart                      << "Text6"    << false << "Option6" << Qt::Key_Down << "Option5" << "Text3" << "23003949.220";
    QTest::newRow("kHz, Tab, left goes round to MHz")
        << "Command1" << QStringList{"Option5"}       << "Text6"    << false << "Option5" << Qt::Key_Left << "Option6" << "Text3" << "20.004";
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

void TestAccessibility::fixButtonHandsTheFocusOn_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("how");
    QTest::addColumn<QString>("focusOn");

    // The focus goes to the fix button that the press enables, whether the press was a click,
    // Space or Enter.
    for (const char *how : { "click", "Space", "Enter" }) {
        QTest::addRow("F of Cp by %s", how) << ""
                                            << "Command2" << how << "Command1";
        QTest::addRow("F of Fx by %s", how) << ""
                                            << "Command3" << how << "Command1";
        QTest::addRow("F of Lp by %s", how) << "Command2"
                                            << "Command1" << how << "Command2";
    }
}

// A character typed after the press changes no box, and no box holds a selection that it would
// replace; the focus shows where it went.
void TestAccessibility::fixButtonHandsTheFocusOn()
{
    QFETCH(QString, before);
    QFETCH(QString, button);
    QFETCH(QString, how);
    QFETCH(QString, focusOn);

    ActiveWindow shown;
    if (!before.isEmpty())
        click(control(shown.w, qPrintable(before)));
    auto *pressed = control(shown.w, qPrintable(button));
    if (how == QLatin1String("click")) {
        click(pressed);
    } else {
        pressed->setFocus(Qt::TabFocusReason);
        QTest::keyClick(pressed, how == QLatin1String("Space") ? Qt::Key_Space : Qt::Key_Return);
    }
    QVERIFY(!pressed->isEnabled());
    QCOMPARE(QApplication::focusWidget()->objectName(), focusOn);
    for (const auto *box : shown.w.findChildren<QLineEdit *>())
        QVERIFY2(!box->hasSelectedText(), qPrintable(box->objectName()));
    const QStringList texts = shownTexts(shown.w);
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("7"));
    QCOMPARE(shownTexts(shown.w), texts);
    const QString problem = cueProblem(shown.w);
    QVERIFY2(problem.isEmpty(), qPrintable(problem));
}

void TestAccessibility::readerHearsWhatAStepComputed_data()
{
    QTest::addColumn<QStringList>("setup");
    QTest::addColumn<QString>("source");
    QTest::addColumn<Qt::Key>("key");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("description");

    // A spin bar stepped by a key, its value the number in its box; a unit button clicked. The
    // description names the range that the solver computed. That a reader hears it, through the
    // events of the platform's bridge, scripts/check-screen-reader.sh shows with Orca.
    const Qt::Key click = Qt::Key_unknown;
    // clang-format off
    QTest::newRow("a step on VScroll4 at start")  << QStringList{}            << "VScroll4" << Qt::Key_Up   << "50.01" << "F 9.776 to 14.841 MHz";
    QTest::newRow("a step that leaves no result") << QStringList{"Text7=-30"} << "VScroll3" << Qt::Key_Up   << "20.01" << "F: no result";
    QTest::newRow("Cx with F fixed")              << QStringList{"Command3"}  << "VScroll7" << Qt::Key_Down << "2.9"   << "L 5.006 to 11.565 uH";
    QTest::newRow("a step in Slovak")             << QStringList{"Command5"}  << "VScroll4" << Qt::Key_Up   << "50.01" << "F 9.776 až 14.841 MHz";
    QTest::newRow("no result in Slovak")   << QStringList{"Command5", "Text7=-30"} << "VScroll3" << Qt::Key_Up << "20.01" << "F: bez výsledku";
    QTest::newRow("a unit click")                 << QStringList{}            << "Option4"  << click        << ""      << "F 0.318 to 0.503 MHz";
    QTest::newRow("a unit click in Slovak")       << QStringList{"Command5"}  << "Option5"  << click        << ""      << "C 23003949.220 až 52965432.700 pF";
    // clang-format on
}

void TestAccessibility::readerHearsWhatAStepComputed()
{
    QFETCH(QStringList, setup);
    QFETCH(QString, source);
    QFETCH(Qt::Key, key);
    QFETCH(QString, value);
    QFETCH(QString, description);

    ActiveWindow shown;
    for (const QString &action : setup)
        act(shown.w, action);
    QWidget *target = control(shown.w, qPrintable(source));
    if (key == Qt::Key_unknown)
        click(target);
    else
        pressKey(target, key);

    QCOMPARE(accessibleText(target, QAccessible::Description), description);
    if (!value.isEmpty()) {
        QAccessibleInterface *face = QAccessible::queryAccessibleInterface(target);
        QCOMPARE(face->role(), QAccessible::SpinBox);
        QCOMPARE(face->valueInterface()->currentValue().toDouble(), value.toDouble());
        // A reader speaks the text of a spin control when its value changes.
        QCOMPARE(spokenText(target), value + QStringLiteral("; ") + description);
    }
    // Back on the control later, the user hears it as it is, not the news of an old step.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(accessibleText(target, QAccessible::Description), QString());
}

void TestAccessibility::boxDescriptions_data()
{
    QTest::addColumn<QStringList>("setup");
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("english");
    QTest::addColumn<QString>("slovak");

    // The unit as chosen now, and what the colour says: the light red fixed value, the silver box
    // not used while fixed, the red text of a range that had no result. The fix buttons tell
    // which quantity is fixed.
    const QStringList noResult { "Text7=-30", "VScroll3 up" };
    // clang-format off
    QTest::newRow("mode 1, fixed L")      << QStringList{}                  << "Text1"    << "uH, fixed value"          << "uH, pevná hodnota";
    QTest::newRow("mode 1, upper L")      << QStringList{}                  << "Text2"    << "uH, not used while fixed" << "uH, nepoužíva sa, kým je pevná";
    QTest::newRow("mode 1, lower C")      << QStringList{}                  << "Text3"    << "pF"                       << "pF";
    QTest::newRow("mode 1, upper F")      << QStringList{}                  << "Text6"    << "MHz"                      << "MHz";
    QTest::newRow("mode 1, Cx")           << QStringList{}                  << "Text7"    << "pF"                       << "pF";
    QTest::newRow("mode 1, fix button")   << QStringList{}                  << "Command3" << "fixed: L"                 << "zafixované: L";
    QTest::newRow("mode 2, fixed C")      << QStringList{"Command2"}        << "Text3"    << "pF, fixed value"          << "pF, pevná hodnota";
    QTest::newRow("mode 2, upper C")      << QStringList{"Command2"}        << "Text4"    << "pF, not used while fixed" << "pF, nepoužíva sa, kým je pevná";
    QTest::newRow("mode 2, Cx fixed too") << QStringList{"Command2"}        << "Text7"    << "pF, fixed value"          << "pF, pevná hodnota";
    QTest::newRow("mode 2, lower L")      << QStringList{"Command2"}        << "Text1"    << "uH"                       << "uH";
    QTest::newRow("mode 2, fix button")   << QStringList{"Command2"}        << "Command1" << "fixed: C"                 << "zafixované: C";
    QTest::newRow("mode 3, fixed F")      << QStringList{"Command3"}        << "Text5"    << "MHz, fixed value"         << "MHz, pevná hodnota";
    QTest::newRow("mode 3, upper F")      << QStringList{"Command3"}        << "Text6"    << "MHz, not used while fixed" << "MHz, nepoužíva sa, kým je pevná";
    QTest::newRow("mode 3, upper C")      << QStringList{"Command3"}        << "Text4"    << "pF"                       << "pF";
    QTest::newRow("nH chosen")            << QStringList{"Command2", "Option1"} << "Text2" << "nH"                      << "nH";
    QTest::newRow("nF chosen")            << QStringList{"Option4"}         << "Text3"    << "nF"                       << "nF";
    QTest::newRow("kHz chosen")           << QStringList{"Option5"}         << "Text5"    << "kHz"                      << "kHz";
    QTest::newRow("nF, then C fixed")     << QStringList{"Option4", "Command2"} << "Text3" << "nF, fixed value"         << "nF, pevná hodnota";
    QTest::newRow("no result")            << noResult                       << "Text5"    << "MHz, not a result of the current inputs" << "MHz, nie je výsledkom terajších vstupov";
    QTest::newRow("no result, upper")     << noResult                       << "Text6"    << "MHz, not a result of the current inputs" << "MHz, nie je výsledkom terajších vstupov";
    QTest::newRow("a result again")       << noResult + QStringList{"Text7=3", "VScroll3 up"} << "Text5" << "MHz"      << "MHz";
    QTest::newRow("no result, then fixed") << noResult + QStringList{"Command3"} << "Text5" << "MHz, fixed value"      << "MHz, pevná hodnota";
    // clang-format on
}

// Each description in English, in Slovak after the language button, and in English again.
void TestAccessibility::boxDescriptions()
{
    QFETCH(QStringList, setup);
    QFETCH(QString, control);
    QFETCH(QString, english);
    QFETCH(QString, slovak);

    ActiveWindow shown;
    for (const QString &action : setup)
        act(shown.w, action);
    QWidget *widget = testing::control(shown.w, qPrintable(control));
    QCOMPARE(accessibleText(widget, QAccessible::Description), english);
    click(testing::control(shown.w, "Command5"));
    QCOMPARE(accessibleText(widget, QAccessible::Description), slovak);
    click(testing::control(shown.w, "Command5"));
    QCOMPARE(accessibleText(widget, QAccessible::Description), english);
}

void TestAccessibility::readerReadsTheWholeLine_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("text");
    // A reader speaks the line at the cursor; the places where a line could break ("5.0|0",
    // "2|0") are no ends of it.
    QTest::newRow("layout text 20") << "Text3"
                                    << "20";
    QTest::newRow("layout text 5.00") << "Text1"
                                      << "5.00";
    QTest::newRow("layout text 3.0") << "Text7"
                                     << "3.0";
    QTest::newRow("a wide result") << "Text3"
                                   << "23003949.220";
    QTest::newRow("a negative number") << "Text5"
                                       << "-0.50";
}

void TestAccessibility::readerReadsTheWholeLine()
{
    QFETCH(QString, box);
    QFETCH(QString, text);
    ShownWindow shown;
    shown.w.form().setText(*model::controlNamed(box.toStdString()), text.toStdString());
    QAccessibleTextInterface *face =
        QAccessible::queryAccessibleInterface(control(shown.w, qPrintable(box)))->textInterface();
    for (int offset : { 0, int(text.size()) - 1 }) {
        int start = -1;
        int end = -1;
        QCOMPARE(face->textAtOffset(offset, QAccessible::LineBoundary, &start, &end), text);
        QCOMPARE(start, 0);
        QCOMPARE(end, int(text.size()));
    }
}

LCTUNE_WINDOW_TEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
