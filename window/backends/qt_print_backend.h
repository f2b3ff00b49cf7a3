#pragma once

#include "window/print_backend.h"

namespace window {

// Qt's own printing, on every platform: the page goes to the platform's spooler.
std::unique_ptr<PrintBackend> qtPrintBackend();

} // namespace window
