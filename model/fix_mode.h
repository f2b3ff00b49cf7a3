// SPDX-FileCopyrightText: The LC Tune developers
// SPDX-License-Identifier: MIT

#pragma once

#include "model/form.h"

#include <array>
#include <span>
#include <string_view>

namespace model {

// The controls of one quantity that a fix mode freezes. The parasitic-capacitance box and its
// spin bar are frozen with the capacitance, since the fixed total includes them.
struct FixGroup
{
    Control fixButton;
    Control lowerBox;
    Control upperBox;
    std::span<const Control> alsoFrozenBoxes;
    std::span<const Control> spinBars;
    Control firstOption;
    Control secondOption;
    std::string_view firstUnit;
    std::string_view secondUnit;
    Control quickBox;
    Control lowerLabel;
    Control upperLabel;
};

namespace detail {
using C = Control;
inline constexpr std::array<C, 0> none = {};
inline constexpr std::array<C, 1> parasiticBox = { C::Text7 };
inline constexpr std::array<C, 2> inductanceSpins = { C::VScroll1, C::VScroll2 };
inline constexpr std::array<C, 3> capacitanceSpins = { C::VScroll3, C::VScroll4, C::VScroll7 };
inline constexpr std::array<C, 2> frequencySpins = { C::VScroll5, C::VScroll6 };
} // namespace detail

// Mode 1 fixes the first group (L), mode 2 the second (C), mode 3 the third (F).
// clang-format off
inline constexpr std::array<FixGroup, 3> fixGroups = {{
    {Control::Command1, Control::Text1, Control::Text2, detail::none, detail::inductanceSpins,
     Control::Option1, Control::Option2, "nH", "uH", Control::Check1, Control::Label1, Control::Label2},
    {Control::Command2, Control::Text3, Control::Text4, detail::parasiticBox, detail::capacitanceSpins,
     Control::Option3, Control::Option4, "pF", "nF", Control::Check2, Control::Label3, Control::Label4},
    {Control::Command3, Control::Text5, Control::Text6, detail::none, detail::frequencySpins,
     Control::Option5, Control::Option6, "kHz", "MHz", Control::Check3, Control::Label5, Control::Label6},
}};
// clang-format on

// Puts every quantity group into the look and state of the mode: 1 fixes L, 2 fixes C, 3 fixes
// F. Any other mode leaves the reset alone, with nothing fixed.
void SetFixMode(Form &form, int mode);

// True when the quantity of this fix button is the fixed one: its tag reads as 1.
bool isFixed(const Form &form, Control fixButton);

} // namespace model
