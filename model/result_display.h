// SPDX-FileCopyrightText: The LC Tune developers
// SPDX-License-Identifier: MIT

#pragma once

#include "model/form.h"
#include "model/module_state.h"

#include <string_view>

namespace model {

// Writes the computed range of one quantity into its two boxes with three decimals, in the unit
// its buttons choose: selector "L" (Text1, Text2, nH or uH), "C" (Text3, Text4, pF or nF) or "F"
// (Text5, Text6, kHz or MHz). The selector is compared exactly, case included; any other text
// writes nothing. Writing a range clears the boxes' stale cue. A value too large to be written in
// the chosen unit leaves both boxes as they are and marks them stale instead.
void Zobraz(Form &form, const Module1 &m, std::string_view selector);

// Clears the cue from the boxes of all three ranges: after a run that has a result, every box
// holds an input of that run or its result.
void markAllCurrent(Form &form);

// Marks the two boxes of the quantity that the selector names (as for Zobraz) as not holding a
// result of the current inputs; their texts stay.
void markNoResult(Form &form, std::string_view selector);

} // namespace model
