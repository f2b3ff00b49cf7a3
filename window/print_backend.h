// SPDX-FileCopyrightText: The LC Tune developers
// SPDX-License-Identifier: MIT

#pragma once

// The seam between the print button and the print system: one page to the default printer as one
// job, handed over without waiting for it to print, and an honest account of the hand-over.

#include <QImage>
#include <QString>

#include <functional>
#include <memory>

namespace window {

enum class PrintOutcome {
    // The print system has the job; what becomes of it is the print system's to report.
    Submitted,
    NoDefaultPrinter,
    NoSuchPrinter,
    ServerUnreachable,
    NoAnswer,
    PasswordRequired,
    Refused,
    QueuePaused,
    QueueRejecting,
    Failed,
    // The print module of the installation could not be loaded.
    NotInstalled,
};

using PrintDone = std::function<void(PrintOutcome)>;

class PrintBackend
{
public:
    virtual ~PrintBackend() = default;

    // Sends the window's image (at its device pixel ratio to the window's pixel) as one page named
    // title. `done` runs on the calling thread once the outcome is known, unless the back-end is
    // destroyed first; destroying it abandons the submissions still under way, promptly.
    virtual void submit(const QString &title, const QImage &window, PrintDone done) = 0;
};

// What the print module exports: the best back-end the platform offers, owned by the caller.
using CreatePrintBackend = PrintBackend *();
inline constexpr char createPrintBackendSymbol[] = "lctuneCreatePrintBackend";

// The print module's back-end, loaded with the module on the first call; none when the
// installation lacks the module.
std::unique_ptr<PrintBackend> systemPrintBackend();

} // namespace window
