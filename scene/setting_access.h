// One stored value named as a user types it: a control-list item ("Konb-1", "Trigger Pad-3" or
// "Pad-3") and a record field of that control's kind; the value read and written as text.
#pragma once

#include "scene/scene_settings.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace lumo {

struct SettingAddress {
    const SceneSetting* setting = nullptr;
    int element = 0; // 0 for the scene-wide settings
};

// The setting's field name as text: "KonbCCNumber".
QString FieldName(const SceneSetting& setting);
// The Control Index of a control-list item in any letter case; "Pad-N" is "Trigger Pad-N".
std::optional<int> FindControl(const QString& name);
// "Common, Group Common-1 .. Group Common-4, Konb-1 .. Konb-4, ..., Key-1 .. Key-25"
QString ControlNamesSummary();
// The field of that name (any letter case) of the control's kind, or nothing.
std::optional<SettingAddress> FindField(int controlIndex, const QString& field);
// The field names of the control's kind, comma separated.
QString FieldNamesOfControl(int controlIndex);

// The stored value: the scene name as its Latin-1 text, a number in decimal.
QString StoredText(const SceneRecord& record, const SettingAddress& address);
// Stores a value given as StoredText gives it: the name with the name rule (the characters
// and length written, later name bytes kept), a decimal whole number within 32 bits.
// Returns what is wrong with the text, or an empty text when it was stored.
QString SetStoredText(SceneRecord& record, const SettingAddress& address, const QString& text);

// A scene name's 8-bit characters: at most 12 characters, each Latin-1. Otherwise nothing, and
// `problem` says why.
std::optional<QByteArray> SceneNameBytes(const QString& text, QString& problem);

} // namespace lumo
