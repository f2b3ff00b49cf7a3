// SPDX-FileCopyrightText: The LC Tune developers
// SPDX-License-Identifier: MIT

#pragma once

#include "model/form.h"

#include <array>
#include <string_view>

namespace model {

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
    {Control::Form1,    TextProperty::Caption, "Výpočet rezonančného obvodu",             "The Resonance circuit calculation"},
    {Control::Label11,  TextProperty::Caption, "EN",                                      "SK"},
    {Control::Check1,   TextProperty::Caption, "Rýchle",                                  "Quick"},
    {Control::Check2,   TextProperty::Caption, "Rýchle",                                  "Quick"},
    {Control::Check3,   TextProperty::Caption, "Rýchle",                                  "Quick"},
    {Control::Check1,   TextProperty::ToolTip, "Rýchle nastavenie rozsahu Lp",            "Setup Lp range quickly"},
    {Control::Check2,   TextProperty::ToolTip, "Rýchle nastavenie rozsahu Cp",            "Setup Cp range quickly"},
    {Control::Check3,   TextProperty::ToolTip, "Rýchle nastavenie rozsahu Fx",            "Setup Fx range quickly"},
    {Control::Command1, TextProperty::ToolTip, "Zafixovanie minimálnej hodnoty Lp",       "Fix lower Lp value setup"},
    {Control::Command2, TextProperty::ToolTip, "Zafixovanie minimálnej hodnoty Cp",       "Fix lower Cp value"},
    {Control::Command3, TextProperty::ToolTip, "Zafixovanie minimálnej hodnoty Fx",       "Fix lower Fx value setup"},
    {Control::Command4, TextProperty::ToolTip, "Vytlač tento výpočet",                    "Print this calculation"},
    {Control::Command5, TextProperty::ToolTip, "Setup English language",                  "Nastavenie slovenského jazyka"},
    {Control::Frame1,   TextProperty::ToolTip, "Nastavenie rozsahu indukčnosti",          "Setup range of Inductace"},
    {Control::Frame2,   TextProperty::ToolTip, "Nastavenie rozsahu kapacity",             "Setup range of Capacitance"},
    {Control::Frame3,   TextProperty::ToolTip, "Nastavnie rozsahu frekvencie",            "Setup range of Frequency"},
    {Control::Frame4,   TextProperty::ToolTip, "Nastavenie hodnoty parazitných kapacít",  "Setup Parasitic capacitance"},
    {Control::Text1,    TextProperty::ToolTip, "Najmenšia indukčnosť",                    "Lower Inductance"},
    {Control::Text2,    TextProperty::ToolTip, "Najväčšia indukčnosť",                    "Upper Inductance"},
    {Control::Text3,    TextProperty::ToolTip, "Najmenšia kapacita",                      "Lower Capacitance"},
    {Control::Text4,    TextProperty::ToolTip, "Najväčšia kapacita",                      "Upper Capacitance"},
    {Control::Text5,    TextProperty::ToolTip, "Najmenší kmitočet",                       "Lower Frequency"},
    {Control::Text6,    TextProperty::ToolTip, "Najväčší kmitočet",                       "Upper Frequency"},
    {Control::Text7,    TextProperty::ToolTip, "Parazitné kapacity",                      "Parasitic Capacitances"},
}};

// What a screen reader calls each spin bar: the role of the box it steps, with the step. Every
// other control is named by its tool tip or its caption.
inline constexpr std::array<LanguageText, 7> spinBarNames = {{
    {Control::VScroll1, TextProperty::AccessibleName, "Krok najmenšej indukčnosti",  "Lower Inductance step"},
    {Control::VScroll2, TextProperty::AccessibleName, "Krok najväčšej indukčnosti",  "Upper Inductance step"},
    {Control::VScroll3, TextProperty::AccessibleName, "Krok najmenšej kapacity",     "Lower Capacitance step"},
    {Control::VScroll4, TextProperty::AccessibleName, "Krok najväčšej kapacity",     "Upper Capacitance step"},
    {Control::VScroll5, TextProperty::AccessibleName, "Krok najmenšieho kmitočtu",   "Lower Frequency step"},
    {Control::VScroll6, TextProperty::AccessibleName, "Krok najväčšieho kmitočtu",   "Upper Frequency step"},
    {Control::VScroll7, TextProperty::AccessibleName, "Krok parazitných kapacít",    "Parasitic Capacitances step"},
}};
// clang-format on

// What a screen reader is told beyond the window's own texts, which have no words for what the
// colours of the boxes say nor for what a step computed.
struct SpokenWords
{
    std::string_view fixedValue; // the light red box, and Cx while fixed with the capacitance
    std::string_view unusedWhileFixed; // the silver box of the fixed quantity
    std::string_view notAResult; // the red text of a range that had no result
    std::string_view rangeTo; // "F 9.777 to 14.838 MHz"
    std::string_view noResult; // "F: no result"
    std::string_view fixed; // "fixed: C"
};

// clang-format off
inline constexpr SpokenWords englishWords = {
    "fixed value", "not used while fixed", "not a result of the current inputs", "to", "no result",
    "fixed"};
inline constexpr SpokenWords slovakWords = {
    "pevná hodnota", "nepoužíva sa, kým je pevná", "nie je výsledkom terajších vstupov", "až",
    "bez výsledku", "zafixované"};
// clang-format on

// The quantities as they are spoken, in the order of the fix groups.
inline constexpr std::array<std::string_view, 3> quantityLetters = { "L", "C", "F" };

inline constexpr int slovak = 1;
inline constexpr int english = 0;
inline constexpr int noLanguage = -1;

// Shows the texts of a language, and names the spin bars in it: 1 is Slovak, anything else
// English.
void GetLang(Form &form, int language);

// The language the window shows, as the language button's tag records it: slovak, english, or
// noLanguage when the tag holds another number.
int shownLanguage(const Form &form);

// The words of the language the window shows now, which the language button's tag records.
const SpokenWords &spokenWords(const Form &form);

// The language button: switches to the other language, recording it in the button's tag first.
void switchLanguage(Form &form);

} // namespace model
