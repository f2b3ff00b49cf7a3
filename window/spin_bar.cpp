// SPDX-FileCopyrightText: The LC Tune developers
// SPDX-License-Identifier: MIT

#include "window/spin_bar.h"

#include "model/leading_number.h"

#include <QAccessible>
#include <QAccessibleValueInterface>
#include <QAccessibleWidget>
#include <QKeyEvent>
#include <QLineEdit>

#include <algorithm>
#include <cmath>
#include <limits>

namespace window {

namespace {

// What a screen reader reads from a spin bar: the number in its box, not the bar's resting
// position, which is always 0.
class SpinBarAccessible : public QAccessibleWidget, public QAccessibleValueInterface
{
public:
    explicit SpinBarAccessible(SpinBar *bar) : QAccessibleWidget(bar, QAccessible::ScrollBar) { }

    void *interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::ValueInterface)
            return static_cast<QAccessibleValueInterface *>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QVariant currentValue() const override
    {
        const QLineEdit *box = bar()->box();
        return box ? model::readLeadingNumber(box->text().toStdString()) : 0.0;
    }
    // The value is the box's; only a step changes it.
    void setCurrentValue(const QVariant &) override { }
    QVariant maximumValue() const override { return std::numeric_limits<double>::max(); }
    QVariant minimumValue() const override { return std::numeric_limits<double>::lowest(); }
    // The box's last decimal, so that a reader says the number with the digits the box shows.
    QVariant minimumStepSize() const override { return std::pow(10.0, -bar()->decimals()); }

private:
    SpinBar *bar() const { return static_cast<SpinBar *>(widget()); }
};

QAccessibleInterface *spinBarAccessible(const QString &className, QObject *object)
{
    if (className == QLatin1String(SpinBar::staticMetaObject.className()))
        return new SpinBarAccessible(static_cast<SpinBar *>(object));
    return nullptr;
}

} // namespace

SpinBar::SpinBar(QWidget *parent) : QScrollBar(Qt::Vertical, parent)
{
    static const bool factoryInstalled = [] {
        QAccessible::installFactory(spinBarAccessible);
        return true;
    }();
    Q_UNUSED(factoryInstalled);
    setRange(-1, 1);
    setSingleStep(1);
    setPageStep(1);
    setValue(0);
    // The arrow keys work on a spin bar that has the focus, as on any scroll bar.
    setFocusPolicy(Qt::StrongFocus);
    connect(this, &QAbstractSlider::valueChanged, this, [this] {
        ++m_depth;
        emit changed();
        if (--m_depth == 0)
            emit stepped();
    });
}

void SpinBar::setPosition(int position)
{
    setValue(-std::clamp(position, -1, 1));
}

void SpinBar::setBox(QLineEdit *box, int decimals)
{
    m_box = box;
    m_decimals = decimals;
}

// As on a classic vertical scroll bar, Left is a line up and Right a line down, whichever way
// the text runs.
void SpinBar::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Left)
        triggerAction(SliderSingleStepSub);
    else if (event->key() == Qt::Key_Right)
        triggerAction(SliderSingleStepAdd);
    else
        QScrollBar::keyPressEvent(event);
}

// What the last step did holds only while the user is on the bar; coming back, they hear the
// bar as it is.
void SpinBar::focusOutEvent(QFocusEvent *event)
{
    setAccessibleDescription(QString());
    QScrollBar::focusOutEvent(event);
}

} // namespace window
