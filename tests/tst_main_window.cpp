// SPDX-FileCopyrightText: The LC Tune developers
// SPDX-License-Identifier: MIT

// The window as the user meets it: start-up, the fix modes, the languages, the layout and the
// spin bars' events, driven through real clicks on the real widgets.

#include "window_test_support.h"

#include "model/language.h"
#include "window/form_table.h"
#include "window/look.h"
#include "window/spin_bar.h"

#include <QCheckBox>
#include <QFontDatabase>
#include <QGroupBox>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>

using namespace testing;

namespace {

// The state that each fix mode gives the controls, written out cell by cell. A dash keeps the
// value of the reset column.
struct StateCell
{
    const char *control;
    const char *property;
    const char *reset;
    const char *mode1;
    const char *mode2;
    const char *mode3;
};

// Colours as 0x00BBGGRR; "menu" is the toolkit's text colour.
// clang-format off
constexpr StateCell stateTable[] = {
    {"Text1",    "back",    "C0FFC0", "C0C0FF", "-",      "-"},
    {"Text2",    "back",    "C0FFC0", "C0C0C0", "-",      "-"},
    {"Text3",    "back",    "C0FFC0", "-",      "C0C0FF", "-"},
    {"Text4",    "back",    "C0FFC0", "-",      "C0C0C0", "-"},
    {"Text5",    "back",    "C0FFC0", "-",      "-",      "C0C0FF"},
    {"Text6",    "back",    "C0FFC0", "-",      "-",      "C0C0C0"},
    {"Text7",    "back",    "80FF80", "-",      "C0C0C0", "-"},
    {"Text1",    "locked",  "0",      "1",      "-",      "-"},
    {"Text2",    "locked",  "0",      "1",      "-",      "-"},
    {"Text3",    "locked",  "0",      "-",      "1",      "-"},
    {"Text4",    "locked",  "0",      "-",      "1",      "-"},
    {"Text7",    "locked",  "0",      "-",      "1",      "-"},
    {"Text5",    "locked",  "0",      "-",      "-",      "1"},
    {"Text6",    "locked",  "0",      "-",      "-",      "1"},
    {"Text2",    "fore",    "menu",   "808080", "-",      "-"},
    {"Text4",    "fore",    "menu",   "-",      "808080", "-"},
    {"Text7",    "fore",    "menu",   "-",      "808080", "-"},
    {"Text6",    "fore",    "menu",   "-",      "-",      "808080"},
    {"Label2",   "fore",    "menu",   "808080", "-",      "-"},
    {"Label4",   "fore",    "menu",   "-",      "808080", "-"},
    {"Label6",   "fore",    "menu",   "-",      "-",      "808080"},
    {"Label1",   "caption", "Min.",   "uH",     "-",      "-"},
    {"Label3",   "caption", "Min.",   "-",      "pF",     "-"},
    {"Label5",   "caption", "Min.",   "-",      "-",      "MHz"},
    {"VScroll1", "enabled", "1",      "0",      "-",      "-"},
    {"VScroll2", "enabled", "1",      "0",      "-",      "-"},
    {"VScroll3", "enabled", "1",      "-",      "0",      "-"},
    {"VScroll4", "enabled", "1",      "-",      "0",      "-"},
    {"VScroll7", "enabled", "1",      "-",      "0",      "-"},
    {"VScroll5", "enabled", "1",      "-",      "-",      "0"},
    {"VScroll6", "enabled", "1",      "-",      "-",      "0"},
    {"Command1", "tag",     "0",      "1",      "-",      "-"},
    {"Command2", "tag",     "0",      "-",      "1",      "-"},
    {"Command3", "tag",     "0",      "-",      "-",      "1"},
    {"Command1", "enabled", "1",      "0",      "-",      "-"},
    {"Command2", "enabled", "1",      "-",      "0",      "-"},
    {"Command3", "enabled", "1",      "-",      "-",      "0"},
    {"Option1",  "enabled", "1",      "0",      "-",      "-"},
    {"Option2",  "enabled", "1",      "0",      "-",      "-"},
    {"Option3",  "enabled", "1",      "-",      "0",      "-"},
    {"Option4",  "enabled", "1",      "-",      "0",      "-"},
    {"Option5",  "enabled", "1",      "-",      "-",      "0"},
    {"Option6",  "enabled", "1",      "-",      "-",      "0"},
    {"Check1",   "enabled", "1",      "0",      "-",      "-"},
    {"Check2",   "enabled", "1",      "-",      "0",      "-"},
    {"Check3",   "enabled", "1",      "-",      "-",      "0"},
    // Never touched by a fix mode.
    {"Text1",    "fore",    "menu",   "-",      "-",      "-"},
    {"Text3",    "fore",    "menu",   "-",      "-",      "-"},
    {"Text5",    "fore",    "menu",   "-",      "-",      "-"},
    {"Label2",   "caption", "Max.",   "-",      "-",      "-"},
    {"Label4",   "caption", "Max.",   "-",      "-",      "-"},
    {"Label6",   "caption", "Max.",   "-",      "-",      "-"},
    {"Command4", "enabled", "1",      "-",      "-",      "-"},
    {"Command5", "enabled", "1",      "-",      "-",      "-"},
};
// clang-format on

QString expectedIn(const StateCell &cell, int mode)
{
    const char *byMode[] = { cell.mode1, cell.mode2, cell.mode3 };
    const char *value = byMode[mode - 1];
    return QString::fromLatin1(qstrcmp(value, "-") == 0 ? cell.reset : value);
}

QColor expectedColour(const QString &value)
{
    if (value == QLatin1String("menu"))
        return QColor(Qt::black);
    return rgb(value.toUInt(nullptr, 16));
}

QString shownValue(ShownWindow &shown, const StateCell &cell)
{
    QWidget *widget = control(shown.w, cell.control);
    const QString property = QString::fromLatin1(cell.property);
    if (property == QLatin1String("back"))
        return shownBackColour(shown.w, qobject_cast<QLineEdit *>(widget)).name();
    if (property == QLatin1String("fore")) {
        const auto role = qobject_cast<QLineEdit *>(widget) ? QPalette::Text : QPalette::WindowText;
        return widget->palette().color(QPalette::Active, role).name();
    }
    if (property == QLatin1String("locked"))
        return qobject_cast<QLineEdit *>(widget)->isReadOnly() ? "1" : "0";
    if (property == QLatin1String("enabled"))
        return widget->isEnabled() ? "1" : "0";
    if (property == QLatin1String("tag"))
        return widget->property("Tag").toString();
    return qobject_cast<QLabel *>(widget)->text();
}

QString expectedValue(const StateCell &cell, int mode)
{
    const QString value = expectedIn(cell, mode);
    const QString property = QString::fromLatin1(cell.property);
    if (property == QLatin1String("back") || property == QLatin1String("fore"))
        return expectedColour(value).name();
    return value;
}

// In fix mode 1, a negative Cx makes the lower total negative, so the frequency range that a
// capacitance step computes has no result.
void leaveTheFrequencyRangeWithoutResult(window::MainWindow &w)
{
    typeInto(control<QLineEdit>(w, "Text7"), QStringLiteral("-30"));
    clickArrow(control<QScrollBar>(w, "VScroll3"), Arrow::Upper);
}

// A spin bar on its own, in the size of the window's, so that only its own handlers see its
// changes.
void showLikeTheWindowsBars(window::SpinBar *bar)
{
    bar->resize(17, 25);
    bar->show();
    if (!QTest::qWaitForWindowExposed(bar))
        qFatal("spin bar not exposed");
}

QPushButton *fixButton(ShownWindow &shown, int mode)
{
    const char *names[] = { "Command1", "Command2", "Command3" };
    return control<QPushButton>(shown.w, names[mode - 1]);
}

} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void startUpShowsFixModeOneInEnglish();
    void fixModeStateTable_data();
    void fixModeStateTable();
    void fixedQuantityTakesNoInput();
    void fixModeSwitchKeepsTextsUnitsAndTicks();
    void eachFrameIsItsOwnOptionGroup();
    void clickNearTheRightEdge_data();
    void clickNearTheRightEdge();
    void fixingAStaleResultShowsTheFixedLook();
    void steppingAStaleBoxMakesItAnInput();
    void layoutPlacesEachKindOfControl_data();
    void layoutPlacesEachKindOfControl();
    void everyControlLiesInItsContainer();
    void windowIsFixedInSize();
    void languageTexts_data();
    void languageTexts();
    void languageSwitchKeepsFixModeState();
    void labelsFitTheirCaptions();
    void spinBarArrowsMoveToPlusAndMinusOne_data();
    void spinBarArrowsMoveToPlusAndMinusOne();
    void programMoveReachesTheHandlerNested();
    void facesShowTheSlovakLetters();
    void tabOrderFollowsTheLayout();
    void seamChecksTheKindOfItsControl();
    void programWrittenTextShowsItsStart_data();
    void programWrittenTextShowsItsStart();
};

void TestMainWindow::startUpShowsFixModeOneInEnglish()
{
    ShownWindow shown;
    auto &w = shown.w;
    const char *boxes[] = { "Text1", "Text2", "Text3", "Text4", "Text5", "Text6", "Text7" };
    const char *texts[] = { "5.00", "8.00", "20", "50", "9.78", "14.84", "3.0" };
    for (int i = 0; i < 7; ++i)
        QCOMPARE(control<QLineEdit>(w, boxes[i])->text(), QString::fromLatin1(texts[i]));
    QCOMPARE(w.windowTitle(), QStringLiteral("The Resonance circuit calculation"));
    QVERIFY(control<QRadioButton>(w, "Option2")->isChecked());
    QVERIFY(control<QRadioButton>(w, "Option3")->isChecked());
    QVERIFY(control<QRadioButton>(w, "Option6")->isChecked());
    for (const char *check : { "Check1", "Check2", "Check3" }) {
        QVERIFY(!control<QCheckBox>(w, check)->isChecked());
        QCOMPARE(control<QCheckBox>(w, check)->text(), QStringLiteral("Quick"));
    }
    for (const char *bar : { "VScroll1", "VScroll4", "VScroll7" })
        QCOMPARE(control<window::SpinBar>(w, bar)->position(), 0);
    QCOMPARE(control<QLabel>(w, "Label11")->text(), QStringLiteral("SK"));
    QCOMPARE(control(w, "Command5")->toolTip(), QStringLiteral("Nastavenie slovenského jazyka"));
    QCOMPARE(control(w, "Command5")->property("Tag").toString(), QStringLiteral("0"));
    QCOMPARE(w.module().StepL, 0.01);
    QCOMPARE(w.module().StepC, 0.01);
    QCOMPARE(w.module().StepF, 0.01);
    // Nothing is computed at start: the ranges stay zero until the first solver runs.
    QCOMPARE(w.module().Lmin + w.module().Cmax + w.module().FcalcMin, 0.0);
}

void TestMainWindow::fixModeStateTable_data()
{
    QTest::addColumn<QList<int>>("presses");
    QTest::newRow("start-up") << QList<int> {};
    QTest::newRow("1 to 2") << QList<int> { 2 };
    QTest::newRow("1 to 3") << QList<int> { 3 };
    QTest::newRow("2 to 3") << QList<int> { 2, 3 };
    QTest::newRow("3 to 2") << QList<int> { 3, 2 };
    QTest::newRow("2 back to 1") << QList<int> { 2, 1 };
    QTest::newRow("3 back to 1") << QList<int> { 3, 1 };
    QTest::newRow("round trip") << QList<int> { 3, 2, 1, 2 };
}

void TestMainWindow::fixModeStateTable()
{
    QFETCH(QList<int>, presses);
    ShownWindow shown;
    for (int mode : presses)
        click(fixButton(shown, mode));
    const int mode = presses.isEmpty() ? 1 : presses.last();
    for (const StateCell &cell : stateTable) {
        const QString got = shownValue(shown, cell);
        const QString want = expectedValue(cell, mode);
        QVERIFY2(got == want,
            qPrintable(QStringLiteral("%1 %2 in mode %3: shown %4, want %5")
                           .arg(cell.control, cell.property)
                           .arg(mode)
                           .arg(got, want)));
    }
}

void TestMainWindow::fixedQuantityTakesNoInput()
{
    ShownWindow shown;
    auto *lower = control<QLineEdit>(shown.w, "Text1");
    lower->setFocus();
    QTest::keyClicks(lower, "77");
    QCOMPARE(lower->text(), QStringLiteral("5.00"));
    // A disabled unit option ignores a click.
    click(control(shown.w, "Option1"));
    QVERIFY(control<QRadioButton>(shown.w, "Option2")->isChecked());
    // The disabled fix button of the current mode cannot be pressed again.
    click(control(shown.w, "Command1"));
    QCOMPARE(control<QLineEdit>(shown.w, "Text1")->palette().color(QPalette::Base), rgb(0xC0C0FF));
    click(control(shown.w, "Command2"));
    lower->setFocus();
    QTest::keyClicks(lower, "1");
    QVERIFY(lower->text().contains(QLatin1Char('1')));
}

void TestMainWindow::fixModeSwitchKeepsTextsUnitsAndTicks()
{
    ShownWindow shown;
    auto &w = shown.w;
    click(control(w, "Check3"));
    click(control(w, "Option4"));
    auto *text5 = control<QLineEdit>(w, "Text5");
    text5->selectAll();
    QTest::keyClicks(text5, "10.5");
    click(control(w, "Command3"));
    QCOMPARE(text5->text(), QStringLiteral("10.5"));
    QCOMPARE(control<QLabel>(w, "Label5")->text(), QStringLiteral("MHz"));
    QVERIFY(control<QCheckBox>(w, "Check3")->isChecked());
    QVERIFY(!control(w, "Check3")->isEnabled());
    click(control(w, "Command2"));
    QCOMPARE(control<QLabel>(w, "Label3")->text(), QStringLiteral("nF"));
    QCOMPARE(control<QLabel>(w, "Label5")->text(), QStringLiteral("Min."));
    QVERIFY(control<QCheckBox>(w, "Check3")->isChecked());
    QVERIFY(control(w, "Check3")->isEnabled());
    QVERIFY(control<QRadioButton>(w, "Option4")->isChecked());
}

void TestMainWindow::fixingAStaleResultShowsTheFixedLook()
{
    ShownWindow shown;
    auto &w = shown.w;
    leaveTheFrequencyRangeWithoutResult(w);
    auto *lowerF = control<QLineEdit>(w, "Text5");
    auto *upperF = control<QLineEdit>(w, "Text6");
    QCOMPARE(lowerF->text(), QStringLiteral("9.78"));
    QCOMPARE(
        lowerF->palette().color(QPalette::Active, QPalette::Text), window::QtForm::staleColour());
    QCOMPARE(
        upperF->palette().color(QPalette::Active, QPalette::Text), window::QtForm::staleColour());
    click(control(w, "Command3"));
    QCOMPARE(lowerF->palette().color(QPalette::Active, QPalette::Text), QColor(Qt::black));
    QCOMPARE(upperF->palette().color(QPalette::Active, QPalette::Text), rgb(0x808080));
    QCOMPARE(lowerF->text(), QStringLiteral("9.78"));
    click(control(w, "Command1"));
    QCOMPARE(upperF->palette().color(QPalette::Active, QPalette::Text), QColor(Qt::black));
}

void TestMainWindow::steppingAStaleBoxMakesItAnInput()
{
    ShownWindow shown;
    auto &w = shown.w;
    leaveTheFrequencyRangeWithoutResult(w);
    click(control(w, "Command2"));
    clickArrow(control<QScrollBar>(w, "VScroll5"), Arrow::Upper);
    auto *lowerF = control<QLineEdit>(w, "Text5");
    auto *upperF = control<QLineEdit>(w, "Text6");
    QCOMPARE(lowerF->text(), QStringLiteral("9.79"));
    QCOMPARE(lowerF->palette().color(QPalette::Active, QPalette::Text), QColor(Qt::black));
    // The upper box was not stepped: it still holds the range that had no result.
    QCOMPARE(
        upperF->palette().color(QPalette::Active, QPalette::Text), window::QtForm::staleColour());
}

void TestMainWindow::eachFrameIsItsOwnOptionGroup()
{
    ShownWindow shown;
    auto &w = shown.w;
    click(control(w, "Command2"));
    click(control(w, "Option1"));
    QVERIFY(control<QRadioButton>(w, "Option1")->isChecked());
    QVERIFY(!control<QRadioButton>(w, "Option2")->isChecked());
    QVERIFY(control<QRadioButton>(w, "Option3")->isChecked());
    QVERIFY(control<QRadioButton>(w, "Option6")->isChecked());
    click(control(w, "Option5"));
    QVERIFY(!control<QRadioButton>(w, "Option6")->isChecked());
    QVERIFY(control<QRadioButton>(w, "Option1")->isChecked());
    QVERIFY(control<QRadioButton>(w, "Option3")->isChecked());
    click(control(w, "Command1"));
    click(control(w, "Option4"));
    QVERIFY(!control<QRadioButton>(w, "Option3")->isChecked());
    QVERIFY(control<QRadioButton>(w, "Option1")->isChecked());
    QVERIFY(control<QRadioButton>(w, "Option5")->isChecked());
}

void TestMainWindow::clickNearTheRightEdge_data()
{
    QTest::addColumn<int>("fixMode");
    QTest::addColumn<QString>("chosenFirst");
    QTest::addColumn<QString>("name");

    // Each in a fix mode that leaves it enabled; an option button chosen at start has its
    // partner chosen first.
    // clang-format off
    QTest::newRow("Check1")  << 2 << ""        << "Check1";
    QTest::newRow("Check2")  << 1 << ""        << "Check2";
    QTest::newRow("Check3")  << 1 << ""        << "Check3";
    QTest::newRow("Option1") << 2 << ""        << "Option1";
    QTest::newRow("Option2") << 2 << "Option1" << "Option2";
    QTest::newRow("Option3") << 1 << "Option4" << "Option3";
    QTest::newRow("Option4") << 1 << ""        << "Option4";
    QTest::newRow("Option5") << 1 << ""        << "Option5";
    QTest::newRow("Option6") << 1 << "Option5" << "Option6";
    // clang-format on
}

// The last pixel column inside the right edge, clear of the mark and, but for "MHz", of the
// caption: the press shows the control down and the release acts as a click on the mark.
void TestMainWindow::clickNearTheRightEdge()
{
    QFETCH(int, fixMode);
    QFETCH(QString, chosenFirst);
    QFETCH(QString, name);

    ShownWindow shown;
    if (fixMode != 1)
        click(fixButton(shown, fixMode));
    if (!chosenFirst.isEmpty())
        click(control(shown.w, qPrintable(chosenFirst)));
    auto *target = control<QAbstractButton>(shown.w, qPrintable(name));
    QVERIFY(!target->isChecked());
    const QPoint nearTheEdge(target->width() - 1, target->height() / 2);
    QTest::mousePress(target, Qt::LeftButton, {}, nearTheEdge);
    QVERIFY(target->isDown());
    QTest::mouseRelease(target, Qt::LeftButton, {}, nearTheEdge);
    QVERIFY(target->isChecked());
}

void TestMainWindow::layoutPlacesEachKindOfControl_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("container");
    QTest::addColumn<QRect>("pixels");
    // Worked out by hand from the layout's twips, 15 to the pixel, rounded to the nearest.
    // clang-format off
    QTest::newRow("a frame")                  << "Frame2"   << "Form1"  << QRect(315, 16, 129, 155);
    QTest::newRow("a value box")              << "Text1"    << "Frame1" << QRect(16, 32, 73, 25);
    QTest::newRow("a spin bar")               << "VScroll7" << "Frame4" << QRect(80, 16, 17, 25);
    QTest::newRow("a fix button")             << "Command3" << "Frame3" << QRect(93, 104, 20, 20);
    QTest::newRow("a unit option")            << "Option5"  << "Frame3" << QRect(16, 112, 41, 16);
    QTest::newRow("a Quick box")              << "Check2"   << "Frame2" << QRect(64, 128, 57, 13);
    QTest::newRow("a label keeping its box")  << "Label3"   << "Frame2" << QRect(16, 18, 33, 17);
    QTest::newRow("the language button")      << "Command5" << "Form1"  << QRect(152, 144, 13, 13);
    QTest::newRow("the print button")         << "Command4" << "Form1"  << QRect(294, 144, 13, 13);
    // clang-format on
}

void TestMainWindow::layoutPlacesEachKindOfControl()
{
    QFETCH(QString, name);
    QFETCH(QString, container);
    QFETCH(QRect, pixels);

    ShownWindow shown;
    QWidget *widget = control(shown.w, qPrintable(name));
    QCOMPARE(widget->parentWidget()->objectName(), container);
    QCOMPARE(widget->geometry(), pixels);
}

// 65 controls less the picture's 9 shapes and 12 lines are widgets, each wholly inside the
// frame or window that holds it.
void TestMainWindow::everyControlLiesInItsContainer()
{
    ShownWindow shown;
    int widgets = 0;
    for (QWidget *widget : shown.w.findChildren<QWidget *>()) {
        if (widget->objectName().isEmpty() || widget->isWindow())
            continue;
        ++widgets;
        QVERIFY2(widget->parentWidget()->rect().contains(widget->geometry()),
            qPrintable(widget->objectName()));
    }
    QCOMPARE(widgets, 44);
}

void TestMainWindow::windowIsFixedInSize()
{
    ShownWindow shown;
    QCOMPARE(shown.w.size(), QSize(599, 185));
    QCOMPARE(shown.w.minimumSize(), shown.w.maximumSize());
    const QRect before = control(shown.w, "Frame3")->geometry();
    shown.w.resize(900, 400);
    QCOMPARE(shown.w.size(), QSize(599, 185));
    QCOMPARE(control(shown.w, "Frame3")->geometry(), before);
    QCOMPARE(shownColour(shown.w, &shown.w, QPoint(2, 2)), rgb(0xC0C0C0));
}

void TestMainWindow::languageTexts_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("toolTip");
    QTest::addColumn<QString>("english");
    QTest::addColumn<QString>("slovak");
    // Every text of the language table, shown where the table puts it; the texts themselves
    // are written once, in the table.
    auto toQString = [](std::string_view text) {
        return QString::fromUtf8(text.data(), qsizetype(text.size()));
    };
    for (const model::LanguageText &entry : model::languageTexts) {
        const char *name = model::controlName(entry.control).data();
        const bool tip = entry.property == model::TextProperty::ToolTip;
        QTest::addRow("%s %s", name, tip ? "tip" : "caption") << QString::fromLatin1(
            name) << tip << toQString(entry.english) << toQString(entry.slovak);
    }
}

void TestMainWindow::languageTexts()
{
    QFETCH(QString, name);
    QFETCH(bool, toolTip);
    QFETCH(QString, english);
    QFETCH(QString, slovak);
    ShownWindow shown;
    QWidget *target =
        name == QLatin1String("Form1") ? &shown.w : control(shown.w, qPrintable(name));
    auto shownText = [&] {
        if (toolTip)
            return target->toolTip();
        if (target == &shown.w)
            return shown.w.windowTitle();
        if (auto *label = qobject_cast<QLabel *>(target))
            return label->text();
        return qobject_cast<QAbstractButton *>(target)->text();
    };
    auto *languageButton = control(shown.w, "Command5");
    QCOMPARE(shownText(), english);
    click(languageButton);
    QCOMPARE(shownText(), slovak);
    QCOMPARE(languageButton->property("Tag").toString(), QStringLiteral("1"));
    click(languageButton);
    QCOMPARE(shownText(), english);
    QCOMPARE(languageButton->property("Tag").toString(), QStringLiteral("0"));
}

void TestMainWindow::languageSwitchKeepsFixModeState()
{
    ShownWindow shown;
    click(fixButton(shown, 2));
    click(control(shown.w, "Check1"));
    QStringList before;
    for (const StateCell &cell : stateTable)
        before << shownValue(shown, cell);
    click(control(shown.w, "Command5"));
    QStringList after;
    for (const StateCell &cell : stateTable)
        after << shownValue(shown, cell);
    QCOMPARE(after, before);
    QVERIFY(control<QCheckBox>(shown.w, "Check1")->isChecked());
    QCOMPARE(control<QLineEdit>(shown.w, "Text3")->text(), QStringLiteral("20"));
}

void TestMainWindow::labelsFitTheirCaptions()
{
    ShownWindow shown;
    auto *indicator = control<QLabel>(shown.w, "Label11");
    const QFontMetrics metrics(indicator->font());
    QCOMPARE(indicator->width(), metrics.horizontalAdvance(QStringLiteral("SK")));
    click(control(shown.w, "Command5"));
    QCOMPARE(indicator->width(), metrics.horizontalAdvance(QStringLiteral("EN")));
    QCOMPARE(indicator->pos(), QPoint(151, 130));
    // Label3 keeps its own box whatever unit it shows.
    click(control(shown.w, "Option4"));
    click(fixButton(shown, 2));
    auto *label3 = control<QLabel>(shown.w, "Label3");
    QCOMPARE(label3->text(), QStringLiteral("nF"));
    QCOMPARE(label3->geometry(), QRect(16, 18, 33, 17));
    // Label1 follows its "Min." again once the inductance is no longer fixed.
    auto *label1 = control<QLabel>(shown.w, "Label1");
    QCOMPARE(label1->text(), QStringLiteral("Min."));
    QCOMPARE(label1->width(), label1->fontMetrics().horizontalAdvance(QStringLiteral("Min.")));
    QCOMPARE(label1->pos(), QPoint(16, 18));
}

void TestMainWindow::spinBarArrowsMoveToPlusAndMinusOne_data()
{
    QTest::addColumn<bool>("upper");
    QTest::addColumn<int>("position");
    QTest::newRow("upper arrow") << true << 1;
    QTest::newRow("lower arrow") << false << -1;
}

void TestMainWindow::spinBarArrowsMoveToPlusAndMinusOne()
{
    QFETCH(bool, upper);
    QFETCH(int, position);
    window::SpinBar bareBar;
    auto *bar = &bareBar;
    showLikeTheWindowsBars(bar);
    QList<int> seen;
    connect(bar, &window::SpinBar::changed, bar, [&] { seen << bar->position(); });
    clickArrow(bar, upper ? Arrow::Upper : Arrow::Lower);
    QCOMPARE(seen, QList<int> { position });
    // Setting the position it already has raises nothing.
    bar->setPosition(position);
    QCOMPARE(seen.size(), 1);
}

void TestMainWindow::programMoveReachesTheHandlerNested()
{
    window::SpinBar bareBar;
    auto *bar = &bareBar;
    showLikeTheWindowsBars(bar);
    QStringList events;
    int depth = 0;
    connect(bar, &window::SpinBar::changed, bar, [&] {
        ++depth;
        events << QStringLiteral("handler %1 at depth %2").arg(bar->position()).arg(depth);
        bar->setPosition(0);
        events << QStringLiteral("handler done at depth %1").arg(depth);
        --depth;
    });
    connect(bar, &window::SpinBar::changed, bar,
        [&] { events << QStringLiteral("later receiver %1").arg(bar->position()); });
    clickArrow(bar, Arrow::Upper);
    const QStringList want = {
        "handler 1 at depth 1",
        "handler 0 at depth 2",
        "handler done at depth 2",
        "later receiver 0",
        "handler done at depth 1",
        "later receiver 0",
    };
    QCOMPARE(events, want);
    QCOMPARE(bar->position(), 0);
}

void TestMainWindow::facesShowTheSlovakLetters()
{
    ShownWindow shown;
    const QString slovakLetters = QStringLiteral("ýčňáéíúäôťľšžďĺŕ");
    for (const char *name : { "Text1", "Check1", "Option5", "Label11" }) {
        const QFontInfo face(control(shown.w, name)->font());
        QVERIFY2(face.family() == QLatin1String("Liberation Sans")
                || face.family() == QLatin1String("DejaVu Sans"),
            qPrintable(face.family()));
        const QFontMetrics metrics(control(shown.w, name)->font());
        for (QChar letter : slovakLetters)
            QVERIFY2(metrics.inFont(letter), qPrintable(QString(letter)));
    }
    QCOMPARE(control(shown.w, "Text1")->font().pixelSize(), 16);
    QCOMPARE(control(shown.w, "Command1")->font().pixelSize(), 11);
}

void TestMainWindow::tabOrderFollowsTheLayout()
{
    ShownWindow shown;
    // Command2 holds tab index 0; after it come the frequency boxes (3, 4) and their controls.
    QWidget *first = control(shown.w, "Command2");
    QCOMPARE(first->nextInFocusChain()->objectName(), QStringLiteral("Text5"));
    QCOMPARE(control(shown.w, "Text5")->nextInFocusChain()->objectName(), QStringLiteral("Text6"));
    QCOMPARE(
        control(shown.w, "Text6")->nextInFocusChain()->objectName(), QStringLiteral("Option5"));
    QCOMPARE(control(shown.w, "Text2")->nextInFocusChain()->objectName(), QStringLiteral("Text1"));
}

// Asking a box for an option button's value names a control of the wrong kind: a debug build stops
// there, naming it; a release build answers as for an unchosen button and writes nothing. Run in a
// child process, which a debug build ends.
void TestMainWindow::seamChecksTheKindOfItsControl()
{
    const char *childVariable = "LCTUNE_ASK_THE_WRONG_KIND";
    if (qEnvironmentVariableIsSet(childVariable)) {
        ShownWindow shown;
        model::Form &form = shown.w.form();
        QVERIFY(!form.optionValue(model::Control::Text1));
        QCOMPARE(form.checkValue(model::Control::Option1), 0);
        QCOMPARE(form.scrollValue(model::Control::Check1), 0);
        form.setText(model::Control::Label1, "20");
        QCOMPARE(form.text(model::Control::Label1), std::string());
        QCOMPARE(control<QLabel>(shown.w, "Label1")->text(), QStringLiteral("uH"));
        return;
    }
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QString::fromLatin1(childVariable), QStringLiteral("1"));
    child.setProcessEnvironment(environment);
    // Qt Test logs the failure with its own output.
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(QCoreApplication::applicationFilePath(), { "seamChecksTheKindOfItsControl" });
    QVERIFY(child.waitForFinished());
#ifdef QT_NO_DEBUG
    QCOMPARE(child.exitStatus(), QProcess::NormalExit);
    QVERIFY2(child.exitCode() == 0, child.readAll().constData());
#else
    QCOMPARE(child.exitStatus(), QProcess::CrashExit);
    QVERIFY(child.readAll().contains("Text1 is no QRadioButton"));
#endif
}

void TestMainWindow::programWrittenTextShowsItsStart_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<bool>("focused");
    QTest::addColumn<int>("fixMode");
    // Both box widths, 73 pixels (Text1 to Text6) and 49 (Text7), each in a fix mode that leaves
    // it open to typing.
    for (const char *box : { "Text1", "Text2", "Text3", "Text4", "Text5", "Text6", "Text7" }) {
        const int mode = QByteArray(box) < QByteArray("Text3") ? 3 : 1;
        QTest::addRow("%s unfocused", box) << QString::fromLatin1(box) << false << mode;
        QTest::addRow("%s focused", box) << QString::fromLatin1(box) << true << mode;
    }
}

// A text that the program writes, wider than its box, shows from its first character, with the
// cursor before it and nothing selected; the first character is drawn at the box's left edge.
// Typing then goes on as in any box: Tab in selects the whole text, and a key replaces it.
void TestMainWindow::programWrittenTextShowsItsStart()
{
    QFETCH(QString, box);
    QFETCH(bool, focused);
    QFETCH(int, fixMode);
    ActiveWindow shown;
    if (fixMode != 1)
        click(fixButton(shown, fixMode));
    auto *edit = control<QLineEdit>(shown.w, qPrintable(box));
    if (focused)
        edit->setFocus(Qt::TabFocusReason);
    const QString wide = QStringLiteral("23003949.220");
    shown.w.form().setText(*model::controlNamed(box.toStdString()), wide.toStdString());
    QCOMPARE(edit->text(), wide);
    QVERIFY(QFontMetrics(edit->font()).horizontalAdvance(wide) > edit->width());
    QCOMPARE(edit->cursorPosition(), 0);
    QVERIFY(!edit->hasSelectedText());
    QCOMPARE(edit->hasFocus(), focused);
    // The cursor stands before the first character, inside the box, not scrolled off to its left.
    // Drawn, the cursor stands before the first character at the left edge, not scrolled off.
    edit->grab();
    const QRect cursor = edit->inputMethodQuery(Qt::ImCursorRectangle).toRect();
    QVERIFY2(cursor.center().x() >= 0 && cursor.center().x() < edit->width() / 4,
        qPrintable(QStringLiteral("cursor at %1").arg(cursor.center().x())));

    if (!focused) {
        edit->setFocus(Qt::TabFocusReason);
        QCOMPARE(edit->selectedText(), wide);
        QCOMPARE(edit->cursorPosition(), 0);
    }
    // A key replaces the selection, or goes in at the cursor.
    QTest::keyClicks(edit, QStringLiteral("7"));
    QCOMPARE(edit->text(), focused ? QStringLiteral("7") + wide : QStringLiteral("7"));
}

LCTUNE_WINDOW_TEST_MAIN(TestMainWindow)
#include "tst_main_window.moc"
