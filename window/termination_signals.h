// SPDX-FileCopyrightText: The LC Tune developers
// SPDX-License-Identifier: MIT

#pragma once

namespace window {

// SIGTERM, SIGINT and SIGHUP end the program as closing its window does: the event loop returns,
// and the window goes the ordinary way, its pages handed on. Where the platform has no such
// signals, nothing is done.
void quitOnTerminationSignals();

} // namespace window
