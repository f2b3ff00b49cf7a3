// SPDX-FileCopyrightText: The LC Tune developers
// SPDX-License-Identifier: MIT

#pragma once

// The form seam on the real widgets.

#include "model/form.h"

#include <QColor>

#include <array>

class QLabel;
class QWidget;

namespace window {

// A label that fits its caption keeps its left and top edges and takes the caption's width in
// its own face, whenever the caption changes.
inline constexpr char fitsCaptionProperty[] = "fitsCaption";
void fitToCaption(QLabel *label);

class QtForm : public model::Form
{
public:
    // Registers a control under its own name; the window does this as it builds the layout.
    void add(model::Control control, QWidget *widget);
    QWidget *widget(model::Control control) const;

    std::string text(model::Control box) const override;
    void setText(model::Control box, std::string_view text) override;
    void setCaption(model::Control control, std::string_view caption) override;
    void setToolTip(model::Control control, std::string_view tip) override;
    void setAccessibleName(model::Control control, std::string_view name) override;
    std::string tag(model::Control control) const override;
    void setTag(model::Control control, std::string_view tag) override;
    void setBackColor(model::Control control, model::Colour colour) override;
    void setForeColor(model::Control control, model::Colour colour) override;
    void setLocked(model::Control box, bool locked) override;
    void setStale(model::Control box, bool stale) override;
    void setEnabled(model::Control control, bool enabled) override;
    bool optionValue(model::Control option) const override;
    int checkValue(model::Control check) const override;
    int scrollValue(model::Control bar) const override;
    void setScrollValue(model::Control bar, int position) override;

    // The text colour a box shows for a stale result, whatever its own colour is.
    static QColor staleColour();

    // What a screen reader reads beside each box's name: its unit as chosen now and what its
    // colour says; beside each fix button's, which quantity is fixed. Kept up to date by the
    // window after every event.
    void describeControls();
    // Tells a screen reader what a step or a unit click did, in the description of the spin bar
    // or unit button that the user is on: the range that the solver computed, or that there was
    // none.
    void announce(model::Control source);

private:
    // The control's widget as the kind a call needs. Naming a control of another kind is a
    // programming error: a debug build stops there with the control's name, a release build
    // gets nullptr and the call acts on nothing.
    template <typename Widget> Widget *as(model::Control control) const;
    void showForeColor(model::Control control);
    std::string boxDescription(model::Control box) const;
    std::string rangeSpoken(std::size_t group) const;

    std::array<QWidget *, model::controlCount> m_widgets {};
    std::array<QColor, model::controlCount> m_foreColours {};
    std::array<bool, model::controlCount> m_stale {};
};

} // namespace window
