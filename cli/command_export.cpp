// `lumo export FILE -o OUT.json`: a scene file as JSON text that `lumo import` turns back into
// the same bytes.
#include "cli/cli_common.h"

#include "scene/scene_file.h"
#include "scene/scene_json.h"

namespace lumo::cli {

namespace {

int runExport(const Arguments& arguments);

} // namespace

extern const Command kExportCommand = {
    "export",
    "export FILE -o OUT.json",
    "write a scene file as JSON text that 'lumo import' reads back",
    "Writes the four scenes of the scene file FILE to OUT.json as JSON text, one field per\n"
    "line, that 'lumo import' turns back into the same 3,536 bytes, whatever they hold:\n"
    "\n"
    "  {\"scenes\": [{\"scene\": 1, \"SceneName\": \"SCENE1\", \"SceneMIDICh\": 0, ...,\n"
    "               \"KonbCCNumber\": [20, 21, 22, 23], ..., \"KeyBehavior\": [0, ...],\n"
    "               \"SceneNameLength\": 6, \"SceneNameChars\": [83, 67, ...], \"Padding\": [0, 0, 0]},\n"
    "              ...]}\n"
    "\n"
    "Each scene first has every setting as 'lumo show --json' prints it: the record's field\n"
    "names, stored values (channel index 0..16, BendSpeed = speed - 1, KeyTrans = transpose +\n"
    "13, choices as positions), array fields as arrays (element 0 = control 1), the name as\n"
    "text. Then the bytes that hold no setting: the name's length byte and all 12 name bytes as\n"
    "stored (those past the length keep old contents) and the 3 padding bytes.\n"
    "\n"
    "  -o OUT.json, --output OUT.json   the file to write (a regular file; an existing one is\n"
    "                                   replaced whole); '-' writes to standard output\n"
    "\n"
    "Only the first 3,536 bytes of FILE are read.\n"
    "Exit status: 0 written, 1 FILE could not be read or OUT.json not written, 2 wrong usage.\n",
    runExport,
    "-o, --output OUT.json",
};

namespace {

int runExport(const Arguments& arguments)
{
    const QStringList& operands = arguments.operands();
    if (operands.size() > 1) return UsageError(kExportCommand, QStringLiteral("unexpected argument '%1'").arg(operands[1]));
    const QString input = operands.value(0);
    const QString output = arguments.value("--output");
    if (input.isEmpty()) return UsageError(kExportCommand, QStringLiteral("FILE is missing"));
    if (output.isEmpty()) return UsageError(kExportCommand, QStringLiteral("-o OUT.json is missing"));
    // The text would replace the scene file with no backup.
    if (output != QLatin1String("-") && IsSameFile(output, input)) return UsageError(kExportCommand, QStringLiteral("OUT.json is FILE itself"));

    SceneSet scenes;
    if (!LoadOrReport(input, scenes)) return kExitFailure;
    if (output == QLatin1String("-")) {
        PrintOut(QString::fromUtf8(ScenesToJson(scenes)));
        return kExitSuccess;
    }
    // "/dev/stdout" and the like: a save never replaces a FIFO, device or folder.
    if (IsNonRegularFile(output)) {
        PrintError(QStringLiteral("%1: OUT.json must be a regular file; '-o -' writes to standard output").arg(output));
        return kExitFailure;
    }
    // Saved as a scene file is, without the backup: a failed write leaves an older OUT.json whole.
    const FileResult saved = SaveFileData(output, ScenesToJson(scenes), false);
    if (!saved.ok()) {
        PrintError(QStringLiteral("%1: %2").arg(output, FileErrorText(saved)));
        return kExitFailure;
    }
    return kExitSuccess;
}

} // namespace

} // namespace lumo::cli
