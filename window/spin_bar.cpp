// SPDX-FileCopyrightText: The LC Tune developers
// SPDX-License-Identifier: MIT

#include "window/spin_bar.h"

#include <algorithm>

namespace window {

SpinBar::SpinBar(QWidget *parent) : QScrollBar(Qt::Vertical, parent)
{
    setRange(-1, 1);
    setSingleStep(1);
    setPageStep(1);
    setValue(0);
    // The arrow keys work on a spin bar that has the focus, as on any scroll bar.
    setFocusPolicy(Qt::StrongFocus);
    connect(this, &QAbstractSlider::valueChanged, this, &SpinBar::changed);
}

void SpinBar::setPosition(int position)
{
    setValue(-std::clamp(position, -1, 1));
}

} // namespace window
