// `lumo diff A B`: the settings in which two scene files differ.
#include "cli/cli_common.h"
#include "cli/scene_text.h"

namespace lumo::cli {

namespace {

int runDiff(const QStringList& arguments);

} // namespace

extern const Command kDiffCommand = {
    "diff",
    "diff A B",
    "list the settings in which two scene files differ",
    "Compares every setting of the four scenes of the scene files A and B and prints one line\n"
    "per setting that differs:\n"
    "\n"
    "  scene N, CONTROL, FIELD: VALUE-IN-A -> VALUE-IN-B\n"
    "\n"
    "for example  scene 2, Konb-1, KonbCCNumber: 20 -> 74\n"
    "CONTROL is the control list's item (\"Common\", \"Konb-1\", \"Trigger Pad-8\", \"Key-25\"),\n"
    "FIELD the record's field name, the values as \"lumo show\" prints them (names in quotes).\n"
    "Bytes that are no setting (padding, name bytes past the name's length) are not compared.\n"
    "Exit status: 0 equal, 1 different or a file could not be read, 2 wrong usage.\n",
    runDiff,
};

namespace {

QString quotedIfName(const Setting& s)
{
    return s.setting->shownAs == ShownAs::Name ? QLatin1Char('"') + s.shown + QLatin1Char('"') : s.shown;
}

int runDiff(const QStringList& arguments)
{
    for (const QString& argument : arguments) {
        if (argument.startsWith(QLatin1Char('-')) && argument.size() > 1)
            return UsageError(kDiffCommand, QStringLiteral("unknown option '%1'").arg(argument));
    }
    if (arguments.size() != 2) return UsageError(kDiffCommand, QStringLiteral("two files are needed"));

    SceneSet a;
    SceneSet b;
    if (!LoadOrReport(arguments[0], a, arguments[0]) || !LoadOrReport(arguments[1], b, arguments[1]))
        return kExitFailure;

    const NoteNames notes = BuiltInParameterFiles().notes;
    QString text;
    for (int n = 1; n <= kSceneCount; ++n) {
        const std::vector<Setting> left = SettingsOf(a.scene(n), notes);
        const std::vector<Setting> right = SettingsOf(b.scene(n), notes);
        for (std::size_t i = 0; i < left.size(); ++i) {
            // The shown text of a pad's note number also depends on its assign type, which has
            // a line of its own; only the name is compared as text.
            const bool isName = left[i].setting->shownAs == ShownAs::Name;
            if (isName ? left[i].shown == right[i].shown : left[i].stored == right[i].stored) continue;
            text += QStringLiteral("scene %1, %2, %3: %4 -> %5\n")
                        .arg(n)
                        .arg(left[i].control, left[i].field, quotedIfName(left[i]), quotedIfName(right[i]));
        }
    }
    PrintOut(text);
    return text.isEmpty() ? kExitSuccess : kExitFailure;
}

} // namespace

} // namespace lumo::cli
