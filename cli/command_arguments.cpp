// Reading a command's arguments by its option table.
#include "cli/command_arguments.h"

#include "cli/cli_common.h"

#include <QRegularExpression>

#include <algorithm>

#include <vector>

namespace lumo::cli {

namespace {

struct Option {
    QStringList names; // "-o", "--output"; the last is the long name the command asks by
    QString valueName; // "FILE"; empty for a flag
};

std::vector<Option> optionsOf(const Command& command)
{
    std::vector<Option> options;
    for (const QString& entry : QString::fromLatin1(command.options).split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        Option option;
        for (QString token : entry.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
            if (token.endsWith(QLatin1Char(','))) token.chop(1);
            if (token.startsWith(QLatin1Char('-'))) option.names.append(token);
            else option.valueName = token;
        }
        options.push_back(option);
    }
    return options;
}

bool isOperand(const QString& argument)
{
    static const QRegularExpression negativeNumber(QStringLiteral("^-[0-9]"));
    return !argument.startsWith(QLatin1Char('-')) || argument == QLatin1String("-")
           || negativeNumber.match(argument).hasMatch();
}

} // namespace

std::optional<Arguments> ParseArguments(const Command& command, const QStringList& arguments)
{
    const std::vector<Option> options = optionsOf(command);
    Arguments parsed;
    bool optionsEnded = false;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (optionsEnded || isOperand(argument)) {
            parsed.m_operands.append(argument);
            continue;
        }
        if (argument == QLatin1String("--")) {
            optionsEnded = true;
            continue;
        }
        const qsizetype equals = argument.startsWith(QLatin1String("--")) ? argument.indexOf(QLatin1Char('=')) : -1;
        const QString name = equals < 0 ? argument : argument.left(equals);
        const auto option = std::find_if(options.begin(), options.end(),
                                         [&name](const Option& o) { return o.names.contains(name); });
        if (option == options.end()) {
            UsageError(command, QStringLiteral("unknown option '%1'").arg(name));
            return std::nullopt;
        }
        const QString longName = option->names.constLast();
        if (parsed.m_values.contains(longName)) {
            UsageError(command, QStringLiteral("%1 given twice").arg(option->names.join(QStringLiteral(", "))));
            return std::nullopt;
        }
        QString value;
        if (!option->valueName.isEmpty()) {
            if (equals >= 0) {
                value = argument.mid(equals + 1);
            } else if (i + 1 < arguments.size()) {
                value = arguments[++i];
            } else {
                UsageError(command, QStringLiteral("%1 needs %2").arg(name, option->valueName));
                return std::nullopt;
            }
        } else if (equals >= 0) {
            UsageError(command, QStringLiteral("%1 takes no value").arg(name));
            return std::nullopt;
        }
        parsed.m_values.insert(longName, value);
    }
    return parsed;
}

} // namespace lumo::cli
