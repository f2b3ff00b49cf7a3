// SPDX-FileCopyrightText: The LC Tune developers
// SPDX-License-Identifier: MIT

// The window on a dark desktop: a dark palette is set on the application before the program sets
// its own look, as a desktop's theme would, and, where CTest runs this under the GTK 3 platform
// theme with Adwaita:dark, the desktop's own theme is dark as well. The window must look as on a
// light desktop: dark digits, captions and wires on their light faces and a focus cue that stands
// out, read from the rendered window.

#include "window_test_support.h"

#include "window/form_table.h"

#include <QApplication>
#include <QDir>
#include <QHash>
#include <QLibraryInfo>
#include <QMargins>
#include <QMessageBox>

#include <algorithm>
#include <cmath>

using namespace testing;

namespace {

// What a dark desktop hands the toolkit: the colours that the GTK 3 theme reports for
// Adwaita:dark.
QPalette darkPalette()
{
    const QColor window(0x32, 0x32, 0x32);
    const QColor text(0xF0, 0xF0, 0xF0);
    QPalette palette(window, window);
    for (auto role : { QPalette::WindowText, QPalette::Text, QPalette::ButtonText })
        palette.setColor(role, text);
    palette.setColor(QPalette::Base, QColor(0x24, 0x24, 0x24));
    return palette;
}

bool isDark(const QPalette &palette)
{
    return palette.color(QPalette::Window).lightness() < 100
        && palette.color(QPalette::WindowText).lightness() > 150;
}

// Relative luminance and contrast ratio as WCAG 2 defines them.
double luminance(const QColor &colour)
{
    auto channel = [](double c) {
        return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(colour.redF()) + 0.7152 * channel(colour.greenF())
        + 0.0722 * channel(colour.blueF());
}

double contrast(const QColor &a, const QColor &b)
{
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// A rectangle of the window in logical pixels: a control's, less the margins that keep out its
// frame or mark, or a line of the circuit picture with a little of what lies around it.
QRect areaOf(window::MainWindow &w, const QString &name, const QMargins &inside)
{
    for (const window::ControlRow &row : window::formTable) {
        if (name != QLatin1String(row.name) || row.kind != window::Kind::Line)
            continue;
        const auto &line = std::get<window::Segment>(row.place);
        const QPoint from(qRound(line.x1 / 15.0), qRound(line.y1 / 15.0));
        const QPoint to(qRound(line.x2 / 15.0), qRound(line.y2 / 15.0));
        return QRect(from, to).normalized().adjusted(-3, -3, 3, 3);
    }
    return areaIn(w, control(w, qPrintable(name))) - inside;
}

} // namespace

class TestDarkDesktop : public QObject
{
    Q_OBJECT

public:
    explicit TestDarkDesktop(const QPalette &desktop) : m_desktop(desktop) { }

private slots:
    void desktopIsDark();
    void inkIsDarkOnItsLightFace_data();
    void inkIsDarkOnItsLightFace();
    void focusCueStandsOut_data();
    void focusCueStandsOut();
    void messageBoxHasTheWindowsFace();

private:
    QPalette m_desktop;
};

// Without this the rest would prove nothing about the theme that the test was run under.
void TestDarkDesktop::desktopIsDark()
{
    if (qEnvironmentVariable("QT_QPA_PLATFORMTHEME") != QLatin1String("gtk3"))
        QSKIP("no platform theme asked for: the dark palette alone");
    const QDir themes(QLibraryInfo::path(QLibraryInfo::PluginsPath) + "/platformthemes");
    if (themes.entryList({ QStringLiteral("*gtk3*") }).isEmpty())
        QSKIP("the GTK 3 platform theme is not installed");
    QVERIFY2(isDark(m_desktop),
        qPrintable(QStringLiteral("the theme's window %1, text %2")
                       .arg(m_desktop.color(QPalette::Window).name(),
                           m_desktop.color(QPalette::WindowText).name())));
}

void TestDarkDesktop::inkIsDarkOnItsLightFace_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QMargins>("inside");

    // Boxes and buttons less their frames, check boxes less their marks: only the text is ink.
    const QMargins box(4, 4, 4, 4);
    // clang-format off
    QTest::newRow("digits of the fixed inductance") << "Text1"    << box;
    QTest::newRow("digits of the lower capacitance") << "Text3"   << box;
    QTest::newRow("digits of the upper capacitance") << "Text4"   << box;
    QTest::newRow("digits of the lower frequency")  << "Text5"    << box;
    QTest::newRow("digits of the upper frequency")  << "Text6"    << box;
    QTest::newRow("digits of Cx")                   << "Text7"    << box;
    QTest::newRow("unit of the fixed inductance")   << "Label1"   << QMargins();
    QTest::newRow("Min. of the capacitance")        << "Label3"   << QMargins();
    QTest::newRow("Max. of the capacitance")        << "Label4"   << QMargins();
    QTest::newRow("Max. of the frequency")          << "Label6"   << QMargins();
    QTest::newRow("Quick caption")                  << "Check3"   << QMargins(17, 0, 0, 0);
    QTest::newRow("fix button caption")             << "Command2" << QMargins(5, 5, 5, 5);
    QTest::newRow("wire above the coil")            << "Line3"    << QMargins();
    QTest::newRow("wire down to the capacitor")     << "Line5"    << QMargins();
    QTest::newRow("wire below the coil")            << "Line4"    << QMargins();
    // clang-format on
}

// The face is the commonest colour of the area, the ink the colour that stands out most from it;
// 4.5 is the contrast that WCAG 2 asks of body text.
void TestDarkDesktop::inkIsDarkOnItsLightFace()
{
    QFETCH(QString, name);
    QFETCH(QMargins, inside);

    ShownWindow shown;
    const QImage image = shown.w.grab().toImage();
    const QRect area = areaOf(shown.w, name, inside);
    // A shaded face changes a little from row to row, so colours are counted by shade: to a
    // sixteenth of each channel. Otherwise a caption drawn without smoothing, as in the Windows
    // face, outnumbers every single grey of its button.
    QHash<QRgb, int> counts;
    QHash<QRgb, int> shades;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            ++counts[image.pixel(x, y)];
            ++shades[image.pixel(x, y) & 0xFFF0F0F0];
        }
    }
    QVERIFY(!counts.isEmpty());
    const QRgb shade = std::ranges::max(shades.keys(), {}, [&](QRgb c) { return shades[c]; });
    const auto ofShade = [&](QRgb c) { return (c & 0xFFF0F0F0) == shade ? counts[c] : 0; };
    const QColor face(std::ranges::max(counts.keys(), {}, ofShade));
    const QColor ink(
        std::ranges::max(counts.keys(), {}, [&](QRgb c) { return contrast(QColor(c), face); }));
    const QString seen = QStringLiteral("ink %1 on %2, contrast %3")
                             .arg(ink.name(), face.name())
                             .arg(contrast(ink, face), 0, 'f', 1);
    QVERIFY2(luminance(face) > 0.35, qPrintable(seen));
    QVERIFY2(luminance(ink) < luminance(face), qPrintable(seen));
    QVERIFY2(contrast(ink, face) >= 4.5, qPrintable(seen));
}

void TestDarkDesktop::focusCueStandsOut_data()
{
    QTest::addColumn<QString>("name");

    // clang-format off
    QTest::newRow("spin bar")     << "VScroll3";
    QTest::newRow("fix button")   << "Command2";
    QTest::newRow("print button") << "Command4";
    QTest::newRow("box")          << "Text3";
    QTest::newRow("Quick box")    << "Check2";
    QTest::newRow("unit")         << "Option3";
    // clang-format on
}

// The focus shows as on a light desktop, before any key: the control that has it changes, in
// at least a short line of pixels, by a contrast of 3 or more, what WCAG 2 asks of a control's
// parts.
void TestDarkDesktop::focusCueStandsOut()
{
    QFETCH(QString, name);

    ActiveWindow shown;
    QWidget *widget = control(shown.w, qPrintable(name));
    widget->setFocus(Qt::TabFocusReason);
    const QRect area = areaIn(shown.w, widget);
    const QList<CuePixel> cue = focusCue(shown.w);
    const auto standsOut = std::ranges::count_if(cue, [&](const CuePixel &pixel) {
        return area.contains(pixel.at) && contrast(pixel.focused, pixel.unfocused) >= 3;
    });
    QVERIFY2(standsOut >= 8,
        qPrintable(
            QStringLiteral("%1 of %2 changed pixels stand out").arg(standsOut).arg(cue.size())));
}

// The print button tells of a failure in a message box, a window of its own: it has the window's
// silver face and dark text, not the desktop's colours.
void TestDarkDesktop::messageBoxHasTheWindowsFace()
{
    ShownWindow shown;
    QMessageBox box(QMessageBox::Warning, shown.w.windowTitle(), QStringLiteral("No printer"),
        QMessageBox::Ok, &shown.w);
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    const QImage image = box.grab().toImage();
    QCOMPARE(image.pixelColor(2, 2), rgb(0xC0C0C0));
    QVERIFY(luminance(box.palette().color(QPalette::WindowText)) < 0.05);
}

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    TestDarkDesktop test(QApplication::palette());
    QApplication::setPalette(darkPalette());
    window::setApplicationLook();
    return QTest::qExec(&test, argc, argv);
}

#include "tst_dark_desktop.moc"
