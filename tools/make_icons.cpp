// SPDX-FileCopyrightText: The LC Tune developers
// SPDX-License-Identifier: MIT

// Writes the icon files that desktops and Windows need, all drawn by window::appIconImage():
// a hicolor tree of PNGs, a multi-size .ico and a preview sheet for reviewers.

#include "window/app_icon.h"

#include <QBuffer>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDataStream>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QSaveFile>

#include <cstdio>

namespace {

bool writeFile(const QString &path, const QByteArray &data)
{
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(data) == data.size() && file.commit();
}

QByteArray pngData(const QImage &image)
{
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return data;
}

// A 4-bit bitmap entry, which the icon's palette of at most 16 colours allows: BITMAPINFOHEADER,
// 16-entry colour table, colour rows bottom-up, then the AND mask (all zero: the icon is opaque).
// The header's height counts both bitmaps.
QByteArray dibData(const QImage &image)
{
    const int size = image.width();
    const int colourStride = (size * 4 + 31) / 32 * 4;
    const int maskStride = (size + 31) / 32 * 4;

    QByteArray data;
    QDataStream out(&data, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    out << quint32(40) << qint32(size) << qint32(2 * size) << quint16(1) << quint16(4) << quint32(0)
        << quint32((colourStride + maskStride) * size) << qint32(0) << qint32(0) << quint32(16)
        << quint32(0);
    for (int i = 0; i < 16; ++i) {
        const QRgb rgb = i < image.colorCount() ? image.color(i) : 0;
        out << quint8(qBlue(rgb)) << quint8(qGreen(rgb)) << quint8(qRed(rgb)) << quint8(0);
    }
    for (int y = size - 1; y >= 0; --y) {
        QByteArray row(colourStride, '\0');
        for (int x = 0; x < size; ++x)
            row[x / 2] = char(row[x / 2] | image.pixelIndex(x, y) << (x % 2 ? 0 : 4));
        out.writeRawData(row.constData(), row.size());
    }
    const QByteArray mask(maskStride * size, '\0');
    out.writeRawData(mask.constData(), mask.size());
    return data;
}

// Bitmaps up to 128 px, which every Windows reads; PNG at 256 px, which Vista and later read and
// which keeps the file small.
QByteArray icoData()
{
    struct Entry
    {
        int size;
        int bits;
        QByteArray data;
    };
    std::vector<Entry> entries;
    for (const int size : window::appIconSizes) {
        const QImage image = window::appIconImage(size);
        if (size < 256)
            entries.push_back({ size, 4, dibData(image) });
        else
            entries.push_back({ size, image.depth(), pngData(image) });
    }

    QByteArray data;
    QDataStream out(&data, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    out << quint16(0) << quint16(1) << quint16(entries.size());
    auto offset = quint32(6 + 16 * entries.size());
    for (const Entry &e : entries) {
        // A byte holds sizes up to 255; 0 stands for 256.
        const auto side = quint8(e.size % 256);
        out << side << side << quint8(e.bits == 4 ? 16 : 0) << quint8(0) << quint16(1)
            << quint16(e.bits) << quint32(e.data.size()) << offset;
        offset += quint32(e.data.size());
    }
    for (const Entry &e : entries)
        out.writeRawData(e.data.constData(), e.data.size());
    return data;
}

// Every size at its own size, then the 32 px icon at 8x with whole pixels as blocks.
QImage previewImage()
{
    constexpr int gap = 16;
    constexpr int zoom = 8;
    const int tallest = window::appIconSizes.back();
    int width = gap;
    for (const int size : window::appIconSizes)
        width += size + gap;
    width += 32 * zoom + gap;

    QImage sheet(width, tallest + 2 * gap, QImage::Format_RGB32);
    sheet.fill(QColor(0xF4, 0xF4, 0xF4));
    QPainter painter(&sheet);
    int x = gap;
    for (const int size : window::appIconSizes) {
        painter.drawImage(x, gap + tallest - size, window::appIconImage(size));
        x += size + gap;
    }
    painter.drawImage(x, gap,
        window::appIconImage(32).scaled(
            32 * zoom, 32 * zoom, Qt::IgnoreAspectRatio, Qt::FastTransformation));
    return sheet;
}

bool writeHicolor(const QString &directory)
{
    for (const int size : window::appIconSizes) {
        const QString apps = QStringLiteral("%1/%2x%2/apps").arg(directory).arg(size);
        if (!QDir().mkpath(apps)
            || !writeFile(apps + "/lctune.png", pngData(window::appIconImage(size))))
            return false;
    }
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription("Writes LC Tune's icon files.");
    parser.addHelpOption();
    const QCommandLineOption ico("ico", "Write a multi-size Windows icon to <file>.", "file");
    const QCommandLineOption preview(
        "preview", "Write a preview sheet of every size to <file>.", "file");
    parser.addOption(ico);
    parser.addOption(preview);
    parser.addPositionalArgument(
        "directory", "Write <directory>/<N>x<N>/apps/lctune.png.", "[directory]");
    parser.process(app);

    const QStringList directories = parser.positionalArguments();
    if (directories.size() > 1
        || (directories.isEmpty() && !parser.isSet(ico) && !parser.isSet(preview)))
        parser.showHelp(1);

    const auto fail = [](const QString &path) {
        std::fprintf(stderr, "make_icons: cannot write %s\n", qPrintable(path));
        return 1;
    };
    if (!directories.isEmpty() && !writeHicolor(directories.front()))
        return fail(directories.front());
    if (parser.isSet(ico) && !writeFile(parser.value(ico), icoData()))
        return fail(parser.value(ico));
    if (parser.isSet(preview) && !previewImage().save(parser.value(preview), "PNG"))
        return fail(parser.value(preview));
    return 0;
}
