// The connection status in the menu bar's right corner: "Controller: PORT NAME" while the
// controller is there, "No controller" while it is not, and a word on Follow Controller waiting
// for it. It never grows the menu bar, so the client area stays where it is.
#pragma once

#include <QLabel>

class QMenuBar;

namespace lumo {

class ConnectionStatus : public QLabel {
    Q_OBJECT
public:
    // Puts itself into `bar`'s right corner.
    explicit ConnectionStatus(QMenuBar* bar);

    // `port` empty: no controller. `followingPaused`: Follow Controller is on and waits for it.
    void setConnection(const QString& port, bool followingPaused);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void showElided();
    QString m_full;
};

} // namespace lumo
