// SPDX-FileCopyrightText: The LC Tune developers
// SPDX-License-Identifier: MIT

#include "window/qt_form.h"

#include "model/fix_mode.h"
#include "model/language.h"
#include "window/look.h"
#include "window/spin_bar.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVariant>

#include <optional>

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

// A new description, told to a screen reader even when it says what the last one said: each step
// is news of its own.
void tell(QWidget *widget, const QString &description)
{
    if (widget->accessibleDescription() != description)
        return widget->setAccessibleDescription(description);
    QAccessibleEvent event(widget, QAccessible::DescriptionChanged);
    QAccessible::updateAccessibility(&event);
}

void describe(QWidget *widget, const std::string &description)
{
    const QString text = QString::fromStdString(description);
    if (widget->accessibleDescription() != text)
        tell(widget, text);
}

using model::Control;

// The fix group whose quantity a spin bar or unit button changes.
std::optional<std::size_t> groupChangedBy(Control source)
{
    switch (source) {
    case Control::VScroll1:
    case Control::VScroll2:
    case Control::Option1:
    case Control::Option2:
        return 0;
    case Control::VScroll3:
    case Control::VScroll4:
    case Control::VScroll7:
    case Control::Option3:
    case Control::Option4:
        return 1;
    case Control::VScroll5:
    case Control::VScroll6:
    case Control::Option5:
    case Control::Option6:
        return 2;
    default:
        return std::nullopt;
    }
}

std::optional<std::size_t> fixedGroup(const model::Form &form)
{
    for (std::size_t i = 0; i < model::fixGroups.size(); ++i) {
        if (model::isFixed(form, model::fixGroups[i].fixButton))
            return i;
    }
    return std::nullopt;
}

std::string_view unitOf(const model::Form &form, const model::FixGroup &group)
{
    return form.optionValue(group.firstOption) ? group.firstUnit : group.secondUnit;
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
    // A classic edit control shows a text that the program sets from its first character; the
    // toolkit's would scroll to its end and hide the leading digits of a wide number.
    if (auto *edit = as<QLineEdit>(box)) {
        edit->setText(toQString(text));
        edit->setCursorPosition(0);
    }
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

std::string QtForm::boxDescription(Control box) const
{
    const model::SpokenWords &words = model::spokenWords(*this);
    const auto fixed = fixedGroup(*this);
    if (box == Control::Text7) {
        // Cx is part of the fixed total while the capacitance is fixed.
        return fixed == 1u ? "pF, " + std::string(words.fixedValue) : "pF";
    }
    for (std::size_t i = 0; i < model::fixGroups.size(); ++i) {
        const model::FixGroup &group = model::fixGroups[i];
        if (box != group.lowerBox && box != group.upperBox)
            continue;
        std::string description(unitOf(*this, group));
        if (fixed == i)
            description += ", "
                + std::string(box == group.lowerBox ? words.fixedValue : words.unusedWhileFixed);
        else if (m_stale[indexOf(box)])
            description += ", " + std::string(words.notAResult);
        return description;
    }
    return {};
}

void QtForm::describeControls()
{
    for (Control box : { Control::Text1, Control::Text2, Control::Text3, Control::Text4,
             Control::Text5, Control::Text6, Control::Text7 }) {
        if (auto *target = as<QWidget>(box))
            describe(target, boxDescription(box));
    }
    const auto fixed = fixedGroup(*this);
    const std::string fixedQuantity = fixed ? std::string(model::spokenWords(*this).fixed) + ": "
            + std::string(model::quantityLetters[*fixed])
                                            : std::string();
    for (const model::FixGroup &group : model::fixGroups) {
        if (auto *target = as<QWidget>(group.fixButton))
            describe(target, fixedQuantity);
    }
}

// "F 9.777 to 14.838 MHz", or "F: no result" while the range shows the cue of a failed result.
std::string QtForm::rangeSpoken(std::size_t group) const
{
    const model::FixGroup &boxes = model::fixGroups[group];
    const model::SpokenWords &words = model::spokenWords(*this);
    const std::string letter(model::quantityLetters[group]);
    if (m_stale[indexOf(boxes.lowerBox)])
        return letter + ": " + std::string(words.noResult);
    return letter + " " + text(boxes.lowerBox) + " " + std::string(words.rangeTo) + " "
        + text(boxes.upperBox) + " " + std::string(unitOf(*this, boxes));
}

void QtForm::announce(Control source)
{
    const auto changed = groupChangedBy(source);
    const auto fixed = fixedGroup(*this);
    auto *target = as<QWidget>(source);
    if (!changed || !fixed || changed == fixed || !target)
        return;
    // The group that is neither changed nor fixed is the one computed.
    tell(target, QString::fromStdString(rangeSpoken(3 - *changed - *fixed)));
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
