// ProgressBar1: a flat bar in the desktop's hot-light colour with its percentage centred,
// drawn in the bar colour over the empty part and in white over the filled part. Once the
// first 32 bytes of a transfer have travelled it also says how long the rest will take.
#pragma once

#include <QElapsedTimer>
#include <QProgressBar>

namespace lumo {

class TransferProgressBar : public QProgressBar {
    Q_OBJECT
public:
    TransferProgressBar(const QColor& barColour, QWidget* parent = nullptr);

    // One more byte has travelled; `percent` is the whole command's progress.
    void advance(int percent);
    // The text after the first bytes: "42% · about 35 s left · Esc cancels".
    static QString TimeLeftText(int percent, qint64 secondsLeft);

    static constexpr int kBytesBeforeEstimate = 32;

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    QColor m_barColour;
    QElapsedTimer m_started; // at the first byte
    int m_bytes = 0;
    int m_startPercent = 0;
};

} // namespace lumo
