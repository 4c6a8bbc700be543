// `lumo diff A B`: the settings in which two scene files differ; `lumo diff FILE --controller`:
// in which a scene file differs from the controller's scenes.
#include "app/controller_compare.h"
#include "app/scene_differences.h"
#include "cli/cli_common.h"
#include "cli/device_session.h"
#include "app/document_session.h"

namespace lumo::cli {

namespace {

int runDiff(const Arguments& arguments);

} // namespace

extern const Command kDiffCommand = {
    "diff",
    "diff A B | diff FILE --controller",
    "list the settings in which scene files or the controller differ",
    "Compares every setting of the four scenes of the scene files A and B and prints one line\n"
    "per setting that differs:\n"
    "\n"
    "  scene N, CONTROL, FIELD: VALUE-IN-A -> VALUE-IN-B\n"
    "\n"
    "for example  scene 2, Konb-1, KonbCCNumber: 20 -> 74\n"
    "CONTROL is the control list's item (\"Common\", \"Konb-1\", \"Trigger Pad-8\", \"Key-25\"),\n"
    "FIELD the record's field name, the values as \"lumo show\" prints them (names in quotes).\n"
    "Bytes that are no setting (padding, name bytes past the name's length) are not compared.\n"
    "\n"
    "  --controller   compare FILE (as A) with the scenes that the controller holds (as B):\n"
    "                 finds it and reads them as 'lumo read' does, onto the default parameters,\n"
    "                 and writes nothing; SIGINT or SIGTERM stops the read\n"
    "\n"
    "Exit status: 0 equal, 1 different, a file could not be read, the controller was not found\n"
    "or the read failed, 2 wrong usage.\n",
    runDiff,
    "--controller",
};

namespace {

int runDiff(const Arguments& arguments)
{
    const bool controller = arguments.has("--controller");
    const QStringList& files = arguments.operands();
    if (controller && files.size() != 1)
        return UsageError(kDiffCommand, QStringLiteral("one file is needed with --controller"));
    if (!controller && files.size() != 2) return UsageError(kDiffCommand, QStringLiteral("two files are needed"));

    SceneSet a;
    if (!LoadOrReport(files[0], a, files[0])) return kExitFailure;
    QStringList lines;
    if (controller) {
        const ParameterFiles parameters = LoadParametersOrReport();
        ToolAnswers answers;
        DocumentSession document(parameters.defaults, answers);
        document.replaceScenes(a);
        ControllerLink link;
        const CompareResult compared = compareWithController(document, link.link(), ToolHooks(), parameters.notes);
        if (!TransferDoneOrReport({compared.outcome, compared.link}, answers,
                                  QStringLiteral("reading the scenes from the controller failed")))
            return kExitFailure;
        if (link.interrupted()) {
            PrintError(QStringLiteral("interrupted"));
            return kExitFailure;
        }
        lines = compared.differences;
    } else {
        SceneSet b;
        if (!LoadOrReport(files[1], b, files[1])) return kExitFailure;
        lines = SceneDifferenceLines(a, b, BuiltInParameterFiles().notes);
    }
    if (!lines.isEmpty()) PrintOut(lines.join(QLatin1Char('\n')) + QLatin1Char('\n'));
    return lines.isEmpty() ? kExitSuccess : kExitFailure;
}

} // namespace

} // namespace lumo::cli
