// SPDX-FileCopyrightText: The LC Tune developers
// SPDX-License-Identifier: MIT

#include "model/language.h"

#include "model/leading_number.h"

namespace {

void show(model::Form &form, const model::LanguageText &entry, bool inSlovak)
{
    const std::string_view text = inSlovak ? entry.slovak : entry.english;
    switch (entry.property) {
    case model::TextProperty::Caption:
        form.setCaption(entry.control, text);
        break;
    case model::TextProperty::ToolTip:
        form.setToolTip(entry.control, text);
        break;
    case model::TextProperty::AccessibleName:
        form.setAccessibleName(entry.control, text);
        break;
    }
}

} // namespace

namespace model {

void GetLang(Form &form, int language)
{
    const bool inSlovak = language == slovak;
    for (const LanguageText &entry : languageTexts)
        show(form, entry, inSlovak);
    for (const LanguageText &entry : spinBarNames)
        show(form, entry, inSlovak);
}

int shownLanguage(const Form &form)
{
    const double tag = readLeadingNumber(form.tag(Control::Command5));
    if (tag == slovak)
        return slovak;
    return tag == english ? english : noLanguage;
}

const SpokenWords &spokenWords(const Form &form)
{
    return shownLanguage(form) == slovak ? slovakWords : englishWords;
}

void switchLanguage(Form &form)
{
    const int shown = shownLanguage(form);
    if (shown == english) {
        form.setTag(Control::Command5, "1");
        GetLang(form, slovak);
    } else if (shown == slovak) {
        form.setTag(Control::Command5, "0");
        GetLang(form, english);
    }
}

} // namespace model
