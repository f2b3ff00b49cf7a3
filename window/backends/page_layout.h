#pragma once

#include <QImage>
#include <QPainter>
#include <QRectF>

#include <algorithm>

namespace window {

// A printer that prints up to the paper's edge still leaves this much white around the window.
inline constexpr double minimumMarginMm = 10.0;

// Draws the window's image at its true size (96 window pixels to the inch) at the top left of the
// printable area, given in the painter's coordinates at dotsPerInch; scaled down, whole and in
// proportion, where the area is too small. Lossless, so that the page keeps the window's colours.
inline void drawWindowOnPage(
    QPainter &painter, const QRectF &printable, double dotsPerInch, const QImage &window)
{
    const QSizeF trueSize = window.deviceIndependentSize() * dotsPerInch / 96.0;
    const double fit = std::min(
        { 1.0, printable.width() / trueSize.width(), printable.height() / trueSize.height() });
    painter.setRenderHint(QPainter::LosslessImageRendering);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(QRectF(printable.topLeft(), trueSize * fit), window);
}

} // namespace window
