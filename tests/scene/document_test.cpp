// The document's one store path: an edit marks it modified only when a stored byte changes,
// and the listeners hear of each change and each clearing from the document itself.
#include "scene/document.h"

#include <gtest/gtest.h>

namespace lumo {
namespace {

TEST(Document, OnlyAnEditThatChangesAByteMarksItAndIsHeardOf)
{
    const DefaultParameters defaults;
    Document document(defaults);
    int edits = 0;
    int cleared = 0;
    QObject::connect(&document, &Document::edited, [&edits] { ++edits; });
    QObject::connect(&document, &Document::markedClean, [&cleared] { ++cleared; });

    EXPECT_FALSE(document.editCurrent([](SceneRecord& record) { record.BendSpeed = 0; }));
    EXPECT_FALSE(document.modified());
    document.setCurrentScene(3);
    EXPECT_TRUE(document.editCurrent([](SceneRecord& record) { record.Padding[2] = 1; }));
    EXPECT_EQ(document.scenes().scene(3).Padding[2], 1);
    EXPECT_TRUE(document.modified());
    EXPECT_EQ(edits, 1);

    // New, Open and a read replace the scenes without being an edit: the flag stays.
    document.replaceScenes(SceneSet());
    EXPECT_TRUE(document.modified());
    document.markClean();
    document.replaceScenes(document.scenes());
    EXPECT_FALSE(document.modified());
    EXPECT_EQ(edits, 1);
    EXPECT_EQ(cleared, 1);
}

} // namespace
} // namespace lumo
