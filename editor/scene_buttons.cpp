// Scene-button strip.
#include "editor/scene_buttons.h"

#include <QButtonGroup>
#include <QLinearGradient>
#include <QPainter>
#include <QToolButton>

namespace lumo {

namespace {
// The inactive-caption colour and its gradient end of the classic Windows palette.
const QColor kInactiveCaption(191, 205, 219);
const QColor kInactiveCaptionGradient(215, 228, 242);
constexpr int kStripLeft = 43, kStripWidth = 361, kStripHeight = 27;
constexpr int kButtonStride = 90, kButtonWidth = 89, kButtonHeight = 25;
// Captions are Arial 14 px; a 12-character name that is wider than the button minus a small
// margin on each side gets a smaller size, down to a size that still reads.
constexpr int kCaptionPixelSize = 14, kSmallestCaptionPixelSize = 7, kCaptionMargin = 3;

QFont captionFont(const QFont& font, const QString& caption)
{
    QFont fitted = font;
    int size = kCaptionPixelSize;
    fitted.setPixelSize(size);
    while (size > kSmallestCaptionPixelSize
           && QFontMetrics(fitted).horizontalAdvance(caption) > kButtonWidth - 2 * kCaptionMargin)
        fitted.setPixelSize(--size);
    return fitted;
}
} // namespace

SceneButtons::SceneButtons(QWidget* client)
    : QWidget(client)
    , m_group(new QButtonGroup(this))
{
    setObjectName(QStringLiteral("SceneButtonStrip"));
    setGeometry(kStripLeft, 0, kStripWidth, kStripHeight);
    m_group->setExclusive(true);
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(kCaptionPixelSize);
    for (int s = 1; s <= 4; ++s) {
        auto* b = new QToolButton(this);
        b->setObjectName(QStringLiteral("SceneButton%1").arg(s));
        b->setText(QStringLiteral("SCENE%1").arg(s));
        b->setCheckable(true);
        b->setAutoRaise(true);
        b->setFont(font);
        b->setFocusPolicy(Qt::NoFocus);
        b->setGeometry(1 + (s - 1) * kButtonStride, 1, kButtonWidth, kButtonHeight);
        b->setStyleSheet(QStringLiteral(
            "QToolButton { border: none; background: white; color: black; }"
            "QToolButton:checked { background: rgb(200, 220, 245); border: 1px inset rgb(120, 120, 120); }"));
        m_group->addButton(b, s);
        m_buttons[s - 1] = b;
        connect(b, &QToolButton::clicked, this, &SceneButtons::clicked);
    }
    m_buttons[0]->setChecked(true);
}

int SceneButtons::sceneDown() const
{
    for (int s = 1; s <= 4; ++s)
        if (m_buttons[s - 1]->isChecked()) return s;
    return 1;
}

void SceneButtons::setSceneDown(int scene)
{
    m_buttons[scene - 1]->setChecked(true);
}

void SceneButtons::setCaption(int scene, const QString& name)
{
    // "&" would turn into a mnemonic underline; a scene name shows it as typed.
    QString caption = name;
    caption.replace(QLatin1Char('&'), QStringLiteral("&&"));
    QToolButton* button = m_buttons[scene - 1];
    const QString accessibleName = QStringLiteral("Scene %1: %2").arg(scene).arg(name);
    if (button->accessibleName() != accessibleName) button->setAccessibleName(accessibleName);
    if (button->text() == caption) return;
    button->setText(caption);
    const QFont fitted = captionFont(button->font(), name);
    if (fitted != button->font()) button->setFont(fitted);
}

void SceneButtons::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    QLinearGradient gradient(0, 0, width(), 0);
    gradient.setColorAt(0, kInactiveCaption);
    gradient.setColorAt(1, kInactiveCaptionGradient);
    painter.fillRect(rect(), gradient);
    painter.setPen(Qt::black);
    painter.setBrush(Qt::white);
    for (int s = 0; s < 4; ++s)
        painter.drawRect(s * kButtonStride, 0, kButtonWidth + 1, kButtonHeight + 1); // 91 x 27 outline
}

} // namespace lumo
