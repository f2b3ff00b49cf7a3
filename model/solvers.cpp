#include "model/solvers.h"

#include "model/fix_mode.h"
#include "model/leading_number.h"
#include "model/result_display.h"
#include "model/units.h"

#include <cmath>
#include <optional>
#include <string_view>

namespace {

using model::Control;
using model::Form;
using model::isFixed;
using model::markNoResult;
using model::Module1;
using model::readLeadingNumber;
using model::Zobraz;

// 1000 / (2π) and 10⁶ / (4π²) in base units, cut after the fourth decimal as the calculator has
// always used them; recomputing them from π would shift its results.
constexpr double frequencyConstant = 159.1549;
constexpr double lcConstant = 25330.2959;

// A value a formula may use. Zero and below have no physical meaning, and an infinity comes from a
// box too large for a double.
bool usable(double value)
{
    return std::isfinite(value) && value > 0;
}

// F = 159.1549 / √(L·C), C the total capacitance.
std::optional<double> frequency(double inductance, double capacitance)
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

// 25330.2959 / (F²·X): the inductance for a total capacitance X, or the total capacitance for an
// inductance X.
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

// The capacitance without Cx, which the capacitance boxes show. Any finite Cx takes part, zero
// and below included; an infinite one makes the difference infinite.
std::optional<double> capacitance(double frequency, double inductance, double cx)
{
    const std::optional<double> total = fromFrequency(frequency, inductance);
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
        publish(form, m, &Module1::FcalcMin, &Module1::FcalcMax, frequency(m.Lmax, m.Cmin),
            frequency(m.Lmin, m.Cmin), "F");
    }
    if (isFixed(form, Control::Command3)) {
        const double cx = parasiticCapacitance(form);
        publish(form, m, &Module1::CcalcMin, &Module1::CcalcMax, capacitance(m.Fmin, m.Lmax, cx),
            capacitance(m.Fmin, m.Lmin, cx), "C");
    }
}

void Vypocet_z_C(Form &form, Module1 &m)
{
    PrepocitaJednotky(form, m);
    if (isFixed(form, Control::Command1)) {
        publish(form, m, &Module1::FcalcMin, &Module1::FcalcMax, frequency(m.Lmin, m.Cmax),
            frequency(m.Lmin, m.Cmin), "F");
    }
    if (isFixed(form, Control::Command3)) {
        publish(form, m, &Module1::LcalcMin, &Module1::LcalcMax, fromFrequency(m.Fmin, m.Cmax),
            fromFrequency(m.Fmin, m.Cmin), "L");
    }
}

void Vypocet_z_F(Form &form, Module1 &m)
{
    PrepocitaJednotky(form, m);
    if (isFixed(form, Control::Command1)) {
        const double cx = parasiticCapacitance(form);
        publish(form, m, &Module1::CcalcMin, &Module1::CcalcMax, capacitance(m.Fmax, m.Lmin, cx),
            capacitance(m.Fmin, m.Lmin, cx), "C");
    }
    if (isFixed(form, Control::Command2)) {
        publish(form, m, &Module1::LcalcMin, &Module1::LcalcMax, fromFrequency(m.Fmax, m.Cmin),
            fromFrequency(m.Fmin, m.Cmin), "L");
    }
}

} // namespace model
