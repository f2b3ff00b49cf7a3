// SPDX-FileCopyrightText: The LC Tune developers
// SPDX-License-Identifier: MIT

#include "window/circuit_picture.h"

#include "window/form_table.h"
#include "window/look.h"

#include <QPainter>

#include <algorithm>
#include <ranges>

namespace window {

namespace {

QPointF pixels(int x, int y)
{
    return { x / double(twipsPerPixel), y / double(twipsPerPixel) };
}

QPen outline(const ControlRow &row)
{
    QPen pen(toQColor(row.fore), row.penPixels);
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::MiterJoin);
    return pen;
}

QBrush fill(const ControlRow &row)
{
    return row.back == noFill ? QBrush(Qt::NoBrush) : QBrush(toQColor(row.back));
}

// A shape's outline lies inside its box, so a wider outline grows inward.
QRectF insideBox(const ControlRow &row)
{
    const auto &place = std::get<Box>(row.place);
    const QRectF box(
        pixels(place.left, place.top), pixels(place.left + place.width, place.top + place.height));
    const double half = row.penPixels / 2.0;
    return box.adjusted(half, half, -half, -half);
}

QRectF largestCentredCircle(const QRectF &box)
{
    const double diameter = std::min(box.width(), box.height());
    QRectF circle(0, 0, diameter, diameter);
    circle.moveCenter(box.center());
    return circle;
}

void paintElement(QPainter &painter, const ControlRow &row)
{
    painter.setPen(outline(row));
    painter.setBrush(fill(row));
    // Straight edges stay pixel-exact in their colours; only the rings need smoothing.
    painter.setRenderHint(QPainter::Antialiasing, row.kind == Kind::Circle);
    switch (row.kind) {
    case Kind::Line: {
        const auto &line = std::get<Segment>(row.place);
        painter.drawLine(pixels(line.x1, line.y1), pixels(line.x2, line.y2));
        break;
    }
    case Kind::Rectangle:
        painter.drawRect(insideBox(row));
        break;
    case Kind::Circle:
        painter.drawEllipse(largestCentredCircle(insideBox(row)));
        break;
    default:
        break;
    }
}

} // namespace

void paintCircuit(QPainter &painter)
{
    painter.save();
    for (const ControlRow &row : formTable | std::views::reverse) {
        if (isPicture(row.kind))
            paintElement(painter, row);
    }
    painter.restore();
}

} // namespace window
