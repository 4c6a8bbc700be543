// The menu bar's corner label: a fixed width, never taller than the menu titles, its text
// elided in the middle (a port's distinctive part is often at its end), the whole in the tooltip.
#include "editor/connection_status.h"

#include <QFontMetrics>
#include <QMenuBar>
#include <QStyle>
#include <QStyleOptionMenuItem>

namespace lumo {
namespace {
// The menu titles take about 230 px of the 792 px bar: this leaves a gap between them.
constexpr int kWidth = 360;
constexpr int kRightMargin = 6;
} // namespace

ConnectionStatus::ConnectionStatus(QMenuBar* bar)
    : QLabel(bar)
{
    setObjectName(QStringLiteral("ConnectionStatus"));
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    setContentsMargins(0, 0, kRightMargin, 0);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Ignored);
    bar->setCornerWidget(this, Qt::TopRightCorner);
    setConnection(QString(), false);
}

void ConnectionStatus::setConnection(const QString& port, bool followingPaused)
{
    if (!port.isEmpty())
        m_full = tr("Controller: %1").arg(port);
    else if (followingPaused)
        m_full = tr("No controller (Follow Controller paused)");
    else
        m_full = tr("No controller");
    showElided();
}

// As high as a menu title, as the style sizes it, so that the text sits on the titles' line and
// the bar's height stays the titles' own.
QSize ConnectionStatus::sizeHint() const
{
    const QWidget* bar = parentWidget();
    if (!bar)
        return {kWidth, fontMetrics().height()};
    QStyleOptionMenuItem title;
    title.initFrom(bar);
    title.menuItemType = QStyleOptionMenuItem::Normal;
    title.text = QStringLiteral("Help");
    const QSize text = bar->fontMetrics().size(Qt::TextShowMnemonic, title.text);
    return {kWidth, bar->style()->sizeFromContents(QStyle::CT_MenuBarItem, &title, text, bar).height()};
}

void ConnectionStatus::resizeEvent(QResizeEvent* event)
{
    QLabel::resizeEvent(event);
    showElided();
}

void ConnectionStatus::showElided()
{
    const QString shown = fontMetrics().elidedText(m_full, Qt::ElideMiddle, kWidth - kRightMargin);
    setText(shown);
    setToolTip(shown == m_full ? QString() : m_full);
}

} // namespace lumo
