// SPDX-FileCopyrightText: The LC Tune developers
// SPDX-License-Identifier: MIT

#include "window/look.h"

#include <QApplication>
#include <QPainter>
#include <QPalette>
#include <QProxyStyle>
#include <QStyleFactory>
#include <QStyleOption>

#include <memory>
#include <utility>

namespace window {

namespace {

// The classic light values of the system colours, used whatever the desktop's theme or colour
// scheme; 0xRRGGBB.
namespace classic {
constexpr QRgb menuText = 0x000000;
constexpr QRgb windowText = 0x000000;
constexpr QRgb window = 0xFFFFFF;
constexpr QRgb buttonFace = 0xC0C0C0;
constexpr QRgb buttonText = 0x000000;
constexpr QRgb buttonHighlight = 0xFFFFFF;
constexpr QRgb buttonLight = 0xDFDFDF;
constexpr QRgb buttonShadow = 0x808080;
constexpr QRgb buttonMid = 0xA0A0A0;
constexpr QRgb darkShadow = 0x000000;
constexpr QRgb grayText = 0x808080;
constexpr QRgb highlight = 0x000080;
constexpr QRgb highlightText = 0xFFFFFF;
constexpr QRgb link = 0x0000FF;
constexpr QRgb linkVisited = 0x800080;
constexpr QRgb infoText = 0x000000;
constexpr QRgb infoBackground = 0xFFFFE1;
} // namespace classic

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
        if (control == CC_ScrollBar && showsFocus(option))
            drawSpinFocus(option, painter);
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
    // As with Fusion's own cues: once the window shows where the keyboard focus is.
    static bool showsFocus(const QStyleOption *option)
    {
        return option->state.testFlags(State_HasFocus | State_KeyboardFocusChange);
    }

    // Fusion shows no focus on a scroll bar. A spin bar that has it is framed in the highlight
    // colour, as Fusion frames a focused button or box, but two pixels wide on so small a
    // control; its arrows stay as they are.
    static void drawSpinFocus(const QStyleOption *option, QPainter *painter)
    {
        painter->save();
        QPen pen(option->palette.color(QPalette::Highlight), 2);
        pen.setJoinStyle(Qt::MiterJoin);
        painter->setPen(pen);
        painter->setBrush(Qt::NoBrush);
        painter->drawRect(option->rect.adjusted(1, 1, -1, -1));
        painter->restore();
    }

    std::unique_ptr<QStyle> m_classic;
};

QPalette classicPalette()
{
    // Every role first derives from the classic face, so a role that a newer toolkit adds does not
    // come from the desktop's theme either.
    QPalette palette { QColor(classic::buttonFace), QColor(classic::buttonFace) };
    const std::pair<QPalette::ColorRole, QRgb> roles[] = {
        { QPalette::WindowText, classic::windowText },
        { QPalette::Window, classic::buttonFace },
        { QPalette::Base, classic::window },
        { QPalette::AlternateBase, classic::window },
        { QPalette::Text, classic::windowText },
        { QPalette::PlaceholderText, classic::grayText },
        { QPalette::Button, classic::buttonFace },
        { QPalette::ButtonText, classic::buttonText },
        { QPalette::BrightText, classic::buttonHighlight },
        { QPalette::Light, classic::buttonHighlight },
        { QPalette::Midlight, classic::buttonLight },
        { QPalette::Mid, classic::buttonMid },
        { QPalette::Dark, classic::buttonShadow },
        { QPalette::Shadow, classic::darkShadow },
        { QPalette::Highlight, classic::highlight },
        { QPalette::HighlightedText, classic::highlightText },
        { QPalette::Link, classic::link },
        { QPalette::LinkVisited, classic::linkVisited },
        { QPalette::ToolTipBase, classic::infoBackground },
        { QPalette::ToolTipText, classic::infoText },
    };
    for (const auto &[role, rgb] : roles)
        palette.setColor(role, QColor(rgb));
    for (auto role : { QPalette::WindowText, QPalette::Text, QPalette::ButtonText })
        palette.setColor(QPalette::Disabled, role, QColor(classic::grayText));
    return palette;
}

} // namespace

void setApplicationLook()
{
    // The application owns the style from here on.
    QApplication::setStyle(new ClassicStyle);
    QApplication::setPalette(classicPalette());
    // The window's own face throughout, so that no control lays out text in the toolkit's
    // default face before it gets its own, which would load that face too.
    QApplication::setFont(fontFor(Face::Dialog));
}

QColor toQColor(model::Colour colour)
{
    if (!model::colour::isSystem(colour))
        return QColor(model::colour::byteOf(colour, 0), model::colour::byteOf(colour, 1),
            model::colour::byteOf(colour, 2));
    switch (model::colour::byteOf(colour, 0)) {
    case menuText:
        return QColor(classic::menuText);
    case buttonFace:
        return QColor(classic::buttonFace);
    case buttonText:
        return QColor(classic::buttonText);
    case windowText:
    default:
        return QColor(classic::windowText);
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

QIcon appIcon()
{
    QIcon icon;
    for (const int size : { 16, 32, 48, 64, 128, 256 })
        icon.addFile(
            QStringLiteral(":/icons/hicolor/%1x%1/apps/lctune.png").arg(size), QSize(size, size));
    return icon;
}

} // namespace window
