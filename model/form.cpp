// SPDX-FileCopyrightText: The LC Tune developers
// SPDX-License-Identifier: MIT

#include "model/form.h"

namespace model {

namespace {
// clang-format off
constexpr std::array<std::string_view, controlCount> names = {
    "Form1",
    "Text1", "Text2", "Text3", "Text4", "Text5", "Text6", "Text7",
    "VScroll1", "VScroll2", "VScroll3", "VScroll4", "VScroll5", "VScroll6", "VScroll7",
    "Command1", "Command2", "Command3", "Command4", "Command5",
    "Option1", "Option2", "Option3", "Option4", "Option5", "Option6",
    "Check1", "Check2", "Check3",
    "Label1", "Label2", "Label3", "Label4", "Label5", "Label6",
    "Label7", "Label8", "Label9", "Label10", "Label11", "Label12",
    "Frame1", "Frame2", "Frame3", "Frame4",
};
// clang-format on
} // namespace

std::string_view controlName(Control control)
{
    return names[static_cast<std::size_t>(control)];
}

std::optional<Control> controlNamed(std::string_view name)
{
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (names[i] == name)
            return static_cast<Control>(i);
    }
    return std::nullopt;
}

} // namespace model
