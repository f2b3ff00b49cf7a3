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

// What a screen reader reads from a spin bar: a spin control, whose value is the number in its box,
// not the bar's resting position, which is always 0. Its text is the box's text and, after a
// step, what the step computed: a reader speaks that text when the value changes, and the
// toolkit has no other way to have something spoken.
class SpinBarAccessible : public QAccessibleWidget,
                          public QAccessibleValueInterface,
                          public QAccessibleTextInterface
{
public:
    explicit SpinBarAccessible(SpinBar *bar) : QAccessibleWidget(bar, QAccessible::SpinBox) { }

    void *interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::ValueInterface)
            return static_cast<QAccessibleValueInterface *>(this);
        if (type == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface *>(this);
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

    // The text is read only: no selection, no cursor.
    void selection(int, int *startOffset, int *endOffset) const override
    {
        *startOffset = *endOffset = 0;
    }
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override { }
    void removeSelection(int) override { }
    void setSelection(int, int, int) override { }
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override { }
    QString text(int startOffset, int endOffset) const override
    {
        return spoken().mid(startOffset, endOffset - startOffset);
    }
    int characterCount() const override { return static_cast<int>(spoken().size()); }
    QRect characterRect(int) const override { return QRect(); }
    int offsetAtPoint(const QPoint &) const override { return -1; }
    void scrollToSubstring(int, int) override { }
    QString attributes(int, int *startOffset, int *endOffset) const override
    {
        *startOffset = 0;
        *endOffset = characterCount();
        return QString();
    }

    using QAccessibleWidget::text;

private:
    SpinBar *bar() const { return static_cast<SpinBar *>(widget()); }

    QString spoken() const
    {
        const QString shown = bar()->box() ? bar()->box()->text() : QString();
        const QString computed = bar()->accessibleDescription();
        return computed.isEmpty() ? shown : shown + QStringLiteral("; ") + computed;
    }
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
