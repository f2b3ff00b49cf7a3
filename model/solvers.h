// SPDX-FileCopyrightText: The LC Tune developers
// SPDX-License-Identifier: MIT

#pragma once

#include "model/form.h"
#include "model/module_state.h"

namespace model {

// The three solvers, one for each quantity the user can change: each reads the boxes
// (PrepocitaJednotky), then computes and shows the range of the one quantity that is neither the
// changed one nor the fixed one. A quantity is fixed while the tag of its fix button (Command1 L,
// Command2 C, Command3 F) reads as the number 1.
//
// A formula has no result when a value it uses is zero, negative or not finite, or when a product,
// a quotient or the result leaves the range of a double. The result boxes then keep their texts
// and are marked stale, and the computed range in the module keeps its previous values. A run
// that has a result clears the mark from every box; a run that computes nothing (its own quantity
// is fixed) leaves the marks as they are. A computed capacitance of zero or below (the circuit
// needs less than Cx) is a result like any other.
void Vypocet_z_L(Form &form, Module1 &m);
void Vypocet_z_C(Form &form, Module1 &m);
void Vypocet_z_F(Form &form, Module1 &m);

} // namespace model
