#include "window/language.h"

#include "model/leading_number.h"

namespace window {

void GetLang(model::Form &form, int language)
{
    const bool inSlovak = language == slovak;
    for (const LanguageText &entry : languageTexts) {
        const std::string_view text = inSlovak ? entry.slovak : entry.english;
        if (entry.property == TextProperty::Caption)
            form.setCaption(entry.control, text);
        else
            form.setToolTip(entry.control, text);
    }
}

void switchLanguage(model::Form &form)
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

} // namespace window
