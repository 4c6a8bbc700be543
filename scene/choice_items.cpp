// The item texts of the choice lists, in English (which `lumo` prints and reads), marked for
// the window's translation.
#include "scene/choice_items.h"

#include <QCoreApplication>

namespace lumo {

namespace {

// The texts below keep the English; the window shows them through TranslatedDisplayText.
QString english(const char* text)
{
    return QString::fromUtf8(text);
}

QStringList numbered(const QString& prefix, int count)
{
    QStringList items;
    for (int n = 1; n <= count; ++n)
        items << prefix + QString::number(n);
    return items;
}

// The control list by kind: an item name, numbered from 1 after its dash when there are more.
struct ControlListKind {
    const char* name;
    int count;
};
constexpr ControlListKind kControlListKinds[] = {
    {QT_TRANSLATE_NOOP("DisplayTexts", "Common"), 1},
    {QT_TRANSLATE_NOOP("DisplayTexts", "Group Common-"), 4},
    {QT_TRANSLATE_NOOP("DisplayTexts", "Konb-"), 4},
    {QT_TRANSLATE_NOOP("DisplayTexts", "Slider-"), 4},
    {QT_TRANSLATE_NOOP("DisplayTexts", "Trigger Pad-"), 8},
    {QT_TRANSLATE_NOOP("DisplayTexts", "Key-"), 25},
};

QStringList controlListItems(QString (*text)(const char*))
{
    QStringList items;
    for (const ControlListKind& kind : kControlListKinds)
        items += kind.count == 1 ? QStringList{text(kind.name)} : numbered(text(kind.name), kind.count);
    return items;
}

} // namespace

QString TranslatedDisplayText(const QString& text)
{
    return QCoreApplication::translate("DisplayTexts", text.toUtf8().constData());
}

const QStringList& ChannelItems()
{
    static const QStringList items = numbered(QString(), 16) << english(QT_TRANSLATE_NOOP("DisplayTexts", "Global"));
    return items;
}

const QStringList& SceneChannelItems()
{
    static const QStringList items = numbered(QString(), 16);
    return items;
}

const QStringList& EnableItems()
{
    static const QStringList items{english(QT_TRANSLATE_NOOP("DisplayTexts", "Disable")),
                                   english(QT_TRANSLATE_NOOP("DisplayTexts", "Enable"))};
    return items;
}

const QStringList& PadAssignItems()
{
    static const QStringList items{english(QT_TRANSLATE_NOOP("DisplayTexts", "No Assign")),
                                   english(QT_TRANSLATE_NOOP("DisplayTexts", "Control Change")),
                                   english(QT_TRANSLATE_NOOP("DisplayTexts", "Note"))};
    return items;
}

const QStringList& BehaviorItems()
{
    static const QStringList items{english(QT_TRANSLATE_NOOP("DisplayTexts", "Momentary")),
                                   english(QT_TRANSLATE_NOOP("DisplayTexts", "Toggle"))};
    return items;
}

const QStringList& VelocityCurveItems()
{
    static const QStringList items{english(QT_TRANSLATE_NOOP("DisplayTexts", "Light")),
                                   english(QT_TRANSLATE_NOOP("DisplayTexts", "Normal")),
                                   english(QT_TRANSLATE_NOOP("DisplayTexts", "Heavy")),
                                   english(QT_TRANSLATE_NOOP("DisplayTexts", "Const"))};
    return items;
}

const QStringList& DisplayModeItems()
{
    static const QStringList items{english(QT_TRANSLATE_NOOP("DisplayTexts", "MIDI Channel")),
                                   english(QT_TRANSLATE_NOOP("DisplayTexts", "Assign Type")),
                                   english(QT_TRANSLATE_NOOP("DisplayTexts", "CC/Note Number")),
                                   english(QT_TRANSLATE_NOOP("DisplayTexts", "Lower/Left Value")),
                                   english(QT_TRANSLATE_NOOP("DisplayTexts", "Upper/Right Value")),
                                   english(QT_TRANSLATE_NOOP("DisplayTexts", "Button Behavior")),
                                   english(QT_TRANSLATE_NOOP("DisplayTexts", "Off Value")),
                                   english(QT_TRANSLATE_NOOP("DisplayTexts", "On Value"))};
    return items;
}

const QStringList& ControlListItems()
{
    static const QStringList items = controlListItems(english);
    return items;
}

QStringList ShownItems(const QStringList& items)
{
    QStringList shown;
    for (const QString& item : items)
        shown << TranslatedDisplayText(item);
    return shown;
}

QStringList ShownControlListItems()
{
    return controlListItems([](const char* name) { return TranslatedDisplayText(english(name)); });
}

} // namespace lumo
