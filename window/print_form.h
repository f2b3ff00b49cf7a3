#pragma once

#include "model/form.h"

class QWidget;

namespace window {

class PrintBackend;

// The print button: sends the window's client area as it is now to the default printer as one
// job. When that does not happen the user reads why, in one message in the window's language;
// success shows nothing. Nothing in the window changes.
void printForm(QWidget &window, const model::Form &form);
void printForm(QWidget &window, const model::Form &form, PrintBackend &backend);

} // namespace window
