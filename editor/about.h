// The About window (unit About): a borderless box with the picture of the controller,
// closed by any click.
#pragma once

#include <QDialog>

class QLabel;

namespace lumo {

class TFormAbout : public QDialog {
    Q_OBJECT
public:
    // Placed centred over `mainWindow` (the screen when it is null).
    explicit TFormAbout(QWidget* mainWindow = nullptr);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    QLabel* m_picture;
};

} // namespace lumo
