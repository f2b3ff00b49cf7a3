// SPDX-FileCopyrightText: The LC Tune developers
// SPDX-License-Identifier: MIT

#include "window/backends/backends.h"

extern "C" Q_DECL_EXPORT window::PrintBackend *lctuneCreatePrintBackend()
{
#ifdef LCTUNE_HAVE_CUPS
    return window::cupsPrintBackend().release();
#else
    return window::qtPrintBackend().release();
#endif
}
