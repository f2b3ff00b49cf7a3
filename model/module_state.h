// SPDX-FileCopyrightText: The LC Tune developers
// SPDX-License-Identifier: MIT

#pragma once

namespace model {

// The calculator's module-level numbers, in base units: uH, pF (Cmin and Cmax include the
// parasitic capacitance, the computed capacitances do not) and MHz. The steps are in whatever
// unit the boxes show.
struct Module1
{
    double Lmin = 0, Lmax = 0;
    double Cmin = 0, Cmax = 0;
    double Fmin = 0, Fmax = 0;
    double LcalcMin = 0, LcalcMax = 0;
    double CcalcMin = 0, CcalcMax = 0;
    double FcalcMin = 0, FcalcMax = 0;
    double StepL = 0, StepC = 0, StepF = 0;
};

} // namespace model
