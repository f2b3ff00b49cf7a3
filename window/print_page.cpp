#include "window/print_page.h"

#include "window/circuit_picture.h"
#include "window/vector_canvas.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOption>

#include <algorithm>

namespace window {

namespace {

// A style draws a scroll bar's arrows from cached pictures, whatever the painter. Each comes back
// as the triangle it shows: its colour is the picture's most opaque pixel, its extent the pixels
// at least half as opaque, and its point on the side where fewest of them lie.
PictureShape arrowAsTriangle(const QImage &picture, const QRectF &target)
{
    const QImage image = picture.convertToFormat(QImage::Format_ARGB32);
    QRgb strongest = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (qAlpha(image.pixel(x, y)) > qAlpha(strongest))
                strongest = image.pixel(x, y);
        }
    }
    if (qAlpha(strongest) == 0)
        return {};
    auto covered = [&](int x, int y) { return 2 * qAlpha(image.pixel(x, y)) >= qAlpha(strongest); };
    QRect extent;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (covered(x, y))
                extent |= QRect(x, y, 1, 1);
        }
    }
    auto countRow = [&](int y) {
        int n = 0;
        for (int x = extent.left(); x <= extent.right(); ++x)
            n += covered(x, y);
        return n;
    };
    auto countColumn = [&](int x) {
        int n = 0;
        for (int y = extent.top(); y <= extent.bottom(); ++y)
            n += covered(x, y);
        return n;
    };
    const int top = countRow(extent.top());
    const int bottom = countRow(extent.bottom());
    const int left = countColumn(extent.left());
    const int right = countColumn(extent.right());
    const int fewest = std::min({ top, bottom, left, right });

    const qreal sx = target.width() / image.width();
    const qreal sy = target.height() / image.height();
    const QRectF r(target.x() + extent.x() * sx, target.y() + extent.y() * sy, extent.width() * sx,
        extent.height() * sy);
    QPolygonF triangle;
    if (fewest == top)
        triangle << r.bottomLeft() << r.bottomRight() << QPointF(r.center().x(), r.top());
    else if (fewest == bottom)
        triangle << r.topLeft() << r.topRight() << QPointF(r.center().x(), r.bottom());
    else if (fewest == left)
        triangle << r.topRight() << r.bottomRight() << QPointF(r.left(), r.center().y());
    else
        triangle << r.topLeft() << r.bottomLeft() << QPointF(r.right(), r.center().y());
    QPainterPath shape;
    shape.addPolygon(triangle);
    shape.closeSubpath();
    return { shape, QColor::fromRgba(strongest) };
}

// The painter as a widget's own paint event receives it.
void startLike(QPainter &painter, const QWidget &widget)
{
    painter.setPen(widget.palette().color(widget.foregroundRole()));
    painter.setBrush(Qt::NoBrush);
    painter.setBackground(widget.palette().brush(widget.backgroundRole()));
    QFont font = widget.font();
    // On a device of another resolution a point size would be measured twice.
    font.setPixelSize(widget.fontInfo().pixelSize());
    painter.setFont(font);
}

void paintLabel(QPainter &painter, const QLabel &label)
{
    QStyleOption option;
    option.initFrom(&label);
    const int margin = label.margin();
    const QRect area = label.contentsRect().adjusted(margin, margin, -margin, -margin);
    const int alignment = QStyle::visualAlignment(label.layoutDirection(), label.alignment());
    label.style()->drawItemText(&painter, area, alignment, option.palette, label.isEnabled(),
        label.text(), label.foregroundRole());
}

void paintLineEdit(QPainter &painter, const QLineEdit &box)
{
    QStyle *style = box.style();
    QStyleOptionFrame panel;
    panel.initFrom(&box);
    panel.rect = box.contentsRect();
    panel.lineWidth =
        box.hasFrame() ? style->pixelMetric(QStyle::PM_DefaultFrameWidth, &panel, &box) : 0;
    panel.midLineWidth = 0;
    panel.state |= QStyle::State_Sunken;
    if (box.isReadOnly())
        panel.state |= QStyle::State_ReadOnly;
    panel.features = QStyleOptionFrame::None;
    style->drawPrimitive(QStyle::PE_PanelLineEdit, &panel, &painter, &box);

    // The line edit's own layout: a 2-pixel margin at either side, the line centred between top
    // and bottom, and a text that fits placed by the alignment, the cursor's pixel included. One
    // that does not fit shows its beginning.
    const QRect area = style->subElementRect(QStyle::SE_LineEditContents, &panel, &box)
                           .marginsRemoved(box.textMargins());
    const QFontMetrics metrics = box.fontMetrics();
    constexpr int sideMargin = 2;
    const QRect line(area.x() + sideMargin, area.y() + (area.height() - metrics.height() + 1) / 2,
        area.width() - 2 * sideMargin, metrics.height());
    const QString text = box.displayText();
    const int used = metrics.horizontalAdvance(text) + 1;
    int shift = 0;
    if (used <= line.width()) {
        const Qt::Alignment horizontal =
            QStyle::visualAlignment(box.layoutDirection(), box.alignment())
            & Qt::AlignHorizontal_Mask;
        if (horizontal & Qt::AlignHCenter)
            shift = (used - line.width()) / 2;
        else if (horizontal & Qt::AlignRight)
            shift = used - line.width() + 1;
    }
    painter.save();
    painter.setClipRect(area, Qt::IntersectClip);
    painter.setPen(box.palette().text().color());
    painter.drawText(QPointF(line.x() - shift, line.y() + metrics.ascent()), text);
    painter.restore();
}

void paintGroupBox(QPainter &painter, const QGroupBox &box)
{
    QStyle *style = box.style();
    QStyleOptionGroupBox option;
    option.initFrom(&box);
    option.text = box.title();
    option.lineWidth = 1;
    option.midLineWidth = 0;
    option.textAlignment = box.alignment();
    option.subControls = QStyle::SC_GroupBoxFrame;
    if (box.isFlat())
        option.features |= QStyleOptionFrame::Flat;
    if (box.isCheckable()) {
        option.subControls |= QStyle::SC_GroupBoxCheckBox;
        option.state |= box.isChecked() ? QStyle::State_On : QStyle::State_Off;
    }
    if (!box.title().isEmpty())
        option.subControls |= QStyle::SC_GroupBoxLabel;
    // As the group box does: the style's caption colour only where the palette sets none.
    const auto group = box.isEnabled() ? QPalette::Active : QPalette::Disabled;
    if (!option.palette.isBrushSet(group, QPalette::WindowText))
        option.textColor = QColor::fromRgba(
            QRgb(style->styleHint(QStyle::SH_GroupBox_TextLabelColor, &option, &box)));
    style->drawComplexControl(QStyle::CC_GroupBox, &option, &painter, &box);
}

void paintScrollBar(QPainter &painter, const QScrollBar &bar)
{
    QStyleOptionSlider option;
    option.initFrom(&bar);
    option.subControls = QStyle::SC_All;
    option.activeSubControls = QStyle::SC_None;
    option.orientation = bar.orientation();
    option.minimum = bar.minimum();
    option.maximum = bar.maximum();
    option.sliderPosition = bar.sliderPosition();
    option.sliderValue = bar.value();
    option.singleStep = bar.singleStep();
    option.pageStep = bar.pageStep();
    option.upsideDown = bar.invertedAppearance();
    if (bar.orientation() == Qt::Horizontal)
        option.state |= QStyle::State_Horizontal;
    if (bar.isSliderDown()) {
        option.activeSubControls = QStyle::SC_ScrollBarSlider;
        option.state |= QStyle::State_Sunken;
    }
    bar.style()->drawComplexControl(QStyle::CC_ScrollBar, &option, &painter, &bar);
}

// What a button's own option would carry; the buttons here have no icon, which a style would
// draw as a picture.
QStyleOptionButton buttonOption(const QAbstractButton &button)
{
    QStyleOptionButton option;
    option.initFrom(&button);
    option.text = button.text();
    option.icon = button.icon();
    option.iconSize = button.iconSize();
    if (button.isDown())
        option.state |= QStyle::State_Sunken;
    return option;
}

void paintPushButton(QPainter &painter, const QPushButton &button)
{
    QStyleOptionButton option = buttonOption(button);
    option.features = QStyleOptionButton::None;
    if (button.isFlat())
        option.features |= QStyleOptionButton::Flat;
    if (button.menu())
        option.features |= QStyleOptionButton::HasMenu;
    if (button.autoDefault())
        option.features |= QStyleOptionButton::AutoDefaultButton;
    if (button.isDefault())
        option.features |= QStyleOptionButton::DefaultButton;
    if (button.isChecked())
        option.state |= QStyle::State_On;
    if (!button.isFlat() && !button.isDown())
        option.state |= QStyle::State_Raised;
    button.style()->drawControl(QStyle::CE_PushButton, &option, &painter, &button);
}

void paintCheckBox(QPainter &painter, const QCheckBox &box)
{
    QStyleOptionButton option = buttonOption(box);
    if (box.isTristate() && box.checkState() == Qt::PartiallyChecked)
        option.state |= QStyle::State_NoChange;
    else
        option.state |= box.isChecked() ? QStyle::State_On : QStyle::State_Off;
    box.style()->drawControl(QStyle::CE_CheckBox, &option, &painter, &box);
}

void paintRadioButton(QPainter &painter, const QRadioButton &button)
{
    QStyleOptionButton option = buttonOption(button);
    option.state |= button.isChecked() ? QStyle::State_On : QStyle::State_Off;
    button.style()->drawControl(QStyle::CE_RadioButton, &option, &painter, &button);
}

void paintControl(QPainter &painter, const QWidget &widget)
{
    if (auto *label = qobject_cast<const QLabel *>(&widget))
        paintLabel(painter, *label);
    else if (auto *box = qobject_cast<const QLineEdit *>(&widget))
        paintLineEdit(painter, *box);
    else if (auto *frame = qobject_cast<const QGroupBox *>(&widget))
        paintGroupBox(painter, *frame);
    else if (auto *bar = qobject_cast<const QScrollBar *>(&widget))
        paintScrollBar(painter, *bar);
    else if (auto *button = qobject_cast<const QPushButton *>(&widget))
        paintPushButton(painter, *button);
    else if (auto *check = qobject_cast<const QCheckBox *>(&widget))
        paintCheckBox(painter, *check);
    else if (auto *option = qobject_cast<const QRadioButton *>(&widget))
        paintRadioButton(painter, *option);
}

void paintBackground(QPainter &painter, const QWidget &widget)
{
    if (widget.autoFillBackground())
        painter.fillRect(widget.rect(), widget.palette().brush(widget.backgroundRole()));
}

// Children after their parent and in stacking order, the topmost last, as the screen has them.
void paintChildren(QPainter &painter, const QWidget &parent)
{
    for (const QObject *object : parent.children()) {
        auto *child = qobject_cast<const QWidget *>(object);
        if (!child || child->isWindow() || child->isHidden())
            continue;
        painter.save();
        painter.translate(child->pos());
        painter.setClipRect(child->rect(), Qt::IntersectClip);
        paintBackground(painter, *child);
        startLike(painter, *child);
        paintControl(painter, *child);
        paintChildren(painter, *child);
        painter.restore();
    }
}

} // namespace

void paintWindow(QPainter &painter, const QWidget &window)
{
    VectorCanvas canvas(painter, window.size(), arrowAsTriangle);
    QPainter onCanvas(&canvas);
    // Qt's styles paint some parts (Fusion's button faces) into a cached picture whenever the
    // painter only moves or scales. A shear of a billionth, far below a printer dot, keeps them
    // vectors; it moves every point right and down, never left or up, so that edges on whole
    // pixels stay on the pixels the screen gives them.
    constexpr qreal shear = 1e-9;
    onCanvas.setWorldTransform(QTransform(1, shear, shear, 1, 0, 0));
    onCanvas.setClipRect(window.rect());
    paintBackground(onCanvas, window);
    paintCircuit(onCanvas);
    paintChildren(onCanvas, window);
}

void paintWindowOnPage(QPainter &painter, const QWidget &window, const QRectF &printable)
{
    const QPaintDevice *device = painter.device();
    painter.save();
    painter.translate(printable.topLeft());
    painter.scale(
        device->logicalDpiX() / windowPixelsPerInch, device->logicalDpiY() / windowPixelsPerInch);
    paintWindow(painter, window);
    painter.restore();
}

} // namespace window
