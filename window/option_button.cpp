// SPDX-FileCopyrightText: The LC Tune developers
// SPDX-License-Identifier: MIT

#include "window/option_button.h"

namespace window {

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

// Buttons exclude each other within their parent, the frame.
void OptionButton::makeTheChosenOneTheTabStop()
{
    for (auto *button : parentWidget()->findChildren<OptionButton *>(Qt::FindDirectChildrenOnly))
        button->setFocusPolicy(button->isChecked() ? Qt::StrongFocus : Qt::ClickFocus);
}

} // namespace window
