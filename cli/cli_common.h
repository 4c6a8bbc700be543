// What every `lumo` command shares: its table entry, exit codes, the printing of results
// (standard output) and errors ("lumo: " on standard error), and the loading and saving of
// parameter and scene files with their errors printed.
#pragma once

#include "cli/command_arguments.h"
#include "scene/parameter_files.h"
#include "scene/scene_file.h"

#include <QFile>
#include <QString>
#include <QStringList>

#include <vector>

namespace lumo::cli {

inline constexpr int kExitSuccess = 0;
inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;

struct Command {
    const char* name;     // "show"
    const char* synopsis; // "show FILE [--json]"
    const char* summary;  // one line for `lumo --help`
    const char* help;     // the text of `lumo help NAME` and of the man page, after the synopsis
    int (*run)(const Arguments& arguments); // the arguments after the command name, read
    const char* options = ""; // the options it takes, read by ParseArguments ("-o, --output FILE; --json")
};

// Every command, in the order `lumo --help` lists them.
const std::vector<const Command*>& Commands();
const Command* FindCommand(const QString& name);

// Text to standard output, as UTF-8.
void PrintOut(const QString& text);
// Keeps a standard stream that the caller closed closed for writing, so that no file opened
// later takes its descriptor; at start.
void KeepStandardStreamsClosed();
// Flushes standard output. When any output was lost (a full disk, a closed stream or pipe),
// prints "lumo: standard output: <system's text>" and returns kExitFailure, else `status`.
int FinishOutput(int status);
// "lumo: <text>" on standard error.
void PrintError(const QString& text);
// Prints "lumo: <problem>" and the command's synopsis; returns kExitUsage.
int UsageError(const Command& command, const QString& problem);

// Opens the file that `name` names (an argument as given, bytes kept, see FileNameFromBytes)
// on `file` for reading, or for writing from scratch. Returns the system's error text when
// it cannot be opened, else an empty text.
// One implementation per platform: named_files_posix.cpp, named_files_win.cpp.
QString OpenNamedFile(QFile& file, const QString& name, QIODevice::OpenMode mode);
// True when both names lead to one existing file (a link or another spelling counts).
bool IsSameFile(const QString& a, const QString& b);
// True when `name` leads to something that exists and is no regular file (a FIFO, device, folder).
bool IsNonRegularFile(const QString& name);

// Loads a scene file, printing "lumo: <error text>" (prefixed by `label` when not empty)
// on failure.
bool LoadOrReport(const QString& path, SceneSet& scenes, const QString& label = QString());
// Saves a scene file (an existing one becomes its backup), printing "lumo: <error text>" on
// failure.
bool SaveOrReport(const QString& path, const SceneSet& scenes);

// The parameter files of the current folder, or the built-in copies when one cannot be
// opened; its "Cannot open file" error is printed first.
ParameterFiles LoadParametersOrReport();
// The four scenes that start-up and "New" give: the defaults of the current folder's
// parameter files (or of the built-in copies, the error printed) on a fresh scene set.
SceneSet DefaultScenesOrReport();

} // namespace lumo::cli
