// Settings files checked before QSettings opens them.
#include "app/settings_file.h"

#include "scene/file_names.h"
#include "scene/scene_file.h"

#include <QCoreApplication>
#include <QMutex>
#include <QSet>
#include <QStandardPaths>

#include <cerrno>
#include <cstdio>

#include <sys/stat.h>

namespace lumo {

namespace {

constexpr char kOrganisation[] = "vorel-lumo";

// Where QSettings keeps user-scope settings on this platform; empty where they are no file.
QString settingsPath(QSettings::Format format, const QString& application)
{
#if defined(Q_OS_WIN) || defined(Q_OS_DARWIN)
    if (format == QSettings::NativeFormat) return QString();
#endif
    const QString extension = format == QSettings::IniFormat ? QStringLiteral(".ini") : QStringLiteral(".conf");
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QLatin1Char('/')
           + QLatin1String(kOrganisation) + QLatin1Char('/') + application + extension;
}

// Empty when the file may be read and saved: missing, or a regular file of at most 1 MiB.
QString problemWith(const QString& path)
{
    if (path.isEmpty()) return QString();
    struct stat info {};
    if (::stat(FileNameToBytes(path).constData(), &info) != 0) return QString(); // created by the save
    if (!S_ISREG(info.st_mode)) return QStringLiteral("not a regular file");
    if (info.st_size > kLargestSmallFile) return QStringLiteral("larger than 1 MiB");
    return QString();
}

void sayOnce(const QString& path, const QString& problem)
{
    static QMutex mutex;
    static QSet<QString> said;
    const QMutexLocker lock(&mutex);
    if (said.contains(path)) return;
    said.insert(path);
    const QString program = QCoreApplication::applicationName();
    const QByteArray text = QStringLiteral("%1: settings not saved: %2 is %3\n")
                                .arg(program.isEmpty() ? QStringLiteral("vorel-lumo") : program, path, problem)
                                .toLocal8Bit();
    std::fwrite(text.constData(), 1, static_cast<std::size_t>(text.size()), stderr);
}

} // namespace

SettingsFile::SettingsFile(QSettings::Format format, const QString& application)
    : m_path(settingsPath(format, application)), m_problem(problemWith(m_path))
{
    if (!m_problem.isEmpty()) return;
    // By the path just looked at: QSettings would form its own once per run and keep it.
    if (m_path.isEmpty())
        m_settings = std::make_unique<QSettings>(format, QSettings::UserScope, QLatin1String(kOrganisation), application);
    else
        m_settings = std::make_unique<QSettings>(m_path, format == QSettings::NativeFormat ? QSettings::IniFormat : format);
}

SettingsFile::~SettingsFile() = default;

QVariant SettingsFile::value(const QString& key, const QVariant& fallback) const
{
    return m_settings ? m_settings->value(key, fallback) : fallback;
}

void SettingsFile::setValue(const QString& key, const QVariant& value)
{
    if (m_settings) {
        m_settings->setValue(key, value);
        return;
    }
    sayOnce(m_path, m_problem);
}

} // namespace lumo
