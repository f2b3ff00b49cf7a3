// SPDX-FileCopyrightText: The LC Tune developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QScrollBar>

namespace window {

// A vertical scroll bar used as a one-step spin control. Its position runs from +1 at the top
// end to -1 at the bottom end and rests at 0. Qt's vertical bar moves toward its minimum with
// the top arrow, so the position is the bar's value negated.
class SpinBar : public QScrollBar
{
    Q_OBJECT

public:
    explicit SpinBar(QWidget *parent = nullptr);

    int position() const { return -value(); }
    void setPosition(int position);

signals:
    // The position changed, by the user or by the program; raised at once, nested inside a
    // setPosition() call. It carries no value: a receiver reads position(), which is never stale
    // even when an earlier receiver has already moved the bar back.
    void changed();
};

} // namespace window
