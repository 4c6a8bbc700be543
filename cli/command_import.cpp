// `lumo import IN.json -o FILE`: JSON text as 'lumo export' writes it, checked whole, saved as
// a scene file.
#include "cli/cli_common.h"

#include "scene/scene_json.h"


namespace lumo::cli {

namespace {

int runImport(const Arguments& arguments);

} // namespace

extern const Command kImportCommand = {
    "import",
    "import IN.json -o FILE",
    "turn JSON text from 'lumo export' back into a scene file",
    "Reads JSON text in the form that 'lumo export' writes (see 'lumo help export') and saves\n"
    "its four scenes to the scene file FILE as the editor's \"Save\" does: the new file is\n"
    "written beside FILE and moved into place, an existing FILE becomes its backup (extension\n"
    "\".BAK\"). An unchanged export gives back the exported file byte for byte.\n"
    "\n"
    "Everything is checked before anything is written: the JSON itself, then every field of\n"
    "every scene must be there once, nothing else may be, arrays must have their length and\n"
    "numbers must be whole and fit their field (32 bits signed; 8 bits unsigned for\n"
    "SceneNameLength, SceneNameChars and Padding). The first fault is printed with its line and\n"
    "column or its scene, control and field, and nothing is written.\n"
    "\n"
    "The name: SceneNameLength and SceneNameChars give the stored bytes. When SceneName was\n"
    "changed (it differs from the name those bytes spell), the new name is stored over them as\n"
    "the editor stores a name: its characters (at most 12, Latin-1, no case change) and its\n"
    "length; the bytes after it keep what SceneNameChars says. Edit one or the other.\n"
    "Values outside the editor's ranges are stored as given, as a scene file holds them.\n"
    "\n"
    "  -o FILE, --output FILE   the scene file to write\n"
    "\n"
    "Exit status: 0 written, 1 IN.json unreadable or refused or FILE not written, 2 wrong usage.\n",
    runImport,
    "-o, --output FILE",
};

namespace {

int runImport(const Arguments& arguments)
{
    const QStringList& operands = arguments.operands();
    if (operands.size() > 1) return UsageError(kImportCommand, QStringLiteral("unexpected argument '%1'").arg(operands[1]));
    const QString input = operands.value(0);
    const QString output = arguments.value("--output");
    if (input.isEmpty()) return UsageError(kImportCommand, QStringLiteral("IN.json is missing"));
    if (output.isEmpty()) return UsageError(kImportCommand, QStringLiteral("-o FILE is missing"));

    // A FIFO or device is refused at once; an export is about 25 kB, so 1 MiB is no export.
    const SmallFile file = ReadSmallFile(input);
    if (!file.ok()) {
        PrintError(QStringLiteral("%1: %2.").arg(input, file.error));
        return kExitFailure;
    }
    const QByteArray& json = file.data;
    const JsonScenes imported = ScenesFromJson(json);
    if (!imported.ok()) {
        PrintError(input + QStringLiteral(": ") + imported.error);
        return kExitFailure;
    }
    return SaveOrReport(output, imported.scenes) ? kExitSuccess : kExitFailure;
}

} // namespace

} // namespace lumo::cli
