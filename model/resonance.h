// SPDX-FileCopyrightText: The LC Tune developers
// SPDX-License-Identifier: MIT

#pragma once

// The resonance formulas of a parallel LC circuit in base units: inductance in uH, capacitance in
// pF (the total, parasitic capacitance included) and frequency in MHz. Each has no result when a
// value it uses is zero, negative or not finite, or when its arithmetic leaves the range of a
// double.

#include <optional>

namespace model {

// 1000 / (2π) and 10⁶ / (4π²) in base units, cut after the fourth decimal as the calculator has
// always used them; recomputing them from π would shift its results.
inline constexpr double frequencyConstant = 159.1549;
inline constexpr double lcConstant = 25330.2959;

// F = 159.1549 / √(L·C).
std::optional<double> resonantFrequency(double inductance, double capacitance);

// L = 25330.2959 / (F²·C).
std::optional<double> inductanceFor(double frequency, double capacitance);

// C = 25330.2959 / (F²·L), the total capacitance.
std::optional<double> capacitanceFor(double frequency, double inductance);

} // namespace model
