// Packing and unpacking the Device Scene Image.
#include "device/scene_image.h"

#include <cstring>
#include <string_view>

namespace lumo {
namespace {

// Walks the fields of one record in image order; `visit(position, field)` sees every 32-bit
// field with its image position, array elements one by one.
template <typename Record, typename Visit>
void forEachImageField(Record& r, Visit&& visit)
{
    auto one = [&](int position, auto& field) { visit(position, field); };
    auto many = [&](int position, auto& array) {
        int i = 0;
        for (auto& element : array)
            visit(position + i++, element);
    };
    namespace p = image_pos;
    one(p::SceneMIDICh, r.SceneMIDICh);
    one(p::PianoKeyCh, r.PianoKeyCh);
    one(p::BendSpeed, r.BendSpeed);
    one(p::KeyTrans, r.KeyTrans);
    one(p::KeyVelocityCurve, r.KeyVelocityCurve);
    one(p::KeyConstVelocity, r.KeyConstVelocity);
    one(p::PadVelocityCurve, r.PadVelocityCurve);
    one(p::PadConstVelocity, r.PadConstVelocity);
    many(p::KeyAssignType, r.KeyAssignType);
    many(p::KeyBehavior, r.KeyBehavior);
    many(p::KeyCCNumber, r.KeyCCNumber);
    many(p::KeyONValue, r.KeyONValue);
    many(p::KeyOFFValue, r.KeyOFFValue);
    many(p::MIDICh, r.MIDICh);
    many(p::KonbEnable, r.KonbEnable);
    many(p::KonbCCNumber, r.KonbCCNumber);
    many(p::KonbURValue, r.KonbURValue);
    many(p::KonbLLValue, r.KonbLLValue);
    many(p::SliderEnable, r.SliderEnable);
    many(p::SliderCCNumber, r.SliderCCNumber);
    many(p::SliderURValue, r.SliderURValue);
    many(p::SliderLLValue, r.SliderLLValue);
    many(p::PadAssignType, r.PadAssignType);
    many(p::PadCCNumber, r.PadCCNumber);
    many(p::PadMIDICh, r.PadMIDICh);
    many(p::PadBehavior, r.PadBehavior);
    many(p::PadONValue, r.PadONValue);
    many(p::PadOFFValue, r.PadOFFValue);
}

} // namespace

int PackSceneImage(const SceneSet& scenes, std::uint8_t* image)
{
    for (int s = 1; s <= kSceneCount; ++s) {
        std::uint8_t* base = image + (s - 1) * kSceneImageSize;
        const SceneRecord& record = scenes.scene(s);
        std::memcpy(base + image_pos::SceneName, record.SceneNameChars, kSceneNameCapacity);
        forEachImageField(record, [base](int position, const std::int32_t& value) {
            base[position] = static_cast<std::uint8_t>(value & 0xFF);
        });
    }
    return kDeviceSceneImageSize;
}

int UnpackSceneImage(const std::uint8_t* image, SceneSet& scenes)
{
    for (int s = 1; s <= kSceneCount; ++s) {
        const std::uint8_t* base = image + (s - 1) * kSceneImageSize;
        SceneRecord& record = scenes.scene(s);
        SetSceneName(record, std::string_view(reinterpret_cast<const char*>(base + image_pos::SceneName),
                                              kSceneNameCapacity));
        forEachImageField(record, [base](int position, std::int32_t& value) {
            value = static_cast<std::int32_t>(base[position]);
        });
    }
    return kDeviceSceneImageSize;
}

} // namespace lumo
