// `lumo set FILE SCENE CONTROL FIELD VALUE`: one stored value of a scene file changed.
#include "cli/cli_common.h"
#include "cli/setting_arguments.h"

namespace lumo::cli {

namespace {

int runSet(const Arguments& arguments);

} // namespace

extern const Command kSetCommand = {
    "set",
    "set FILE SCENE CONTROL FIELD VALUE",
    "change one stored value of a scene file",
    "Stores VALUE in one field of the scene file FILE and saves it as the editor's \"Save\"\n"
    "does: the new file is written beside it and moved into place, the previous one becomes\n"
    "its backup (extension .BAK). A VALUE equal to the stored one writes nothing.\n"
    "SCENE, CONTROL and FIELD are those of 'lumo get'; see 'lumo help get'.\n"
    "\n"
    "VALUE is the value as stored, as 'lumo get' and 'lumo show --json' print it: a whole\n"
    "number within 32 bits (channel index 0..16, BendSpeed = speed - 1, KeyTrans = transpose\n"
    "+ 13, choices as positions). A value outside the editor's range is stored as given, with\n"
    "a warning. SceneName takes the name as text, at most 12 Latin-1 characters, stored as the\n"
    "editor stores a name (no case change): its characters and length are written, the name\n"
    "bytes after it keep their old contents.\n"
    "\n"
    "Example: lumo set live.lumo 2 Konb-1 KonbCCNumber 74\n"
    "Exit status: 0 stored, 1 FILE could not be read or saved, 2 wrong usage, a name that does\n"
    "not exist (the valid names are listed) or a VALUE that cannot be stored.\n",
    runSet,
};

namespace {

// The editor keeps the value within its range; a value beyond it is likely a slip.
void warnOutsideEditorRange(const SettingAddress& address, const SceneRecord& record)
{
    const SceneSetting& setting = *address.setting;
    const std::int32_t stored = SettingValue(record, setting, address.element);
    if (setting.shownAs == ShownAs::Name || InEditorRange(setting, stored)) return;
    PrintError(QStringLiteral("warning: %1 is outside the editor's range %2 .. %3 of %4; stored as given")
                   .arg(stored)
                   .arg(StoredNumber(setting, setting.shownMin))
                   .arg(StoredNumber(setting, setting.shownMax))
                   .arg(FieldName(setting)));
}

int runSet(const Arguments& arguments)
{
    // A negative VALUE is an operand; a text VALUE that begins with "-" follows "--".
    const QStringList& operands = arguments.operands();
    if (operands.size() != 5) return UsageError(kSetCommand, QStringLiteral("FILE, SCENE, CONTROL, FIELD and VALUE are needed"));
    const std::optional<NamedSetting> named = FindNamedSetting(kSetCommand, operands[1], operands[2], operands[3]);
    if (!named) return kExitUsage;

    SceneSet scenes;
    if (!LoadOrReport(operands[0], scenes)) return kExitFailure;
    const SceneSet before = scenes;
    SceneRecord& record = scenes.scene(named->scene);
    const QString problem = SetStoredText(record, named->address, operands[4]);
    if (!problem.isEmpty()) return UsageError(kSetCommand, problem);
    warnOutsideEditorRange(named->address, record);
    if (scenes == before) return kExitSuccess;
    return SaveOrReport(operands[0], scenes) ? kExitSuccess : kExitFailure;
}

} // namespace

} // namespace lumo::cli
