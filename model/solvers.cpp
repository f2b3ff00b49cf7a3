// SPDX-FileCopyrightText: The LC Tune developers
// SPDX-License-Identifier: MIT

#include "model/solvers.h"

#include "model/fix_mode.h"
#include "model/leading_number.h"
#include "model/resonance.h"
#include "model/result_display.h"
#include "model/units.h"

#include <cmath>
#include <optional>
#include <string_view>

namespace {

using model::capacitanceFor;
using model::Control;
using model::Form;
using model::inductanceFor;
using model::isFixed;
using model::markAllCurrent;
using model::markNoResult;
using model::Module1;
using model::readLeadingNumber;
using model::resonantFrequency;
using model::Zobraz;

// The capacitance without Cx, which the capacitance boxes show. Any finite Cx takes part, zero
// and below included; an infinite one makes the difference infinite.
std::optional<double> capacitanceLessCx(double frequency, double inductance, double cx)
{
    const std::optional<double> total = capacitanceFor(frequency, inductance);
    if (!total)
        return std::nullopt;
    const double result = *total - cx;
    if (!std::isfinite(result))
        return std::nullopt;
    return result;
}

// Cx as PrepocitaJednotky added it to Cmin and Cmax in the same run.
double parasiticCapacitance(const Form &form)
{
    return readLeadingNumber(form.text(Control::Text7));
}

// Without both bounds nothing is stored or shown: the module keeps the previous range rather than
// one that no box could show for these inputs.
void publish(Form &form, Module1 &m, double Module1::*lowerField, double Module1::*upperField,
    std::optional<double> lower, std::optional<double> upper, std::string_view selector)
{
    if (!lower || !upper) {
        markNoResult(form, selector);
        return;
    }
    m.*lowerField = *lower;
    m.*upperField = *upper;
    markAllCurrent(form);
    Zobraz(form, m, selector);
}

} // namespace

namespace model {

// In each solver the lower result comes from the changed quantity's upper value, since the computed
// quantity falls as the changed one rises; the fixed quantity takes part with its lower value only.
// Both tests run one after the other, neither depending on the other.

void Vypocet_z_L(Form &form, Module1 &m)
{
    PrepocitaJednotky(form, m);
    if (isFixed(form, Control::Command2)) {
        publish(form, m, &Module1::FcalcMin, &Module1::FcalcMax, resonantFrequency(m.Lmax, m.Cmin),
            resonantFrequency(m.Lmin, m.Cmin), "F");
    }
    if (isFixed(form, Control::Command3)) {
        const double cx = parasiticCapacitance(form);
        publish(form, m, &Module1::CcalcMin, &Module1::CcalcMax,
            capacitanceLessCx(m.Fmin, m.Lmax, cx), capacitanceLessCx(m.Fmin, m.Lmin, cx), "C");
    }
}

void Vypocet_z_C(Form &form, Module1 &m)
{
    PrepocitaJednotky(form, m);
    if (isFixed(form, Control::Command1)) {
        publish(form, m, &Module1::FcalcMin, &Module1::FcalcMax, resonantFrequency(m.Lmin, m.Cmax),
            resonantFrequency(m.Lmin, m.Cmin), "F");
    }
    if (isFixed(form, Control::Command3)) {
        publish(form, m, &Module1::LcalcMin, &Module1::LcalcMax, inductanceFor(m.Fmin, m.Cmax),
            inductanceFor(m.Fmin, m.Cmin), "L");
    }
}

void Vypocet_z_F(Form &form, Module1 &m)
{
    PrepocitaJednotky(form, m);
    if (isFixed(form, Control::Command1)) {
        const double cx = parasiticCapacitance(form);
        publish(form, m, &Module1::CcalcMin, &Module1::CcalcMax,
            capacitanceLessCx(m.Fmax, m.Lmin, cx), capacitanceLessCx(m.Fmin, m.Lmin, cx), "C");
    }
    if (isFixed(form, Control::Command2)) {
        publish(form, m, &Module1::LcalcMin, &Module1::LcalcMax, inductanceFor(m.Fmax, m.Cmin),
            inductanceFor(m.Fmin, m.Cmin), "L");
    }
}

} // namespace model
