// `lumo check FILE`: controls that send the same message, and values MIDI cannot carry.
#include "cli/cli_common.h"

#include "app/assignment_check.h"

namespace lumo::cli {

namespace {

int runCheck(const Arguments& arguments);

} // namespace

extern const Command kCheckCommand = {
    "check",
    "check FILE",
    "list clashing assignments and values MIDI cannot carry",
    "Checks the four scenes of the scene file FILE and prints one line per finding:\n"
    "\n"
    "  scene N: CONTROL and CONTROL both send CC|note NUMBER on channel CHANNEL\n"
    "      two enabled controls of one scene send the same message, for example\n"
    "      scene 3: Konb-1 and Konb-2 both send CC 20 on channel 1\n"
    "      (of three controls on one message, the second and the third are each named\n"
    "      with the first);\n"
    "  scene N: CONTROL sends CC|note NUMBER, outside 0-127\n"
    "  scene N: FIELD holds channel index INDEX, outside 1-16 and Global\n"
    "      a stored number or channel that cannot go out on MIDI; FIELD is a group or pad,\n"
    "      or \"Piano Key CC# Ch\"; \"Global MIDI Ch\" is reported outside 1-16.\n"
    "\n"
    "What a control sends: an enabled knob or slider n sends CC (its CC Number) on the\n"
    "channel of Group Common-n; a pad sends CC or note (by its Assign Type) on its MIDI\n"
    "Channel; a key whose Assign Type is Enable sends CC (its CC/Note Number) on the Piano\n"
    "Key CC# Ch. \"Global\" is the scene's Global MIDI Ch. Disabled knobs, sliders and keys\n"
    "and \"No Assign\" pads send nothing and are not checked. Controls are named as in the\n"
    "control list (\"Konb-1\", \"Trigger Pad-8\", \"Key-25\").\n"
    "Exit status: 0 no findings (nothing printed), 1 findings or the file could not be read,\n"
    "2 wrong usage.\n",
    runCheck,
};

namespace {

int runCheck(const Arguments& arguments)
{
    const QStringList& operands = arguments.operands();
    if (operands.size() != 1) return UsageError(kCheckCommand, QStringLiteral("one file is needed"));

    SceneSet scenes;
    if (!LoadOrReport(operands[0], scenes)) return kExitFailure;
    const QStringList findings = CheckAssignments(scenes);
    if (findings.isEmpty()) return kExitSuccess;
    PrintOut(findings.join(QLatin1Char('\n')) + QLatin1Char('\n'));
    return kExitFailure;
}

} // namespace

} // namespace lumo::cli
