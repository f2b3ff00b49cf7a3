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

const SpokenWords &spokenWords(const Form &form)
{
    return readLeadingNumber(form.tag(Control::Command5)) == slovak ? slovakWords : englishWords;
}

void switchLanguage(Form &form)
{
    using model::Control;
    if (model::readLeadingNumber(form.tag(Control::Command5)) == 0) {
        form.setTag(Control::Command5, "1");
        GetLang(form, slovak);
    } else if (model::readLeadingNumber(form.tag(Control::Command5)) == 1) {
        form.setTag(Control::Command5, "0");
        GetLang(form, english);
    }
}

} // namespace model
