// `lumo monitor [FILE]`: what the controller sends, one line per message, with the control that
// sends it, matched as "Follow Controller" matches in the editor.
#include "cli/cli_common.h"
#include "cli/device_session.h"

#include "device/short_message.h"
#include "scene/control_messages.h"
#include "scene/display_texts.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <limits>

namespace lumo::cli {

namespace {

int runMonitor(const Arguments& arguments);

} // namespace

extern const Command kMonitorCommand = {
    "monitor",
    "monitor [FILE] [--scene N] [--port NAME]",
    "print the controller's messages with the control that sends each",
    "Finds the controller on every pair of MIDI ports, as the device commands do, then prints\n"
    "one line for every Control Change and Note On that it sends, with the control that sends\n"
    "it, until interrupted (Ctrl+C, SIGTERM):\n"
    "\n"
    "  scene 1, Konb-2: CC 21 = 64 on channel 1\n"
    "  scene 3, Trigger Pad-5: note 77 = 100 on channel 10\n"
    "  no match: CC 99 = 64 on channel 1\n"
    "\n"
    "A line starting \"no match:\" is a message that no control of the four scenes sends. The\n"
    "value after \"=\" is the controller value or the note's velocity. Note releases (Note Off,\n"
    "or Note On with velocity 0) and all other messages are not shown.\n"
    "\n"
    "The matching is that of \"Follow Controller\" in the editor: by message kind, number and\n"
    "channel (\"Global\" is the scene's Global MIDI Ch), the first control in list order of the\n"
    "current scene; when only other scenes have one, the first such scene, which then becomes\n"
    "the current scene. What each control sends is told by `lumo help check`; disabled controls\n"
    "and \"No Assign\" pads never match.\n"
    "\n"
    "  FILE          the scene file whose scenes are matched; without it, the scenes of the\n"
    "                default parameters. `lumo read -o FILE` fetches the controller's own.\n"
    "  --scene N     the current scene to start with, 1-4 (default 1)\n"
    "  --port NAME   only the port pairs whose output or input name contains NAME\n"
    "\n"
    "More messages than can be printed as they come (a burst of over 14) are counted in a line\n"
    "\"(N messages missed)\". The pair of ports found is kept in the user's settings and tried\n"
    "first next time.\n"
    "\n"
    "When the controller goes (unplugged, its program ended, the MIDI server stopped) a line on\n"
    "standard error says so, \"the controller's MIDI port vanished; waiting for it to come back\",\n"
    "and the monitor keeps looking for it; once it answers again, under the same port names or\n"
    "others, \"the controller is back on \\\"PORT\\\"\" follows and the lines go on.\n"
    "\n"
    "Exit status: 0 after an interrupt, 1 controller not found at the start or FILE unreadable,\n"
    "2 wrong usage.\n",
    runMonitor,
    "--scene N; --port NAME",
};

namespace {

// The newest messages of the ring that a reader can still rely on: the two slots ahead of the
// next write are emptied with every message.
constexpr std::uint32_t kReadable = kRingSize - 2;
// How often a quiet controller is looked for among the ports.
constexpr std::chrono::seconds kPortCheck{1};
// A search that failed on unchanged ports is tried again after 1, 2, 4 and then every 8 s.
constexpr std::chrono::seconds kFirstRetry{1};
constexpr std::chrono::seconds kLastRetry{8};

QString messageText(const ControlMessage& message, int value)
{
    return QStringLiteral("%1 %2 = %3 on channel %4")
        .arg(message.kind == MidiMessageKind::Note ? QStringLiteral("note") : QStringLiteral("CC"))
        .arg(message.number)
        .arg(value)
        .arg(message.channel + 1);
}

// The line of one message, or nothing for a message that following ignores. A match makes its
// scene the current one.
QString monitorLine(std::uint32_t word, const SceneSet& scenes, int& currentScene)
{
    const std::optional<ControlMessage> message = IncomingMessage(StatusByte(word), FirstDataByte(word), SecondDataByte(word));
    if (!message)
        return {};
    const QString text = messageText(*message, SecondDataByte(word));
    const std::optional<ControlMatch> match = MatchMessage(scenes, currentScene, *message);
    if (!match)
        return QStringLiteral("no match: %1\n").arg(text);
    currentScene = match->scene;
    return QStringLiteral("scene %1, %2: %3\n").arg(match->scene).arg(ControlListItems().at(match->controlIndex), text);
}

// Searches again whenever the ports differ from those of the last search, until the
// controller answers (true) or the monitor is interrupted (false). The MIDI system itself is
// opened again when it went away. A controller's ports can be listed a moment before it
// answers (a client not yet active, a device still starting), so a search that failed is
// tried again on the same ports too, at growing intervals.
bool waitUntilBack(DeviceLink& link, const TransferHooks& hooks)
{
    MidiPorts& ports = link.ports();
    std::vector<std::string> lastOutputs;
    std::vector<std::string> lastInputs;
    bool searched = false;
    std::chrono::seconds retry = kFirstRetry;
    auto nextRetry = std::chrono::steady_clock::time_point::max();
    for (;;) {
        if (link.cancelled())
            return false;
        const bool up = ports.systemName() != "none";
        std::vector<std::string> outputs = up ? ports.outputNames() : std::vector<std::string>{};
        std::vector<std::string> inputs = up ? ports.inputNames() : std::vector<std::string>{};
        const bool changed = !searched || outputs != lastOutputs || inputs != lastInputs;
        if (up && (changed || std::chrono::steady_clock::now() >= nextRetry)) {
            if (changed)
                retry = kFirstRetry;
            searched = true;
            lastOutputs = std::move(outputs);
            lastInputs = std::move(inputs);
            if (findController(link, hooks).ok())
                return true;
            nextRetry = std::chrono::steady_clock::now() + retry;
            retry = std::min(retry * 2, kLastRetry);
        }
        // A cancel ends this wait at once; nothing else arrives on a lost connection.
        link.waitForArrivals(link.ring().received(), std::numeric_limits<std::uint32_t>::max(), kPortCheck);
    }
}

int runMonitor(const Arguments& arguments)
{
    const QStringList& operands = arguments.operands();
    if (operands.size() > 1) return UsageError(kMonitorCommand, QStringLiteral("unexpected argument '%1'").arg(operands[1]));
    const QString file = operands.value(0);
    const QString port = arguments.value("--port");
    int currentScene = 1;
    if (arguments.has("--scene")) {
        bool ok = false;
        currentScene = arguments.value("--scene").toInt(&ok);
        if (!ok || currentScene < 1 || currentScene > kSceneCount)
            return UsageError(kMonitorCommand, QStringLiteral("--scene needs a scene number 1-4"));
    }
    SceneSet scenes;
    if (file.isEmpty())
        scenes = DefaultScenesOrReport();
    else if (!LoadOrReport(file, scenes))
        return kExitFailure;

    ControllerLink controller;
    DeviceLink& link = controller.link();
    const TransferHooks hooks = ToolHooks(port);
    if (const LinkResult found = findController(link, hooks); !found.ok()) {
        if (controller.interrupted())
            return kExitSuccess;
        PrintError(QStringLiteral("%1 (%2)").arg(transfer_text::kDeviceNotFound, SearchFailureDetail(found)));
        return kExitFailure;
    }
    PrintError(QStringLiteral("following \"%1\"; interrupt to stop").arg(QString::fromStdString(link.found().input)));

    // The input callback stores every message in the ring and wakes the wait, as a signal does.
    const ReceiveRing& ring = link.ring();
    std::uint32_t mark = ring.received();
    for (;;) {
        const ReplySignal::Woken woken = link.waitForArrivals(mark, 1, kPortCheck);
        if (woken == ReplySignal::Woken::Cancelled)
            return kExitSuccess;
        if (woken == ReplySignal::Woken::TimedOut) {
            if (!link.connectionLost())
                continue;
            PrintError(QStringLiteral("the controller's MIDI port vanished; waiting for it to come back"));
            if (!waitUntilBack(link, hooks))
                return kExitSuccess; // interrupted
            PrintError(QStringLiteral("the controller is back on \"%1\"").arg(QString::fromStdString(link.found().input)));
            mark = ring.received();
            continue;
        }
        const std::uint32_t received = ring.received();
        QString lines;
        if (received - mark > kReadable) {
            lines += QStringLiteral("(%1 messages missed)\n").arg(received - mark - kReadable);
            mark = received - kReadable;
        }
        for (; mark != received; ++mark)
            lines += monitorLine(ring.message(mark), scenes, currentScene);
        PrintOut(lines);
        std::fflush(stdout);
    }
}

} // namespace

} // namespace lumo::cli
