// No border: the bar fills its whole 697 x 16 rectangle.
#include "editor/transfer_progress_bar.h"

#include <QPainter>

#include <cmath>

namespace lumo {

TransferProgressBar::TransferProgressBar(const QColor& barColour, QWidget* parent)
    : QProgressBar(parent)
    , m_barColour(barColour)
{
    setRange(0, 100);
    setValue(0);
}

void TransferProgressBar::advance(int percent)
{
    if (m_bytes++ == 0) {
        m_started.start();
        m_startPercent = percent;
    }
    // The rate from the first byte on: over a JACK period the bytes come in bursts, so the
    // whole span is steadier than the last few.
    const int gained = percent - m_startPercent;
    bool changed = false;
    if (m_bytes > kBytesBeforeEstimate && gained > 0) {
        const double seconds = double(m_started.elapsed()) / 1000.0 * (100 - percent) / gained;
        const QString text = TimeLeftText(percent, std::max<qint64>(1, std::llround(std::ceil(seconds))));
        changed = text != format();
        if (changed) setFormat(text);
    }
    if (value() != percent) {
        setValue(percent);
        changed = true;
    }
    // Drawn at once: the window's thread is waiting for the transfer between the reports.
    if (changed) repaint();
}

QString TransferProgressBar::TimeLeftText(int percent, qint64 secondsLeft)
{
    return QStringLiteral("%1% \u00b7 about %2 s left \u00b7 Esc cancels").arg(percent).arg(secondsLeft);
}

void TransferProgressBar::showEvent(QShowEvent* event)
{
    m_bytes = 0;
    QProgressBar::showEvent(event);
}

void TransferProgressBar::hideEvent(QHideEvent* event)
{
    // The next transfer starts with the percentage alone; a text set by someone else (the
    // wait for the MIDI system) is theirs to put back.
    if (m_bytes > 0) setFormat(QStringLiteral("%p%"));
    m_bytes = 0;
    QProgressBar::hideEvent(event);
}

void TransferProgressBar::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QRect whole = rect();
    const int span = maximum() - minimum();
    const int filledWidth = span > 0 ? whole.width() * (value() - minimum()) / span : 0;
    const QRect filled(whole.left(), whole.top(), filledWidth, whole.height());
    const QRect empty(whole.left() + filledWidth, whole.top(), whole.width() - filledWidth, whole.height());
    painter.fillRect(empty, Qt::white);
    painter.fillRect(filled, m_barColour);

    const QString shown = text();
    painter.setFont(font());
    painter.setClipRect(empty);
    painter.setPen(m_barColour);
    painter.drawText(whole, Qt::AlignCenter, shown);
    painter.setClipRect(filled);
    painter.setPen(Qt::white);
    painter.drawText(whole, Qt::AlignCenter, shown);
}

} // namespace lumo
