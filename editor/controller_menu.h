// The "Controller" submenu of "Communication": the port pairs that answered the handshake in the
// last search, by the controller's port names, the one in use checked.
#pragma once

#include "device/device_link.h"

#include <QMenu>

#include <vector>

class QActionGroup;

namespace lumo {

class ControllerMenu : public QMenu {
    Q_OBJECT
public:
    explicit ControllerMenu(QWidget* parent = nullptr);

    // Shows `pairs` in search order with `inUse` checked; no pair: one disabled line says so.
    void setPairs(const std::vector<PortPair>& pairs, const PortPair& inUse);
    // An item's text: the name both ports share, or "OUTPUT / INPUT" (the port that the editor
    // sends to, then the one that it hears from).
    static QString pairText(const PortPair& pair);

signals:
    void chosen(const PortPair& pair);

private:
    QActionGroup* m_group = nullptr;
    std::vector<PortPair> m_pairs;
};

} // namespace lumo
