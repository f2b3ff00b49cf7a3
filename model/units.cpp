// SPDX-FileCopyrightText: The LC Tune developers
// SPDX-License-Identifier: MIT

#include "model/units.h"

#include "model/leading_number.h"

namespace {

using model::Control;
using model::Form;
using model::readLeadingNumber;

double number(const Form &form, Control box)
{
    return readLeadingNumber(form.text(box));
}

} // namespace

namespace model {

// Each value is stored the moment it is computed, in the order the boxes have always been read.
// Only the first button of each pair is tested: the other unit counts as chosen whenever it is off.
void PrepocitaJednotky(const Form &form, Module1 &m)
{
    const bool nanohenry = form.optionValue(Control::Option1);
    const double perInductance = nanohenry ? 1000.0 : 1.0;
    m.Lmin = number(form, Control::Text1) / perInductance;
    m.Lmax = number(form, Control::Text2) / perInductance;

    const bool picofarad = form.optionValue(Control::Option3);
    const double capacitanceFactor = picofarad ? 1.0 : 1000.0;
    // Cx is added after the box is brought to pF: it never takes the box's unit.
    double cx = number(form, Control::Text7);
    m.Cmin = number(form, Control::Text3) * capacitanceFactor + cx;
    cx = number(form, Control::Text7);
    m.Cmax = number(form, Control::Text4) * capacitanceFactor + cx;

    const bool kilohertz = form.optionValue(Control::Option5);
    const double perFrequency = kilohertz ? 1000.0 : 1.0;
    m.Fmin = number(form, Control::Text5) / perFrequency;
    m.Fmax = number(form, Control::Text6) / perFrequency;
}

} // namespace model
