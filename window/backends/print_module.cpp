#include "window/print_backend.h"

#ifdef LCTUNE_HAVE_CUPS
#include "window/backends/cups_print_backend.h"
#else
#include "window/backends/qt_print_backend.h"
#endif

#include <QtGlobal>

extern "C" Q_DECL_EXPORT window::PrintBackend *lctuneCreatePrintBackend()
{
#ifdef LCTUNE_HAVE_CUPS
    return window::cupsPrintBackend().release();
#else
    return window::qtPrintBackend().release();
#endif
}
