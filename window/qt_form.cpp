// SPDX-FileCopyrightText: The LC Tune developers
// SPDX-License-Identifier: MIT

#include "window/qt_form.h"

#include "window/look.h"
#include "window/spin_bar.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVariant>

namespace window {

namespace {

QString toQString(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::size_t indexOf(model::Control control)
{
    return static_cast<std::size_t>(control);
}

// Colours that the program sets stay as they are while a control is active or in the
// background; a disabled control keeps the toolkit's disabled look.
void setLiveColour(QWidget *widget, QPalette::ColorRole role, const QColor &colour)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Active, role, colour);
    palette.setColor(QPalette::Inactive, role, colour);
    widget->setPalette(palette);
}

// The three Quick boxes share their caption; their frames' captions tell them apart.
void nameByCaption(QCheckBox *check)
{
    const auto *frame = qobject_cast<QGroupBox *>(check->parentWidget());
    check->setAccessibleName(
        frame ? QStringLiteral("%1, %2").arg(check->text(), frame->title()) : check->text());
}

} // namespace

void QtForm::add(model::Control control, QWidget *widget)
{
    m_widgets[indexOf(control)] = widget;
    const QPalette::ColorRole role =
        qobject_cast<QLineEdit *>(widget) ? QPalette::Text : QPalette::WindowText;
    m_foreColours[indexOf(control)] = widget->palette().color(QPalette::Active, role);
}

void fitToCaption(QLabel *label)
{
    label->setProperty(fitsCaptionProperty, true);
    label->resize(label->fontMetrics().horizontalAdvance(label->text()), label->height());
}

QWidget *QtForm::widget(model::Control control) const
{
    return m_widgets[indexOf(control)];
}

template <typename Widget> Widget *QtForm::as(model::Control control) const
{
    auto *typed = qobject_cast<Widget *>(widget(control));
    Q_ASSERT_X(typed, "QtForm",
        qPrintable(QStringLiteral("%1 is no %2")
                       .arg(toQString(model::controlName(control)),
                           QLatin1String(Widget::staticMetaObject.className()))));
    return typed;
}

std::string QtForm::text(model::Control box) const
{
    const auto *edit = as<QLineEdit>(box);
    return edit ? edit->text().toStdString() : std::string();
}

void QtForm::setText(model::Control box, std::string_view text)
{
    if (auto *edit = as<QLineEdit>(box))
        edit->setText(toQString(text));
}

void QtForm::setCaption(model::Control control, std::string_view caption)
{
    const QString text = toQString(caption);
    if (control == model::Control::Form1) {
        if (auto *form = as<QWidget>(control))
            form->setWindowTitle(text);
    } else if (auto *label = qobject_cast<QLabel *>(widget(control))) {
        label->setText(text);
        if (label->property(fitsCaptionProperty).toBool())
            fitToCaption(label);
    } else if (auto *button = as<QAbstractButton>(control)) {
        button->setText(text);
        if (auto *check = qobject_cast<QCheckBox *>(button))
            nameByCaption(check);
    }
}

// A screen reader calls a control by its tool tip where the control shows no caption that says
// what it is: a box's tip is its role, a fix button's says more than its "F". A check box is
// called by the caption it shows, so that a user who says the caption finds it; its tip
// describes it.
void QtForm::setToolTip(model::Control control, std::string_view tip)
{
    if (auto *target = as<QWidget>(control)) {
        const QString text = toQString(tip);
        target->setToolTip(text);
        if (qobject_cast<QCheckBox *>(target))
            target->setAccessibleDescription(text);
        else
            target->setAccessibleName(text);
    }
}

void QtForm::setAccessibleName(model::Control control, std::string_view name)
{
    if (auto *target = as<QWidget>(control))
        target->setAccessibleName(toQString(name));
}

std::string QtForm::tag(model::Control control) const
{
    const auto *target = as<QWidget>(control);
    return target ? target->property("Tag").toString().toStdString() : std::string();
}

void QtForm::setTag(model::Control control, std::string_view tag)
{
    if (auto *target = as<QWidget>(control))
        target->setProperty("Tag", toQString(tag));
}

void QtForm::setBackColor(model::Control control, model::Colour colour)
{
    auto *target = as<QWidget>(control);
    if (!target)
        return;
    QPalette palette = target->palette();
    const QPalette::ColorRole role =
        qobject_cast<QLineEdit *>(target) ? QPalette::Base : QPalette::Window;
    palette.setColor(role, toQColor(colour));
    target->setPalette(palette);
}

void QtForm::setForeColor(model::Control control, model::Colour colour)
{
    m_foreColours[indexOf(control)] = toQColor(colour);
    showForeColor(control);
}

void QtForm::setStale(model::Control box, bool stale)
{
    // Every result clears the cue, so skip the palette work when nothing changes.
    if (m_stale[indexOf(box)] == stale)
        return;
    m_stale[indexOf(box)] = stale;
    showForeColor(box);
}

void QtForm::showForeColor(model::Control control)
{
    auto *target = as<QWidget>(control);
    if (!target)
        return;
    const std::size_t i = indexOf(control);
    const QColor colour = m_stale[i] ? staleColour() : m_foreColours[i];
    setLiveColour(
        target, qobject_cast<QLineEdit *>(target) ? QPalette::Text : QPalette::WindowText, colour);
}

QColor QtForm::staleColour()
{
    return QColor(0xC0, 0x00, 0x00);
}

void QtForm::setLocked(model::Control box, bool locked)
{
    if (auto *edit = as<QLineEdit>(box))
        edit->setReadOnly(locked);
}

void QtForm::setEnabled(model::Control control, bool enabled)
{
    if (auto *target = as<QWidget>(control))
        target->setEnabled(enabled);
}

bool QtForm::optionValue(model::Control option) const
{
    const auto *button = as<QRadioButton>(option);
    return button && button->isChecked();
}

int QtForm::checkValue(model::Control check) const
{
    const auto *box = as<QCheckBox>(check);
    return box && box->isChecked() ? 1 : 0;
}

int QtForm::scrollValue(model::Control bar) const
{
    const auto *spin = as<SpinBar>(bar);
    return spin ? spin->position() : 0;
}

void QtForm::setScrollValue(model::Control bar, int position)
{
    if (auto *spin = as<SpinBar>(bar))
        spin->setPosition(position);
}

} // namespace window
