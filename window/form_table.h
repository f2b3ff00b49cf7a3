// SPDX-FileCopyrightText: The LC Tune developers
// SPDX-License-Identifier: MIT

#pragma once

// The window as data: every control with its container, rectangle in twips, initial text,
// colours, font and tab index. The circuit picture's labels, shapes and lines follow in their
// front-to-back order: an earlier row is drawn over a later one.

#include "model/form.h"

#include <array>
#include <cstdint>
#include <variant>

namespace window {

enum class Kind : std::uint8_t {
    Frame,
    Label,
    TextBox,
    SpinBar,
    Button,
    Option,
    Check,
    Circle,
    Rectangle,
    Line
};

enum class Face : std::uint8_t {
    Dialog, // the window's own 8 pt face
    Arial8, // 8.25 pt
    Sans12, // 12 pt, the value boxes
};

enum Flag : std::uint8_t {
    NoFlag = 0,
    FitsCaption = 1, // width follows the caption; left and top stay
    Selected = 2, // option button chosen at start
};

// Where a control or shape stands, in twips: from its container's top-left corner.
struct Box
{
    int left, top, width, height;
};

// A line of the picture, in twips: from one end to the other.
struct Segment
{
    int x1, y1, x2, y2;
};

struct ControlRow
{
    const char *name;
    Kind kind;
    const char *parent;
    std::variant<Box, Segment> place; // a Segment for a line
    const char *text;
    model::Colour fore; // text; outline of a shape; a line's colour
    model::Colour back; // background; fill of a shape
    Face face;
    int tab; // keyboard order; -1 for the picture, which takes no part in it
    int penPixels; // line width or shape outline
    std::uint8_t flags;
};

inline constexpr int twipsPerPixel = 15;
inline constexpr int clientWidthTwips = 8985;
inline constexpr int clientHeightTwips = 2775;
// A shape with no fill lets what lies behind it show through.
inline constexpr model::Colour noFill = 0xFFFFFFFF;

namespace detail {
using namespace model::colour;
inline constexpr model::Colour face = systemButtonFace;
inline constexpr model::Colour btnText = systemButtonText;
inline constexpr model::Colour winText = systemWindowText;
} // namespace detail

// clang-format off
inline constexpr auto formTable = [] {
    using namespace detail;
    using K = Kind;
    using F = Face;
    return std::array<ControlRow, 65>{{
//   name        kind          parent     place                            text     fore       back        face       tab pen flags
    {"Frame1",   K::Frame,     "Form1",   Box{240,  240,  1935, 2325},     "Lp",    purple,    face,       F::Dialog, 13, 0, NoFlag},
    {"Label1",   K::Label,     "Frame1",  Box{240,  270,  300,  195},      "Min.",  btnText,   face,       F::Dialog, 34, 0, FitsCaption},
    {"Text1",    K::TextBox,   "Frame1",  Box{240,  480,  1095, 375},      "5.00",  winText,   lightGreen, F::Sans12, 17, 0, NoFlag},
    {"VScroll1", K::SpinBar,   "Frame1",  Box{1440, 480,  255,  375},      "",      btnText,   face,       F::Dialog, 19, 0, NoFlag},
    {"Label2",   K::Label,     "Frame1",  Box{240,  870,  345,  195},      "Max.",  btnText,   face,       F::Dialog, 32, 0, FitsCaption},
    {"Text2",    K::TextBox,   "Frame1",  Box{240,  1080, 1095, 375},      "8.00",  winText,   lightGreen, F::Sans12, 16, 0, NoFlag},
    {"VScroll2", K::SpinBar,   "Frame1",  Box{1440, 1080, 255,  375},      "",      btnText,   face,       F::Dialog, 20, 0, NoFlag},
    {"Command1", K::Button,    "Frame1",  Box{1400, 1560, 300,  300},      "F",     btnText,   face,       F::Arial8, 18, 0, NoFlag},
    {"Option1",  K::Option,    "Frame1",  Box{240,  1680, 615,  195},      "nH",    blue,      face,       F::Arial8, 15, 0, NoFlag},
    {"Option2",  K::Option,    "Frame1",  Box{240,  1920, 615,  195},      "uH",    blue,      face,       F::Arial8, 14, 0, Selected},
    {"Check1",   K::Check,     "Frame1",  Box{960,  1920, 855,  195},      "Quick", black,     silver,     F::Dialog, 37, 0, NoFlag},
    {"Frame2",   K::Frame,     "Form1",   Box{4730, 240,  1935, 2325},     "Cp",    purple,    face,       F::Dialog, 1,  0, NoFlag},
    {"Label3",   K::Label,     "Frame2",  Box{240,  270,  495,  255},      "Min.",  btnText,   face,       F::Dialog, 35, 0, NoFlag},
    {"Text3",    K::TextBox,   "Frame2",  Box{240,  480,  1095, 375},      "20",    winText,   lightGreen, F::Sans12, 9,  0, NoFlag},
    {"VScroll3", K::SpinBar,   "Frame2",  Box{1440, 480,  255,  375},      "",      btnText,   face,       F::Dialog, 21, 0, NoFlag},
    {"Label4",   K::Label,     "Frame2",  Box{240,  870,  345,  195},      "Max.",  btnText,   face,       F::Dialog, 33, 0, FitsCaption},
    {"Text4",    K::TextBox,   "Frame2",  Box{240,  1080, 1095, 375},      "50",    winText,   lightGreen, F::Sans12, 10, 0, NoFlag},
    {"VScroll4", K::SpinBar,   "Frame2",  Box{1440, 1080, 255,  375},      "",      btnText,   face,       F::Dialog, 22, 0, NoFlag},
    {"Command2", K::Button,    "Frame2",  Box{1400, 1560, 300,  300},      "F",     btnText,   face,       F::Arial8, 0,  0, NoFlag},
    {"Option3",  K::Option,    "Frame2",  Box{240,  1680, 615,  210},      "pF",    blue,      face,       F::Arial8, 11, 0, Selected},
    {"Option4",  K::Option,    "Frame2",  Box{240,  1920, 615,  210},      "nF",    blue,      face,       F::Arial8, 12, 0, NoFlag},
    {"Check2",   K::Check,     "Frame2",  Box{960,  1920, 855,  195},      "Quick", black,     face,       F::Dialog, 38, 0, NoFlag},
    {"Frame3",   K::Frame,     "Form1",   Box{6800, 240,  1935, 2325},     "Fx",    purple,    face,       F::Dialog, 2,  0, NoFlag},
    {"Label5",   K::Label,     "Frame3",  Box{240,  270,  300,  195},      "Min.",  btnText,   face,       F::Dialog, 36, 0, FitsCaption},
    {"Text5",    K::TextBox,   "Frame3",  Box{240,  480,  1095, 375},      "9.78",  winText,   lightGreen, F::Sans12, 3,  0, NoFlag},
    {"VScroll5", K::SpinBar,   "Frame3",  Box{1440, 480,  255,  375},      "",      btnText,   face,       F::Dialog, 23, 0, NoFlag},
    {"Label6",   K::Label,     "Frame3",  Box{240,  870,  345,  225},      "Max.",  btnText,   face,       F::Arial8, 5,  0, FitsCaption},
    {"Text6",    K::TextBox,   "Frame3",  Box{240,  1080, 1095, 375},      "14.84", winText,   lightGreen, F::Sans12, 4,  0, NoFlag},
    {"VScroll6", K::SpinBar,   "Frame3",  Box{1440, 1080, 255,  375},      "",      btnText,   face,       F::Dialog, 24, 0, NoFlag},
    {"Command3", K::Button,    "Frame3",  Box{1400, 1560, 300,  300},      "F",     btnText,   face,       F::Arial8, 8,  0, NoFlag},
    {"Option5",  K::Option,    "Frame3",  Box{240,  1680, 615,  240},      "kHz",   blue,      face,       F::Arial8, 6,  0, NoFlag},
    {"Option6",  K::Option,    "Frame3",  Box{240,  1920, 615,  210},      "MHz",   blue,      face,       F::Arial8, 7,  0, Selected},
    {"Check3",   K::Check,     "Frame3",  Box{960,  1920, 855,  195},      "Quick", btnText,   face,       F::Dialog, 39, 0, NoFlag},
    {"Frame4",   K::Frame,     "Form1",   Box{2600, 1800, 1695, 765},      "Cx",    purple,    face,       F::Dialog, 25, 0, NoFlag},
    {"Label10",  K::Label,     "Frame4",  Box{150,  350,  180,  195},      "pF",    btnText,   face,       F::Dialog, 31, 0, FitsCaption},
    {"Text7",    K::TextBox,   "Frame4",  Box{360,  240,  735,  375},      "3.0",   winText,   green,      F::Sans12, 29, 0, NoFlag},
    {"VScroll7", K::SpinBar,   "Frame4",  Box{1200, 240,  255,  375},      "",      btnText,   face,       F::Dialog, 30, 0, NoFlag},
    {"Label11",  K::Label,     "Form1",   Box{2265, 1950, 210,  210},      "SK",    brown,     face,       F::Arial8, 40, 0, FitsCaption},
    {"Command5", K::Button,    "Form1",   Box{2280, 2160, 200,  200},      "",      btnText,   face,       F::Dialog, 42, 0, NoFlag},
    {"Label12",  K::Label,     "Form1",   Box{4375, 1950, 285,  210},      "PRT",   brown,     face,       F::Arial8, 43, 0, FitsCaption},
    {"Command4", K::Button,    "Form1",   Box{4410, 2160, 200,  200},      "",      btnText,   face,       F::Dialog, 41, 0, NoFlag},
    // The circuit picture, front to back.
    {"Label9",   K::Label,     "Form1",   Box{3420, 1155, 180,  195},      "Cx",    black,     face,       F::Dialog, 28, 0, FitsCaption},
    {"Label8",   K::Label,     "Form1",   Box{2880, 480,  180,  195},      "Lp",    black,     face,       F::Dialog, 27, 0, FitsCaption},
    {"Label7",   K::Label,     "Form1",   Box{4140, 675,  195,  195},      "Cp",    black,     face,       F::Dialog, 26, 0, FitsCaption},
    {"Shape9",   K::Circle,    "Form1",   Box{3315, 1620, 90,   135},      "",      winText,   grey,       F::Dialog, -1, 1, NoFlag},
    {"Shape5",   K::Circle,    "Form1",   Box{3315, 300,  90,   135},      "",      winText,   grey,       F::Dialog, -1, 1, NoFlag},
    {"Line12",   K::Line,      "Form1",   Segment{3240, 1080, 3480, 1080}, "",      grey,      noFill,     F::Dialog, -1, 5, NoFlag},
    {"Line11",   K::Line,      "Form1",   Segment{3240, 960,  3480, 960},  "",      grey,      noFill,     F::Dialog, -1, 5, NoFlag},
    {"Line10",   K::Line,      "Form1",   Segment{3360, 1095, 3360, 1675}, "",      grey,      noFill,     F::Dialog, -1, 2, NoFlag},
    {"Line9",    K::Line,      "Form1",   Segment{3360, 360,  3360, 925},  "",      grey,      noFill,     F::Dialog, -1, 2, NoFlag},
    {"Line8",    K::Line,      "Form1",   Segment{3885, 960,  4265, 960},  "",      winText,   noFill,     F::Dialog, -1, 5, NoFlag},
    {"Line7",    K::Line,      "Form1",   Segment{3885, 1080, 4265, 1080}, "",      winText,   noFill,     F::Dialog, -1, 5, NoFlag},
    {"Line6",    K::Line,      "Form1",   Segment{4080, 1080, 4080, 1680}, "",      winText,   noFill,     F::Dialog, -1, 2, NoFlag},
    {"Line5",    K::Line,      "Form1",   Segment{4080, 360,  4080, 910},  "",      winText,   noFill,     F::Dialog, -1, 2, NoFlag},
    {"Line4",    K::Line,      "Form1",   Segment{2835, 1680, 4075, 1680}, "",      winText,   noFill,     F::Dialog, -1, 2, NoFlag},
    {"Line3",    K::Line,      "Form1",   Segment{2835, 360,  4070, 360},  "",      winText,   noFill,     F::Dialog, -1, 2, NoFlag},
    {"Line2",    K::Line,      "Form1",   Segment{2820, 1560, 2820, 1680}, "",      winText,   noFill,     F::Dialog, -1, 2, NoFlag},
    {"Line1",    K::Line,      "Form1",   Segment{2820, 480,  2820, 360},  "",      winText,   noFill,     F::Dialog, -1, 2, NoFlag},
    {"Shape8",   K::Rectangle, "Form1",   Box{2820, 1440, 255,  255},      "",      silver,    silver,     F::Dialog, -1, 1, NoFlag},
    {"Shape7",   K::Rectangle, "Form1",   Box{2820, 360,  210,  255},      "",      silver,    silver,     F::Dialog, -1, 1, NoFlag},
    {"Shape6",   K::Rectangle, "Form1",   Box{2955, 240,  240,  1335},     "",      silver,    silver,     F::Dialog, -1, 1, NoFlag},
    {"Shape4",   K::Circle,    "Form1",   Box{2640, 480,  375,  375},      "",      winText,   noFill,     F::Dialog, -1, 2, NoFlag},
    {"Shape3",   K::Circle,    "Form1",   Box{2640, 720,  375,  375},      "",      winText,   noFill,     F::Dialog, -1, 2, NoFlag},
    {"Shape2",   K::Circle,    "Form1",   Box{2640, 960,  375,  375},      "",      winText,   noFill,     F::Dialog, -1, 2, NoFlag},
    {"Shape1",   K::Circle,    "Form1",   Box{2640, 1200, 375,  375},      "",      winText,   noFill,     F::Dialog, -1, 2, NoFlag},
    }};
}();
// clang-format on

constexpr bool isPicture(Kind kind)
{
    return kind == Kind::Circle || kind == Kind::Rectangle || kind == Kind::Line;
}

} // namespace window
