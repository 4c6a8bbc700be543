// `lumo copy-scene SRC FROM DST TO`: one whole scene of a scene file onto a scene of another
// (or of the same) file.
#include "cli/cli_common.h"
#include "scene/display_texts.h"
#include "scene/scene_buffer.h"

namespace lumo::cli {

namespace {

int runCopyScene(const Arguments& arguments);

} // namespace

extern const Command kCopySceneCommand = {
    "copy-scene",
    "copy-scene SRC FROM DST TO",
    "copy one whole scene of a scene file onto a scene of another",
    "Copies scene FROM (1..4) of the scene file SRC onto scene TO of the scene file DST, all 884\n"
    "bytes of the record as the editor's \"Copy Scene\" and \"Paste Scene\" carry them: name,\n"
    "name bytes past its length and padding included. SRC may be DST. DST is saved as the\n"
    "editor's \"Save\" does: the new file is written beside it and moved into place, the\n"
    "previous one becomes its backup (extension .BAK). A copy that changes no byte writes\n"
    "nothing.\n"
    "\n"
    "Example: lumo copy-scene live.lumo 1 live.lumo 3\n"
    "Exit status: 0 copied, 1 SRC or DST could not be read or DST not saved, 2 wrong usage.\n",
    runCopyScene,
};

namespace {

std::optional<int> sceneNumber(const QString& argument, const char* name)
{
    const std::optional<int> number = ParseWholeNumber(argument);
    if (number && *number >= 1 && *number <= kSceneCount) return number;
    UsageError(kCopySceneCommand, QStringLiteral("%1 must be 1, 2, 3 or 4, not '%2'").arg(QLatin1String(name), argument));
    return std::nullopt;
}

int runCopyScene(const Arguments& arguments)
{
    const QStringList& operands = arguments.operands();
    if (operands.size() != 4) return UsageError(kCopySceneCommand, QStringLiteral("SRC, FROM, DST and TO are needed"));
    const std::optional<int> from = sceneNumber(operands[1], "FROM");
    if (!from) return kExitUsage;
    const std::optional<int> to = sceneNumber(operands[3], "TO");
    if (!to) return kExitUsage;

    SceneSet source;
    if (!LoadOrReport(operands[0], source, operands[0])) return kExitFailure;
    SceneSet target;
    if (!LoadOrReport(operands[2], target, operands[2])) return kExitFailure;
    SceneBuffer buffer;
    buffer.copy(source.scene(*from));
    if (!buffer.paste(target.scene(*to))) return kExitSuccess;
    return SaveOrReport(operands[2], target) ? kExitSuccess : kExitFailure;
}

} // namespace

} // namespace lumo::cli
