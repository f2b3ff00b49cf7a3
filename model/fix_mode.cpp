// SPDX-FileCopyrightText: The LC Tune developers
// SPDX-License-Identifier: MIT

#include "model/fix_mode.h"

#include "model/leading_number.h"

namespace model {

namespace {

using C = Control;

constexpr std::array<C, 6> rangeBoxes = { C::Text1, C::Text2, C::Text3, C::Text4, C::Text5,
    C::Text6 };
constexpr std::array<C, 7> allBoxes = { C::Text1, C::Text2, C::Text3, C::Text4, C::Text5, C::Text6,
    C::Text7 };
constexpr std::array<C, 7> spinBars = { C::VScroll1, C::VScroll2, C::VScroll3, C::VScroll4,
    C::VScroll5, C::VScroll6, C::VScroll7 };
constexpr std::array<C, 3> fixButtons = { C::Command1, C::Command2, C::Command3 };
constexpr std::array<C, 4> greyableBoxes = { C::Text2, C::Text4, C::Text6, C::Text7 };
constexpr std::array<C, 3> upperLabels = { C::Label2, C::Label4, C::Label6 };
constexpr std::array<C, 6> options = { C::Option1, C::Option2, C::Option3, C::Option4, C::Option5,
    C::Option6 };
constexpr std::array<C, 3> quickBoxes = { C::Check1, C::Check2, C::Check3 };
constexpr std::array<C, 3> lowerLabels = { C::Label1, C::Label3, C::Label5 };

void resetAllGroups(Form &form)
{
    for (C box : rangeBoxes)
        form.setBackColor(box, colour::lightGreen);
    form.setBackColor(C::Text7, colour::green);
    for (C box : allBoxes)
        form.setLocked(box, false);
    for (C bar : spinBars)
        form.setEnabled(bar, true);
    for (C button : fixButtons)
        form.setTag(button, "0");
    for (C box : greyableBoxes)
        form.setForeColor(box, colour::systemMenuText);
    for (C label : upperLabels)
        form.setForeColor(label, colour::systemMenuText);
    for (C option : options)
        form.setEnabled(option, true);
    for (C check : quickBoxes)
        form.setEnabled(check, true);
    for (C button : fixButtons)
        form.setEnabled(button, true);
    for (C label : lowerLabels)
        form.setCaption(label, "Min.");
}

void freezeGroup(Form &form, const FixGroup &group)
{
    // Both boxes turn light red first; the upper one is then painted silver over it.
    form.setBackColor(group.lowerBox, colour::lightRed);
    form.setBackColor(group.upperBox, colour::lightRed);
    form.setLocked(group.lowerBox, true);
    form.setLocked(group.upperBox, true);
    for (C box : group.alsoFrozenBoxes)
        form.setLocked(box, true);
    form.setBackColor(group.upperBox, colour::silver);
    for (C box : group.alsoFrozenBoxes)
        form.setBackColor(box, colour::silver);
    form.setForeColor(group.upperBox, colour::grey);
    for (C box : group.alsoFrozenBoxes)
        form.setForeColor(box, colour::grey);
    form.setForeColor(group.upperLabel, colour::grey);
    // The fixed value is an input from now on, whatever computed it last; its boxes show the
    // fixed look, not the cue of a result that failed.
    form.setStale(group.lowerBox, false);
    form.setStale(group.upperBox, false);
    for (C bar : group.spinBars)
        form.setEnabled(bar, false);
    form.setTag(group.fixButton, "1");
    form.setEnabled(group.fixButton, false);
    form.setEnabled(group.firstOption, false);
    form.setEnabled(group.secondOption, false);
    form.setEnabled(group.quickBox, false);
    form.setCaption(
        group.lowerLabel, form.optionValue(group.firstOption) ? group.firstUnit : group.secondUnit);
}

} // namespace

void SetFixMode(Form &form, int mode)
{
    resetAllGroups(form);
    for (int m = 1; m <= static_cast<int>(fixGroups.size()); ++m) {
        if (mode == m)
            freezeGroup(form, fixGroups[static_cast<std::size_t>(m - 1)]);
    }
}

bool isFixed(const Form &form, Control fixButton)
{
    return readLeadingNumber(form.tag(fixButton)) == 1;
}

} // namespace model
