// SPDX-FileCopyrightText: The LC Tune developers
// SPDX-License-Identifier: MIT

#pragma once

// What the window and its print helper agree on. The window writes its pages to the helper's
// standard input, each as a line "<copies> <bytes> <job title>" followed by that many bytes of a
// BMP image at printPixelRatio device pixels to the window pixel. The helper's exit status is the
// outcome, its standard output the print system's own words.

#include <chrono>

namespace print_helper {

enum class PrintOutcome {
    // The print system has the job; what becomes of it is the print system's to report.
    Submitted,
    NoDefaultPrinter,
    NoSuchPrinter,
    ServerUnreachable,
    NoAnswer,
    Credentials,
    Refused,
    QueueStopped,
    QueueRejecting,
    Failed,
    // The whole page went out, and the print system's answer never came.
    Unconfirmed,
    // Something answered, but not in the print system's protocol.
    NotAPrintSystem,
    // The helper is not where the installation puts it.
    NotInstalled,
};

struct OutcomeText
{
    PrintOutcome outcome;
    const char *english;
    const char *slovak;
};

// clang-format off
inline constexpr OutcomeText outcomeTexts[] = {
    {PrintOutcome::NoDefaultPrinter,  "No default printer is set.",                 "Nie je nastavená žiadna predvolená tlačiareň."},
    {PrintOutcome::NoSuchPrinter,     "The default printer does not exist.",        "Predvolená tlačiareň neexistuje."},
    {PrintOutcome::ServerUnreachable, "The print system cannot be reached.",        "Tlačový systém je nedostupný."},
    {PrintOutcome::NoAnswer,          "The print system does not answer.",          "Tlačový systém neodpovedá."},
    {PrintOutcome::Credentials,       "The print system asks you to sign in.",      "Tlačový systém žiada prihlásenie."},
    {PrintOutcome::Refused,           "The print system refused the job.",          "Tlačový systém úlohu odmietol."},
    {PrintOutcome::QueueStopped,      "The printer is stopped; the job would wait.", "Tlačiareň je zastavená; úloha by čakala."},
    {PrintOutcome::QueueRejecting,    "The printer is not accepting jobs.",         "Tlačiareň neprijíma úlohy."},
    {PrintOutcome::Failed,            "Printing failed.",                           "Tlač sa nepodarila."},
    {PrintOutcome::Unconfirmed,       "The page went to the print system, which never confirmed it: it may or may not print.",
                                      "Stránka odišla do tlačového systému, ten ju však nepotvrdil: môže, ale nemusí sa vytlačiť."},
    {PrintOutcome::NotAPrintSystem,   "What answers in place of the print system is not one.",
                                      "Namiesto tlačového systému odpovedá niečo iné."},
    {PrintOutcome::NotInstalled,      "Printing is not available: a part of the program is missing.",
                                      "Tlač nie je k dispozícii: chýba časť programu."},
};
// clang-format on

// However a print system behaves, a page's hand-over ends within this time of its start: the
// helper ends itself then, with what it knows, whether or not its window is still there.
inline constexpr std::chrono::seconds printBound { 10 };

// The window waits this much longer before it kills a helper that has not ended itself, so that
// the helper, which knows whether the page went out, has the last word.
inline constexpr std::chrono::seconds helperGrace { 1 };

// Sharp on paper: 384 dots per inch at the window's true size.
inline constexpr int printPixelRatio = 4;

} // namespace print_helper
