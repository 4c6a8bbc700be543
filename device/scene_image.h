// The Device Scene Image: the four scenes as the controller stores them, 229 bytes each, one
// byte per setting, 916 bytes at the start of the transfer buffer.
#pragma once

#include "scene/scene_record.h"

#include <cstdint>

namespace lumo {

inline constexpr int kSceneImageSize = 229;
inline constexpr int kDeviceSceneImageSize = kSceneCount * kSceneImageSize; // 916

// Positions inside one scene image. The key arrays come right after the eight scene-wide
// settings, with the behaviour second; the pad arrays are reordered as well.
namespace image_pos {
inline constexpr int SceneName = 0; // 12 character bytes
inline constexpr int SceneMIDICh = 12;
inline constexpr int PianoKeyCh = 13;
inline constexpr int BendSpeed = 14;
inline constexpr int KeyTrans = 15;
inline constexpr int KeyVelocityCurve = 16;
inline constexpr int KeyConstVelocity = 17;
inline constexpr int PadVelocityCurve = 18;
inline constexpr int PadConstVelocity = 19;
inline constexpr int KeyAssignType = 20;
inline constexpr int KeyBehavior = 45;
inline constexpr int KeyCCNumber = 70;
inline constexpr int KeyONValue = 95;
inline constexpr int KeyOFFValue = 120;
inline constexpr int MIDICh = 145;
inline constexpr int KonbEnable = 149;
inline constexpr int KonbCCNumber = 153;
inline constexpr int KonbURValue = 157;
inline constexpr int KonbLLValue = 161;
inline constexpr int SliderEnable = 165;
inline constexpr int SliderCCNumber = 169;
inline constexpr int SliderURValue = 173;
inline constexpr int SliderLLValue = 177;
inline constexpr int PadAssignType = 181;
inline constexpr int PadCCNumber = 189;
inline constexpr int PadMIDICh = 197;
inline constexpr int PadBehavior = 205;
inline constexpr int PadONValue = 213;
inline constexpr int PadOFFValue = 221;
} // namespace image_pos

// Writes bytes 0-915 of `image` from the four records: all 12 name bytes whatever the length,
// and the low 8 bits of every other field (300 becomes 44, -1 becomes 255). Returns 916.
int PackSceneImage(const SceneSet& scenes, std::uint8_t* image);

// Writes every field that bytes 0-915 of `image` carry into the four records: each name gets
// length 12 and all 12 bytes, zero bytes included; every other byte is widened without sign.
// Padding and nothing else is touched. Returns 916.
int UnpackSceneImage(const std::uint8_t* image, SceneSet& scenes);

} // namespace lumo
