// ProgressBar1: a flat bar in the desktop's hot-light colour with its percentage centred,
// drawn in the bar colour over the empty part and in white over the filled part.
#pragma once

#include <QProgressBar>

namespace lumo {

class TransferProgressBar : public QProgressBar {
    Q_OBJECT
public:
    TransferProgressBar(const QColor& barColour, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor m_barColour;
};

} // namespace lumo
