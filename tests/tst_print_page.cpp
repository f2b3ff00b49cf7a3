// The page the print button sends: the window drawn afresh from its controls must look as the
// screen does, keep its texts as text in a PDF, hold no picture, and come out at its true size.

#include "print_test_support.h"
#include "window_test_support.h"

#include "window/print_page.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTemporaryDir>

using namespace testing;

namespace {

// Quarter-inch margins are whole pixels at 96 dots per inch, so the rasterised page lines up
// with the screen pixel for pixel.
constexpr int marginPixels = 24;

QImage paintedImage(const window::MainWindow &w)
{
    QImage image(w.size(), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    window::paintWindow(painter, w);
    return image;
}

void writePdf(const window::MainWindow &w, const QString &path)
{
    QPdfWriter writer(path);
    writer.setResolution(1200);
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
        QMarginsF(0.25, 0.25, 0.25, 0.25), QPageLayout::Inch));
    QPainter painter(&writer);
    window::paintWindowOnPage(
        painter, w, QRectF(QPointF(0, 0), writer.pageLayout().paintRectPixels(1200).size()));
}

bool havePoppler()
{
    return !QStandardPaths::findExecutable(QStringLiteral("pdftoppm")).isEmpty()
        && !QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty()
        && !QStandardPaths::findExecutable(QStringLiteral("pdfimages")).isEmpty();
}

// Where a sample is taken in a control: beside a box's centred text, in the middle of a check
// or option mark, on an arrow of a spin bar, or at a given point.
enum class Place { BesideText, Mark, UpperArrow, LowerArrow, At };

QPoint markCentre(QAbstractButton *button)
{
    QStyleOptionButton option;
    option.initFrom(button);
    const auto element = qobject_cast<QRadioButton *>(button) ? QStyle::SE_RadioButtonIndicator
                                                              : QStyle::SE_CheckBoxIndicator;
    return button->style()->subElementRect(element, &option, button).center();
}

QPoint samplePoint(QWidget *widget, Place place, QPoint at)
{
    switch (place) {
    case Place::BesideText:
        return QPoint(5, widget->height() / 2);
    case Place::Mark:
        return markCentre(qobject_cast<QAbstractButton *>(widget));
    case Place::UpperArrow:
        return arrowCentre(qobject_cast<QScrollBar *>(widget), Arrow::Upper);
    case Place::LowerArrow:
        return arrowCentre(qobject_cast<QScrollBar *>(widget), Arrow::Lower);
    case Place::At:
        return at;
    }
    return at;
}

// How much ink an area holds against its background: the sum of every pixel's largest channel
// difference. A glyph moved by a fraction of a pixel spreads the same ink over other pixels.
int ink(const QImage &image, const QRect &area, QColor background)
{
    int sum = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            const QColor c = image.pixelColor(x, y);
            sum += std::max({ std::abs(c.red() - background.red()),
                std::abs(c.green() - background.green()), std::abs(c.blue() - background.blue()) });
        }
    }
    return sum;
}

} // namespace

Q_DECLARE_METATYPE(Place)

class TestPrintPage : public QObject
{
    Q_OBJECT

private slots:
    void pageColoursAreTheScreens_data();
    void pageColoursAreTheScreens();
    void imageDiffersFromTheScreenOnlyInGlyphEdges();
    void textsArePresent_data();
    void textsArePresent();
    void pdfKeepsTextsAsText_data();
    void pdfKeepsTextsAsText();
    void pdfHoldsNoPicture();
    void pageShowsTheWindowAtItsTrueSize();
};

void TestPrintPage::pageColoursAreTheScreens_data()
{
    QTest::addColumn<bool>("onPaper");
    QTest::addColumn<QStringList>("presses");
    for (bool onPaper : { false, true }) {
        const QByteArray where = onPaper ? "on paper, " : "in an image, ";
        QTest::newRow(where + "at start") << onPaper << QStringList {};
        QTest::newRow(where + "in fix mode 2")
            << onPaper << QStringList { QStringLiteral("Command2") };
        QTest::newRow(where + "with a quick box ticked")
            << onPaper << QStringList { QStringLiteral("Check2") };
    }
}

void TestPrintPage::pageColoursAreTheScreens()
{
    QFETCH(bool, onPaper);
    QFETCH(QStringList, presses);
    if (onPaper && !havePoppler())
        QSKIP("poppler-utils are not installed");
    ShownWindow shown;
    auto &w = shown.w;
    for (const QString &press : presses)
        click(control(w, qPrintable(press)));

    QImage printed;
    QPoint offset;
    QTemporaryDir dir;
    if (onPaper) {
        const QString pdf = dir.filePath(QStringLiteral("page.pdf"));
        writePdf(w, pdf);
        offset = QPoint(marginPixels, marginPixels);
        printed = rasterise(
            pdf, dir.filePath(QStringLiteral("page")), w.size() + QSize(2, 2) * marginPixels);
        QVERIFY(!printed.isNull());
    } else {
        printed = paintedImage(w);
    }

    // Flat faces match to a rounding step. Marks, arrows and antialiased shapes get a little room:
    // their edges are computed afresh, not copied from the screen; poppler shades a few steps
    // apart from Qt. One-pixel lines are left out on paper: a vector line is centred on its
    // coordinate where the screen fills the pixel beside it, so at 96 dpi two pixels share it
    // (on the printer, half a window pixel is a fiftieth of a millimetre).
    struct Sample
    {
        const char *what;
        const char *name;
        Place place;
        QPoint at;
        int tolerance;
        bool onPaper;
    };
    // clang-format off
    const Sample samples[] = {
        {"window background",            "Form1",    Place::At,         {3, 3},    1, true},
        {"silver rectangle of the coil", "Form1",    Place::At,         {205, 60}, 1, true},
        {"lower inductance box",         "Text1",    Place::BesideText, {},        1, true},
        {"upper inductance box",         "Text2",    Place::BesideText, {},        1, true},
        {"lower capacitance box",        "Text3",    Place::BesideText, {},        1, true},
        {"upper capacitance box",        "Text4",    Place::BesideText, {},        1, true},
        {"upper frequency box",          "Text6",    Place::BesideText, {},        1, true},
        {"parasitic box",                "Text7",    Place::BesideText, {},        1, true},
        {"frame face",                   "Frame1",   Place::At,         {120, 20}, 1, true},
        {"frame edge",                   "Frame3",   Place::At,         {0, 80},   1, false},
        {"fix button face",              "Command2", Place::At,         {4, 10},   1, true},
        {"other fix button face",        "Command1", Place::At,         {4, 10},   1, true},
        {"print button",                 "Command4", Place::At,         {6, 6},    1, true},
        {"spin arrow",                   "VScroll3", Place::UpperArrow, {},        8, true},
        {"other spin arrow",             "VScroll1", Place::LowerArrow, {},        8, true},
        {"spin bar face",                "VScroll6", Place::At,         {3, 6},    1, true},
        {"quick box",                    "Check2",   Place::Mark,       {},        8, true},
        {"selected unit",                "Option3",  Place::Mark,       {},        8, true},
        {"unselected unit",              "Option4",  Place::Mark,       {},        1, true},
        {"grey dot on the top rail",     "Form1",    Place::At,         {224, 24}, 8, true},
        {"top rail",                     "Form1",    Place::At,         {250, 24}, 1, true},
        {"tuning capacitor plate",       "Form1",    Place::At,         {272, 64}, 1, true},
        {"parasitic capacitor plate",    "Form1",    Place::At,         {224, 64}, 1, true},
        {"coil ring",                    "Form1",    Place::At,         {177, 92}, 8, true},
    };
    // clang-format on
    const QImage screen = w.grab().toImage();
    QStringList differences;
    for (const Sample &sample : samples) {
        if (onPaper && !sample.onPaper)
            continue;
        QWidget *widget = qstrcmp(sample.name, "Form1") == 0 ? &w : control(w, sample.name);
        const QPoint inWindow = widget->mapTo(&w, samplePoint(widget, sample.place, sample.at));
        const QColor shown = screen.pixelColor(inWindow * screen.devicePixelRatio());
        const QColor got = printed.pixelColor(inWindow + offset);
        const int tolerance = onPaper ? std::max(sample.tolerance, 3) : sample.tolerance;
        if (!sameColour(got, shown, tolerance))
            differences << QStringLiteral("%1: printed %2, screen %3")
                               .arg(QLatin1String(sample.what), got.name(), shown.name());
    }
    QVERIFY2(differences.isEmpty(), qPrintable(differences.join(QStringLiteral("; "))));
}

void TestPrintPage::imageDiffersFromTheScreenOnlyInGlyphEdges()
{
    ShownWindow shown;
    const QImage screen = shown.w.grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QImage painted = paintedImage(shown.w);
    QCOMPARE(painted.size(), screen.size());
    int clearlyDifferent = 0;
    for (int y = 0; y < screen.height(); ++y) {
        for (int x = 0; x < screen.width(); ++x)
            clearlyDifferent += !sameColour(painted.pixelColor(x, y), screen.pixelColor(x, y), 40);
    }
    // Glyphs are drawn from their outlines rather than from the screen's hinted cache, and the
    // arrows as exact triangles, which moves a few edge pixels; a missing or misplaced control
    // would change hundreds.
    QVERIFY2(clearlyDifferent < screen.width() * screen.height() / 400,
        qPrintable(QString::number(clearlyDifferent)));
}

void TestPrintPage::textsArePresent_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("area");
    QTest::newRow("value in a box") << QStringLiteral("Text1") << QRect(20, 5, 33, 15);
    QTest::newRow("unit caption") << QStringLiteral("Label1") << QRect();
    QTest::newRow("grey upper label") << QStringLiteral("Label2") << QRect();
    QTest::newRow("quick caption") << QStringLiteral("Check2") << QRect(17, 0, 40, 13);
    QTest::newRow("unit option") << QStringLiteral("Option6") << QRect(17, 0, 24, 14);
    QTest::newRow("frame caption") << QStringLiteral("Frame2") << QRect(4, 0, 20, 10);
    QTest::newRow("fix button") << QStringLiteral("Command3") << QRect(4, 4, 12, 12);
    QTest::newRow("language indicator") << QStringLiteral("Label11") << QRect();
    QTest::newRow("picture label") << QStringLiteral("Label7") << QRect();
}

void TestPrintPage::textsArePresent()
{
    QFETCH(QString, name);
    QFETCH(QRect, area);
    ShownWindow shown;
    QWidget *widget = control(shown.w, qPrintable(name));
    const QRect inWindow =
        (area.isNull() ? widget->rect() : area).translated(widget->mapTo(&shown.w, QPoint()));
    const QImage screen = shown.w.grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QImage painted = paintedImage(shown.w);
    const QColor background = screen.pixelColor(inWindow.topLeft());
    const int onScreen = ink(screen, inWindow, background);
    const int printed = ink(painted, inWindow, background);
    // At least a few pixels' worth of text.
    QVERIFY(onScreen > 5 * 64);
    // The same glyphs, their edges shaded a little differently.
    QVERIFY2(printed * 5 >= onScreen * 4 && printed * 4 <= onScreen * 5,
        qPrintable(QStringLiteral("printed %1, screen %2").arg(printed).arg(onScreen)));
}

void TestPrintPage::pdfKeepsTextsAsText_data()
{
    QTest::addColumn<QStringList>("presses");
    QTest::addColumn<QString>("word");
    QTest::newRow("value in a box") << QStringList {} << QStringLiteral("5.00");
    QTest::newRow("quick caption") << QStringList {} << QStringLiteral("Quick");
    QTest::newRow("frame caption") << QStringList {} << QStringLiteral("Lp");
    QTest::newRow("unit option") << QStringList {} << QStringLiteral("MHz");
    QTest::newRow("picture label") << QStringList {} << QStringLiteral("Cx");
    QTest::newRow("slovak caption")
        << QStringList { QStringLiteral("Command5") } << QStringLiteral("Rýchle");
    QTest::newRow("unit caption in mode 3")
        << QStringList { QStringLiteral("Command3") } << QStringLiteral("MHz");
}

void TestPrintPage::pdfKeepsTextsAsText()
{
    QFETCH(QStringList, presses);
    QFETCH(QString, word);
    if (!havePoppler())
        QSKIP("poppler-utils are not installed");
    ShownWindow shown;
    for (const QString &press : presses)
        click(control(shown.w, qPrintable(press)));
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("page.pdf"));
    writePdf(shown.w, pdf);
    const QStringList words =
        toolOutput(QStringLiteral("pdftotext"), { pdf, QStringLiteral("-") })
            .split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
    QVERIFY2(words.contains(word), qPrintable(words.join(QLatin1Char(' '))));
}

void TestPrintPage::pdfHoldsNoPicture()
{
    if (!havePoppler())
        QSKIP("poppler-utils are not installed");
    ShownWindow shown;
    // Every look at once: disabled controls, a tick, a focused button, Slovak captions.
    click(control(shown.w, "Command2"));
    click(control(shown.w, "Check1"));
    click(control(shown.w, "Command5"));
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("page.pdf"));
    writePdf(shown.w, pdf);
    QVERIFY(QFileInfo(pdf).size() > 0);
    QCOMPARE(embeddedImages(pdf), QStringList());
}

void TestPrintPage::pageShowsTheWindowAtItsTrueSize()
{
    if (!havePoppler())
        QSKIP("poppler-utils are not installed");
    ShownWindow shown;
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("page.pdf"));
    writePdf(shown.w, pdf);
    QCOMPARE(pageCount(pdf), 1);
    const QImage page = rasterise(pdf, dir.filePath(QStringLiteral("page")));
    // A4 at 96 dots per inch, and 8985 x 2775 twips at 15 twips a pixel inside the margins.
    QCOMPARE(page.size(), QSize(794, 1123));
    QCOMPARE(printedArea(page), QRect(marginPixels, marginPixels, 599, 185));
}

QTEST_MAIN(TestPrintPage)
#include "tst_print_page.moc"
