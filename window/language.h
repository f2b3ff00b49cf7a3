// SPDX-FileCopyrightText: The LC Tune developers
// SPDX-License-Identifier: MIT

#pragma once

#include "model/form.h"

#include <array>
#include <string_view>

namespace window {

enum class TextProperty { Caption, ToolTip, AccessibleName };

struct LanguageText
{
    model::Control control;
    TextProperty property;
    std::string_view slovak;
    std::string_view english;
};

// Every text that changes with the language, in the order GetLang writes them.
// clang-format off
inline constexpr std::array<LanguageText, 24> languageTexts = {{
    {model::Control::Form1,    TextProperty::Caption, "Výpočet rezonančného obvodu",             "The Resonance circuit calculation"},
    {model::Control::Label11,  TextProperty::Caption, "EN",                                      "SK"},
    {model::Control::Check1,   TextProperty::Caption, "Rýchle",                                  "Quick"},
    {model::Control::Check2,   TextProperty::Caption, "Rýchle",                                  "Quick"},
    {model::Control::Check3,   TextProperty::Caption, "Rýchle",                                  "Quick"},
    {model::Control::Check1,   TextProperty::ToolTip, "Rýchle nastavenie rozsahu Lp",            "Setup Lp range quickly"},
    {model::Control::Check2,   TextProperty::ToolTip, "Rýchle nastavenie rozsahu Cp",            "Setup Cp range quickly"},
    {model::Control::Check3,   TextProperty::ToolTip, "Rýchle nastavenie rozsahu Fx",            "Setup Fx range quickly"},
    {model::Control::Command1, TextProperty::ToolTip, "Zafixovanie minimálnej hodnoty Lp",       "Fix lower Lp value setup"},
    {model::Control::Command2, TextProperty::ToolTip, "Zafixovanie minimálnej hodnoty Cp",       "Fix lower Cp value"},
    {model::Control::Command3, TextProperty::ToolTip, "Zafixovanie minimálnej hodnoty Fx",       "Fix lower Fx value setup"},
    {model::Control::Command4, TextProperty::ToolTip, "Vytlač tento výpočet",                    "Print this calculation"},
    {model::Control::Command5, TextProperty::ToolTip, "Setup English language",                  "Nastavenie slovenského jazyka"},
    {model::Control::Frame1,   TextProperty::ToolTip, "Nastavenie rozsahu indukčnosti",          "Setup range of Inductace"},
    {model::Control::Frame2,   TextProperty::ToolTip, "Nastavenie rozsahu kapacity",             "Setup range of Capacitance"},
    {model::Control::Frame3,   TextProperty::ToolTip, "Nastavnie rozsahu frekvencie",            "Setup range of Frequency"},
    {model::Control::Frame4,   TextProperty::ToolTip, "Nastavenie hodnoty parazitných kapacít",  "Setup Parasitic capacitance"},
    {model::Control::Text1,    TextProperty::ToolTip, "Najmenšia indukčnosť",                    "Lower Inductance"},
    {model::Control::Text2,    TextProperty::ToolTip, "Najväčšia indukčnosť",                    "Upper Inductance"},
    {model::Control::Text3,    TextProperty::ToolTip, "Najmenšia kapacita",                      "Lower Capacitance"},
    {model::Control::Text4,    TextProperty::ToolTip, "Najväčšia kapacita",                      "Upper Capacitance"},
    {model::Control::Text5,    TextProperty::ToolTip, "Najmenší kmitočet",                       "Lower Frequency"},
    {model::Control::Text6,    TextProperty::ToolTip, "Najväčší kmitočet",                       "Upper Frequency"},
    {model::Control::Text7,    TextProperty::ToolTip, "Parazitné kapacity",                      "Parasitic Capacitances"},
}};

// What a screen reader calls each spin bar: the role of the box it steps, with the step. Every
// other control is named by its tool tip or its caption.
inline constexpr std::array<LanguageText, 7> spinBarNames = {{
    {model::Control::VScroll1, TextProperty::AccessibleName, "Krok najmenšej indukčnosti",  "Lower Inductance step"},
    {model::Control::VScroll2, TextProperty::AccessibleName, "Krok najväčšej indukčnosti",  "Upper Inductance step"},
    {model::Control::VScroll3, TextProperty::AccessibleName, "Krok najmenšej kapacity",     "Lower Capacitance step"},
    {model::Control::VScroll4, TextProperty::AccessibleName, "Krok najväčšej kapacity",     "Upper Capacitance step"},
    {model::Control::VScroll5, TextProperty::AccessibleName, "Krok najmenšieho kmitočtu",   "Lower Frequency step"},
    {model::Control::VScroll6, TextProperty::AccessibleName, "Krok najväčšieho kmitočtu",   "Upper Frequency step"},
    {model::Control::VScroll7, TextProperty::AccessibleName, "Krok parazitných kapacít",    "Parasitic Capacitances step"},
}};
// clang-format on

inline constexpr int slovak = 1;
inline constexpr int english = 0;
inline constexpr int noLanguage = -1;

// Shows the texts of a language, and names the spin bars in it: 1 is Slovak, anything else
// English.
void GetLang(model::Form &form, int language);

// The language the window shows, as the language button's tag records it: slovak, english, or
// noLanguage when the tag holds another number.
int shownLanguage(const model::Form &form);

// The language button: switches to the other language, recording it in the button's tag first.
void switchLanguage(model::Form &form);

} // namespace window
