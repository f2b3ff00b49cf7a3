#include "window/vector_canvas.h"

#include <QImage>
#include <QPaintEngine>
#include <QPainter>
#include <QPolygonF>

#include <algorithm>
#include <climits>
#include <cmath>
#include <map>
#include <optional>

namespace window {

namespace {

// The raster copy is this much finer than the canvas: a band of a gradient is half a pixel wide.
constexpr qreal shadowScale = 2;
constexpr int canvasDpi = 96;

using Draw = std::function<void(QPainter &)>;

bool isOpaque(const QBrush &brush)
{
    return brush.style() == Qt::NoBrush
        || (brush.style() == Qt::SolidPattern && brush.color().alpha() == 255);
}

// The colour that one band of a drawing gives, averaged over the pixels it covers.
struct Mix
{
    double red = 0;
    double green = 0;
    double blue = 0;
    double weight = 0;

    void add(double r, double g, double b, double w)
    {
        red += r * w;
        green += g * w;
        blue += b * w;
        weight += w;
    }
    QColor colour() const
    {
        auto channel = [this](double sum) {
            return std::clamp(int(std::lround(sum / weight)), 0, 255);
        };
        return QColor(channel(red), channel(green), channel(blue));
    }
};

// The direction a linear gradient runs in, in the raster copy's pixels.
struct Axis
{
    QPointF origin;
    QPointF unit;
};

double dot(QPointF a, QPointF b)
{
    return a.x() * b.x() + a.y() * b.y();
}

} // namespace

class VectorEngine : public QPaintEngine
{
public:
    VectorEngine(QPainter &target, QSize size, PictureToShape pictures)
        : QPaintEngine(AllFeatures),
          m_target(target),
          m_size(size),
          m_pictures(std::move(pictures))
    {
    }

    bool begin(QPaintDevice *) override;
    bool end() override;
    Type type() const override { return User; }
    void updateState(const QPaintEngineState &state) override;

    using QPaintEngine::drawEllipse;
    using QPaintEngine::drawLines;
    using QPaintEngine::drawPoints;
    using QPaintEngine::drawPolygon;
    using QPaintEngine::drawRects;

    void drawRects(const QRectF *rects, int count) override;
    void drawLines(const QLineF *lines, int count) override;
    void drawEllipse(const QRectF &rect) override;
    void drawPath(const QPainterPath &path) override;
    void drawPoints(const QPointF *points, int count) override;
    void drawPolygon(const QPointF *points, int count, PolygonDrawMode mode) override;
    void drawTextItem(const QPointF &origin, const QTextItem &item) override;
    void drawPixmap(const QRectF &target, const QPixmap &pixmap, const QRectF &source) override;
    void drawImage(const QRectF &target, const QImage &image, const QRectF &source,
        Qt::ImageConversionFlags flags) override;

private:
    void paint(const QRectF &bounds, bool usesBrush, const Draw &draw);
    void paintPart(
        const QRectF &bounds, const Draw &draw, const QPen &pen, const QBrush &brush, bool flatten);
    void applyState(QPainter &painter, const QTransform &toDevice, const QPen &pen,
        const QBrush &brush, qreal opacity, QPainter::CompositionMode mode) const;
    QPen pagePen(const QPen &pen) const;
    QRect shadowArea(const QRectF &bounds, const QPen &pen) const;
    QImage coverageOf(
        const QRect &area, const Draw &draw, const QPen &pen, const QBrush &brush) const;
    std::optional<Axis> gradientAxis(const QBrush &brush) const;
    void clip(const QPainterPath &path, Qt::ClipOperation operation);

    QPainter &m_target;
    QSize m_size;
    PictureToShape m_pictures;
    QTransform m_origin;
    qreal m_baseOpacity = 1;
    QImage m_shadow;
    QPainter m_shadowPainter;

    QTransform m_transform;
    QPen m_pen;
    QBrush m_brush;
    QPointF m_brushOrigin;
    QBrush m_background;
    Qt::BGMode m_backgroundMode = Qt::TransparentMode;
    QPainter::RenderHints m_hints;
    qreal m_opacity = 1;
    QPainter::CompositionMode m_composition = QPainter::CompositionMode_SourceOver;
    // In the canvas's coordinates, so that later transforms do not move it.
    QPainterPath m_clip;
    bool m_hasClip = false;
    bool m_clipEnabled = false;
};

bool VectorEngine::begin(QPaintDevice *)
{
    m_origin = m_target.worldTransform();
    m_baseOpacity = m_target.opacity();
    m_shadow = QImage(m_size * shadowScale, QImage::Format_RGB32);
    m_shadow.fill(Qt::white);
    return m_shadowPainter.begin(&m_shadow);
}

bool VectorEngine::end()
{
    return m_shadowPainter.end();
}

void VectorEngine::updateState(const QPaintEngineState &state)
{
    const DirtyFlags dirty = state.state();
    // A clip replayed after a restore comes with the transform it was set under.
    if (dirty & DirtyTransform)
        m_transform = state.transform();
    if (dirty & DirtyPen)
        m_pen = state.pen();
    if (dirty & DirtyBrush)
        m_brush = state.brush();
    if (dirty & DirtyBrushOrigin)
        m_brushOrigin = state.brushOrigin();
    if (dirty & DirtyBackground)
        m_background = state.backgroundBrush();
    if (dirty & DirtyBackgroundMode)
        m_backgroundMode = state.backgroundMode();
    if (dirty & DirtyHints)
        m_hints = state.renderHints();
    if (dirty & DirtyOpacity)
        m_opacity = state.opacity();
    if (dirty & DirtyCompositionMode)
        m_composition = state.compositionMode();
    if (dirty & DirtyClipRegion) {
        QPainterPath path;
        path.addRegion(state.clipRegion());
        clip(path, state.clipOperation());
    }
    if (dirty & DirtyClipPath)
        clip(state.clipPath(), state.clipOperation());
    if (dirty & DirtyClipEnabled)
        m_clipEnabled = state.isClipEnabled();
}

void VectorEngine::clip(const QPainterPath &path, Qt::ClipOperation operation)
{
    if (operation == Qt::NoClip) {
        m_hasClip = false;
        m_clip = QPainterPath();
        return;
    }
    const QPainterPath onCanvas = m_transform.map(path);
    m_clip = operation == Qt::IntersectClip && m_hasClip ? m_clip.intersected(onCanvas) : onCanvas;
    m_hasClip = true;
}

void VectorEngine::drawRects(const QRectF *rects, int count)
{
    QRectF bounds;
    for (int i = 0; i < count; ++i)
        bounds |= rects[i].normalized();
    paint(bounds, true, [=](QPainter &p) { p.drawRects(rects, count); });
}

void VectorEngine::drawLines(const QLineF *lines, int count)
{
    QRectF bounds;
    for (int i = 0; i < count; ++i)
        bounds |= QRectF(lines[i].p1(), lines[i].p2()).normalized();
    paint(bounds, false, [=](QPainter &p) { p.drawLines(lines, count); });
}

void VectorEngine::drawEllipse(const QRectF &rect)
{
    paint(rect.normalized(), true, [=](QPainter &p) { p.drawEllipse(rect); });
}

void VectorEngine::drawPath(const QPainterPath &path)
{
    paint(path.controlPointRect(), true, [&](QPainter &p) { p.drawPath(path); });
}

void VectorEngine::drawPoints(const QPointF *points, int count)
{
    const QRectF bounds = QPolygonF(QList<QPointF>(points, points + count)).boundingRect();
    paint(bounds, false, [=](QPainter &p) { p.drawPoints(points, count); });
}

void VectorEngine::drawPolygon(const QPointF *points, int count, PolygonDrawMode mode)
{
    const QRectF bounds = QPolygonF(QList<QPointF>(points, points + count)).boundingRect();
    paint(bounds, mode != PolylineMode, [=](QPainter &p) {
        switch (mode) {
        case PolylineMode:
            p.drawPolyline(points, count);
            break;
        case ConvexMode:
            p.drawConvexPolygon(points, count);
            break;
        case WindingMode:
            p.drawPolygon(points, count, Qt::WindingFill);
            break;
        case OddEvenMode:
            p.drawPolygon(points, count, Qt::OddEvenFill);
            break;
        }
    });
}

void VectorEngine::drawTextItem(const QPointF &origin, const QTextItem &item)
{
    QFont font = item.font();
    // A point size would be measured again at the target's resolution.
    if (font.pixelSize() <= 0)
        font.setPixelSize(qRound(font.pointSizeF() * canvasDpi / 72));
    const QString text = item.text();
    const QRectF bounds(
        origin.x(), origin.y() - item.ascent(), item.width(), item.ascent() + item.descent());
    paint(bounds.adjusted(-2, -2, 2, 2), false, [&](QPainter &p) {
        p.setFont(font);
        p.drawText(origin, text);
    });
}

void VectorEngine::drawPixmap(const QRectF &target, const QPixmap &pixmap, const QRectF &source)
{
    drawImage(target, pixmap.toImage(), source, Qt::AutoColor);
}

void VectorEngine::drawImage(
    const QRectF &target, const QImage &image, const QRectF &source, Qt::ImageConversionFlags)
{
    const PictureShape replacement =
        m_pictures(image.copy(source.toAlignedRect()), m_transform.mapRect(target));
    if (replacement.shape.isEmpty())
        return;
    // The shape is in the canvas's coordinates and is drawn as any other filled shape.
    const QTransform transform = m_transform;
    const QPen pen = m_pen;
    const QBrush brush = m_brush;
    const QPainter::RenderHints hints = m_hints;
    m_transform = QTransform();
    m_pen = Qt::NoPen;
    m_brush = replacement.colour;
    m_hints |= QPainter::Antialiasing;
    paint(replacement.shape.boundingRect(), true,
        [&](QPainter &p) { p.drawPath(replacement.shape); });
    m_transform = transform;
    m_pen = pen;
    m_brush = brush;
    m_hints = hints;
}

void VectorEngine::paint(const QRectF &bounds, bool usesBrush, const Draw &draw)
{
    const QPen pen = pagePen(m_pen);
    const QBrush brush = usesBrush ? m_brush : QBrush();
    const bool blends = m_opacity < 1 || m_composition != QPainter::CompositionMode_SourceOver;
    const bool strokes = pen.style() != Qt::NoPen;
    const bool fills = brush.style() != Qt::NoBrush;
    if (!blends && (!strokes || isOpaque(pen.brush())) && isOpaque(brush)) {
        paintPart(bounds, draw, pen, brush, false);
        return;
    }
    // The fill first, then the outline, as QPainter does.
    if (fills)
        paintPart(bounds, draw, Qt::NoPen, brush, blends || !isOpaque(brush));
    if (strokes)
        paintPart(bounds, draw, pen, Qt::NoBrush, blends || !isOpaque(pen.brush()));
}

void VectorEngine::paintPart(
    const QRectF &bounds, const Draw &draw, const QPen &pen, const QBrush &brush, bool flatten)
{
    const auto onShadow = [&] {
        m_shadowPainter.save();
        applyState(m_shadowPainter, QTransform::fromScale(shadowScale, shadowScale), pen, brush,
            m_opacity, m_composition);
        draw(m_shadowPainter);
        m_shadowPainter.restore();
    };
    if (!flatten) {
        onShadow();
        m_target.save();
        applyState(m_target, m_origin, pen, brush, m_baseOpacity, m_composition);
        draw(m_target);
        m_target.restore();
        return;
    }

    const QRect area = shadowArea(bounds, pen);
    if (area.isEmpty())
        return;
    const QImage before = m_shadow.copy(area);
    onShadow();
    const QImage after = m_shadow.copy(area);
    const QImage coverage = coverageOf(area, draw, pen, brush);
    const std::optional<Axis> axis = gradientAxis(pen.style() == Qt::NoPen ? brush : pen.brush());

    // Where the drawing covers a pixel by c, the raster copy went from `before` to `after`; the
    // opaque colour that does the same is (after - before * (1 - c)) / c. Pixels covered by half
    // or more give it without much rounding; a thinner drawing uses those covered by an eighth,
    // and one thinner still cannot be seen.
    std::map<int, Mix> bands;
    for (int threshold : { 128, 32 }) {
        for (int y = 0; y < area.height(); ++y) {
            for (int x = 0; x < area.width(); ++x) {
                const int c = qAlpha(coverage.pixel(x, y));
                if (c < threshold)
                    continue;
                const QRgb was = before.pixel(x, y);
                const QRgb is = after.pixel(x, y);
                auto solid = [c](int now, int then) {
                    return (now * 255.0 - then * (255.0 - c)) / c;
                };
                const int band = axis ? int(std::floor(dot(
                                     QPointF(area.x() + x + 0.5, area.y() + y + 0.5) - axis->origin,
                                     axis->unit)))
                                      : 0;
                bands[band].add(solid(qRed(is), qRed(was)), solid(qGreen(is), qGreen(was)),
                    solid(qBlue(is), qBlue(was)), c);
            }
        }
        if (!bands.empty())
            break;
    }

    // Each band is drawn over everything from its start on, so that the bands meet without seams.
    bool first = true;
    for (const auto &[band, mix] : bands) {
        const QColor colour = mix.colour();
        m_target.save();
        if (axis && !first) {
            const QPointF start = axis->origin + axis->unit * band;
            const QPointF across(-axis->unit.y(), axis->unit.x());
            constexpr qreal far = 1e5;
            const QPolygonF half { start - across * far, start + across * far,
                start + across * far + axis->unit * far, start - across * far + axis->unit * far };
            QPainterPath onCanvas;
            onCanvas.addPolygon(QTransform::fromScale(1 / shadowScale, 1 / shadowScale).map(half));
            m_target.setWorldTransform(m_origin);
            m_target.setClipPath(onCanvas, Qt::IntersectClip);
        }
        QPen solidPen = pen;
        if (pen.style() != Qt::NoPen)
            solidPen.setBrush(colour);
        const QBrush solidBrush = brush.style() == Qt::NoBrush ? QBrush() : QBrush(colour);
        applyState(m_target, m_origin, solidPen, solidBrush, m_baseOpacity,
            QPainter::CompositionMode_SourceOver);
        draw(m_target);
        m_target.restore();
        first = false;
    }
}

void VectorEngine::applyState(QPainter &painter, const QTransform &toDevice, const QPen &pen,
    const QBrush &brush, qreal opacity, QPainter::CompositionMode mode) const
{
    if (m_clipEnabled && m_hasClip) {
        painter.setWorldTransform(toDevice);
        painter.setClipPath(m_clip, Qt::IntersectClip);
    }
    painter.setWorldTransform(m_transform * toDevice);
    painter.setPen(pen);
    painter.setBrush(brush);
    painter.setBrushOrigin(m_brushOrigin);
    painter.setBackground(m_background);
    painter.setBackgroundMode(m_backgroundMode);
    painter.setRenderHints(painter.renderHints(), false);
    painter.setRenderHints(m_hints);
    painter.setOpacity(opacity);
    painter.setCompositionMode(mode);
}

// A cosmetic pen is as wide as the canvas's pixels say, not one dot of the printer.
QPen VectorEngine::pagePen(const QPen &pen) const
{
    if (!pen.isCosmetic() || pen.style() == Qt::NoPen)
        return pen;
    QPen onPage = pen;
    onPage.setCosmetic(false);
    const qreal scale = std::sqrt(std::abs(m_transform.determinant()));
    onPage.setWidthF(std::max<qreal>(pen.widthF(), 1) / (scale > 0 ? scale : 1));
    return onPage;
}

QRect VectorEngine::shadowArea(const QRectF &bounds, const QPen &pen) const
{
    const QTransform toShadow = m_transform * QTransform::fromScale(shadowScale, shadowScale);
    qreal margin = 2;
    // Joins may reach a whole pen width beyond the outline.
    if (pen.style() != Qt::NoPen)
        margin += std::max<qreal>(pen.widthF(), 1) * std::sqrt(std::abs(toShadow.determinant()));
    const QRectF area = toShadow.mapRect(bounds).adjusted(-margin, -margin, margin, margin);
    return area.toAlignedRect() & m_shadow.rect();
}

// How much of each pixel of an area of the raster copy the drawing covers, as alpha.
QImage VectorEngine::coverageOf(
    const QRect &area, const Draw &draw, const QPen &pen, const QBrush &brush) const
{
    QImage coverage(area.size(), QImage::Format_ARGB32_Premultiplied);
    coverage.fill(Qt::transparent);
    QPainter painter(&coverage);
    QPen white = pen;
    if (pen.style() != Qt::NoPen)
        white.setBrush(Qt::white);
    const QBrush whiteBrush = brush.style() == Qt::NoBrush ? QBrush() : QBrush(Qt::white);
    applyState(painter,
        QTransform::fromScale(shadowScale, shadowScale)
            * QTransform::fromTranslate(-area.x(), -area.y()),
        white, whiteBrush, 1, QPainter::CompositionMode_SourceOver);
    draw(painter);
    return coverage;
}

std::optional<Axis> VectorEngine::gradientAxis(const QBrush &brush) const
{
    const QGradient *gradient = brush.gradient();
    if (!gradient || gradient->type() != QGradient::LinearGradient
        || gradient->coordinateMode() != QGradient::LogicalMode)
        return std::nullopt;
    const auto *linear = static_cast<const QLinearGradient *>(gradient);
    const QTransform toShadow =
        brush.transform() * m_transform * QTransform::fromScale(shadowScale, shadowScale);
    const QPointF start = toShadow.map(linear->start());
    const QPointF run = toShadow.map(linear->finalStop()) - start;
    const double length = std::hypot(run.x(), run.y());
    if (length < 0.5)
        return std::nullopt;
    return Axis { start, run / length };
}

VectorCanvas::VectorCanvas(QPainter &target, QSize size, PictureToShape pictures)
    : m_engine(std::make_unique<VectorEngine>(target, size, std::move(pictures))),
      m_size(size)
{
}

VectorCanvas::~VectorCanvas() = default;

QPaintEngine *VectorCanvas::paintEngine() const
{
    return m_engine.get();
}

int VectorCanvas::metric(PaintDeviceMetric metric) const
{
    const auto millimetres = [](int pixels) { return qRound(pixels * 25.4 / canvasDpi); };
    switch (metric) {
    case PdmWidth:
        return m_size.width();
    case PdmHeight:
        return m_size.height();
    case PdmWidthMM:
        return millimetres(m_size.width());
    case PdmHeightMM:
        return millimetres(m_size.height());
    case PdmNumColors:
        return INT_MAX;
    case PdmDepth:
        return 32;
    case PdmDpiX:
    case PdmDpiY:
    case PdmPhysicalDpiX:
    case PdmPhysicalDpiY:
        return canvasDpi;
    case PdmDevicePixelRatio:
        return 1;
    default:
        return QPaintDevice::metric(metric);
    }
}

} // namespace window
