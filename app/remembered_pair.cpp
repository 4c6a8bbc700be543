// The remembered pair in vorel-lumo/device.ini of the user's config folder.
#include "app/remembered_pair.h"

#include <QSettings>

namespace lumo {
PortPair RememberedPair()
{
    const QSettings stored(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("vorel-lumo"),
                           QStringLiteral("device"));
    return {stored.value(QStringLiteral("controller/output")).toString().toStdString(),
            stored.value(QStringLiteral("controller/input")).toString().toStdString()};
}

void RememberPair(const PortPair& pair)
{
    QSettings stored(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("vorel-lumo"), QStringLiteral("device"));
    stored.setValue(QStringLiteral("controller/output"), QString::fromStdString(pair.output));
    stored.setValue(QStringLiteral("controller/input"), QString::fromStdString(pair.input));
}

} // namespace lumo
