#pragma once

#include "window/print_backend.h"

namespace window {

// Prints through the CUPS server of the user's settings and follows the job until it is done, so
// that a stopped, refusing or failing queue is reported rather than taken for success.
std::unique_ptr<PrintBackend> cupsPrintBackend();

} // namespace window
