// The four scenes as JSON text and back, byte for byte: the readable settings first, then the
// bytes that hold no setting (the whole name area and the padding).
#pragma once

#include "scene/scene_record.h"

#include <QByteArray>
#include <QString>

namespace lumo {

// {"scenes": [{"scene": 1, "SceneName": "SCENE1", "SceneMIDICh": 0, ..., "KeyBehavior": [...],
//              "SceneNameLength": 6, "SceneNameChars": [83, ...], "Padding": [0, 0, 0]}, ...]}
// Settings in the settings table's order under their field names, stored values, array fields
// as arrays (element 0 = control 1); the name as Latin-1 text. UTF-8, one field per line.
QByteArray ScenesToJson(const SceneSet& scenes);

struct JsonScenes {
    SceneSet scenes;
    QString error; // empty when `scenes` holds what the text says
    bool ok() const { return error.isEmpty(); }
};

// The inverse of ScenesToJson. Every field must be there once, of the right form and within
// 32 bits (8 bits for the name area and padding); nothing else may be. The name area is taken
// as its bytes say, unless "SceneName" differs from the name that they spell: then that text
// is written over them with the name rule (its characters and length; the stale bytes after it
// stay). The error names the line and column, or the scene, control and field.
JsonScenes ScenesFromJson(const QByteArray& json);

} // namespace lumo
