// `lumo show FILE [--json]`: the four scenes of a scene file, as text or as JSON.
#include "cli/cli_common.h"
#include "app/shown_settings.h"
#include "scene/display_texts.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace lumo::cli {

namespace {

int runShow(const Arguments& arguments);

} // namespace

extern const Command kShowCommand = {
    "show",
    "show FILE [--json]",
    "print the four scenes of a scene file",
    "Prints every setting of the four scenes of the scene file FILE as the editor shows them:\n"
    "the scene name; channels as \"1\" .. \"16\" or \"Global\"; pitch-bend speed 1..4;\n"
    "key transpose -12..12; choices by their item texts; pad note numbers with their names.\n"
    "A stored value outside its list shows as \"invalid (N)\".\n"
    "\n"
    "  --json   print JSON instead: {\"scenes\": [ {\"scene\": 1, \"SceneName\": ..., ...}, ... ]}\n"
    "           with the record's field names and the values as stored (channel index 0..16,\n"
    "           BendSpeed = speed - 1, KeyTrans = transpose + 13, choices as positions);\n"
    "           array fields (MIDICh, KonbCCNumber, ...) are arrays, element 0 = control 1.\n"
    "\n"
    "Only the first 3,536 bytes of FILE are read; a shorter file is an error.\n"
    "Exit status: 0 shown, 1 the file could not be read, 2 wrong usage.\n",
    runShow,
    "--json",
};

namespace {

QString asText(const SceneSet& scenes, const NoteNames& notes)
{
    QString text;
    for (int n = 1; n <= kSceneCount; ++n) {
        const std::vector<ShownSetting> settings = ShownSettingsOf(scenes.scene(n), notes);
        text += QStringLiteral("Scene %1: \"%2\"\n").arg(n).arg(SceneCaption(scenes.scene(n)));
        QString line;
        QString lineControl;
        for (const ShownSetting& s : settings) {
            if (s.setting->shownAs == ShownAs::Name) continue;
            if (s.setting->kind == ControlKind::Common) {
                text += QStringLiteral("  %1: %2\n").arg(s.caption, s.shown);
                continue;
            }
            if (s.control != lineControl) {
                if (!line.isEmpty()) text += line + QLatin1Char('\n');
                lineControl = s.control;
                line = QStringLiteral("  %1 ").arg(s.control + QLatin1Char(':'), -17);
            } else {
                line += QStringLiteral(", ");
            }
            line += s.caption + QLatin1Char('=') + s.shown;
        }
        if (!line.isEmpty()) text += line + QLatin1Char('\n');
        if (n < kSceneCount) text += QLatin1Char('\n');
    }
    return text;
}

QString asJson(const SceneSet& scenes, const NoteNames& notes)
{
    QJsonArray list;
    for (int n = 1; n <= kSceneCount; ++n) {
        QJsonObject scene;
        scene.insert(QStringLiteral("scene"), n);
        for (const ShownSetting& s : ShownSettingsOf(scenes.scene(n), notes)) {
            if (s.setting->shownAs == ShownAs::Name) {
                scene.insert(s.field, s.shown);
            } else if (s.setting->kind == ControlKind::Common) {
                scene.insert(s.field, s.stored);
            } else {
                QJsonArray elements = scene.value(s.field).toArray();
                elements.append(s.stored);
                scene.insert(s.field, elements);
            }
        }
        list.append(scene);
    }
    QJsonObject root;
    root.insert(QStringLiteral("scenes"), list);
    return QString::fromUtf8(QJsonDocument(root).toJson(QJsonDocument::Indented));
}

int runShow(const Arguments& arguments)
{
    const QStringList& operands = arguments.operands();
    if (operands.size() > 1) return UsageError(kShowCommand, QStringLiteral("only one FILE"));
    const QString path = operands.value(0);
    const bool json = arguments.has("--json");
    if (path.isEmpty()) return UsageError(kShowCommand, QStringLiteral("FILE is missing"));

    SceneSet scenes;
    if (!LoadOrReport(path, scenes)) return kExitFailure;
    const NoteNames notes = BuiltInParameterFiles().notes;
    PrintOut(json ? asJson(scenes, notes) : asText(scenes, notes));
    return kExitSuccess;
}

} // namespace

} // namespace lumo::cli
