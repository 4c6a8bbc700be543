// Turns the window's edits into undo steps: one per field from focus-in to focus-out, per
// drop-down choice, per arrow-button run and per command that replaces scenes in one go; and
// shows the states that "Undo" and "Redo" step to.
#pragma once

#include "app/undo_history.h"

#include <QObject>

#include <functional>
#include <optional>

class QWidget;

namespace lumo {

class ControlArea;
class Document;

class UndoSteps : public QObject {
    Q_OBJECT
public:
    // Follows the focus among the text fields of `client`, the choices and arrows of
    // `controls`, and the document's clearing of its modified flag.
    UndoSteps(Document& document, ControlArea& controls, QWidget* client, QObject* parent = nullptr);
    ~UndoSteps() override;

    // Runs a command that changes the scenes in one go (Paste, New, Open, a read) as one step,
    // its redisplay included.
    void runAsOneStep(const std::function<void()>& command);
    // The same for a command that waits in between (a read): what changes from the first call
    // to the second is one step.
    void beginOneStep();
    void endOneStep() { endCommand(); }
    // The scenes now are those last saved, opened or read.
    void markClean();

    bool canUndo() const;
    bool canRedo() const;
    // Show the state before the last step or after the next one, without making a step; the
    // modified flag is set, or cleared on arriving at the state marked clean.
    void undo();
    void redo();

signals:
    // canUndo or canRedo may have changed.
    void availabilityChanged();

private:
    UndoSnapshot now() const;
    bool isField(const QWidget* widget) const;
    // An edit session starts when a field takes the focus and ends when no field holds it.
    void followFocus(const QWidget* focused);
    void beginSession();
    // One step from the start taken before a one-go change to the state now.
    void endCommand();
    void show(const std::optional<UndoSnapshot>& state);
    // The open session, if any, now starts from `state`, as the history carries it on.
    void carrySession(const UndoSnapshot& state);

    Document& m_document;
    ControlArea& m_controls;
    QWidget* m_client;
    UndoHistory m_history;
    // The scenes at the start of the open edit session: its typing can be undone before it ends.
    std::optional<SceneSet> m_sessionStart;
    // The state before the running one-go command or drop-down choice.
    std::optional<UndoSnapshot> m_commandStart;
};

} // namespace lumo
