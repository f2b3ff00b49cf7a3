// SPDX-FileCopyrightText: The LC Tune developers
// SPDX-License-Identifier: MIT

#pragma once

#include "model/form.h"
#include "model/module_state.h"

namespace model {

// Reads the six range boxes and the parasitic capacitance box into Lmin .. Fmax in base units
// (uH, pF, MHz), each in the unit its quantity's buttons choose; Cx in Text7 is always in pF and
// is added to both capacitances. Writes nothing else, neither in the form nor in the module.
void PrepocitaJednotky(const Form &form, Module1 &m);

} // namespace model
