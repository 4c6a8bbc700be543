// What every `lumo` command shares: its table entry, exit codes, and the printing of
// results (standard output) and errors ("lumo: " on standard error).
#pragma once

#include "scene/scene_file.h"

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
    const char* help;     // the text of `lumo help NAME`, after the synopsis
    int (*run)(const QStringList& arguments); // arguments after the command name
};

// Every command, in the order `lumo --help` lists them.
const std::vector<const Command*>& Commands();
const Command* FindCommand(const QString& name);

// Text to standard output, as UTF-8.
void PrintOut(const QString& text);
// "lumo: <text>" on standard error.
void PrintError(const QString& text);
// Prints "lumo: <problem>" and the command's synopsis; returns kExitUsage.
int UsageError(const Command& command, const QString& problem);

// Loads a scene file, printing "lumo: <error text>" (prefixed by `label` when not empty)
// on failure.
bool LoadOrReport(const QString& path, SceneSet& scenes, const QString& label = QString());

} // namespace lumo::cli
