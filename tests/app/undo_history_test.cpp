// The undo history: coalesced edit sessions, the step limit, a new change after undo, and the
// saved-state marker across undo and redo.
#include "app/undo_history.h"

#include <gtest/gtest.h>

namespace lumo {
namespace {

// A state whose scene 1 knob-1 CC number is `cc`, with a given selection.
UndoSnapshot stateWith(int cc, int scene = 1, int control = 5)
{
    UndoSnapshot state;
    state.scenes.scene(1).KonbCCNumber[0] = cc;
    state.scene = scene;
    state.controlIndex = control;
    return state;
}

int ccOf(const std::optional<UndoSnapshot>& state)
{
    return state ? state->scenes.scene(1).KonbCCNumber[0] : -1;
}

TEST(UndoHistory, AnEditSessionIsOneStepAndAnUnchangedOneNone)
{
    UndoHistory history;
    history.beginStep(stateWith(0));
    EXPECT_FALSE(history.commitStep(stateWith(0, 2, 9))); // a moved selection alone is no step
    EXPECT_FALSE(history.canUndo());

    history.beginStep(stateWith(0));
    // Typing "9", "99": the field's handler stores each keystroke; the session records once.
    EXPECT_TRUE(history.commitStep(stateWith(99)));
    EXPECT_FALSE(history.commitStep(stateWith(99))); // no session open any more
    EXPECT_EQ(ccOf(history.undo(stateWith(99))), 0);
    EXPECT_FALSE(history.canUndo());
    EXPECT_EQ(ccOf(history.redo(stateWith(0))), 99);
}

TEST(UndoHistory, UndoRestoresTheSelectionOfEachSideOfTheStep)
{
    UndoHistory history;
    history.record(stateWith(0, 1, 5), stateWith(1, 1, 5));
    history.record(stateWith(1, 3, 20), stateWith(2, 3, 20)); // selection moved between steps
    const auto back = history.undo(stateWith(2, 3, 20));
    ASSERT_TRUE(back);
    EXPECT_EQ(back->scene, 3);
    EXPECT_EQ(back->controlIndex, 20);
    const auto first = history.undo(*back);
    EXPECT_EQ(first->scene, 1);
    EXPECT_EQ(first->controlIndex, 5);
}

TEST(UndoHistory, ChangesWhileASessionIsOpenStaySeparateSteps)
{
    UndoHistory history;
    history.beginStep(stateWith(0));
    // The field typed 7, then Ctrl+V (the menu wins over the focused field) pasted 50, then
    // the field typed on to 51 and lost focus: three steps.
    EXPECT_TRUE(history.record(stateWith(7), stateWith(50)));
    EXPECT_TRUE(history.commitStep(stateWith(51)));
    EXPECT_EQ(ccOf(history.undo(stateWith(51))), 50);
    EXPECT_EQ(ccOf(history.undo(stateWith(50))), 7);
    EXPECT_EQ(ccOf(history.undo(stateWith(7))), 0);

    // Ctrl+Z while typing takes the typing back, and the field records what it types next.
    UndoHistory typing;
    typing.beginStep(stateWith(0));
    EXPECT_EQ(ccOf(typing.undo(stateWith(3))), 0);
    EXPECT_TRUE(typing.canRedo());
    EXPECT_TRUE(typing.commitStep(stateWith(4)));
    EXPECT_FALSE(typing.canRedo());
    EXPECT_EQ(ccOf(typing.undo(stateWith(4))), 0);
}

TEST(UndoHistory, KeepsTheNewest200StepsAndANewChangeDropsTheRedoSteps)
{
    UndoHistory history;
    for (int cc = 1; cc <= 250; ++cc)
        history.record(stateWith(cc - 1), stateWith(cc));
    int undone = 0;
    std::optional<UndoSnapshot> state = stateWith(250);
    while (history.canUndo())
        state = history.undo(*state), ++undone;
    EXPECT_EQ(undone, 200);
    EXPECT_EQ(ccOf(state), 50);

    history.redo(*state);
    history.record(stateWith(51), stateWith(1000));
    EXPECT_FALSE(history.canRedo());
    EXPECT_EQ(ccOf(history.undo(stateWith(1000))), 51);
}

TEST(UndoHistory, CleanExactlyAtTheMarkedStateWhileItCanBeReached)
{
    UndoHistory history;
    EXPECT_TRUE(history.isClean()); // the start-up state
    history.record(stateWith(0), stateWith(1));
    history.markClean(stateWith(1)); // saved
    history.record(stateWith(1), stateWith(2));
    EXPECT_FALSE(history.isClean());
    history.undo(stateWith(2));
    EXPECT_TRUE(history.isClean());
    history.undo(stateWith(1));
    EXPECT_FALSE(history.isClean());
    history.redo(stateWith(0));
    EXPECT_TRUE(history.isClean());

    // Saved while a field was still being typed in: the marker includes the typing.
    history.beginStep(stateWith(1));
    history.markClean(stateWith(5));
    EXPECT_TRUE(history.isClean());
    history.commitStep(stateWith(6));
    history.undo(stateWith(6));
    EXPECT_TRUE(history.isClean());

    // A new change after undo cuts the marked state off: it is never clean again.
    history.undo(stateWith(5));
    history.record(stateWith(1), stateWith(9));
    while (history.canUndo())
        history.undo(stateWith(0));
    EXPECT_FALSE(history.isClean());
    while (history.canRedo()) {
        history.redo(stateWith(0));
        EXPECT_FALSE(history.isClean());
    }

    // A marked state whose step fell off the oldest end is gone too.
    UndoHistory short3(3);
    short3.markClean(stateWith(0));
    for (int cc = 1; cc <= 4; ++cc)
        short3.record(stateWith(cc - 1), stateWith(cc));
    while (short3.canUndo())
        short3.undo(stateWith(0));
    EXPECT_FALSE(short3.isClean());
}

} // namespace
} // namespace lumo
