// The one argument parser of every `lumo` command: the options a command takes are written once
// in its table entry, and every command's arguments are read by the same rules.
#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

#include <optional>

namespace lumo::cli {

struct Command;

// A command's arguments once read: the operands in order and the options given.
class Arguments {
public:
    Arguments() = default;
    explicit Arguments(QStringList operands) : m_operands(std::move(operands)) {}

    const QStringList& operands() const { return m_operands; }
    // By an option's long name ("--json"); a flag's value is empty.
    bool has(const char* option) const { return m_values.contains(QLatin1String(option)); }
    QString value(const char* option) const { return m_values.value(QLatin1String(option)); }

private:
    friend std::optional<Arguments> ParseArguments(const Command& command, const QStringList& arguments);
    QStringList m_operands;
    QHash<QString, QString> m_values;
};

// Reads `arguments` by `command.options` ("-o, --output FILE; --json": names, then the value's
// name for an option that takes one). An option takes its value from the next argument or after
// "=" (--output=FILE); "--" ends the options; "-" and negative numbers are operands. An unknown
// option, one given twice or one without its value prints "lumo: <problem>" and the command's
// usage on standard error and gives nullopt (exit status 2).
std::optional<Arguments> ParseArguments(const Command& command, const QStringList& arguments);

} // namespace lumo::cli
