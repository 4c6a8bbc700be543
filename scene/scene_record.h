// One scene as the controller and the scene file know it: a fixed 884-byte record,
// every number a 32-bit signed little-endian integer; and the set of four scenes.
#pragma once

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <string>

namespace lumo {

inline constexpr int kSceneCount = 4;
inline constexpr int kGroupCount = 4;
inline constexpr int kKnobCount = 4;
inline constexpr int kSliderCount = 4;
inline constexpr int kPadCount = 8;
inline constexpr int kKeyCount = 25;
inline constexpr int kSceneNameCapacity = 12;

struct SceneRecord {
    std::uint8_t SceneNameLength;                    // 0: number of name characters, 0..12
    std::uint8_t SceneNameChars[kSceneNameCapacity]; // 1: 8-bit characters; bytes past the length keep old contents
    std::uint8_t Padding[3];                         // 13: never touched, written back as read
    std::int32_t SceneMIDICh;                        // 16: channel index 0..15
    std::int32_t PianoKeyCh;                         // 20: channel index 0..16 (16 "Global")
    std::int32_t BendSpeed;                          // 24: speed minus 1
    std::int32_t KeyTrans;                           // 28: transpose plus 13
    std::int32_t KeyVelocityCurve;                   // 32: 0 Light, 1 Normal, 2 Heavy, 3 Const
    std::int32_t KeyConstVelocity;                   // 36
    std::int32_t PadVelocityCurve;                   // 40
    std::int32_t PadConstVelocity;                   // 44
    std::int32_t MIDICh[kGroupCount];                // 48
    std::int32_t KonbEnable[kKnobCount];             // 64
    std::int32_t KonbCCNumber[kKnobCount];           // 80
    std::int32_t KonbURValue[kKnobCount];            // 96
    std::int32_t KonbLLValue[kKnobCount];            // 112
    std::int32_t SliderEnable[kSliderCount];         // 128
    std::int32_t SliderCCNumber[kSliderCount];       // 144
    std::int32_t SliderURValue[kSliderCount];        // 160
    std::int32_t SliderLLValue[kSliderCount];        // 176
    std::int32_t KeyAssignType[kKeyCount];           // 192: 0 Disable, 1 Enable
    std::int32_t KeyCCNumber[kKeyCount];             // 292
    std::int32_t KeyONValue[kKeyCount];              // 392
    std::int32_t KeyOFFValue[kKeyCount];             // 492
    std::int32_t KeyBehavior[kKeyCount];             // 592: 0 Momentary, 1 Toggle
    std::int32_t PadAssignType[kPadCount];           // 692: 0 No Assign, 1 Control Change, 2 Note
    std::int32_t PadCCNumber[kPadCount];             // 724: controller or note number
    std::int32_t PadONValue[kPadCount];              // 756
    std::int32_t PadOFFValue[kPadCount];             // 788
    std::int32_t PadBehavior[kPadCount];             // 820
    std::int32_t PadMIDICh[kPadCount];               // 852: channel index 0..16
};

// The record is used as the file format directly, so its layout is checked here.
static_assert(std::endian::native == std::endian::little, "the record layout is little-endian");
static_assert(sizeof(SceneRecord) == 884);
static_assert(offsetof(SceneRecord, SceneNameLength) == 0);
static_assert(offsetof(SceneRecord, SceneNameChars) == 1);
static_assert(offsetof(SceneRecord, Padding) == 13);
static_assert(offsetof(SceneRecord, SceneMIDICh) == 16);
static_assert(offsetof(SceneRecord, PianoKeyCh) == 20);
static_assert(offsetof(SceneRecord, BendSpeed) == 24);
static_assert(offsetof(SceneRecord, KeyTrans) == 28);
static_assert(offsetof(SceneRecord, KeyVelocityCurve) == 32);
static_assert(offsetof(SceneRecord, KeyConstVelocity) == 36);
static_assert(offsetof(SceneRecord, PadVelocityCurve) == 40);
static_assert(offsetof(SceneRecord, PadConstVelocity) == 44);
static_assert(offsetof(SceneRecord, MIDICh) == 48);
static_assert(offsetof(SceneRecord, KonbEnable) == 64);
static_assert(offsetof(SceneRecord, KonbCCNumber) == 80);
static_assert(offsetof(SceneRecord, KonbURValue) == 96);
static_assert(offsetof(SceneRecord, KonbLLValue) == 112);
static_assert(offsetof(SceneRecord, SliderEnable) == 128);
static_assert(offsetof(SceneRecord, SliderCCNumber) == 144);
static_assert(offsetof(SceneRecord, SliderURValue) == 160);
static_assert(offsetof(SceneRecord, SliderLLValue) == 176);
static_assert(offsetof(SceneRecord, KeyAssignType) == 192);
static_assert(offsetof(SceneRecord, KeyCCNumber) == 292);
static_assert(offsetof(SceneRecord, KeyONValue) == 392);
static_assert(offsetof(SceneRecord, KeyOFFValue) == 492);
static_assert(offsetof(SceneRecord, KeyBehavior) == 592);
static_assert(offsetof(SceneRecord, PadAssignType) == 692);
static_assert(offsetof(SceneRecord, PadCCNumber) == 724);
static_assert(offsetof(SceneRecord, PadONValue) == 756);
static_assert(offsetof(SceneRecord, PadOFFValue) == 788);
static_assert(offsetof(SceneRecord, PadBehavior) == 820);
static_assert(offsetof(SceneRecord, PadMIDICh) == 852);

inline constexpr std::size_t kSceneRecordSize = sizeof(SceneRecord);
inline constexpr std::size_t kSceneSetSize = kSceneCount * kSceneRecordSize; // 3,536

// Writes at most the first 12 bytes of `name` and their count; the character bytes after
// the new length keep what they held, so the file and the device image carry them on. True
// when that changed a byte of the record.
bool SetSceneName(SceneRecord& record, std::string_view name);
// The stored name (its first `length` bytes, at most 12) as 8-bit characters.
std::string SceneName(const SceneRecord& record);
// The stored name up to its first NUL byte: what the name field and the scene button show.
// Names read from the controller have length 12 and carry NUL padding.
std::string VisibleSceneName(const SceneRecord& record);
// Stores a name set in the name field, which shows VisibleSceneName: the visible name itself
// leaves the record as it is (NUL padding included); any other name goes by SetSceneName.
// True when that changed a byte of the record.
bool SetShownSceneName(SceneRecord& record, std::string_view shown);

// The four scenes, scene n (1..4) at byte (n - 1) * 884 of the raw form.
class SceneSet {
public:
    SceneSet();

    SceneRecord& scene(int number);             // number 1..4
    const SceneRecord& scene(int number) const;

    std::array<std::uint8_t, kSceneSetSize> toBytes() const;
    void fromBytes(const std::uint8_t* bytes);  // exactly kSceneSetSize bytes

    bool operator==(const SceneSet& other) const;

private:
    std::array<SceneRecord, kSceneCount> m_records;
};

} // namespace lumo
