// What each control of a scene sends over MIDI (message kind, number, channel), and which
// control of the four scenes sent an incoming message.
#pragma once

#include "scene/scene_record.h"
#include "scene/scene_settings.h"

#include <cstdint>
#include <optional>

namespace lumo {

enum class MidiMessageKind { ControlChange, Note };

inline constexpr std::int32_t kGlobalChannel = 16; // "Global" in the channel list

// One control's message. Number and channel are what the scene holds after resolving
// "Global", so they may lie outside what MIDI carries (see IsMidiNumber, IsMidiChannel).
struct ControlMessage {
    MidiMessageKind kind = MidiMessageKind::ControlChange;
    std::int32_t number = 0;  // controller or note number
    std::int32_t channel = 0; // channel index: 0..15 for MIDI channels 1..16
    bool operator==(const ControlMessage&) const = default;
};

inline bool IsMidiNumber(std::int32_t number) { return number >= 0 && number <= 127; }
inline bool IsMidiChannel(std::int32_t channel) { return channel >= 0 && channel <= 15; }

// The field that holds the channel of a sending control, and its element.
struct ChannelField {
    SettingId id;
    int element;
};

// The channel field of a knob, slider, pad or key (Control Index 5..45): the channel of the
// group in the knob's or slider's column (group n holds knob n and slider n), the pad's own
// channel, and the one piano-key channel for every key.
ChannelField ChannelFieldOfControl(int controlIndex);

// A stored channel index as the controller sends on it: "Global" (16) is the scene's own
// channel, SceneMIDICh; every other value stays as stored.
std::int32_t ResolveChannel(const SceneRecord& record, std::int32_t stored);

// The message that control `controlIndex` sends in `record`, or nullopt when it sends none of
// its own. This is the one place that decides it, for the check, the outlines and following
// the controller:
// - an enabled knob or slider n sends CC (its CC number) on the channel of group n: the knob
//   panel has no channel, and "Group Common-n" sits under knob and slider column n;
// - a pad sends CC or note by its assign type ("Control Change", "Note") on its own channel;
// - a key whose assign type is "Enable" sends CC (its CC number) on "Piano Key CC# Ch": the key
//   panel has no channel, the overlay calls the key's number "CC#", and that is the channel
//   the scene names for the keys' CCs;
// - "Global" is resolved by ResolveChannel.
// "Enable" is any value but 0, as the overlay shows it. Nothing is sent by "Common", the
// groups, a disabled knob, slider or key, a "No Assign" pad, or a pad whose assign type is no
// item of its list.
std::optional<ControlMessage> MessageOfControl(const SceneRecord& record, int controlIndex);

// A received channel message as a control's message: Control Change (status 0xB0..0xBF), or
// Note On (0x90..0x9F) with a velocity above 0; a Note On of velocity 0 is a note's release.
// nullopt for every other message.
std::optional<ControlMessage> IncomingMessage(std::uint8_t status, std::uint8_t data1, std::uint8_t data2);

struct ControlMatch {
    int scene;        // 1..4
    int controlIndex; // 5..45
    bool operator==(const ControlMatch&) const = default;
};

// The control that sends `message`: the first in list order of the current scene; when the
// current scene has none, the first in list order of the first other scene, in scene order,
// that has one. nullopt when no scene has one.
std::optional<ControlMatch> MatchMessage(const SceneSet& scenes, int currentScene, const ControlMessage& message);

} // namespace lumo
