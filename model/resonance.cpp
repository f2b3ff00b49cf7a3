// SPDX-FileCopyrightText: The LC Tune developers
// SPDX-License-Identifier: MIT

#include "model/resonance.h"

#include <cmath>

namespace model {

namespace {

// Zero and below have no physical meaning, and an infinity comes from a box too large for a
// double.
bool usable(double value)
{
    return std::isfinite(value) && value > 0;
}

// 25330.2959 / (F²·X), which is L for a capacitance X and C for an inductance X.
std::optional<double> fromFrequency(double frequency, double other)
{
    if (!usable(frequency) || !usable(other))
        return std::nullopt;
    const double denominator = frequency * frequency * other;
    if (!usable(denominator))
        return std::nullopt;
    const double result = lcConstant / denominator;
    if (!std::isfinite(result))
        return std::nullopt;
    return result;
}

} // namespace

std::optional<double> resonantFrequency(double inductance, double capacitance)
{
    if (!usable(inductance) || !usable(capacitance))
        return std::nullopt;
    const double product = inductance * capacitance;
    if (!usable(product))
        return std::nullopt;
    // With the product between the smallest and the largest double the root is at least 1e-162,
    // so the quotient is finite and above zero.
    return frequencyConstant / std::sqrt(product);
}

std::optional<double> inductanceFor(double frequency, double capacitance)
{
    return fromFrequency(frequency, capacitance);
}

std::optional<double> capacitanceFor(double frequency, double inductance)
{
    return fromFrequency(frequency, inductance);
}

} // namespace model
