// SPDX-FileCopyrightText: The LC Tune developers
// SPDX-License-Identifier: MIT

#include "window/termination_signals.h"

#include <QCoreApplication>

#ifdef Q_OS_UNIX
#include <QSocketNotifier>

#include <cerrno>
#include <csignal>

#include <sys/socket.h>
#include <unistd.h>
#endif

namespace window {

#ifdef Q_OS_UNIX

namespace {

// Written once, before any handler is installed; the handler only reads it.
int signalWriteEnd = -1;

// A signal handler may do next to nothing: it passes the news to the event loop.
void passOn(int)
{
    const int saved = errno;
    const char byte = 1;
    [[maybe_unused]] const auto written = ::write(signalWriteEnd, &byte, 1);
    errno = saved;
}

} // namespace

void quitOnTerminationSignals()
{
    int ends[2];
    if (signalWriteEnd >= 0 || ::socketpair(AF_UNIX, SOCK_STREAM, 0, ends) != 0)
        return;
    signalWriteEnd = ends[0];
    auto *notifier =
        new QSocketNotifier(ends[1], QSocketNotifier::Read, QCoreApplication::instance());
    QObject::connect(notifier, &QSocketNotifier::activated, notifier, [notifier] {
        char byte;
        [[maybe_unused]] const auto read = ::read(int(notifier->socket()), &byte, 1);
        QCoreApplication::quit();
    });
    struct sigaction action = {};
    action.sa_handler = &passOn;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signal : { SIGTERM, SIGINT, SIGHUP })
        sigaction(signal, &action, nullptr);
}

#else

void quitOnTerminationSignals() { }

#endif

} // namespace window
