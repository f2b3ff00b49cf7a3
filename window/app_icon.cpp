// SPDX-FileCopyrightText: The LC Tune developers
// SPDX-License-Identifier: MIT

#include "window/app_icon.h"

#include <QPixmap>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

enum Ink { Frame, Screen, Grid, GlowOnScreen, GlowOnGrid, Trace, InkCount };

// One palette for every size. The glow inks are the trace half blended into what lies beneath
// it, a phosphor fringe that smooths the curve at large sizes without leaving the palette.
constexpr std::array<QRgb, InkCount> palette {
    qRgb(0x90, 0x90, 0x90), // Frame
    qRgb(0x00, 0x38, 0x14), // Screen
    qRgb(0x20, 0xD0, 0x40), // Grid
    qRgb(0x80, 0x9C, 0x5A), // GlowOnScreen
    qRgb(0x90, 0xE8, 0x70), // GlowOnGrid
    qRgb(0xFF, 0xFF, 0xA0), // Trace
};

struct Point
{
    double x;
    double y;
};

// All in pixels of the one size being drawn; pixel (x, y) has its centre at (x + 0.5, y + 0.5).
struct Layout
{
    int frame;
    int line;
    int gridX;
    std::array<int, 3> gridY;
    double peakX;
    double peakY;
    double baseY;
    double halfWidth;
    double core;
    double glow;
};

Layout layoutFor(int size)
{
    Layout l {};
    // Frame and grid lines grow more slowly than the icon, so they stay thin at every size.
    l.frame = std::max(1, static_cast<int>(std::lround(size / 40.0)));
    l.line = std::max(1, size / 64);
    const int inner = size - 2 * l.frame;
    const int spacing = static_cast<int>(std::lround(inner / 4.0));
    l.gridX = size / 2 - l.line / 2;
    l.gridY = { l.gridX - spacing, l.gridX, l.gridX + spacing };

    // Two pixels wide at 32 px, so that the peak's top is solid rather than a hollow loop.
    l.core = 0.5 + size * 0.018;
    // Up to 32 px a fringe would only blur the curve; above, one pixel of it smooths the edges.
    l.glow = size > 32 ? l.core + 1.0 : l.core;
    l.peakX = l.gridX + l.line / 2.0;
    l.peakY = l.frame + std::max(1.0, size * 0.06) + l.core;
    // The tails run between the lowest grid line and the frame, centred on a pixel row so that
    // they stay crisp.
    const int belowGrid = l.gridY[2] + l.line;
    l.baseY = std::floor((belowGrid + size - l.frame) / 2.0) + 0.5;
    l.halfWidth = inner / 9.0;
    return l;
}

double distanceToSegment(Point p, Point a, Point b)
{
    const double dx = b.x - a.x;
    const double dy = b.y - a.y;
    const double along = ((p.x - a.x) * dx + (p.y - a.y) * dy) / (dx * dx + dy * dy);
    const double t = std::clamp(along, 0.0, 1.0);
    const double ex = p.x - a.x - t * dx;
    const double ey = p.y - a.y - t * dy;
    return std::sqrt(ex * ex + ey * ey);
}

// The Lorentzian resonance curve as a polyline with steps much shorter than a pixel, so that the
// steep flanks come out as smooth as the tails.
class Curve
{
public:
    Curve(const Layout &l, int size, double reach) : m_firstX(l.frame - reach), m_reach(reach)
    {
        const double lastX = size - l.frame + reach;
        const auto count = static_cast<std::size_t>((lastX - m_firstX) / step) + 2;
        m_points.reserve(count);
        for (std::size_t i = 0; i < count; ++i) {
            const double x = m_firstX + i * step;
            const double u = (x - l.peakX) / l.halfWidth;
            m_points.push_back({ x, l.baseY - (l.baseY - l.peakY) / (1.0 + u * u) });
        }
        m_columns.reserve(static_cast<std::size_t>(size));
        for (int x = 0; x < size; ++x)
            m_columns.push_back(columnFor(x + 0.5));
    }

    // From the centre of pixel (x, y), capped at the reach given: nothing beyond it is drawn.
    double distance(int x, int y) const
    {
        const Point p { x + 0.5, y + 0.5 };
        const Column &column = m_columns[static_cast<std::size_t>(x)];
        // Most pixels of a column lie farther above or below every segment near it than the
        // reach; measuring each segment for them made the icon the slowest part of start-up.
        if (p.y < column.lowestY - m_reach || p.y > column.highestY + m_reach)
            return m_reach;
        // From the segment straight above or below the pixel outwards, until the segments lie
        // farther off in x than the nearest one found.
        double best = m_reach;
        const auto measure = [&](std::size_t i) {
            const Point a = m_points[i];
            const Point b = m_points[i + 1];
            // Nor can a segment that lies wholly above or below the pixel by more than the best
            // distance so far.
            if ((p.y - a.y) * (p.y - b.y) > 0
                && std::min(std::abs(p.y - a.y), std::abs(p.y - b.y)) > best + slack)
                return;
            best = std::min(best, distanceToSegment(p, a, b));
        };
        measure(column.centre);
        for (auto i = column.centre; i > column.first && m_points[i].x >= p.x - best - slack;)
            measure(--i);
        for (auto i = column.centre + 1; i < column.last && m_points[i].x <= p.x + best + slack;
             ++i)
            measure(i);
        return best;
    }

private:
    // The segments within the reach of a column's centre in x (first to last, and the one at
    // the centre), and the span in y of their points.
    struct Column
    {
        std::size_t first;
        std::size_t last;
        std::size_t centre;
        double lowestY;
        double highestY;
    };

    Column columnFor(double centreX) const
    {
        const auto lastSegment = static_cast<std::ptrdiff_t>(m_points.size()) - 2;
        const auto segment = [&](double x) {
            return static_cast<std::size_t>(
                std::clamp(static_cast<std::ptrdiff_t>(std::floor((x - m_firstX) / step)),
                    std::ptrdiff_t(0), lastSegment));
        };
        Column column { segment(centreX - m_reach), segment(centreX + m_reach) + 1,
            segment(centreX), 0, 0 };
        const auto [lowest, highest] =
            std::minmax_element(m_points.begin() + column.first, m_points.begin() + column.last + 1,
                [](const Point &a, const Point &b) { return a.y < b.y; });
        column.lowestY = lowest->y;
        column.highestY = highest->y;
        return column;
    }

    static constexpr double step = 0.125;
    // Far more than rounding can move a distance, far less than a pixel.
    static constexpr double slack = 1.0 / 1024;
    double m_firstX;
    double m_reach;
    std::vector<Point> m_points;
    std::vector<Column> m_columns;
};

} // namespace

namespace window {

QImage appIconImage(int size)
{
    const Layout l = layoutFor(size);
    QImage image(size, size, QImage::Format_Indexed8);
    image.setColorTable(QList<QRgb>(palette.begin(), palette.end()));

    const double reach = l.glow + 1.0;
    const Curve curve(l, size, reach);
    const auto onLine = [&](int pos, int start) { return pos >= start && pos < start + l.line; };

    for (int y = 0; y < size; ++y) {
        const bool gridRow =
            std::any_of(l.gridY.begin(), l.gridY.end(), [&](int row) { return onLine(y, row); });
        uchar *row = image.scanLine(y);
        for (int x = 0; x < size; ++x) {
            const int edge = std::min({ x, y, size - 1 - x, size - 1 - y });
            Ink ink = Frame;
            if (edge >= l.frame) {
                const bool grid = gridRow || onLine(x, l.gridX);
                const double d = curve.distance(x, y);
                if (d <= l.core)
                    ink = Trace;
                else if (d <= l.glow)
                    ink = grid ? GlowOnGrid : GlowOnScreen;
                else
                    ink = grid ? Grid : Screen;
            }
            row[x] = static_cast<uchar>(ink);
        }
    }
    return image;
}

QIcon appIcon(std::span<const int> sizes)
{
    QIcon icon;
    for (const int size : sizes)
        icon.addPixmap(QPixmap::fromImage(appIconImage(size)));
    return icon;
}

} // namespace window
