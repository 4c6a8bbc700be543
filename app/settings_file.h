// The user's settings files (vorel-lumo/device.ini, vorel-lumo/vorel-lumo.conf), kept through
// QSettings but looked at first: QSettings reads whatever the name gives (a FIFO waits for a
// writer, a link to a device never ends) and saves through a link over its target.
#pragma once

#include <QSettings>
#include <QString>
#include <QVariant>

#include <memory>

namespace lumo {

class SettingsFile {
public:
    // The user-scope settings of `application` in the "vorel-lumo" config folder, as
    // QSettings(format, QSettings::UserScope, "vorel-lumo", application) keeps them.
    SettingsFile(QSettings::Format format, const QString& application);
    ~SettingsFile();

    // Only a regular file of at most 1 MiB, or none yet, is read and written; a link to one is
    // followed. Anything else (a FIFO, device, socket or folder) gives every value's fallback
    // and takes no new value: that is said once per run on standard error.
    bool usable() const { return m_settings != nullptr; }
    QVariant value(const QString& key, const QVariant& fallback = QVariant()) const;
    void setValue(const QString& key, const QVariant& value);

    // The file's path as QSettings forms it (where the platform keeps settings in files).
    const QString& path() const { return m_path; }

private:
    QString m_path;
    QString m_problem; // why the file is not used
    std::unique_ptr<QSettings> m_settings;
};

} // namespace lumo
