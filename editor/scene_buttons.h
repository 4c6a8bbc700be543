// The scene-button strip at (43, 0): four flat toggle buttons SceneButton1..4 in one
// exclusive group, each on a white outlined rectangle over the inactive-caption gradient.
#pragma once

#include <QWidget>

#include <array>

class QButtonGroup;
class QToolButton;

namespace lumo {

class SceneButtons : public QWidget {
    Q_OBJECT
public:
    explicit SceneButtons(QWidget* client);

    QToolButton* button(int scene) const { return m_buttons[scene - 1]; }
    // Number 1..4 of the button that is down, looking at them in order; 1 when none is.
    int sceneDown() const;
    // Puts button `scene` down without a click, as undo does when it shows another scene.
    void setSceneDown(int scene);
    // Shows a scene name as the caption of button `scene`, in a smaller font where the name
    // would not fit the button otherwise.
    void setCaption(int scene, const QString& name);

signals:
    // Any of the four buttons was clicked (SceneButton1Click serves them all).
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QButtonGroup* m_group;
    std::array<QToolButton*, 4> m_buttons{};
};

} // namespace lumo
