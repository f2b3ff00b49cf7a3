// SPDX-FileCopyrightText: The LC Tune developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QPushButton>

namespace window {

// A push button as the layout has it: Enter and the keypad's Enter press it as Space does, down
// while the key is held and clicked once when it is let go, however long the key repeats.
// The toolkit's own way, an auto-default button, clicks at every repeat of the key.
class PushButton : public QPushButton
{
    Q_OBJECT

public:
    using QPushButton::QPushButton;

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
};

} // namespace window
