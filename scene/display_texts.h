// What the window shows of a scene, without widgets: the choice lists' item texts, the overlay
// label texts for a display mode, the pad's CC/Note field rules and the number reading of the
// parameter panels. The conversion of each setting is the settings table's (scene_settings.h).
#pragma once

#include "scene/parameter_files.h"
#include "scene/scene_record.h"

#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>
#include <optional>

namespace lumo {

// Item lists; an item's position is the stored value.
const QStringList& ChannelItems();        // "1" .. "16", "Global"
const QStringList& SceneChannelItems();   // "1" .. "16"
const QStringList& EnableItems();         // "Disable", "Enable"
const QStringList& PadAssignItems();      // "No Assign", "Control Change", "Note"
const QStringList& BehaviorItems();       // "Momentary", "Toggle"
const QStringList& VelocityCurveItems();  // "Light", "Normal", "Heavy", "Const"
const QStringList& DisplayModeItems();    // the eight "Display Select" items, index = display mode
const QStringList& ControlListItems();    // the 46 control list items, index = Control Index

inline constexpr int kDisplayModeCount = 8;
inline constexpr int kOverlayLabelCount = 45;   // Control Index 1..45
inline constexpr int kFirstLabelNumber = 30;    // label of Control Index i is "Label" + (30 + i)
inline constexpr int kConstCurve = 3;           // "Const" in the velocity-curve lists
inline constexpr int kPadNoteStepLimit = 119;   // the arrows stop at this note line
inline constexpr int kPadNoteSwitchLimit = 120; // the assignment switch shows at most this line
inline constexpr int kMaxNoteNumber = 127;      // the highest MIDI note a typed number can name

// The lists above hold the English texts, which `lumo` prints and reads. The window shows
// them through Qt's translation: its choice lists with ShownItems, its control list with
// ShownControlListItems; OverlayText translates what it composes.
QStringList ShownItems(const QStringList& items);
QStringList ShownControlListItems();

// Text of item `index` of `items`; "---" when the list has no such item.
QString ItemText(const QStringList& items, std::int64_t index);

// Scene-button caption and name-field text of a scene: its visible name (up to the first
// NUL), 8-bit characters as Latin-1.
QString SceneCaption(const SceneRecord& record);

// Overlay label text of Control Index 1..45 for a display mode. Line breaks are one
// carriage return. nullopt when the label keeps its text: a mode outside 0..7 for any label
// but a group's. A choice index or note number without an entry shows "---".
std::optional<QString> OverlayText(const SceneRecord& record, int controlIndex, int mode, const NoteNames& notes);
// All 45 labels, element k for Control Index k + 1.
std::array<std::optional<QString>, kOverlayLabelCount> OverlayTexts(const SceneRecord& record, int mode,
                                                                    const NoteNames& notes);

// A decimal whole number: optional sign, at least one digit, nothing else, within 32 bits.
std::optional<int> ParseWholeNumber(const QString& text);
// As ParseWholeNumber after removing blanks and control characters from both ends.
std::optional<int> ParseTrimmedNumber(const QString& text);
int ClampInt(std::int64_t value, int low, int high);
// Wraps a 64-bit intermediate into a 32-bit field the way the record stores it.
std::int32_t ToField(std::int64_t value);

// The pad's CC/Note field.
// Text shown for a stored number under an assignment by the panel fill: 1 decimal, 2 the
// note line; nullopt (text untouched) for any other assignment. A note number without a
// line shows its decimal, so showing it never loses the number.
std::optional<QString> PadNumberDisplay(std::int64_t number, int assignment, const NoteNames& notes);
// Text after switching a pad to `assignment`: 1 decimal, 2 line min(number, 120) (decimal
// when the list has no such line); nullopt for 0 and anything else.
std::optional<QString> PadSwitchText(std::int64_t number, int assignment, const NoteNames& notes);
// The number that the field's text stores under the assignment shown; nullopt stores nothing
// (assignment other than 1 and 2). "Control Change": trimmed decimal, 0 for a non-number.
// "Note": position of the first line equal to the trimmed text in any letter case; a text
// that is no line but a plain number 0..127 (also how a note without a line is shown) is that
// note; anything else 0.
std::optional<int> ReadPadNumber(const QString& text, int assignment, const NoteNames& notes);
// What the field stores when its text changes: ReadPadNumber, except under "Note" a text that
// is no line but the decimal of the `stored` number (how a note without a line is shown)
// keeps that number, so showing a pad never loses it.
std::optional<int> ReadShownPadNumber(const QString& text, int assignment, std::int32_t stored,
                                      const NoteNames& notes);
// The field's text after one arrow step of +1 or -1: "Control Change" 0..127 in decimal,
// "Note" line 0..119 found from the untrimmed text (-1 when not a line), empty otherwise
// and when the list lacks the line.
QString StepPadNumber(const QString& text, int assignment, int step, const NoteNames& notes);

} // namespace lumo
