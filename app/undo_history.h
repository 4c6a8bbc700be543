// The editor's undo and redo: whole-set snapshots of the four scenes with the current scene and
// the selected control, edit sessions coalesced into one step, and the saved-state marker.
#pragma once

#include "scene/scene_record.h"

#include <cstddef>
#include <deque>
#include <optional>

namespace lumo {

inline constexpr int kUndoStepsKept = 200;

// What undo and redo restore. Only `scenes` decides whether something changed.
struct UndoSnapshot {
    SceneSet scenes;
    int scene = 1;        // current scene 1..4
    int controlIndex = 0; // selected Control Index 0..45
};

// Every call that is given the window's state `now` first ends an open edit session there, so
// a step never spans another step, an undo or a save; beginStep, record, undo, redo and
// markClean then carry the session on from the state they leave, so a field that keeps its
// focus through a paste or an undo still records the typing that follows.
class UndoHistory {
public:
    explicit UndoHistory(int stepsKept = kUndoStepsKept);

    // An edit session (one field from focus-in to focus-out or to the next field, an
    // arrow-button run) starts at `now`.
    void beginStep(const UndoSnapshot& now);
    // Ends the open session at `now`; true when that recorded a step, i.e. a session was open
    // and its scenes changed. Without an open session it does nothing.
    bool commitStep(const UndoSnapshot& now);
    // A change made in one go (a drop-down choice, Paste, New, Open, a read): one step from
    // `before` to `after` when the scenes differ; true when recorded.
    bool record(const UndoSnapshot& before, const UndoSnapshot& after);

    bool canUndo() const;
    bool canRedo() const;
    // The state to show after stepping back or forward; nullopt when there is nothing to undo
    // or redo. The caller shows it without recording anything.
    std::optional<UndoSnapshot> undo(const UndoSnapshot& now);
    std::optional<UndoSnapshot> redo(const UndoSnapshot& now);

    // The state now is the one last saved, opened or read: call it wherever the document's
    // modified flag is cleared.
    void markClean(const UndoSnapshot& now);
    // Whether the history stands where markClean was last called; the modified flag after an
    // undo or redo is its negation. A marked state whose step was dropped (oldest beyond the
    // limit, or redo steps cut off by a new change) is never reached again.
    bool isClean() const;

private:
    struct Step {
        UndoSnapshot before;
        UndoSnapshot after;
    };

    // Ends an open session at `now`: nullopt when none was open, else whether it made a step.
    std::optional<bool> closeSession(const UndoSnapshot& now);
    void reopen(bool wasOpen, const UndoSnapshot& now);
    bool push(const UndoSnapshot& before, const UndoSnapshot& after);

    std::size_t m_stepsKept;
    std::deque<Step> m_steps;
    std::size_t m_applied = 0;             // steps before the current state; the rest can be redone
    std::optional<std::size_t> m_clean = 0; // m_applied of the marked state; nullopt once unreachable
    std::optional<UndoSnapshot> m_sessionStart;
};

} // namespace lumo
