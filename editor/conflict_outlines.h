// The red outlines around the overlay labels of controls that send the same message as another
// control of the current scene.
#pragma once

#include <QWidget>

#include <vector>

namespace lumo {

// A transparent layer above the overlay labels that mice pass through. It paints only a ring
// two pixels wide just outside the selection frame's place, so no pixel of a label or of the
// frame changes.
class ConflictOutlines : public QWidget {
    Q_OBJECT
public:
    explicit ConflictOutlines(QWidget* client);

    // Outlines the labels of these Control Indexes (1..45) and no others.
    void setControls(const std::vector<int>& controlIndexes);
    const std::vector<int>& controls() const { return m_controls; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::vector<int> m_controls;
};

} // namespace lumo
