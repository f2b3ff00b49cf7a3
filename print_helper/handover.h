// SPDX-FileCopyrightText: The LC Tune developers
// SPDX-License-Identifier: MIT

#pragma once

// What the window and its print helper agree on. The window writes the job's title, a newline and
// the page (a BMP image at printPixelRatio device pixels to the window pixel) to the helper's
// standard input; the helper's exit status is the outcome, its output the print system's words.

#include <chrono>

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
    QueueStopped,
    QueueRejecting,
    Failed,
    // The helper is not where the installation puts it.
    NotInstalled,
};

// However a print system behaves, the hand-over ends within this time of its start: the window
// kills the helper then, and the helper ends itself then, should the window be gone.
inline constexpr std::chrono::seconds printBound { 10 };

// Sharp on paper: 384 dots per inch at the window's true size.
inline constexpr int printPixelRatio = 4;

} // namespace window
