// The settings table and the conversions that read it.
#include "scene/scene_settings.h"

#include "scene/display_texts.h"

#include <cstring>
#include <limits>

namespace lumo {

namespace {

using K = ControlKind;
using D = DefaultKeys;
using S = ShownAs;
using Id = SettingId;
constexpr int kNone = kNotOnOverlay;
constexpr int kByte = 127;

// id, name, caption (the window translates it, context "SceneSettings"), kind, offset, count, default keys, fallback, default is shown, shown as,
// shown offset, items, shown range, overlay mode
constexpr SceneSetting kSettings[kSettingCount] = {
    {Id::SceneName, "SceneName", QT_TRANSLATE_NOOP("SceneSettings", "Scene Name"), K::Common, offsetof(SceneRecord, SceneNameLength), 1, D::PerScene, 0, false, S::Name, 0, nullptr, 0, kSceneNameCapacity, kNone},
    {Id::SceneMIDICh, "SceneMIDICh", QT_TRANSLATE_NOOP("SceneSettings", "Global MIDI Ch"), K::Common, offsetof(SceneRecord, SceneMIDICh), 1, D::Whole, 0, false, S::Choice, 0, &SceneChannelItems, 0, 15, kNone},
    {Id::PianoKeyCh, "PianoKeyCh", QT_TRANSLATE_NOOP("SceneSettings", "Piano Key CC# Ch"), K::Common, offsetof(SceneRecord, PianoKeyCh), 1, D::Whole, 0, false, S::Choice, 0, &ChannelItems, 0, 16, kNone},
    {Id::BendSpeed, "BendSpeed", QT_TRANSLATE_NOOP("SceneSettings", "Pitch Bend Speed"), K::Common, offsetof(SceneRecord, BendSpeed), 1, D::Whole, 1, true, S::Number, 1, nullptr, 1, 4, kNone},
    {Id::KeyTrans, "KeyTrans", QT_TRANSLATE_NOOP("SceneSettings", "Key Transpose"), K::Common, offsetof(SceneRecord, KeyTrans), 1, D::Whole, 0, false, S::Number, -13, nullptr, -12, 12, kNone},
    {Id::KeyVelocityCurve, "KeyVelocityCurve", QT_TRANSLATE_NOOP("SceneSettings", "Key Velocity Curve"), K::Common, offsetof(SceneRecord, KeyVelocityCurve), 1, D::Whole, 0, false, S::Choice, 0, &VelocityCurveItems, 0, 3, kNone},
    {Id::KeyConstVelocity, "KeyConstVelocity", QT_TRANSLATE_NOOP("SceneSettings", "Key Const Velocity"), K::Common, offsetof(SceneRecord, KeyConstVelocity), 1, D::Whole, 0, false, S::Number, 0, nullptr, 0, kByte, kNone},
    {Id::PadVelocityCurve, "PadVelocityCurve", QT_TRANSLATE_NOOP("SceneSettings", "Pad Velocity Curve"), K::Common, offsetof(SceneRecord, PadVelocityCurve), 1, D::Whole, 0, false, S::Choice, 0, &VelocityCurveItems, 0, 3, kNone},
    {Id::PadConstVelocity, "PadConstVelocity", QT_TRANSLATE_NOOP("SceneSettings", "Pad Const Velocity"), K::Common, offsetof(SceneRecord, PadConstVelocity), 1, D::Whole, 0, false, S::Number, 0, nullptr, 0, kByte, kNone},

    {Id::MIDICh, "MIDICh", QT_TRANSLATE_NOOP("SceneSettings", "MIDI Channel"), K::Group, offsetof(SceneRecord, MIDICh), kGroupCount, D::Whole, 0, false, S::Choice, 0, &ChannelItems, 0, 16, kOnOverlayInEveryMode},

    {Id::KonbEnable, "KonbEnable", QT_TRANSLATE_NOOP("SceneSettings", "Enable"), K::Knob, offsetof(SceneRecord, KonbEnable), kKnobCount, D::Whole, 0, false, S::Choice, 0, &EnableItems, 0, 1, 1},
    {Id::KonbCCNumber, "KonbCCNumber", QT_TRANSLATE_NOOP("SceneSettings", "CC Number"), K::Knob, offsetof(SceneRecord, KonbCCNumber), kKnobCount, D::PerElement, 0, false, S::Number, 0, nullptr, 0, kByte, 2},
    {Id::KonbURValue, "KonbURValue", QT_TRANSLATE_NOOP("SceneSettings", "Upper/Right Value"), K::Knob, offsetof(SceneRecord, KonbURValue), kKnobCount, D::Whole, 0, false, S::Number, 0, nullptr, 0, kByte, 4},
    {Id::KonbLLValue, "KonbLLValue", QT_TRANSLATE_NOOP("SceneSettings", "Lower/Left Value"), K::Knob, offsetof(SceneRecord, KonbLLValue), kKnobCount, D::Whole, 0, false, S::Number, 0, nullptr, 0, kByte, 3},

    {Id::SliderEnable, "SliderEnable", QT_TRANSLATE_NOOP("SceneSettings", "Enable"), K::Slider, offsetof(SceneRecord, SliderEnable), kSliderCount, D::Whole, 0, false, S::Choice, 0, &EnableItems, 0, 1, 1},
    {Id::SliderCCNumber, "SliderCCNumber", QT_TRANSLATE_NOOP("SceneSettings", "CC Number"), K::Slider, offsetof(SceneRecord, SliderCCNumber), kSliderCount, D::PerElement, 0, false, S::Number, 0, nullptr, 0, kByte, 2},
    {Id::SliderURValue, "SliderURValue", QT_TRANSLATE_NOOP("SceneSettings", "Upper/Right Value"), K::Slider, offsetof(SceneRecord, SliderURValue), kSliderCount, D::Whole, 0, false, S::Number, 0, nullptr, 0, kByte, 4},
    {Id::SliderLLValue, "SliderLLValue", QT_TRANSLATE_NOOP("SceneSettings", "Lower/Left Value"), K::Slider, offsetof(SceneRecord, SliderLLValue), kSliderCount, D::Whole, 0, false, S::Number, 0, nullptr, 0, kByte, 3},

    {Id::PadAssignType, "PadAssignType", QT_TRANSLATE_NOOP("SceneSettings", "Assign Type"), K::Pad, offsetof(SceneRecord, PadAssignType), kPadCount, D::Whole, 0, false, S::Choice, 0, &PadAssignItems, 0, 2, 1},
    {Id::PadCCNumber, "PadCCNumber", QT_TRANSLATE_NOOP("SceneSettings", "CC/Note Number"), K::Pad, offsetof(SceneRecord, PadCCNumber), kPadCount, D::PerElement, 0, false, S::Number, 0, nullptr, 0, kByte, 2},
    {Id::PadONValue, "PadONValue", QT_TRANSLATE_NOOP("SceneSettings", "ON Value"), K::Pad, offsetof(SceneRecord, PadONValue), kPadCount, D::Whole, 0, false, S::Number, 0, nullptr, 0, kByte, 7},
    {Id::PadOFFValue, "PadOFFValue", QT_TRANSLATE_NOOP("SceneSettings", "OFF Value"), K::Pad, offsetof(SceneRecord, PadOFFValue), kPadCount, D::Whole, 0, false, S::Number, 0, nullptr, 0, kByte, 6},
    {Id::PadBehavior, "PadBehavior", QT_TRANSLATE_NOOP("SceneSettings", "Pad Behavior"), K::Pad, offsetof(SceneRecord, PadBehavior), kPadCount, D::Whole, 0, false, S::Choice, 0, &BehaviorItems, 0, 1, 5},
    {Id::PadMIDICh, "PadMIDICh", QT_TRANSLATE_NOOP("SceneSettings", "MIDI Channel"), K::Pad, offsetof(SceneRecord, PadMIDICh), kPadCount, D::Whole, 0, false, S::Choice, 0, &ChannelItems, 0, 16, 0},

    {Id::KeyAssignType, "KeyAssignType", QT_TRANSLATE_NOOP("SceneSettings", "Assign Type"), K::Key, offsetof(SceneRecord, KeyAssignType), kKeyCount, D::Whole, 0, false, S::Choice, 0, &EnableItems, 0, 1, 1},
    {Id::KeyCCNumber, "KeyCCNumber", QT_TRANSLATE_NOOP("SceneSettings", "CC/Note Number"), K::Key, offsetof(SceneRecord, KeyCCNumber), kKeyCount, D::PerElement, 0, false, S::Number, 0, nullptr, 0, kByte, 2},
    {Id::KeyONValue, "KeyONValue", QT_TRANSLATE_NOOP("SceneSettings", "ON Value"), K::Key, offsetof(SceneRecord, KeyONValue), kKeyCount, D::Whole, 0, false, S::Number, 0, nullptr, 0, kByte, 7},
    {Id::KeyOFFValue, "KeyOFFValue", QT_TRANSLATE_NOOP("SceneSettings", "OFF Value"), K::Key, offsetof(SceneRecord, KeyOFFValue), kKeyCount, D::Whole, 0, false, S::Number, 0, nullptr, 0, kByte, 6},
    {Id::KeyBehavior, "KeyBehavior", QT_TRANSLATE_NOOP("SceneSettings", "Key Behavior"), K::Key, offsetof(SceneRecord, KeyBehavior), kKeyCount, D::Whole, 0, false, S::Choice, 0, &BehaviorItems, 0, 1, 5},
};

constexpr bool rowsFollowTheirIds()
{
    for (int i = 0; i < kSettingCount; ++i)
        if (static_cast<int>(kSettings[i].id) != i) return false;
    return true;
}
static_assert(rowsFollowTheirIds(), "the table's rows stand in the order of SettingId");

bool holdsNumber(const SceneSetting& setting, int element)
{
    return setting.shownAs != ShownAs::Name && element >= 0 && element < setting.count;
}

// A decimal whole number with optional sign, in 64 bits; nullopt beyond 19 digits.
std::optional<std::int64_t> parseDecimal(const QString& text)
{
    qsizetype pos = 0;
    const bool negative = !text.isEmpty() && text.at(0) == u'-';
    if (!text.isEmpty() && (text.at(0) == u'+' || negative)) ++pos;
    if (pos == text.size() || text.size() - pos > 18) return std::nullopt;
    std::int64_t value = 0;
    for (; pos < text.size(); ++pos) {
        const QChar c = text.at(pos);
        if (c < u'0' || c > u'9') return std::nullopt;
        value = value * 10 + (c.unicode() - u'0');
    }
    return negative ? -value : value;
}

} // namespace

std::span<const SceneSetting, kSettingCount> SceneSettings()
{
    return std::span<const SceneSetting, kSettingCount>(kSettings);
}

const SceneSetting& Setting(SettingId id)
{
    return kSettings[static_cast<int>(id)];
}

const SceneSetting* FindSetting(std::string_view name)
{
    for (const SceneSetting& setting : kSettings)
        if (setting.name == name) return &setting;
    return nullptr;
}

std::span<const SceneSetting> SettingsOfKind(ControlKind kind)
{
    int first = 0;
    while (first < kSettingCount && kSettings[first].kind != kind) ++first;
    int end = first;
    while (end < kSettingCount && kSettings[end].kind == kind) ++end;
    return std::span<const SceneSetting>(kSettings + first, static_cast<std::size_t>(end - first));
}

QByteArray DefaultKey(const SceneSetting& setting, int scene, int element)
{
    const QByteArray name(setting.name.data(), static_cast<qsizetype>(setting.name.size()));
    switch (setting.defaultKeys) {
    case DefaultKeys::PerScene: return name + QByteArray::number(scene);
    case DefaultKeys::PerElement: return name + QByteArray::number(element + 1);
    case DefaultKeys::Whole: break;
    }
    return name;
}

std::int32_t SettingValue(const SceneRecord& record, const SceneSetting& setting, int element)
{
    std::int32_t value = 0;
    if (holdsNumber(setting, element))
        std::memcpy(&value, reinterpret_cast<const char*>(&record) + setting.offset + 4 * element, sizeof value);
    return value;
}

bool SetSettingValue(SceneRecord& record, const SceneSetting& setting, int element, std::int32_t stored)
{
    if (!holdsNumber(setting, element) || SettingValue(record, setting, element) == stored) return false;
    std::memcpy(reinterpret_cast<char*>(&record) + setting.offset + 4 * element, &stored, sizeof stored);
    return true;
}

std::int64_t ShownNumber(const SceneSetting& setting, std::int32_t stored)
{
    return std::int64_t{stored} + setting.shownOffset;
}

std::int32_t StoredNumber(const SceneSetting& setting, std::int64_t shown)
{
    return ToField(shown - setting.shownOffset);
}

bool InEditorRange(const SceneSetting& setting, std::int32_t stored)
{
    const std::int64_t shown = ShownNumber(setting, stored);
    return shown >= setting.shownMin && shown <= setting.shownMax;
}

std::optional<QString> ShownText(const SceneSetting& setting, std::int32_t stored)
{
    if (setting.shownAs == ShownAs::Choice) {
        const QStringList& items = setting.items();
        if (stored < 0 || stored >= items.size()) return std::nullopt;
        return items.at(stored);
    }
    return QString::number(ShownNumber(setting, stored));
}

std::optional<std::int32_t> StoredFromText(const SceneSetting& setting, const QString& text)
{
    if (setting.shownAs == ShownAs::Choice) {
        const qsizetype index = setting.items().indexOf(text);
        if (index < 0) return std::nullopt;
        return static_cast<std::int32_t>(index);
    }
    const std::optional<std::int64_t> shown = parseDecimal(text);
    if (!shown) return std::nullopt;
    const std::int64_t stored = *shown - setting.shownOffset;
    if (stored < std::numeric_limits<std::int32_t>::min() || stored > std::numeric_limits<std::int32_t>::max())
        return std::nullopt;
    return static_cast<std::int32_t>(stored);
}

} // namespace lumo
