// The item texts of the choice lists.
#include "scene/choice_items.h"

namespace lumo {

namespace {

QStringList numbered(const QString& prefix, int count)
{
    QStringList items;
    for (int n = 1; n <= count; ++n)
        items << prefix + QString::number(n);
    return items;
}

} // namespace

const QStringList& ChannelItems()
{
    static const QStringList items = numbered(QString(), 16) << QStringLiteral("Global");
    return items;
}

const QStringList& SceneChannelItems()
{
    static const QStringList items = numbered(QString(), 16);
    return items;
}

const QStringList& EnableItems()
{
    static const QStringList items{QStringLiteral("Disable"), QStringLiteral("Enable")};
    return items;
}

const QStringList& PadAssignItems()
{
    static const QStringList items{QStringLiteral("No Assign"), QStringLiteral("Control Change"), QStringLiteral("Note")};
    return items;
}

const QStringList& BehaviorItems()
{
    static const QStringList items{QStringLiteral("Momentary"), QStringLiteral("Toggle")};
    return items;
}

const QStringList& VelocityCurveItems()
{
    static const QStringList items{QStringLiteral("Light"), QStringLiteral("Normal"), QStringLiteral("Heavy"),
                                   QStringLiteral("Const")};
    return items;
}

const QStringList& DisplayModeItems()
{
    static const QStringList items{QStringLiteral("MIDI Channel"),     QStringLiteral("Assign Type"),
                                   QStringLiteral("CC/Note Number"),   QStringLiteral("Lower/Left Value"),
                                   QStringLiteral("Upper/Right Value"), QStringLiteral("Button Behavior"),
                                   QStringLiteral("Off Value"),        QStringLiteral("On Value")};
    return items;
}

const QStringList& ControlListItems()
{
    static const QStringList items = QStringList{QStringLiteral("Common")} + numbered(QStringLiteral("Group Common-"), 4)
        + numbered(QStringLiteral("Konb-"), 4) + numbered(QStringLiteral("Slider-"), 4)
        + numbered(QStringLiteral("Trigger Pad-"), 8) + numbered(QStringLiteral("Key-"), 25);
    return items;
}

} // namespace lumo
