// Output, error printing and the parameter- and scene-file handling shared by the commands.
#include "cli/cli_common.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace lumo::cli {

namespace {
// The first error of standard output (errno), reported once at the end.
int g_outputError = 0;
} // namespace

void PrintOut(const QString& text)
{
    const QByteArray bytes = text.toUtf8();
    const std::size_t size = static_cast<std::size_t>(bytes.size());
    if (std::fwrite(bytes.constData(), 1, size, stdout) != size && g_outputError == 0) g_outputError = errno ? errno : EIO;
}

int FinishOutput(int status)
{
    if (std::fflush(stdout) != 0 && g_outputError == 0) g_outputError = errno ? errno : EIO;
    if (g_outputError == 0 && std::ferror(stdout)) g_outputError = EIO;
    if (g_outputError == 0) return status;
    PrintError(QStringLiteral("standard output: %1").arg(QString::fromLocal8Bit(std::strerror(g_outputError))));
    return kExitFailure;
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
    // An export of 3,536 bytes or more would load as garbage scenes.
    if (HoldsJsonText(path)) {
        PrintError(QStringLiteral("%1: this is the JSON text form of a scene file; 'lumo import %1 -o FILE' turns it back into one")
                       .arg(path));
        return false;
    }
    const FileResult result = LoadSceneFile(path, scenes);
    if (result.ok()) return true;
    PrintError(label.isEmpty() ? FileErrorText(result) : label + QStringLiteral(": ") + FileErrorText(result));
    return false;
}

bool SaveOrReport(const QString& path, const SceneSet& scenes)
{
    // The text would be gone once its backup is replaced too.
    if (HoldsJsonText(path)) {
        PrintError(QStringLiteral("%1 holds JSON text; no scene file is saved over it").arg(path));
        return false;
    }
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
