#pragma once

#include <QColor>
#include <QPaintDevice>
#include <QPainterPath>

#include <functional>
#include <memory>

class QImage;
class QPainter;

namespace window {

class VectorEngine;

// What a picture painted on the canvas is drawn as instead: a shape in the canvas's coordinates
// filled with one colour. An empty shape leaves the picture out.
struct PictureShape
{
    QPainterPath shape;
    QColor colour;
};
using PictureToShape = std::function<PictureShape(const QImage &picture, const QRectF &target)>;

// A paint device that passes everything painted on it to another painter as opaque vector
// drawing, so that a page survives print systems that turn transparency into a picture of the
// page. A translucent colour becomes the opaque colour it gives over what lies below it, and a
// gradient a run of narrow solid bands; both are read from a raster copy of the canvas kept
// alongside. Pictures are never passed on.
class VectorCanvas : public QPaintDevice
{
public:
    VectorCanvas(QPainter &target, QSize size, PictureToShape pictures);
    ~VectorCanvas() override;

    QPaintEngine *paintEngine() const override;

protected:
    int metric(PaintDeviceMetric metric) const override;

private:
    std::unique_ptr<VectorEngine> m_engine;
    QSize m_size;
};

} // namespace window
