// The undo history: coalesced edit sessions, the step limit, a new change after undo, and the
// saved-state marker across undo and redo.
#include "app/undo_history.h"

#include <gtest/gtest.h>

namespace lumo {
namespace {

// A state whose scene 1 knob-1 CC number is `cc`, with a given selection.
UndoSnapshot at(int cc, int scene = 1, int control = 5)
{
    UndoSnapshot state{SceneSet(), scene, control};
    state.scenes.scene(1).KonbCCNumber[0] = cc;
    return state;
}

int ccOf(const std::optional<UndoSnapshot>& state)
{
    return state ? state->scenes.scene(1).KonbCCNumber[0] : -1;
}

TEST(UndoHistory, EditSessionsAreOneStepEachAndRestoreTheirSelection)
{
    UndoHistory history;
    history.beginStep(at(0));
    EXPECT_FALSE(history.commitStep(at(0, 2, 9))); // a moved selection alone is no step
    history.beginStep(at(0, 3, 20));
    EXPECT_TRUE(history.commitStep(at(99, 3, 20))); // "9", "99", focus out: one step
    EXPECT_FALSE(history.commitStep(at(99)));       // no session open any more

    // Ctrl+V while the field has focus: the typing before, the paste and the typing after
    // are three steps.
    history.beginStep(at(99));
    EXPECT_TRUE(history.record(at(7), at(50)));
    EXPECT_TRUE(history.commitStep(at(51)));
    EXPECT_EQ(ccOf(history.undo(at(51))), 50);
    EXPECT_EQ(ccOf(history.undo(at(50))), 7);
    EXPECT_EQ(ccOf(history.undo(at(7))), 99);
    const auto first = history.undo(at(99));
    EXPECT_EQ(ccOf(first), 0);
    EXPECT_EQ(first->scene, 3);
    EXPECT_EQ(first->controlIndex, 20);
    EXPECT_FALSE(history.canUndo());

    // Ctrl+Z while typing takes the typing back; what the field types next is a new step.
    history.beginStep(at(0));
    EXPECT_EQ(ccOf(history.undo(at(3))), 0);
    EXPECT_TRUE(history.commitStep(at(4)));
    EXPECT_FALSE(history.canRedo());
}

TEST(UndoHistory, KeepsTheNewest200StepsAndANewChangeDropsTheRedoSteps)
{
    UndoHistory history;
    for (int cc = 1; cc <= 250; ++cc)
        history.record(at(cc - 1), at(cc));
    int undone = 0;
    std::optional<UndoSnapshot> state = at(250);
    for (; history.canUndo(); ++undone)
        state = history.undo(*state);
    EXPECT_EQ(undone, 200);
    EXPECT_EQ(ccOf(state), 50);

    history.redo(*state);
    history.record(at(51), at(1000));
    EXPECT_FALSE(history.canRedo());
    EXPECT_EQ(ccOf(history.undo(at(1000))), 51);
}

TEST(UndoHistory, CleanExactlyAtTheMarkedStateWhileItCanBeReached)
{
    UndoHistory history;
    EXPECT_TRUE(history.isClean());
    history.record(at(0), at(1));
    history.beginStep(at(1));
    history.markClean(at(5)); // saved while a field was being typed in: the typing included
    history.commitStep(at(6));
    EXPECT_FALSE(history.isClean());
    history.undo(at(6));
    EXPECT_TRUE(history.isClean());
    history.undo(at(5));
    EXPECT_FALSE(history.isClean());
    history.redo(at(1));
    EXPECT_TRUE(history.isClean());

    // A new change after undo cuts the marked state off for good.
    history.undo(at(5));
    history.record(at(1), at(9));
    history.undo(at(9));
    EXPECT_FALSE(history.isClean());
    history.redo(at(1));
    EXPECT_FALSE(history.isClean());

    // So does the limit, when the marked state's step falls off the oldest end.
    UndoHistory short3(3);
    for (int cc = 1; cc <= 4; ++cc)
        short3.record(at(cc - 1), at(cc));
    while (short3.canUndo())
        short3.undo(at(0));
    EXPECT_FALSE(short3.isClean());
}

} // namespace
} // namespace lumo
