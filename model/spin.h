// SPDX-FileCopyrightText: The LC Tune developers
// SPDX-License-Identifier: MIT

#pragma once

#include "model/form.h"
#include "model/module_state.h"

namespace model {

// One click on a spin bar: moves the number in the bar's box by one step in the direction of the
// bar's position, keeps the lower and upper boxes in order, recomputes, and sets the bar back to
// rest. Setting it back raises this again, nested, with the position 0: that pass adds nothing
// and rewrites the same text.
//
// A number that would leave the range of a double is not written: the box keeps its text and the
// solver, which cannot use the value, marks its results stale.
void spinChanged(Form &form, Module1 &m, Control bar);

// A Quick box sets its quantity's step: 1 when ticked, 0.01 otherwise.
void quickBoxClicked(const Form &form, Module1 &m, Control check);

} // namespace model
