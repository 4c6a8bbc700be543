// The remembered pair in vorel-lumo/device.ini of the user's config folder.
#include "app/remembered_pair.h"

#include "app/settings_file.h"

namespace lumo {
PortPair RememberedPair()
{
    const SettingsFile stored(QSettings::IniFormat, QStringLiteral("device"));
    return {stored.value(QStringLiteral("controller/output")).toString().toStdString(),
            stored.value(QStringLiteral("controller/input")).toString().toStdString()};
}

void RememberPair(const PortPair& pair)
{
    SettingsFile stored(QSettings::IniFormat, QStringLiteral("device"));
    stored.setValue(QStringLiteral("controller/output"), QString::fromStdString(pair.output));
    stored.setValue(QStringLiteral("controller/input"), QString::fromStdString(pair.input));
}

} // namespace lumo
