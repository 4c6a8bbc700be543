// Output, error printing and the parameter- and scene-file handling shared by the commands.
#include "cli/cli_common.h"

#include <cstdio>

namespace lumo::cli {

void PrintOut(const QString& text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stdout);
}

void PrintError(const QString& text)
{
    const QByteArray bytes = (QStringLiteral("lumo: ") + text + QLatin1Char('\n')).toUtf8();
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stderr);
}

int UsageError(const Command& command, const QString& problem)
{
    PrintError(problem);
    const QString usage = QStringLiteral("usage: lumo %1\nTry 'lumo help %2'.\n")
                              .arg(QLatin1String(command.synopsis), QLatin1String(command.name));
    const QByteArray bytes = usage.toUtf8();
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stderr);
    return kExitUsage;
}

const Command* FindCommand(const QString& name)
{
    for (const Command* command : Commands()) {
        if (name == QLatin1String(command->name)) return command;
    }
    return nullptr;
}

bool LoadOrReport(const QString& path, SceneSet& scenes, const QString& label)
{
    const FileResult result = LoadSceneFile(path, scenes);
    if (result.ok()) return true;
    PrintError(label.isEmpty() ? FileErrorText(result) : label + QStringLiteral(": ") + FileErrorText(result));
    return false;
}

bool SaveOrReport(const QString& path, const SceneSet& scenes)
{
    const FileResult result = SaveSceneFile(path, scenes);
    if (result.ok()) return true;
    PrintError(FileErrorText(result));
    return false;
}

ParameterFiles LoadParametersOrReport()
{
    ParameterFiles files = LoadParameterFiles();
    if (!files.error.isEmpty()) PrintError(files.error);
    return files;
}

SceneSet DefaultScenesOrReport()
{
    SceneSet scenes;
    ApplyDefaults(LoadParametersOrReport().defaults, scenes);
    return scenes;
}

} // namespace lumo::cli
