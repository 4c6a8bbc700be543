// The texts of the window's choice lists and of the control list: the settings table names the
// list of each choice setting, the window and `lumo` show their items.
#pragma once

#include <QStringList>

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


// The lists above hold the English texts, which `lumo` prints and reads. The window shows
// them through Qt's translation: its choice lists with ShownItems, its control list with
// ShownControlListItems.
QStringList ShownItems(const QStringList& items);
QStringList ShownControlListItems();
// A text marked with QT_TRANSLATE_NOOP("DisplayTexts", ...), as the window shows it.
QString TranslatedDisplayText(const QString& text);

} // namespace lumo
