// The search path of the parameter files.
#include "scene/parameter_locations.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace lumo {

QStringList ParameterFolders()
{
    QStringList folders{QDir::currentPath(),
                        QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
                            + QStringLiteral("/vorel-lumo")};
    // An installed program is <prefix>/bin/<program> with its data in <prefix>/share.
    if (QCoreApplication::instance())
        folders.append(QDir::cleanPath(QCoreApplication::applicationDirPath() + QStringLiteral("/../share/vorel-lumo")));
    const QString configured = QStringLiteral(LUMO_INSTALLED_DATA_DIR);
    if (!folders.contains(configured)) folders.append(configured);
    return folders;
}

std::optional<QString> FindParameterFile(const QStringList& folders, const QString& fileName)
{
    for (const QString& folder : folders) {
        const QString path = QDir(folder).absoluteFilePath(fileName);
        if (QFileInfo::exists(path)) return path;
    }
    return std::nullopt;
}

} // namespace lumo
