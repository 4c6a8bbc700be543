// File > "Open Recent": the recent scene files, newest first, and "Clear Menu"; files that no
// longer exist leave the list as the menu opens.
#pragma once

#include <QMenu>

namespace lumo {

class RecentFilesMenu : public QMenu {
    Q_OBJECT
public:
    explicit RecentFilesMenu(QWidget* parent = nullptr);

signals:
    void fileChosen(const QString& path);

private:
    void rebuild();
};

} // namespace lumo
