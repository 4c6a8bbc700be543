// The submenu's items, made again from the pairs each time they change.
#include "editor/controller_menu.h"

#include <QActionGroup>

namespace lumo {

ControllerMenu::ControllerMenu(QWidget* parent)
    : QMenu(tr("Controller"), parent)
    , m_group(new QActionGroup(this))
{
    setObjectName(QStringLiteral("Controller1"));
    m_group->setExclusive(true);
    setPairs({}, {});
}

QString ControllerMenu::pairText(const PortPair& pair)
{
    // A "&" in a port name is shown, not taken for an access key.
    const QString output = QString::fromStdString(pair.output).replace(QLatin1Char('&'), QStringLiteral("&&"));
    const QString input = QString::fromStdString(pair.input).replace(QLatin1Char('&'), QStringLiteral("&&"));
    return output == input ? output : QStringLiteral("%1 / %2").arg(output, input);
}

void ControllerMenu::setPairs(const std::vector<PortPair>& pairs, const PortPair& inUse)
{
    m_pairs = pairs;
    for (QAction* action : m_group->actions())
        delete action;
    clear();
    if (m_pairs.empty()) {
        QAction* none = addAction(tr("No controller answered"));
        none->setObjectName(QStringLiteral("NoControllerAnswered"));
        none->setEnabled(false);
        return;
    }
    for (std::size_t i = 0; i < m_pairs.size(); ++i) {
        QAction* item = addAction(pairText(m_pairs[i]));
        item->setObjectName(QStringLiteral("ControllerPair%1").arg(i + 1));
        item->setCheckable(true);
        item->setChecked(m_pairs[i] == inUse);
        m_group->addAction(item);
        const PortPair pair = m_pairs[i];
        connect(item, &QAction::triggered, this, [this, pair] { emit chosen(pair); });
    }
}

} // namespace lumo
