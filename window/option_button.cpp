// SPDX-FileCopyrightText: The LC Tune developers
// SPDX-License-Identifier: MIT

#include "window/option_button.h"

#include <QKeyEvent>

#include <algorithm>

namespace window {

namespace {

// -1 for a key that moves to the button above, +1 below, 0 for any other key.
int directionOf(const QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Up:
    case Qt::Key_Left:
        return -1;
    case Qt::Key_Down:
    case Qt::Key_Right:
        return 1;
    default:
        return 0;
    }
}

} // namespace

OptionButton::OptionButton(QWidget *parent) : QRadioButton(parent)
{
    setFocusPolicy(Qt::ClickFocus);
    connect(this, &QAbstractButton::toggled, this, &OptionButton::makeTheChosenOneTheTabStop);
}

bool OptionButton::hitButton(const QPoint &pos) const
{
    return rect().contains(pos);
}

// The toolkit makes whichever button of the frame takes the focus its tab stop, even one that a
// press dragged off leaves unchosen; the chosen one takes it back.
void OptionButton::focusInEvent(QFocusEvent *event)
{
    QRadioButton::focusInEvent(event);
    makeTheChosenOneTheTabStop();
}

// What the last unit click computed holds only while the user is on the button.
void OptionButton::focusOutEvent(QFocusEvent *event)
{
    setAccessibleDescription(QString());
    QRadioButton::focusOutEvent(event);
}

void OptionButton::keyPressEvent(QKeyEvent *event)
{
    const int direction = directionOf(event);
    if (direction == 0)
        return QRadioButton::keyPressEvent(event);
    auto group = parentWidget()->findChildren<OptionButton *>(Qt::FindDirectChildrenOnly);
    std::ranges::sort(group, {}, [](const OptionButton *button) { return button->y(); });
    const auto count = static_cast<int>(group.size());
    const auto here = static_cast<int>(group.indexOf(this));
    for (int i = 1; i < count; ++i) {
        OptionButton *next = group[((here + direction * i) % count + count) % count];
        if (next->isEnabled()) {
            next->setFocus(Qt::TabFocusReason);
            next->click();
            break;
        }
    }
}

// Buttons exclude each other within their parent, the frame.
void OptionButton::makeTheChosenOneTheTabStop()
{
    for (auto *button : parentWidget()->findChildren<OptionButton *>(Qt::FindDirectChildrenOnly))
        button->setFocusPolicy(button->isChecked() ? Qt::StrongFocus : Qt::ClickFocus);
}

} // namespace window
