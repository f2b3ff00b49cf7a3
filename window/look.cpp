#include "window/look.h"

#include <QCoreApplication>
#include <QPointer>
#include <QProxyStyle>
#include <QStyleFactory>

#include <memory>

namespace window {

namespace {
// Windows system colour indices, as the window names them.
constexpr int menuText = 7;
constexpr int windowText = 8;
constexpr int buttonFace = 15;
constexpr int buttonText = 18;
class ClassicStyle : public QProxyStyle
{
public:
    ClassicStyle()
        : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion"))),
          m_classic(QStyleFactory::create(QStringLiteral("Windows")))
    {
    }

    // A frame is the classic etched line with its caption standing on it; Fusion would shade
    // the frame's inside and set the caption above it.
    void drawComplexControl(ComplexControl control, const QStyleOptionComplex *option,
        QPainter *painter, const QWidget *widget) const override
    {
        if (control == CC_GroupBox)
            m_classic->drawComplexControl(control, option, painter, widget);
        else
            QProxyStyle::drawComplexControl(control, option, painter, widget);
    }

    QRect subControlRect(ComplexControl control, const QStyleOptionComplex *option, SubControl part,
        const QWidget *widget) const override
    {
        if (control == CC_GroupBox)
            return m_classic->subControlRect(control, option, part, widget);
        return QProxyStyle::subControlRect(control, option, part, widget);
    }

    int pixelMetric(
        PixelMetric metric, const QStyleOption *option, const QWidget *widget) const override
    {
        switch (metric) {
        case PM_IndicatorWidth:
        case PM_IndicatorHeight:
        case PM_ExclusiveIndicatorWidth:
        case PM_ExclusiveIndicatorHeight:
            return 13;
        case PM_CheckBoxLabelSpacing:
        case PM_RadioButtonLabelSpacing:
            return 4;
        default:
            return QProxyStyle::pixelMetric(metric, option, widget);
        }
    }

private:
    std::unique_ptr<QStyle> m_classic;
};

} // namespace

QStyle *formStyle()
{
    // Owned by the application, so it goes before the toolkit shuts down.
    static QPointer<ClassicStyle> style;
    if (!style) {
        style = new ClassicStyle;
        style->setParent(QCoreApplication::instance());
    }
    return style.data();
}

QPalette formPalette()
{
    QPalette palette = formStyle()->standardPalette();
    const QColor silver(0xC0, 0xC0, 0xC0);
    const QColor disabledText(0x80, 0x80, 0x80);
    palette.setColor(QPalette::Window, silver);
    palette.setColor(QPalette::Button, silver);
    for (auto role : { QPalette::WindowText, QPalette::Text, QPalette::ButtonText })
        palette.setColor(QPalette::Disabled, role, disabledText);
    return palette;
}

QColor toQColor(model::Colour colour)
{
    if (!model::colour::isSystem(colour))
        return QColor(model::colour::byteOf(colour, 0), model::colour::byteOf(colour, 1),
            model::colour::byteOf(colour, 2));
    static const QPalette palette = formPalette();
    switch (model::colour::byteOf(colour, 0)) {
    case menuText:
        return palette.color(QPalette::Active, QPalette::Text);
    case windowText:
        return palette.color(QPalette::Active, QPalette::WindowText);
    case buttonFace:
        return palette.color(QPalette::Active, QPalette::Button);
    case buttonText:
        return palette.color(QPalette::Active, QPalette::ButtonText);
    default:
        return palette.color(QPalette::Active, QPalette::WindowText);
    }
}

QFont fontFor(Face face)
{
    // Liberation Sans has Arial's metrics and the Slovak letters; DejaVu Sans stands in where it
    // is missing. Pixel sizes keep the layout the same at every logical DPI: 8 and 8.25 pt are
    // 11 px at 96 dpi, 12 pt is 16 px.
    QFont font;
    font.setFamilies({ QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans") });
    font.setStyleHint(QFont::SansSerif);
    font.setWeight(QFont::Normal);
    font.setPixelSize(face == Face::Sans12 ? 16 : 11);
    return font;
}

} // namespace window
