// The two parameter files read at start-up: the default-parameter list (DefPara.ini,
// key=value lines) and the note-name list (NotePara.ini, line n = name of note n).
#pragma once

#include "scene/scene_record.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

namespace lumo {

// Splits 8-bit text into lines at CR LF, LF or CR; a last line without an end counts.
QList<QByteArray> SplitLines(const QByteArray& text);

class DefaultParameters {
public:
    DefaultParameters() = default;
    explicit DefaultParameters(const QByteArray& fileContents);

    // Value of the first line whose key (text before its first "=") equals `key` without
    // regard to case; empty when no line has it. Neither key nor value is trimmed.
    QByteArray value(const QByteArray& key) const;
    // value(key) read as an integer: leading blanks skipped, optional sign, nothing after;
    // otherwise `fallback`.
    int intValue(const QByteArray& key, int fallback) const;
    // As intValue, but blanks and control characters are first removed from both ends
    // (the two transfer keys BlockAddOne and SceneDataLen are read this way).
    int trimmedIntValue(const QByteArray& key, int fallback) const;

    const QList<QByteArray>& lines() const { return m_lines; }

private:
    QList<QByteArray> m_lines;
};

class NoteNames {
public:
    NoteNames() = default;
    explicit NoteNames(const QByteArray& fileContents);

    // Line n (from 0), Latin-1; nullopt when the list has no such line.
    std::optional<QString> name(int number) const;
    // Index of the first line equal to `name` without regard to case; nullopt when none.
    std::optional<int> number(const QString& name) const;
    int size() const { return static_cast<int>(m_names.size()); }

private:
    QStringList m_names;
};

// Fills all four records from the defaults, in the order of the defaults table. Leaves
// padding and the name bytes past each new name's length alone.
void ApplyDefaults(const DefaultParameters& defaults, SceneSet& scenes);

struct ParameterFiles {
    DefaultParameters defaults;
    NoteNames notes;
    // "Cannot open file "%s". %s" for the first file that could not be opened; empty when
    // both were read. Reading stops at that file: it and the files after it come from the
    // built-in copies of the shipped files (a missing DefPara.ini leaves NotePara.ini unread).
    QString error;
};

// Reads "DefPara.ini" then "NotePara.ini" from `folder`, or when it is empty each from the
// first of ParameterFolders() that has it. A file that cannot be opened (or that no folder
// has) stops the reading there and reports the error; the program then goes on with the
// copies of the shipped files compiled into it.
ParameterFiles LoadParameterFiles(const QString& folder = QString());
// The shipped files as compiled into the program.
ParameterFiles BuiltInParameterFiles();

} // namespace lumo
