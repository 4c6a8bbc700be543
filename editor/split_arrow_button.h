// The up/down arrow pair of a number field: one small button split along its diagonal from
// lower left to upper right, up above it and down below; holding it repeats the step.
#pragma once

#include <QTimer>
#include <QWidget>

namespace lumo {

class SplitArrowButton : public QWidget {
    Q_OBJECT
public:
    explicit SplitArrowButton(QWidget* parent = nullptr);

    static constexpr int kFirstRepeatMs = 400;
    static constexpr int kRepeatMs = 100;

    // +1 for a point above the diagonal (the up arrow), -1 below it.
    int stepAt(const QPoint& point) const;

signals:
    // One step, on the press and on every repeat while the button is held.
    void stepped(int step);
    // The press itself, before its first step: the owner moves the focus into its field.
    void pressed();
    // The end of the press, after its last step.
    void released();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void repeat();

    QTimer m_repeat;
    int m_heldStep = 0;
};

} // namespace lumo
