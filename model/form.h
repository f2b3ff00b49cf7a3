// SPDX-FileCopyrightText: The LC Tune developers
// SPDX-License-Identifier: MIT

#pragma once

// The seam between the calculator's logic and the window: the few properties that the
// procedures read and write, addressed by the controls' own names. window/ implements it on
// the real widgets; tests implement it on plain data.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace model {

// clang-format off
enum class Control : std::uint8_t {
    Form1,
    Text1, Text2, Text3, Text4, Text5, Text6, Text7,
    VScroll1, VScroll2, VScroll3, VScroll4, VScroll5, VScroll6, VScroll7,
    Command1, Command2, Command3, Command4, Command5,
    Option1, Option2, Option3, Option4, Option5, Option6,
    Check1, Check2, Check3,
    Label1, Label2, Label3, Label4, Label5, Label6,
    Label7, Label8, Label9, Label10, Label11, Label12,
    Frame1, Frame2, Frame3, Frame4,
};
// clang-format on

inline constexpr std::size_t controlCount = static_cast<std::size_t>(Control::Frame4) + 1;

// The name that the window gives the control (its objectName).
std::string_view controlName(Control control);
std::optional<Control> controlNamed(std::string_view name);

// 0x00BBGGRR, red in the low byte. With the top bit set the low byte is a system colour index.
using Colour = std::uint32_t;

namespace colour {
inline constexpr Colour lightGreen = 0xC0FFC0;
inline constexpr Colour green = 0x80FF80;
inline constexpr Colour lightRed = 0xC0C0FF;
inline constexpr Colour silver = 0xC0C0C0;
inline constexpr Colour grey = 0x808080;
inline constexpr Colour black = 0x000000;
inline constexpr Colour blue = 0xFF0000;
inline constexpr Colour purple = 0x800080;
inline constexpr Colour brown = 0x004080;
inline constexpr Colour systemMenuText = 0x80000007;
inline constexpr Colour systemWindowText = 0x80000008;
inline constexpr Colour systemButtonFace = 0x8000000F;
inline constexpr Colour systemButtonText = 0x80000012;

constexpr bool isSystem(Colour c)
{
    return (c & 0x80000000u) != 0;
}

// The system colour's index, or one channel of an exact colour.
constexpr int byteOf(Colour c, int byte)
{
    return static_cast<int>((c >> (8 * byte)) & 0xFFu);
}
} // namespace colour

class Form
{
public:
    virtual ~Form() = default;

    // Text of a box.
    virtual std::string text(Control box) const = 0;
    virtual void setText(Control box, std::string_view text) = 0;
    // Caption of a label or check box; of Form1, the window title.
    virtual void setCaption(Control control, std::string_view caption) = 0;
    virtual void setToolTip(Control control, std::string_view tip) = 0;
    // What a screen reader calls a control. A form that none can see may ignore it.
    virtual void setAccessibleName(Control, std::string_view) { }
    virtual std::string tag(Control control) const = 0;
    virtual void setTag(Control control, std::string_view tag) = 0;
    virtual void setBackColor(Control control, Colour colour) = 0;
    virtual void setForeColor(Control control, Colour colour) = 0;
    virtual void setLocked(Control box, bool locked) = 0;
    // Marks a result box whose text is not a result of the current inputs (a formula had none).
    virtual void setStale(Control box, bool stale) = 0;
    virtual void setEnabled(Control control, bool enabled) = 0;
    // True while an option button is selected.
    virtual bool optionValue(Control option) const = 0;
    // 0 unticked, 1 ticked.
    virtual int checkValue(Control check) const = 0;
    // A spin bar's position, +1 at its top end and -1 at its bottom end. Setting a different
    // position raises the bar's change handler at once, nested inside the call.
    virtual int scrollValue(Control bar) const = 0;
    virtual void setScrollValue(Control bar, int position) = 0;
};

} // namespace model
