// A filled rounded rectangle with a thin outline, drawn behind the lower part of the main
// window.
#pragma once

#include <QColor>
#include <QWidget>

namespace lumo {

class RoundRectShape : public QWidget {
    Q_OBJECT
public:
    RoundRectShape(const QColor& fill, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor m_fill;
};

} // namespace lumo
