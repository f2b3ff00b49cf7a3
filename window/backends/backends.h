// SPDX-FileCopyrightText: The LC Tune developers
// SPDX-License-Identifier: MIT

#pragma once

#include "window/print_backend.h"

namespace window {

// Qt's own printing, on every platform: the page goes to the platform's spooler.
std::unique_ptr<PrintBackend> qtPrintBackend();

// Hands the page to the CUPS server of the user's settings, off the window's thread and within a
// bound that no server can stretch, and learns whether the queue took the job.
std::unique_ptr<PrintBackend> cupsPrintBackend();

} // namespace window
