// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/speech/voice_router.h"

#include <QString>
#include <QStringList>

#include <cstdio>
#include <optional>

namespace hoshi {

/// What the command line asks for, read before any window exists.
struct CommandLine {
    enum class Action {
        Start,       ///< open the launcher
        CheckSounds, ///< --check-sounds: tell where each cue file is found
        ExportRecords, ///< --export-records FILE: write every run as CSV
        Answer       ///< print output (help, version) or error, end with exitCode
    };
    Action action = Action::Start;
    /// --voice or --no-voice, for this run only; none: as the preferences say.
    std::optional<VoiceChoice> voice;
    bool highContrast = false; ///< --high-contrast, for this run only
    bool records = true;   ///< false with --no-records: nothing read or written
    QString exportFile;    ///< of --export-records
    /// Qt's own -platform and -display, when given; empty otherwise.
    QString platform;
    QString display;
    int exitCode = 0;
    QString output; ///< for standard output
    QString error;  ///< one line for standard error
};

/// The program's options and Qt's own (left for QApplication, which takes
/// them out of argv itself). arguments[0] is the program as it was started.
CommandLine parseCommandLine(const QStringList &arguments);

QStringList argumentsOf(int argc, char **argv);

/// The program's path as it was started, for a hint the user can copy: as
/// typed when it holds a slash (it works from the same folder), else the
/// bare name found on PATH. Quoted for a shell where needed.
QString invocationName(const QString &argument0);

/// Writes an Answer's texts; the exit status is its exitCode, or 1 when the
/// output could not be written (a full disk, a closed pipe).
int writeAnswer(const CommandLine &commandLine, std::FILE *out, std::FILE *err);

} // namespace hoshi
