// SPDX-FileCopyrightText: The LC Tune developers
// SPDX-License-Identifier: MIT

#include "model/spin.h"

#include "model/fix_mode.h"
#include "model/leading_number.h"
#include "model/number_format.h"
#include "model/solvers.h"

#include <array>
#include <cmath>
#include <optional>

namespace model {

namespace {

enum class Role { LowerBox, UpperBox, ParasiticBox };

using Solver = void (*)(Form &, Module1 &);

struct Spin
{
    Control bar;
    Control box;
    Role role;
    Control partner; // the other box of the range; Text7 has none
    double Module1::*step;
    Solver solver;
};

constexpr double parasiticStep = 0.1;
constexpr double fineStep = 0.01;
constexpr double quickStep = 1;

// clang-format off
constexpr std::array<Spin, 7> spins = {{
    {Control::VScroll1, Control::Text1, Role::LowerBox,     Control::Text2, &Module1::StepL, Vypocet_z_L},
    {Control::VScroll2, Control::Text2, Role::UpperBox,     Control::Text1, &Module1::StepL, Vypocet_z_L},
    {Control::VScroll3, Control::Text3, Role::LowerBox,     Control::Text4, &Module1::StepC, Vypocet_z_C},
    {Control::VScroll4, Control::Text4, Role::UpperBox,     Control::Text3, &Module1::StepC, Vypocet_z_C},
    {Control::VScroll5, Control::Text5, Role::LowerBox,     Control::Text6, &Module1::StepF, Vypocet_z_F},
    {Control::VScroll6, Control::Text6, Role::UpperBox,     Control::Text5, &Module1::StepF, Vypocet_z_F},
    {Control::VScroll7, Control::Text7, Role::ParasiticBox, Control::Text7, nullptr,         Vypocet_z_C},
}};
// clang-format on

const Spin &spinOf(Control bar)
{
    for (const Spin &spin : spins) {
        if (spin.bar == bar)
            return spin;
    }
    return spins.front();
}

double readBox(const Form &form, Control box)
{
    return readLeadingNumber(form.text(box));
}

// The number as a spin writes it, or nothing when it has no text (beyond the range of a double).
std::optional<std::string> spinText(double value, Role role)
{
    return formatFixed(value, role == Role::ParasiticBox ? 1 : 2);
}

// A box the user steps holds an input from then on, not a result that failed.
void writeInput(Form &form, Control box, const std::string &text)
{
    form.setText(box, text);
    form.setStale(box, false);
}

void spinLowerBox(Form &form, Module1 &m, const Spin &spin, int position)
{
    const double step = m.*spin.step;
    double value = readBox(form, spin.box) + position * step;
    if (value <= 0)
        value = step;
    if (const auto text = spinText(value, spin.role)) {
        writeInput(form, spin.box, *text);
        // The upper box follows the unrounded number.
        if (readBox(form, spin.partner) < value)
            writeInput(form, spin.partner, *text);
    }
    spin.solver(form, m);
}

void spinUpperBox(Form &form, Module1 &m, const Spin &spin, int position)
{
    double value = readBox(form, spin.box) + position * (m.*spin.step);
    const double lower = readBox(form, spin.partner);
    if (value < lower)
        value = lower;
    if (const auto text = spinText(value, spin.role))
        writeInput(form, spin.box, *text);
    spin.solver(form, m);
}

void spinParasiticBox(Form &form, Module1 &m, const Spin &spin, int position)
{
    double value = readBox(form, spin.box) + position * parasiticStep;
    if (value <= 0)
        value = parasiticStep;
    if (const auto text = spinText(value, spin.role))
        writeInput(form, spin.box, *text);
    // While the capacitance is fixed, Cx is part of the fixed total and nothing is computed.
    if (!isFixed(form, Control::Command2))
        spin.solver(form, m);
}

} // namespace

void spinChanged(Form &form, Module1 &m, Control bar)
{
    const Spin &spin = spinOf(bar);
    const int position = form.scrollValue(bar);
    switch (spin.role) {
    case Role::LowerBox:
        spinLowerBox(form, m, spin, position);
        break;
    case Role::UpperBox:
        spinUpperBox(form, m, spin, position);
        break;
    case Role::ParasiticBox:
        spinParasiticBox(form, m, spin, position);
        break;
    }
    form.setScrollValue(bar, 0);
}

void quickBoxClicked(const Form &form, Module1 &m, Control check)
{
    double Module1::*step = check == Control::Check1 ? &Module1::StepL
        : check == Control::Check2                   ? &Module1::StepC
                                                     : &Module1::StepF;
    m.*step = form.checkValue(check) == 1 ? quickStep : fineStep;
}

} // namespace model
