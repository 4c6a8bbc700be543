// The Open Recent submenu, rebuilt from the settings each time it opens.
#include "editor/recent_files_menu.h"

#include "app/recent_files.h"

#include <QDir>

namespace lumo {

RecentFilesMenu::RecentFilesMenu(QWidget* parent)
    : QMenu(QStringLiteral("Open Recent"), parent)
{
    setObjectName(QStringLiteral("OpenRecent1"));
    menuAction()->setObjectName(objectName());
    connect(this, &QMenu::aboutToShow, this, &RecentFilesMenu::rebuild);
}

void RecentFilesMenu::rebuild()
{
    clear();
    const QStringList files = RecentFiles::existingFiles();
    for (int n = 0; n < files.size(); ++n) {
        const QString path = files[n];
        QString text = QDir::toNativeSeparators(path);
        text.replace(QLatin1Char('&'), QStringLiteral("&&"));
        // The first nine get a digit as access key.
        QAction* action = addAction(n < 9 ? QStringLiteral("&%1 %2").arg(n + 1).arg(text) : text);
        action->setObjectName(QStringLiteral("RecentFile%1").arg(n + 1));
        action->setData(path);
        connect(action, &QAction::triggered, this, [this, path] { emit fileChosen(path); });
    }
    if (!files.isEmpty()) addSeparator();
    QAction* clearMenu = addAction(QStringLiteral("Clear Menu"));
    clearMenu->setObjectName(QStringLiteral("ClearRecent1"));
    connect(clearMenu, &QAction::triggered, this, [] { RecentFiles::clear(); });
}

} // namespace lumo
