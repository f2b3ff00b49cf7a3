// SPDX-FileCopyrightText: The LC Tune developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QRadioButton>

namespace window {

// An option button as the layout has it: a click anywhere in its rectangle chooses it, as one on
// its mark does, and the chosen button of a frame is the frame's one tab stop, so that Tab and
// Shift+Tab land on the chosen unit. The arrow keys move the choice within the frame, as on the
// classic control: Up and Left to the button above, Down and Right to the one below, round from
// the last to the first.
class OptionButton : public QRadioButton
{
    Q_OBJECT

public:
    explicit OptionButton(QWidget *parent = nullptr);

protected:
    // The toolkit asks this for the click, the pressed look and the hover look alike.
    bool hitButton(const QPoint &pos) const override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void makeTheChosenOneTheTabStop();
};

} // namespace window
