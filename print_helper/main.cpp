// SPDX-FileCopyrightText: The LC Tune developers
// SPDX-License-Identifier: MIT

// The print helper: hands one page to the print system, in a process of its own, so that nothing
// the print system does can hold or harm the window. See print_helper/handover.h.

#include "print_helper/print_page.h"

#include <QFile>

#include <cstdio>
#include <cstdlib>
#include <thread>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

int main()
{
    using window::PrintOutcome;
    // The bound holds even when the window that would kill the helper is gone.
    std::thread([] {
        std::this_thread::sleep_for(window::printBound);
        std::_Exit(int(PrintOutcome::NoAnswer));
    }).detach();
#ifdef _WIN32
    _setmode(_fileno(stdin), _O_BINARY);
#endif
    QFile input;
    const QByteArray handed =
        input.open(stdin, QIODevice::ReadOnly) ? input.readAll() : QByteArray();
    const qsizetype titleEnd = handed.indexOf('\n');
    QImage page = QImage::fromData(QByteArrayView(handed).sliced(titleEnd + 1), "BMP");
    if (titleEnd < 0 || page.isNull())
        return int(PrintOutcome::Failed);
    page.setDevicePixelRatio(window::printPixelRatio);
    return int(window::printPage(QString::fromUtf8(handed.first(titleEnd)), page));
}
