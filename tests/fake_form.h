// SPDX-FileCopyrightText: The LC Tune developers
// SPDX-License-Identifier: MIT

#pragma once

// model::Form on plain data, for tests and benchmarks that drive the calculator's logic without
// a window. Every property is a public field, so a test sets up a form and reads it back directly.

#include "model/form.h"

#include <array>
#include <functional>
#include <string>

namespace testing {

struct FakeControl
{
    std::string text, caption, toolTip, tag;
    model::Colour backColor = 0, foreColor = 0;
    bool locked = false, stale = false, enabled = true;
    bool option = false;
    int check = 0;
    int scroll = 0;
    // Calls of setText, to tell a box left alone from one rewritten with its own text.
    int textWrites = 0;
    // Calls of any setter.
    int writes = 0;
};

class FakeForm final : public model::Form
{
public:
    FakeControl &operator[](model::Control c) { return m_controls[index(c)]; }
    const FakeControl &operator[](model::Control c) const { return m_controls[index(c)]; }

    // Stands in for the toolkit, which runs a bar's change handler inside setScrollValue when the
    // position changes.
    std::function<void(model::Control bar)> onScrollChange;

    std::string text(model::Control box) const override { return (*this)[box].text; }
    void setText(model::Control box, std::string_view text) override
    {
        FakeControl &c = written(box);
        c.text = text;
        ++c.textWrites;
    }
    void setCaption(model::Control control, std::string_view caption) override
    {
        written(control).caption = caption;
    }
    void setToolTip(model::Control control, std::string_view tip) override
    {
        written(control).toolTip = tip;
    }
    std::string tag(model::Control control) const override { return (*this)[control].tag; }
    void setTag(model::Control control, std::string_view tag) override
    {
        written(control).tag = tag;
    }
    void setBackColor(model::Control control, model::Colour colour) override
    {
        written(control).backColor = colour;
    }
    void setForeColor(model::Control control, model::Colour colour) override
    {
        written(control).foreColor = colour;
    }
    void setLocked(model::Control box, bool locked) override { written(box).locked = locked; }
    void setStale(model::Control box, bool stale) override { written(box).stale = stale; }
    void setEnabled(model::Control control, bool enabled) override
    {
        written(control).enabled = enabled;
    }
    bool optionValue(model::Control option) const override { return (*this)[option].option; }
    int checkValue(model::Control check) const override { return (*this)[check].check; }
    int scrollValue(model::Control bar) const override { return (*this)[bar].scroll; }
    void setScrollValue(model::Control bar, int position) override
    {
        FakeControl &c = written(bar);
        if (c.scroll == position)
            return;
        c.scroll = position;
        if (onScrollChange)
            onScrollChange(bar);
    }

private:
    static std::size_t index(model::Control c) { return static_cast<std::size_t>(c); }
    FakeControl &written(model::Control c)
    {
        FakeControl &control = (*this)[c];
        ++control.writes;
        return control;
    }

    std::array<FakeControl, model::controlCount> m_controls;
};

// The window's start texts with uH, pF and MHz chosen, and the fix buttons' tags of a fix mode.
inline FakeForm startForm(int fixMode)
{
    using model::Control;
    FakeForm form;
    form[Control::Text1].text = "5.00";
    form[Control::Text2].text = "8.00";
    form[Control::Text3].text = "20";
    form[Control::Text4].text = "50";
    form[Control::Text5].text = "9.78";
    form[Control::Text6].text = "14.84";
    form[Control::Text7].text = "3.0";
    form[Control::Option2].option = true;
    form[Control::Option3].option = true;
    form[Control::Option6].option = true;
    // Characters, not one-letter literals: GCC 12 at -O3 warns falsely (-Wrestrict) on those.
    form[Control::Command1].tag = fixMode == 1 ? '1' : '0';
    form[Control::Command2].tag = fixMode == 2 ? '1' : '0';
    form[Control::Command3].tag = fixMode == 3 ? '1' : '0';
    return form;
}

} // namespace testing
