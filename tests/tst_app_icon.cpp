// SPDX-FileCopyrightText: The LC Tune developers
// SPDX-License-Identifier: MIT

#include "window/main_window.h"

#include <QFile>
#include <QImageReader>
#include <QPixmap>
#include <QSet>
#include <QTest>

#include <algorithm>
#include <cmath>
#include <vector>

// Colours are judged by what a viewer would call them, not by the palette's exact values, so a
// retouched palette passes and a wrong one does not.
namespace {

bool isGrey(QRgb c)
{
    return std::abs(qRed(c) - qGreen(c)) <= 8 && std::abs(qGreen(c) - qBlue(c)) <= 8
        && qGreen(c) >= 0x50 && qGreen(c) <= 0xD0;
}

bool isDarkGreen(QRgb c)
{
    return qGreen(c) >= 0x20 && qGreen(c) <= 0x70 && qRed(c) <= qGreen(c) / 2
        && qBlue(c) <= qGreen(c) / 2;
}

bool isBrightGreen(QRgb c)
{
    return qGreen(c) >= 0xB0 && qRed(c) <= qGreen(c) / 3 && qBlue(c) <= qGreen(c) / 2;
}

bool isPaleYellow(QRgb c)
{
    return qRed(c) >= 0xE0 && qGreen(c) >= 0xE0 && qBlue(c) >= 0x60 && qBlue(c) <= 0xD0;
}

// The trace or its fringe: the only pixels with much red in them that are not the frame.
bool isTrace(QRgb c)
{
    return qRed(c) >= 0x60 && !isGrey(c);
}

// The outermost ring of pixels, or the ring `depth` pixels in from it.
std::vector<QRgb> ring(const QImage &image, int depth)
{
    std::vector<QRgb> pixels;
    const int last = image.width() - 1 - depth;
    for (int i = depth; i <= last; ++i) {
        pixels.push_back(image.pixel(i, depth));
        pixels.push_back(image.pixel(i, last));
        pixels.push_back(image.pixel(depth, i));
        pixels.push_back(image.pixel(last, i));
    }
    return pixels;
}

struct Run
{
    int first;
    int last;
    int centreTwice() const { return first + last; }
    int width() const { return last - first + 1; }
};

// Runs of consecutive grid lines across the image: lines in which every pixel is frame, trace or
// bright green, and at least half are bright green.
std::vector<Run> gridRuns(const QImage &image, bool columns)
{
    const int size = image.width();
    std::vector<Run> runs;
    for (int a = 0; a < size; ++a) {
        int bright = 0;
        bool onlyGrid = true;
        for (int b = 0; b < size; ++b) {
            const QRgb c = columns ? image.pixel(a, b) : image.pixel(b, a);
            bright += isBrightGreen(c);
            onlyGrid = onlyGrid && (isBrightGreen(c) || isTrace(c) || isGrey(c));
        }
        if (!onlyGrid || 2 * bright < size)
            continue;
        if (!runs.empty() && runs.back().last == a - 1)
            runs.back().last = a;
        else
            runs.push_back({ a, a });
    }
    return runs;
}

QString describe(const std::vector<Run> &runs)
{
    QStringList parts;
    for (const Run &run : runs)
        parts << QStringLiteral("%1..%2").arg(run.first).arg(run.last);
    return parts.join(", ");
}

// The leftmost and rightmost pale yellow pixel of every row that has one, top to bottom.
std::vector<std::pair<int, Run>> yellowSpans(const QImage &image)
{
    std::vector<std::pair<int, Run>> spans;
    for (int y = 0; y < image.height(); ++y) {
        Run span { image.width(), -1 };
        for (int x = 0; x < image.width(); ++x) {
            if (isPaleYellow(image.pixel(x, y)))
                span = { std::min(span.first, x), std::max(span.last, x) };
        }
        if (span.last >= 0)
            spans.emplace_back(y, span);
    }
    return spans;
}

QSet<QRgb> coloursOf(const QImage &image)
{
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            colours.insert(image.pixel(x, y));
    }
    return colours;
}

bool isOpaque(const QImage &image)
{
    const QSet<QRgb> colours = coloursOf(image);
    return std::all_of(colours.begin(), colours.end(), [](QRgb c) { return qAlpha(c) == 255; });
}

// The icon the window gives the window system once it has been drawn; none if it never does.
QIcon shownWindowIcon()
{
    static const QIcon icon = [] {
        window::MainWindow w;
        w.show();
        return QTest::qWaitFor([&w] { return !w.windowIcon().isNull(); }) ? w.windowIcon()
                                                                          : QIcon();
    }();
    return icon;
}

// What the window shows as its icon at size x size pixels.
QImage windowIcon(int size)
{
    return shownWindowIcon().pixmap(QSize(size, size)).toImage();
}

} // namespace

class TestAppIcon : public QObject
{
    Q_OBJECT

private slots:
    void opaqueInSixteenColours_data() { sizeRows(); }
    void opaqueInSixteenColours();
    void everySizeSharesOnePalette();
    void thinGreyFrameAllRound_data() { sizeRows(); }
    void thinGreyFrameAllRound();
    void darkGreenScreen_data() { sizeRows(); }
    void darkGreenScreen();
    void gridOfOneVerticalAndThreeHorizontalLines_data() { sizeRows(); }
    void gridOfOneVerticalAndThreeHorizontalLines();
    void peakTopsOutOnTheMiddleLineNearTheTop_data() { sizeRows(); }
    void peakTopsOutOnTheMiddleLineNearTheTop();
    void peakWidensTowardTheBottom_data() { sizeRows(); }
    void peakWidensTowardTheBottom();
    void windowIconHoldsEverySizeAtThatSize_data() { sizeRows(); }
    void windowIconHoldsEverySizeAtThatSize();
    void programIconIsTheWindowIconInSixteenColours_data() { sizeRows(); }
    void programIconIsTheWindowIconInSixteenColours();

private:
    static void sizeRows();
};

// The sizes desktops look for: menus, title bar, task switcher, file managers, launchers.
void TestAppIcon::sizeRows()
{
    QTest::addColumn<int>("size");
    for (const int size : { 16, 32, 48, 64, 128, 256 })
        QTest::addRow("%d px", size) << size;
}

void TestAppIcon::opaqueInSixteenColours()
{
    QFETCH(int, size);
    const QImage image = windowIcon(size);
    QCOMPARE(image.size(), QSize(size, size));
    QVERIFY(isOpaque(image));
    QVERIFY2(coloursOf(image).size() <= 16, qPrintable(QString::number(coloursOf(image).size())));
}

void TestAppIcon::everySizeSharesOnePalette()
{
    QSet<QRgb> colours;
    for (const int size : { 16, 32, 48, 64, 128, 256 })
        colours.unite(coloursOf(windowIcon(size)));
    QVERIFY2(colours.size() <= 16, qPrintable(QString::number(colours.size())));
}

void TestAppIcon::thinGreyFrameAllRound()
{
    QFETCH(int, size);
    const QImage image = windowIcon(size);
    const auto outer = ring(image, 0);
    QVERIFY(std::all_of(outer.begin(), outer.end(), isGrey));
    // A tenth of the way in is the screen: a frame that deep would no longer be thin.
    const auto inner = ring(image, size / 10 + 1);
    QVERIFY(std::none_of(inner.begin(), inner.end(), isGrey));
}

void TestAppIcon::darkGreenScreen()
{
    QFETCH(int, size);
    const QImage image = windowIcon(size);
    // The upper corners of the screen lie clear of grid and curve at every size.
    QVERIFY(isDarkGreen(image.pixel(size / 8, size / 8)));
    QVERIFY(isDarkGreen(image.pixel(size - 1 - size / 8, size / 8)));
    // Most of what lies inside the frame is screen.
    int dark = 0;
    int inside = 0;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            dark += isDarkGreen(image.pixel(x, y));
            inside += !isGrey(image.pixel(x, y));
        }
    }
    QVERIFY2(2 * dark > inside, qPrintable(QStringLiteral("%1 of %2").arg(dark).arg(inside)));
}

void TestAppIcon::gridOfOneVerticalAndThreeHorizontalLines()
{
    QFETCH(int, size);
    const QImage image = windowIcon(size);
    const auto columns = gridRuns(image, true);
    QCOMPARE(columns.size(), std::size_t(1));
    QVERIFY2(std::abs(columns[0].centreTwice() - (size - 1)) <= 2, qPrintable(describe(columns)));
    // Thinner than a 32 px icon's one-pixel line would come out if that icon were scaled up.
    QVERIFY2(
        columns[0].width() == 1 || columns[0].width() * 32 < size, qPrintable(describe(columns)));
    // At a quarter, a half and three quarters of the height, give or take a sixteenth.
    const auto rows = gridRuns(image, false);
    QCOMPARE(rows.size(), std::size_t(3));
    for (int i = 0; i < 3; ++i)
        QVERIFY2(std::abs(rows[i].centreTwice() - (i + 1) * size / 2) <= size / 8 + 2,
            qPrintable(describe(rows)));
}

void TestAppIcon::peakTopsOutOnTheMiddleLineNearTheTop()
{
    QFETCH(int, size);
    const auto spans = yellowSpans(windowIcon(size));
    QVERIFY(!spans.empty());
    const auto [topRow, top] = spans.front();
    QVERIFY2(topRow > 0 && topRow <= size / 4, qPrintable(QString::number(topRow)));
    QVERIFY2(top.first <= size / 2 && top.last >= size / 2 - 1,
        qPrintable(QStringLiteral("%1..%2").arg(top.first).arg(top.last)));
    QVERIFY2(top.width() <= size / 8 + 1, qPrintable(QString::number(top.width())));
}

void TestAppIcon::peakWidensTowardTheBottom()
{
    QFETCH(int, size);
    const auto spans = yellowSpans(windowIcon(size));
    QVERIFY(!spans.empty());
    for (std::size_t i = 1; i < spans.size(); ++i) {
        const auto &[row, span] = spans[i];
        QVERIFY2(span.width() >= spans[i - 1].second.width(),
            qPrintable(QStringLiteral("row %1: %2..%3").arg(row).arg(span.first).arg(span.last)));
        // Symmetric about the middle line: one pixel off at most, as an odd line in an even icon.
        QVERIFY2(std::abs(span.centreTwice() - (size - 1)) <= 2,
            qPrintable(QStringLiteral("row %1: %2..%3").arg(row).arg(span.first).arg(span.last)));
    }
    QVERIFY2(4 * spans.back().second.width() >= 3 * size,
        qPrintable(QString::number(spans.back().second.width())));
}

void TestAppIcon::windowIconHoldsEverySizeAtThatSize()
{
    QFETCH(int, size);
    QVERIFY(shownWindowIcon().availableSizes().contains(QSize(size, size)));
    // Not another size scaled to fit: a 32 px line scaled up would be thicker than one pixel.
    QCOMPARE(windowIcon(size).size(), QSize(size, size));
}

// Windows shows lctune.exe's icon resource in Explorer and on shortcuts, and reads a 16-colour
// bitmap on every version; a PNG at 256 px, as Vista and later read it, keeps the file small.
void TestAppIcon::programIconIsTheWindowIconInSixteenColours()
{
    QFETCH(int, size);
    QFile file(QStringLiteral(LCTUNE_PROGRAM_ICON));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray ico = file.readAll();
    QImageReader reader(QStringLiteral(LCTUNE_PROGRAM_ICON));
    const int count = reader.imageCount();
    QCOMPARE(count, 6);
    for (int i = 0; i < count; ++i) {
        reader.jumpToImage(i);
        const QImage image = reader.read();
        if (image.width() != size)
            continue;
        // The directory entry: width, height, colour count, reserved, planes, bits per pixel.
        const auto entry = reinterpret_cast<const uchar *>(ico.constData()) + 6 + 16 * i;
        const int bits = entry[6] | entry[7] << 8;
        QCOMPARE(bits, size < 256 ? 4 : 8);
        QCOMPARE(image.convertToFormat(QImage::Format_RGB32),
            windowIcon(size).convertToFormat(QImage::Format_RGB32));
        return;
    }
    QFAIL("no icon of that size");
}

QTEST_MAIN(TestAppIcon)
#include "tst_app_icon.moc"
