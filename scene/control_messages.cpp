// Control messages: channel resolution, each control's message, and matching a received one.
#include "scene/control_messages.h"

namespace lumo {

namespace {

constexpr std::uint8_t kControlChangeStatus = 0xB0;
constexpr std::uint8_t kNoteOnStatus = 0x90;
constexpr int kPadControlChange = 1, kPadNote = 2;

std::int32_t storedChannel(const SceneRecord& record, int controlIndex)
{
    const ChannelField field = ChannelFieldOfControl(controlIndex);
    return SettingValue(record, Setting(field.id), field.element);
}

std::optional<ControlMatch> firstMatch(const SceneRecord& record, int scene, const ControlMessage& message)
{
    // "Common" and the groups, before the knobs, send nothing.
    for (int i = FirstIndexOfKind(ControlKind::Knob); i < kControlCount; ++i)
        if (MessageOfControl(record, i) == message) return ControlMatch{scene, i};
    return std::nullopt;
}

} // namespace

ChannelField ChannelFieldOfControl(int controlIndex)
{
    const int element = ElementOfControl(controlIndex);
    switch (KindOfControl(controlIndex)) {
    case ControlKind::Knob:
    case ControlKind::Slider: return {SettingId::MIDICh, element};
    case ControlKind::Pad: return {SettingId::PadMIDICh, element};
    case ControlKind::Key:
    case ControlKind::Common:
    case ControlKind::Group: break;
    }
    return {SettingId::PianoKeyCh, 0};
}

std::int32_t ResolveChannel(const SceneRecord& record, std::int32_t stored)
{
    return stored == kGlobalChannel ? record.SceneMIDICh : stored;
}

std::optional<ControlMessage> MessageOfControl(const SceneRecord& record, int controlIndex)
{
    const int e = ElementOfControl(controlIndex);
    MidiMessageKind kind = MidiMessageKind::ControlChange;
    std::int32_t number = 0;
    switch (KindOfControl(controlIndex)) {
    case ControlKind::Knob:
        if (record.KonbEnable[e] == 0) return std::nullopt;
        number = record.KonbCCNumber[e];
        break;
    case ControlKind::Slider:
        if (record.SliderEnable[e] == 0) return std::nullopt;
        number = record.SliderCCNumber[e];
        break;
    case ControlKind::Pad:
        if (record.PadAssignType[e] != kPadControlChange && record.PadAssignType[e] != kPadNote) return std::nullopt;
        if (record.PadAssignType[e] == kPadNote) kind = MidiMessageKind::Note;
        number = record.PadCCNumber[e];
        break;
    case ControlKind::Key:
        if (record.KeyAssignType[e] == 0) return std::nullopt;
        number = record.KeyCCNumber[e];
        break;
    case ControlKind::Common:
    case ControlKind::Group: return std::nullopt;
    }
    return ControlMessage{kind, number, ResolveChannel(record, storedChannel(record, controlIndex))};
}

std::optional<ControlMessage> IncomingMessage(std::uint8_t status, std::uint8_t data1, std::uint8_t data2)
{
    const std::uint8_t type = status & 0xF0;
    const std::int32_t channel = status & 0x0F;
    if (type == kControlChangeStatus) return ControlMessage{MidiMessageKind::ControlChange, data1, channel};
    if (type == kNoteOnStatus && data2 > 0) return ControlMessage{MidiMessageKind::Note, data1, channel};
    return std::nullopt;
}

std::optional<ControlMatch> MatchMessage(const SceneSet& scenes, int currentScene, const ControlMessage& message)
{
    // A stored number or channel that MIDI cannot carry never equals a received one.
    if (!IsMidiNumber(message.number) || !IsMidiChannel(message.channel)) return std::nullopt;
    if (currentScene >= 1 && currentScene <= kSceneCount)
        if (auto match = firstMatch(scenes.scene(currentScene), currentScene, message)) return match;
    for (int scene = 1; scene <= kSceneCount; ++scene)
        if (scene != currentScene)
            if (auto match = firstMatch(scenes.scene(scene), scene, message)) return match;
    return std::nullopt;
}

} // namespace lumo
