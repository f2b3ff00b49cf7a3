// SPDX-FileCopyrightText: The LC Tune developers
// SPDX-License-Identifier: MIT

#include "window/push_button.h"

#include <QKeyEvent>

namespace window {

namespace {

bool isEnter(const QKeyEvent *event)
{
    return event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
}

} // namespace

void PushButton::keyPressEvent(QKeyEvent *event)
{
    if (!isEnter(event))
        return QPushButton::keyPressEvent(event);
    if (!event->isAutoRepeat())
        setDown(true);
}

void PushButton::keyReleaseEvent(QKeyEvent *event)
{
    if (!isEnter(event))
        return QPushButton::keyReleaseEvent(event);
    if (!event->isAutoRepeat() && isDown()) {
        setDown(false);
        click();
    }
}

} // namespace window
