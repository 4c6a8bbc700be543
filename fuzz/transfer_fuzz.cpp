// Fuzzes the device search and both transfers against a hostile controller: the virtual
// controller's every reply may be dropped, repeated, replaced, held back until a later request
// (late), or preceded by a flood of unrelated messages, as the input says. Several commands run
// in a row on one link, so held-back replies land in later ones. Checked after each command:
// a read that did not succeed leaves the scenes and the modified flag as they were, a send
// never changes them, progress stays within 1..100 and never goes back, the bar is hidden at
// the end, and a raw read never writes past its length.
#include "device/device_link.h"
#include "device/scene_image.h"
#include "device/scene_transfer.h"
#include "device/short_message.h"
#include "tests/support/simulated_ports.h"
#include "app/transfer_commands.h"
#include "device/virtual_controller.h"
#include "app/document_session.h"
#include "scene/parameter_files.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <vector>

namespace {

using namespace lumo;

void check(bool condition)
{
    if (!condition) __builtin_trap();
}

class ScriptedAnswers : public UserAnswers {
public:
    explicit ScriptedAnswers(FuzzedDataProvider& input)
        : m_input(input)
    {
    }
    // The confirmations are mostly Yes, so that the transfers run; the save question is No.
    Answer ask(MessageKind kind, const QString&) override
    {
        if (kind == MessageKind::Warning) return Answer::No;
        return m_input.ConsumeIntegralInRange(0, 15) == 0 ? Answer::Cancel : Answer::Yes;
    }
    void tell(MessageKind, const QString&) override {}
    void showError(const QString&) override { check(false); }
    std::optional<QString> chooseOpenFile() override { return std::nullopt; }
    std::optional<QString> chooseSaveFile(const QString&) override { return std::nullopt; }

private:
    FuzzedDataProvider& m_input;
};

// Sits between the link and the virtual controller and garbles its replies.
class HostileDevice {
public:
    HostileDevice(FuzzedDataProvider& input, VirtualController& controller)
        : m_input(input)
        , m_controller(controller)
    {
    }

    void receive(std::uint32_t word, const SimulatedPorts::Reply& reply)
    {
        // Replies held back earlier arrive now, before anything this request causes.
        while (!m_late.empty()) {
            reply(m_late.front());
            m_late.pop_front();
        }
        std::vector<std::uint32_t> replies;
        m_controller.receive(word, [&](std::uint32_t out) { replies.push_back(out); });
        for (const std::uint32_t out : replies) garble(out, reply);
        // Now and then a message nobody asked for, as when the user plays the keys.
        if (m_input.remaining_bytes() > 0 && m_input.ConsumeIntegralInRange(0, 63) == 0) reply(unrelated());
    }

private:
    std::uint32_t unrelated()
    {
        const std::uint8_t status = m_input.ConsumeIntegralInRange<std::uint8_t>(0x80, 0xEF);
        const auto data1 = m_input.ConsumeIntegralInRange<std::uint8_t>(0, 0x7F);
        const auto data2 = m_input.ConsumeIntegralInRange<std::uint8_t>(0, 0x7F);
        return PackShortMessage(status, data1, data2);
    }

    void garble(std::uint32_t word, const SimulatedPorts::Reply& reply)
    {
        // Once the input is used up the device behaves, so that long transfers finish.
        if (m_input.remaining_bytes() == 0) {
            reply(word);
            return;
        }
        switch (m_input.ConsumeIntegralInRange(0, 15)) {
        case 0: // missing
            return;
        case 1: // repeated
            reply(word);
            reply(word);
            return;
        case 2: // replaced by any word, also one that no MIDI message packs to
            reply(m_input.ConsumeIntegral<std::uint32_t>());
            return;
        case 3: // late
            m_late.push_back(word);
            return;
        case 4: { // a flood of unrelated messages first, up to four times the ring
            const int count = m_input.ConsumeIntegralInRange(1, 64);
            for (int i = 0; i < count; ++i) reply(unrelated());
            reply(word);
            return;
        }
        case 5: // the right command with a wrong value
            reply(PackShortMessage(StatusByte(word), FirstDataByte(word), m_input.ConsumeIntegral<std::uint8_t>()));
            return;
        default:
            reply(word);
            return;
        }
    }

    FuzzedDataProvider& m_input;
    VirtualController& m_controller;
    std::deque<std::uint32_t> m_late;
};

// Collects what a transfer reports of its progress.
struct ProgressCheck {
    int last = 0;
    bool visible = false;
    TransferHooks hooks()
    {
        TransferHooks result;
        result.progress = [this](int percent) {
            check(visible);
            check(percent >= 1 && percent <= 100 && percent >= last);
            last = percent;
        };
        result.showProgress = [this](bool show) { visible = show; };
        // A read that lost a reply starts over, and its progress with it.
        result.readRestarted = [this](int restart) {
            check(restart >= 1);
            last = 0;
        };
        return result;
    }
};

const ParameterFiles& shipped()
{
    static const ParameterFiles files = BuiltInParameterFiles();
    return files;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider input(data, size);

    SceneSet deviceScenes;
    ApplyDefaults(shipped().defaults, deviceScenes);
    SetSceneName(deviceScenes.scene(3), "DEVICE");
    VirtualController controller(deviceScenes);
    controller.onUnexpected = [](const std::string&) {};
    controller.misbehaviour().countReply = input.ConsumeIntegralInRange(0, 3);
    HostileDevice device(input, controller);

    // Two outputs and two inputs; the controller sits behind one of each, in any combination.
    SimulatedPorts ports(SimulatedPorts::Delivery::Inline);
    const int deviceId = ports.addDevice([&](std::uint32_t word, const SimulatedPorts::Reply& reply) {
        device.receive(word, reply);
    });
    const int deviceOutput = input.ConsumeIntegralInRange(0, 1);
    const int deviceInput = input.ConsumeIntegralInRange(0, 1);
    for (int port = 0; port < 2; ++port) {
        ports.addOutput(port == deviceOutput ? "Vorel Lumo" : "Synth", port == deviceOutput ? deviceId : -1);
        ports.addInput(port == deviceInput ? "Vorel Lumo" : "Keyboard", port == deviceInput ? deviceId : -1);
    }

    DeviceLink link(ports);
    // Every reply is delivered before the wait starts, so a short bound only cuts missing ones.
    link.setReplyTimeout(std::chrono::microseconds(200));
    link.setHandshakeWait(std::chrono::microseconds(200));

    ScriptedAnswers answers(input);
    DocumentSession document(shipped().defaults, answers);
    SceneSet defaults;
    ApplyDefaults(shipped().defaults, defaults);
    document.replaceScenes(defaults);

    for (int command = 0; command < 4 && input.remaining_bytes() > 0; ++command) {
        // An unsaved edit, or the scenes as last saved.
        if (input.ConsumeBool()) document.edit([](SceneSet& scenes) { ++scenes.scene(4).Padding[0]; });
        else document.markClean();
        const bool modifiedBefore = document.modified();
        const auto scenesBefore = document.scenes().toBytes();
        ProgressCheck progress;
        switch (input.ConsumeIntegralInRange(0, 3)) {
        case 0: {
            const TransferOutcome outcome = readSceneData(document, link, progress.hooks()).outcome;
            if (outcome == TransferOutcome::Done) {
                check(!document.modified());
            } else {
                check(document.modified() == modifiedBefore);
                check(document.scenes().toBytes() == scenesBefore);
            }
            break;
        }
        case 1:
            sendSceneData(document, link, progress.hooks());
            check(document.modified() == modifiedBefore);
            check(document.scenes().toBytes() == scenesBefore);
            break;
        case 2: { // a raw read of any length into a marked buffer: written whole or not at all
            if (!link.findDevice(IdentityReply).ok()) break;
            const int length = input.ConsumeIntegralInRange(-8, kImageBufferSize + 8);
            ImageBuffer image;
            image.fill(0xEE);
            const TransferHooks transferHooks = progress.hooks();
            TransferProgress hooks{transferHooks.showProgress, transferHooks.progress, transferHooks.readRestarted};
            const LinkResult result = ReadSceneImage(link, length, image, input.ConsumeIntegralInRange(-2, 2), hooks);
            const int written = result.ok() ? std::clamp(length, 0, kImageBufferSize) : 0;
            for (int p = written; p < kImageBufferSize; ++p) check(image[std::size_t(p)] == 0xEE);
            break;
        }
        case 3: { // a raw send of any length
            if (!link.findDevice(IdentityReply).ok()) break;
            ImageBuffer image;
            PackSceneImage(document.scenes(), image.data());
            const int length = input.ConsumeIntegralInRange(-8, kImageBufferSize + 8);
            const TransferHooks transferHooks = progress.hooks();
            TransferProgress hooks{transferHooks.showProgress, transferHooks.progress, transferHooks.readRestarted};
            SendSceneImage(link, length, image, hooks);
            break;
        }
        }
        check(!progress.visible);
        ports.clearEvents();
    }
    return 0;
}
