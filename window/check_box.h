// SPDX-FileCopyrightText: The LC Tune developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QCheckBox>

namespace window {

// A check box as the layout has it: a click anywhere in its rectangle ticks it, as one on its
// mark does.
class CheckBox : public QCheckBox
{
    Q_OBJECT

public:
    using QCheckBox::QCheckBox;

protected:
    // The toolkit asks this for the click, the pressed look and the hover look alike.
    bool hitButton(const QPoint &pos) const override { return rect().contains(pos); }
};

} // namespace window
