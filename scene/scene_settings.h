// The one table of a scene's settings: for each its record field and elements, its
// default-parameter key, its control kind, the editor's range and the conversion between the
// stored value and the value that the editors, the overlay and `lumo` show.
#pragma once

#include "scene/control_index.h"
#include "scene/scene_record.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace lumo {

// One per setting, in the table's order: the control list's (scene-wide settings, groups,
// knobs, sliders, pads, keys), and within a kind the record's. The names are the stored ones.
enum class SettingId : int {
    SceneName, SceneMIDICh, PianoKeyCh, BendSpeed, KeyTrans, KeyVelocityCurve, KeyConstVelocity,
    PadVelocityCurve, PadConstVelocity,
    MIDICh,
    KonbEnable, KonbCCNumber, KonbURValue, KonbLLValue,
    SliderEnable, SliderCCNumber, SliderURValue, SliderLLValue,
    PadAssignType, PadCCNumber, PadONValue, PadOFFValue, PadBehavior, PadMIDICh,
    KeyAssignType, KeyCCNumber, KeyONValue, KeyOFFValue, KeyBehavior,
};
inline constexpr int kSettingCount = 29;

// How DefPara.ini names a setting's values. The key, or its stem, is the setting's name.
enum class DefaultKeys {
    PerScene,   // "SceneName1" .. "SceneName4": scene n's value
    Whole,      // "KonbEnable": every element of all four scenes
    PerElement, // "KonbCCNumber1" .. "KonbCCNumber4": element n - 1 of all four scenes
};

// How a stored value is shown.
enum class ShownAs {
    Name,   // the scene name's 8-bit characters (length byte at the offset, 12 characters after)
    Number, // the whole number stored + shownOffset
    Choice, // the text of item number `stored` of `items`
};

// Display modes of the overlay ("Display Select") under which a setting is shown on its label.
inline constexpr int kNotOnOverlay = -1;
inline constexpr int kOnOverlayInEveryMode = -2; // the groups' channels

struct SceneSetting {
    SettingId id;
    std::string_view name;         // field name, JSON key and DefPara.ini key (stem): "KonbCCNumber"
    std::string_view caption;      // the editor's caption: "CC Number"
    ControlKind kind;              // the kind of control whose panel edits it
    std::size_t offset;            // byte offset of element 0 in the 884-byte record
    int count;                     // elements, 4 bytes each: 1 scene-wide, 4, 8 pads, 25 keys
    DefaultKeys defaultKeys;
    std::int32_t defaultFallback;  // for a missing key or a value that is no integer
    bool defaultIsShown;           // the default is the shown number (BendSpeed: the speed)
    ShownAs shownAs;
    std::int32_t shownOffset;      // shown = stored + shownOffset: BendSpeed +1, KeyTrans -13
    const QStringList& (*items)(); // the choice list (ShownAs::Choice), else nullptr
    int shownMin;                  // the editor's range in shown units; choices: item positions;
    int shownMax;                  // the name: its length
    int overlayMode;               // display mode 0..7 that shows it on its label, or the two above
};

// All settings in the order of SettingId.
std::span<const SceneSetting, kSettingCount> SceneSettings();
const SceneSetting& Setting(SettingId id);
// The setting of a field name, exactly as stored ("KonbCCNumber"); nullptr when none has it.
const SceneSetting* FindSetting(std::string_view name);
// The settings that the panel of `kind` edits, in record order (Common: the nine scene-wide
// settings). Knobs and sliders list theirs in the same order, since they share one panel.
std::span<const SceneSetting> SettingsOfKind(ControlKind kind);

// The DefPara.ini key of one value: the name, with the scene number 1..4 (PerScene) or the
// element number element + 1 (PerElement) appended in decimal.
QByteArray DefaultKey(const SceneSetting& setting, int scene, int element);

// Element 0..count-1 of a numeric setting (not the name) in a record; 0 for an element or
// setting that has no number there.
std::int32_t SettingValue(const SceneRecord& record, const SceneSetting& setting, int element);
// Writes element 0..count-1 of a numeric setting; true when that changed a byte of the record.
// Writes nothing for an element or setting that has no number there.
bool SetSettingValue(SceneRecord& record, const SceneSetting& setting, int element, std::int32_t stored);

// Stored to shown number and back, in 64 bits: no stored value overflows when shown, and a
// shown number outside 32 bits wraps into the field as the 32-bit record holds it.
std::int64_t ShownNumber(const SceneSetting& setting, std::int32_t stored);
std::int32_t StoredNumber(const SceneSetting& setting, std::int64_t shown);
// Whether a stored value is what the editor can produce: within its shown range.
bool InEditorRange(const SceneSetting& setting, std::int32_t stored);
// The shown text of a stored value: the item text of a choice, the decimal shown number
// otherwise. nullopt for a choice value without an item.
std::optional<QString> ShownText(const SceneSetting& setting, std::int32_t stored);
// The stored value of a shown text, the inverse of ShownText: an item of the list exactly
// (choices), or a decimal whole number with optional sign whose stored form fits 32 bits.
std::optional<std::int32_t> StoredFromText(const SceneSetting& setting, const QString& text);

// Wraps a 64-bit intermediate into a 32-bit field the way the record stores it.
std::int32_t ToField(std::int64_t value);

// The field arrays of one kind, those of SettingsOfKind in its order; every array has
// ControlCountOfKind elements. Common: none.
struct KindFields {
    int count = 0;                    // number of arrays
    std::int32_t* arrays[6] = {};     // each of ControlCountOfKind(kind) elements
};
KindFields FieldsOfKind(SceneRecord& record, ControlKind kind);

} // namespace lumo
