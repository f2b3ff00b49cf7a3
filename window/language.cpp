// SPDX-FileCopyrightText: The LC Tune developers
// SPDX-License-Identifier: MIT

#include "window/language.h"

#include "model/leading_number.h"

namespace {

void show(model::Form &form, const window::LanguageText &entry, bool inSlovak)
{
    const std::string_view text = inSlovak ? entry.slovak : entry.english;
    switch (entry.property) {
    case window::TextProperty::Caption:
        form.setCaption(entry.control, text);
        break;
    case window::TextProperty::ToolTip:
        form.setToolTip(entry.control, text);
        break;
    case window::TextProperty::AccessibleName:
        form.setAccessibleName(entry.control, text);
        break;
    }
}

} // namespace

namespace window {

void GetLang(model::Form &form, int language)
{
    const bool inSlovak = language == slovak;
    for (const LanguageText &entry : languageTexts)
        show(form, entry, inSlovak);
    for (const LanguageText &entry : spinBarNames)
        show(form, entry, inSlovak);
}

int shownLanguage(const model::Form &form)
{
    const double tag = model::readLeadingNumber(form.tag(model::Control::Command5));
    if (tag == slovak)
        return slovak;
    return tag == english ? english : noLanguage;
}

void switchLanguage(model::Form &form)
{
    using model::Control;
    const int shown = shownLanguage(form);
    if (shown == english) {
        form.setTag(Control::Command5, "1");
        GetLang(form, slovak);
    } else if (shown == slovak) {
        form.setTag(Control::Command5, "0");
        GetLang(form, english);
    }
}

} // namespace window
