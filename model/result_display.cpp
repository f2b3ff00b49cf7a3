// SPDX-FileCopyrightText: The LC Tune developers
// SPDX-License-Identifier: MIT

#include "model/result_display.h"

#include "model/number_format.h"

#include <array>

namespace {

using model::Control;
using model::Form;
using model::formatFixed;
using model::Module1;

struct Display
{
    std::string_view selector;
    Control lowerBox, upperBox;
    Control unitButton;
    // Base unit to the shown one: the inverse of what PrepocitaJednotky applies, so a shown value
    // reads back as the same number to within the three decimals.
    double factorWhenChosen, factorOtherwise;
    double Module1::*lower;
    double Module1::*upper;
};

// clang-format off
constexpr std::array<Display, 3> displays = {{
    {"L", Control::Text1, Control::Text2, Control::Option1, 1000, 1,     &Module1::LcalcMin, &Module1::LcalcMax},
    {"C", Control::Text3, Control::Text4, Control::Option3, 1,    0.001, &Module1::CcalcMin, &Module1::CcalcMax},
    {"F", Control::Text5, Control::Text6, Control::Option5, 1000, 1,     &Module1::FcalcMin, &Module1::FcalcMax},
}};
// clang-format on

constexpr int resultDecimals = 3;

void markStale(Form &form, const Display &display)
{
    form.setStale(display.lowerBox, true);
    form.setStale(display.upperBox, true);
}

void show(Form &form, const Module1 &m, const Display &display)
{
    const double factor =
        form.optionValue(display.unitButton) ? display.factorWhenChosen : display.factorOtherwise;
    // An inductance just below the largest double has no text in nH; both boxes then keep
    // their texts so that the range is never half updated.
    const auto lower = formatFixed(m.*display.lower * factor, resultDecimals);
    const auto upper = formatFixed(m.*display.upper * factor, resultDecimals);
    if (!lower || !upper) {
        markStale(form, display);
        return;
    }
    form.setText(display.lowerBox, *lower);
    form.setText(display.upperBox, *upper);
    form.setStale(display.lowerBox, false);
    form.setStale(display.upperBox, false);
}

} // namespace

namespace model {

void Zobraz(Form &form, const Module1 &m, std::string_view selector)
{
    for (const Display &display : displays) {
        if (selector == display.selector)
            show(form, m, display);
    }
}

void markAllCurrent(Form &form)
{
    for (const Display &display : displays) {
        form.setStale(display.lowerBox, false);
        form.setStale(display.upperBox, false);
    }
}

void markNoResult(Form &form, std::string_view selector)
{
    for (const Display &display : displays) {
        if (selector == display.selector)
            markStale(form, display);
    }
}

} // namespace model
