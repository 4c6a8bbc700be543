// `lumo get FILE SCENE CONTROL FIELD`: one stored value of a scene file.
#include "cli/cli_common.h"
#include "cli/setting_arguments.h"

namespace lumo::cli {

namespace {

int runGet(const Arguments& arguments);

} // namespace

extern const Command kGetCommand = {
    "get",
    "get FILE SCENE CONTROL FIELD",
    "print one stored value of a scene file",
    "Prints one value of the scene file FILE as the record stores it, as 'lumo show --json'\n"
    "prints it: channel index 0..16 (16 \"Global\"), BendSpeed = speed - 1, KeyTrans =\n"
    "transpose + 13, choices as positions in their lists. SceneName prints the name as text.\n"
    "\n"
    "  SCENE     1, 2, 3 or 4\n"
    "  CONTROL   an item of the control list: Common, Group Common-1 .. Group Common-4,\n"
    "            Konb-1 .. Konb-4, Slider-1 .. Slider-4, Trigger Pad-1 .. Trigger Pad-8 (or\n"
    "            Pad-1 .. Pad-8), Key-1 .. Key-25\n"
    "  FIELD     a record field of that control's kind: Common has SceneName, SceneMIDICh,\n"
    "            PianoKeyCh, BendSpeed, KeyTrans, KeyVelocityCurve, KeyConstVelocity,\n"
    "            PadVelocityCurve, PadConstVelocity; a group MIDICh; a knob KonbEnable,\n"
    "            KonbCCNumber, KonbURValue, KonbLLValue; a slider the same with Slider; a pad\n"
    "            PadAssignType, PadCCNumber, PadONValue, PadOFFValue, PadBehavior, PadMIDICh;\n"
    "            a key KeyAssignType, KeyCCNumber, KeyONValue, KeyOFFValue, KeyBehavior\n"
    "\n"
    "Names match in any letter case. Example: lumo get live.lumo 2 Konb-1 KonbCCNumber\n"
    "Exit status: 0 printed, 1 FILE could not be read, 2 wrong usage or a name that does not\n"
    "exist (the valid names are listed).\n",
    runGet,
};

namespace {

int runGet(const Arguments& arguments)
{
    const QStringList& operands = arguments.operands();
    if (operands.size() != 4) return UsageError(kGetCommand, QStringLiteral("FILE, SCENE, CONTROL and FIELD are needed"));
    const std::optional<NamedSetting> named = FindNamedSetting(kGetCommand, operands[1], operands[2], operands[3]);
    if (!named) return kExitUsage;

    SceneSet scenes;
    if (!LoadOrReport(operands[0], scenes)) return kExitFailure;
    PrintOut(StoredText(scenes.scene(named->scene), named->address) + QLatin1Char('\n'));
    return kExitSuccess;
}

} // namespace

} // namespace lumo::cli
