#include "window/qt_form.h"

#include "window/look.h"
#include "window/spin_bar.h"

#include <QAbstractButton>
#include <QCheckBox>
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

std::string QtForm::text(model::Control box) const
{
    return qobject_cast<QLineEdit *>(widget(box))->text().toStdString();
}

void QtForm::setText(model::Control box, std::string_view text)
{
    qobject_cast<QLineEdit *>(widget(box))->setText(toQString(text));
}

void QtForm::setCaption(model::Control control, std::string_view caption)
{
    QWidget *target = widget(control);
    const QString text = toQString(caption);
    if (control == model::Control::Form1) {
        target->setWindowTitle(text);
    } else if (auto *label = qobject_cast<QLabel *>(target)) {
        label->setText(text);
        if (label->property(fitsCaptionProperty).toBool())
            fitToCaption(label);
    } else if (auto *button = qobject_cast<QAbstractButton *>(target)) {
        button->setText(text);
    }
}

// A tool tip is also what a screen reader calls the control: a box's tip is its role, and the
// tips tell apart the three "Quick" boxes and the buttons that have no caption of their own.
void QtForm::setToolTip(model::Control control, std::string_view tip)
{
    const QString text = toQString(tip);
    widget(control)->setToolTip(text);
    widget(control)->setAccessibleName(text);
}

void QtForm::setAccessibleName(model::Control control, std::string_view name)
{
    widget(control)->setAccessibleName(toQString(name));
}

std::string QtForm::tag(model::Control control) const
{
    return widget(control)->property("Tag").toString().toStdString();
}

void QtForm::setTag(model::Control control, std::string_view tag)
{
    widget(control)->setProperty("Tag", toQString(tag));
}

void QtForm::setBackColor(model::Control control, model::Colour colour)
{
    QWidget *target = widget(control);
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
    QWidget *target = widget(control);
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
    qobject_cast<QLineEdit *>(widget(box))->setReadOnly(locked);
}

void QtForm::setEnabled(model::Control control, bool enabled)
{
    widget(control)->setEnabled(enabled);
}

bool QtForm::optionValue(model::Control option) const
{
    return qobject_cast<QRadioButton *>(widget(option))->isChecked();
}

int QtForm::checkValue(model::Control check) const
{
    return qobject_cast<QCheckBox *>(widget(check))->isChecked() ? 1 : 0;
}

int QtForm::scrollValue(model::Control bar) const
{
    return qobject_cast<SpinBar *>(widget(bar))->position();
}

void QtForm::setScrollValue(model::Control bar, int position)
{
    qobject_cast<SpinBar *>(widget(bar))->setPosition(position);
}

} // namespace window
