// Undo steps of the main window. A refill of the panel stores through the editors' change
// path; it makes no step of its own, whatever it stores lands in the step that is running.
#include "editor/undo_steps.h"

#include "editor/control_area.h"
#include "editor/split_arrow_button.h"
#include "scene/document.h"

#include <QApplication>
#include <QLineEdit>

namespace lumo {

UndoSteps::UndoSteps(Document& document, ControlArea& controls, QWidget* client, QObject* parent)
    : QObject(parent)
    , m_document(document)
    , m_controls(controls)
    , m_client(client)
{
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* focused) { followFocus(focused); });
    // The press has already moved the focus into its field; the run is a step of its own
    // within the field's session, which goes on after the release while the field keeps it.
    for (SplitArrowButton* arrows : client->findChildren<SplitArrowButton*>()) {
        connect(arrows, &SplitArrowButton::pressed, this, [this] { beginSession(); });
        connect(arrows, &SplitArrowButton::released, this, [this] { followFocus(QApplication::focusWidget()); });
    }
    connect(&controls, &ControlArea::choiceAboutToBeStored, this, [this] { m_commandStart = now(); });
    connect(&controls, &ControlArea::choiceStored, this, &UndoSteps::endCommand);
    // Every stored change and every clearing of the flag come from the document itself.
    connect(&document, &Document::edited, this, &UndoSteps::availabilityChanged);
    connect(&document, &Document::markedClean, this, &UndoSteps::markClean);
}

UndoSteps::~UndoSteps() = default;

UndoSnapshot UndoSteps::now() const
{
    return UndoSnapshot{m_document.scenes(), m_document.currentScene(), m_controls.selectedIndex()};
}

bool UndoSteps::isField(const QWidget* widget) const
{
    return qobject_cast<const QLineEdit*>(widget) && m_client->isAncestorOf(widget);
}

void UndoSteps::followFocus(const QWidget* focused)
{
    if (isField(focused)) {
        beginSession();
    } else if (m_sessionStart) {
        m_history.commitStep(now());
        m_sessionStart.reset();
        emit availabilityChanged();
    }
}

void UndoSteps::beginSession()
{
    const UndoSnapshot state = now();
    m_history.beginStep(state);
    m_sessionStart = state.scenes;
    emit availabilityChanged();
}

void UndoSteps::carrySession(const UndoSnapshot& state)
{
    if (m_sessionStart) m_sessionStart = state.scenes;
}

void UndoSteps::runAsOneStep(const std::function<void()>& command)
{
    beginOneStep();
    command();
    endCommand();
}

void UndoSteps::beginOneStep()
{
    m_commandStart = now();
}

void UndoSteps::endCommand()
{
    if (!m_commandStart) return;
    const UndoSnapshot after = now();
    m_history.record(*m_commandStart, after);
    m_commandStart.reset();
    carrySession(after);
    emit availabilityChanged();
}

void UndoSteps::markClean()
{
    const UndoSnapshot state = now();
    // A read that clears the flag ends its step there, so the marked state is the one after it.
    if (m_commandStart) {
        m_history.record(*m_commandStart, state);
        m_commandStart = state;
    }
    m_history.markClean(state);
    carrySession(state);
    emit availabilityChanged();
}

bool UndoSteps::canUndo() const
{
    return m_history.canUndo() || (m_sessionStart && !(*m_sessionStart == m_document.scenes()));
}

bool UndoSteps::canRedo() const
{
    // Typing not yet ended would become a step that cuts the redo steps off.
    return m_history.canRedo() && (!m_sessionStart || *m_sessionStart == m_document.scenes());
}

void UndoSteps::undo()
{
    m_controls.settleFocus();
    show(m_history.undo(now()));
}

void UndoSteps::redo()
{
    m_controls.settleFocus();
    show(m_history.redo(now()));
}

void UndoSteps::show(const std::optional<UndoSnapshot>& state)
{
    if (state) {
        m_document.restore(state->scenes, m_document.modified());
        m_controls.showSceneAndControl(state->scene, state->controlIndex);
        carrySession(*state);
        // After the refill, whose handlers set the flag.
        m_document.restore(m_document.scenes(), !m_history.isClean());
    }
    emit availabilityChanged();
}

} // namespace lumo
