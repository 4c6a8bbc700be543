// "Compare With Controller" on the simulated controller: the differences from the scenes it
// holds, and a controller that is missing or stops answering; the document is never touched.
#include "tests/support/device_test_support.h"
#include "tests/scene/scene_test_support.h"

#include "app/controller_compare.h"
#include "app/document_session.h"

namespace lumo {
namespace {

struct CompareFixture {
    CompareFixture()
    {
        SceneSet defaults;
        ApplyDefaults(files.defaults, defaults);
        document.replaceScenes(defaults);
        SceneSet served = document.scenes();
        served.scene(3).PadONValue[7] = 99;
        SetSceneName(served.scene(1), "LIVE");
        setup.controller->setScenes(served);
        document.edit([](SceneSet& scenes) { ++scenes.scene(4).Padding[0]; });
        before = document.scenes();
    }
    CompareResult compare() { return compareWithController(document, setup.link, {}, files.notes); }

    testing::OneController setup;
    ParameterFiles files = BuiltInParameterFiles();
    testing_support::ScriptedUser user;
    DocumentSession document{files.defaults, user};
    SceneSet before;
};

TEST(CompareWithController, ListsWhatTheControllerHoldsOtherwiseAndAsksNothing)
{
    CompareFixture f;
    const CompareResult result = f.compare();
    EXPECT_EQ(result.outcome, TransferOutcome::Done);
    // The name bytes past a name's length travel too, so a read shows "LIVEE1", as a compare does.
    EXPECT_EQ(result.differences.join('\n').toStdString(), "scene 1, Common, SceneName: \"SCENE1\" -> \"LIVEE1\"\n"
                                                          "scene 3, Trigger Pad-8, PadONValue: 127 -> 99");
    EXPECT_TRUE(f.user.questions.isEmpty());
    EXPECT_TRUE(f.user.told.isEmpty());
    EXPECT_TRUE(f.document.scenes() == f.before);
    EXPECT_TRUE(f.document.modified());

    // The scenes as a read leaves them: nothing differs.
    SceneSet read = f.setup.controller->scenes();
    SetSceneName(read.scene(1), "LIVEE1");
    f.document.replaceScenes(read);
    EXPECT_EQ(f.compare().differences.join('\n').toStdString(), "");
}

TEST(CompareWithController, MissingOrSilentControllerWarnsAndLeavesTheDocument)
{
    CompareFixture f;
    f.setup.controller->misbehaviour().noAnswer = true;
    EXPECT_EQ(f.compare().outcome, TransferOutcome::NotFound);
    // As the read warns: the reason on a second line.
    EXPECT_EQ(f.user.told, QStringList{"Vorel Lumo Device is not exist.\n(no controller among 1 port pairs)"});

    f.setup.controller->misbehaviour().noAnswer = false;
    f.setup.controller->misbehaviour().silentAfterBytes = 100;
    const CompareResult silent = f.compare();
    EXPECT_EQ(silent.outcome, TransferOutcome::Failed);
    EXPECT_TRUE(silent.differences.isEmpty());
    ASSERT_EQ(f.user.told.size(), 2);
    EXPECT_TRUE(f.user.told[1].endsWith("The scenes are unchanged.")) << f.user.told[1].toStdString();
    EXPECT_TRUE(f.document.scenes() == f.before);
    EXPECT_TRUE(f.document.modified());
}

} // namespace
} // namespace lumo
