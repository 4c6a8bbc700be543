// "Read Scene Data" and "Send Scene Data" with scripted answers: the exact messages, the order
// of search and question, and when the modified flag is cleared (only after a successful read
// or save; a cancelled or failed save stops the read).
#include "tests/support/device_test_support.h"

#include "device/midi_system.h"
#include "device/scene_image.h"
#include "app/transfer_commands.h"
#include "app/document_session.h"
#include "scene/parameter_files.h"

#include <QDir>
#include <QTemporaryDir>

#include <deque>

namespace lumo {
namespace {

using testing::OneController;

class ScriptedUser : public UserAnswers {
public:
    Answer ask(MessageKind kind, const QString& text) override
    {
        asked.push_back({kind, text});
        if (answers.empty())
            return Answer::Cancel;
        const Answer answer = answers.front();
        answers.pop_front();
        return answer;
    }
    void tell(MessageKind kind, const QString& text) override { told.push_back({kind, text}); }
    void showError(const QString& text) override { errors.append(text); }
    std::optional<QString> chooseOpenFile() override { return std::nullopt; }
    std::optional<QString> chooseSaveFile(const QString&) override
    {
        if (savePaths.isEmpty() || savePaths.first().isEmpty())
            return std::nullopt;
        return savePaths.takeFirst();
    }

    struct Message {
        MessageKind kind;
        QString text;
        bool operator==(const Message&) const = default;
    };
    std::deque<Answer> answers;
    QStringList savePaths; // an empty name cancels the dialog
    std::vector<Message> asked;
    std::vector<Message> told;
    QStringList errors;
};

const ScriptedUser::Message kSaveQuestion{MessageKind::Warning, "Do you want to save changes?"};
const ScriptedUser::Message kConfirmRead{MessageKind::Confirm, "Are you sure to read data from device?"};
const ScriptedUser::Message kConfirmSend{MessageKind::Confirm, "Are you sure to send data?"};
// The reason on the second line is what `lumo` prints in brackets after the first.
const ScriptedUser::Message kNotFound{MessageKind::Warning,
                                      "Vorel Lumo Device is not exist.\n(no controller among 1 port pairs)"};
const ScriptedUser::Message kReadOk{MessageKind::Information, "Read data OK."};
const ScriptedUser::Message kSendOk{MessageKind::Information, "Send data OK."};

struct Fixture {
    Fixture()
    {
        SceneSet served;
        for (int s = 1; s <= 4; ++s) {
            SetSceneName(served.scene(s), "FROM DEVICE" + std::to_string(s));
            served.scene(s).KonbCCNumber[s - 1] = 20 + s;
        }
        setup.controller->setScenes(served);
        SceneSet local;
        SetSceneName(local.scene(1), "LOCAL");
        document.replaceScenes(local);
        hooks.redisplay = [this] { ++redisplays; };
        hooks.startStep = [this](std::function<LinkResult()> step, std::function<void(LinkResult)> done) {
            ++blockingSteps;
            done(step());
        };
    }
    SceneSet deviceScenesAsRead() const
    {
        std::array<std::uint8_t, 1024> image{};
        PackSceneImage(setup.controller->scenes(), image.data());
        SceneSet scenes = document.scenes();
        UnpackSceneImage(image.data(), scenes);
        return scenes;
    }

    OneController setup;
    DefaultParameters defaults;
    ScriptedUser user;
    DocumentSession document{defaults, user};
    TransferHooks hooks;
    int redisplays = 0;
    int blockingSteps = 0;
};

TEST(ReadSceneData, ReadsConfirmedDataAndClearsTheFlag)
{
    Fixture f;
    f.user.answers = {Answer::Yes};
    const SceneSet expected = f.deviceScenesAsRead();
    EXPECT_EQ(readSceneData(f.document, f.setup.link, f.hooks).outcome, TransferOutcome::Done);
    EXPECT_EQ(f.user.asked, (std::vector<ScriptedUser::Message>{kConfirmRead}));
    EXPECT_EQ(f.user.told, (std::vector<ScriptedUser::Message>{kReadOk}));
    EXPECT_EQ(f.document.scenes(), expected);
    EXPECT_FALSE(f.document.modified());
    EXPECT_EQ(f.redisplays, 1);
    EXPECT_EQ(f.blockingSteps, 2); // the search and the read
}

TEST(ReadSceneData, SaveQuestionCancelledDoesNothingAtAll)
{
    Fixture f;
    f.document.edit([](SceneSet& scenes) { SetSceneName(scenes.scene(1), "LOCAL EDIT"); });
    const SceneSet before = f.document.scenes();
    f.user.answers = {Answer::Cancel};
    EXPECT_EQ(readSceneData(f.document, f.setup.link, f.hooks).outcome, TransferOutcome::Declined);
    EXPECT_EQ(f.user.asked, (std::vector<ScriptedUser::Message>{kSaveQuestion}));
    EXPECT_TRUE(f.setup.ports.events().empty());
    EXPECT_TRUE(f.document.modified());
    EXPECT_EQ(f.document.scenes(), before);
    EXPECT_EQ(f.redisplays, 0);
}

TEST(ReadSceneData, ACancelledOrFailedSaveAfterYesStopsTheRead)
{
    QTemporaryDir dir;
    for (const QString& path : {QString(), dir.filePath("missing/x.lumo")}) {
        Fixture f;
        f.document.edit([](SceneSet& scenes) { SetSceneName(scenes.scene(1), "LOCAL EDIT"); });
        f.user.answers = {Answer::Yes, Answer::Yes};
        f.user.savePaths = {path};
        EXPECT_EQ(readSceneData(f.document, f.setup.link, f.hooks).outcome, TransferOutcome::Declined);
        EXPECT_EQ(f.user.asked, (std::vector<ScriptedUser::Message>{kSaveQuestion}));
        EXPECT_TRUE(f.setup.ports.events().empty()) << "no search after the save went wrong";
        EXPECT_TRUE(f.document.modified());
        EXPECT_EQ(f.user.errors.size(), path.isEmpty() ? 0 : 1);
    }
}

TEST(ReadSceneData, AFailedSearchOrReadKeepsUnsavedEditsMarked)
{
    {
        SCOPED_TRACE("controller not found");
        Fixture f;
        f.setup.controller->misbehaviour().noAnswer = true;
        f.document.edit([](SceneSet& scenes) { SetSceneName(scenes.scene(1), "LOCAL EDIT"); });
        const SceneSet before = f.document.scenes();
        f.user.answers = {Answer::No};
        EXPECT_EQ(readSceneData(f.document, f.setup.link, f.hooks).outcome, TransferOutcome::NotFound);
        EXPECT_EQ(f.user.asked, (std::vector<ScriptedUser::Message>{kSaveQuestion}));
        EXPECT_EQ(f.user.told, (std::vector<ScriptedUser::Message>{kNotFound}));
        EXPECT_EQ(f.redisplays, 1);
        EXPECT_TRUE(f.document.modified());
        EXPECT_EQ(f.document.scenes(), before);
    }
    {
        SCOPED_TRACE("read fails half way");
        Fixture f;
        f.setup.controller->misbehaviour().silentAfterBytes = 600;
        f.document.edit([](SceneSet& scenes) { SetSceneName(scenes.scene(1), "LOCAL EDIT"); });
        const SceneSet before = f.document.scenes();
        f.user.answers = {Answer::No, Answer::Yes};
        EXPECT_EQ(readSceneData(f.document, f.setup.link, f.hooks).outcome, TransferOutcome::Failed);
        ASSERT_EQ(f.user.told.size(), 1u) << "one warning says why";
        EXPECT_EQ(f.user.told[0].kind, MessageKind::Warning);
        EXPECT_EQ(f.user.told[0].text, QStringLiteral("The controller did not answer at image byte 600 within 20 ms. "
                                                      "The scenes are unchanged."));
        EXPECT_EQ(f.redisplays, 1);
        EXPECT_TRUE(f.document.modified());
        EXPECT_EQ(f.document.scenes(), before);
    }
    {
        SCOPED_TRACE("answered No, read succeeds");
        Fixture f;
        f.document.edit([](SceneSet& scenes) { SetSceneName(scenes.scene(1), "LOCAL EDIT"); });
        f.user.answers = {Answer::No, Answer::Yes};
        EXPECT_EQ(readSceneData(f.document, f.setup.link, f.hooks).outcome, TransferOutcome::Done);
        EXPECT_FALSE(f.document.modified());
    }
}

TEST(ReadSceneData, SavedEditsAreNoLongerModifiedEvenWhenTheSearchFails)
{
    QTemporaryDir dir;
    Fixture f;
    f.setup.controller->misbehaviour().noAnswer = true;
    f.document.edit([](SceneSet& scenes) { SetSceneName(scenes.scene(1), "LOCAL EDIT"); });
    f.user.answers = {Answer::Yes};
    f.user.savePaths = {dir.filePath("saved.lumo")};
    EXPECT_EQ(readSceneData(f.document, f.setup.link, f.hooks).outcome, TransferOutcome::NotFound);
    EXPECT_TRUE(QFile::exists(dir.filePath("saved.lumo")));
    EXPECT_FALSE(f.document.modified());
}

TEST(ReadSceneData, DeclinedConfirmationStopsAfterTheSearch)
{
    for (Answer answer : {Answer::No, Answer::Cancel}) {
        Fixture f;
        const SceneSet before = f.document.scenes();
        f.user.answers = {answer};
        EXPECT_EQ(readSceneData(f.document, f.setup.link, f.hooks).outcome, TransferOutcome::Declined);
        EXPECT_EQ(f.setup.ports.sentWords(), (std::vector<std::uint32_t>{CmdConnect, CmdIdentify}))
            << "the controller is left after the handshake, without CmdEnd";
        EXPECT_EQ(f.redisplays, 0);
        EXPECT_EQ(f.document.scenes(), before);
    }
}

TEST(SendSceneData, SendsConfirmedScenesWithoutTouchingFlagOrDisplay)
{
    Fixture f;
    f.document.edit([](SceneSet& scenes) { SetSceneName(scenes.scene(1), "LOCAL EDIT"); });
    f.user.answers = {Answer::Yes};
    EXPECT_EQ(sendSceneData(f.document, f.setup.link, f.hooks).outcome, TransferOutcome::Done);
    EXPECT_EQ(f.user.asked, (std::vector<ScriptedUser::Message>{kConfirmSend}));
    EXPECT_EQ(f.user.told, (std::vector<ScriptedUser::Message>{kSendOk}));
    EXPECT_TRUE(f.document.modified());
    EXPECT_EQ(f.redisplays, 0);
    std::array<std::uint8_t, 1024> sent{};
    PackSceneImage(f.document.scenes(), sent.data());
    EXPECT_TRUE(std::equal(sent.begin(), sent.begin() + 916, f.setup.controller->image().begin()));
}

TEST(SendSceneData, NotFoundDeclinedAndFailedSends)
{
    {
        Fixture f;
        f.setup.controller->misbehaviour().wrongIdentity = true;
        EXPECT_EQ(sendSceneData(f.document, f.setup.link, f.hooks).outcome, TransferOutcome::NotFound);
        EXPECT_TRUE(f.user.asked.empty());
        EXPECT_EQ(f.user.told, (std::vector<ScriptedUser::Message>{kNotFound}));
    }
    for (Answer answer : {Answer::No, Answer::Cancel}) {
        Fixture f;
        f.user.answers = {answer};
        EXPECT_EQ(sendSceneData(f.document, f.setup.link, f.hooks).outcome, TransferOutcome::Declined);
        EXPECT_EQ(f.setup.ports.sentWords().size(), 2u);
    }
    {
        Fixture f;
        f.setup.controller->misbehaviour().wrongAcknowledgeAfterBlock = 0;
        f.user.answers = {Answer::Yes};
        EXPECT_EQ(sendSceneData(f.document, f.setup.link, f.hooks).outcome, TransferOutcome::Failed);
        ASSERT_EQ(f.user.told.size(), 1u);
        EXPECT_EQ(f.user.told[0].text, QStringLiteral("The controller answered 9C 01 07 at image byte 512, not the "
                                                      "reply expected. The controller may now hold a partly written "
                                                      "scene image."));
    }
}

TEST(ReadSceneData, AnUnaskedMessageFailsTheReadAndChangesNothing)
{
    Fixture f;
    f.setup.controller->misbehaviour().strayAfterBytes = 20;
    const SceneSet before = f.document.scenes();
    f.user.answers = {Answer::Yes};
    const TransferResult result = readSceneData(f.document, f.setup.link, f.hooks);
    EXPECT_EQ(result.outcome, TransferOutcome::Failed);
    EXPECT_EQ(result.link.error, LinkError::Unasked);
    EXPECT_EQ(f.document.scenes(), before);
    ASSERT_EQ(f.user.told.size(), 1u);
    EXPECT_TRUE(f.user.told[0].text.contains(QStringLiteral("90 3C 40")));
}

TEST(TransferCommands, ThePairThatAnsweredIsKeptAndTriedFirstNextTime)
{
    Fixture f;
    PortPair kept;
    f.hooks.rememberedPair = [&kept] { return kept; };
    f.hooks.rememberPair = [&kept](const PortPair& pair) { kept = pair; };
    f.user.answers = {Answer::Yes, Answer::Yes};
    EXPECT_EQ(sendSceneData(f.document, f.setup.link, f.hooks).outcome, TransferOutcome::Done);
    EXPECT_EQ(kept, (PortPair{"Lumo out", "Lumo in"}));
    f.setup.ports.clearEvents();
    EXPECT_EQ(readSceneData(f.document, f.setup.link, f.hooks).outcome, TransferOutcome::Done);
    EXPECT_EQ(f.setup.ports.sentWords().front(), CmdConnect);
    EXPECT_EQ(f.setup.ports.sentWords()[2], CmdReadStart) << "one handshake, on the remembered pair";
}

TEST(TransferCommands, NoMidiSystemReportsTheMissingDevice)
{
    auto ports = OpenMidiPorts(MidiApi::None, "test");
    DeviceLink link(*ports);
    DefaultParameters defaults;
    ScriptedUser user;
    DocumentSession document(defaults, user);
    EXPECT_EQ(sendSceneData(document, link, {}).outcome, TransferOutcome::NotFound);
    EXPECT_EQ(readSceneData(document, link, {}).outcome, TransferOutcome::NotFound);
    const ScriptedUser::Message noSystem{
        MessageKind::Warning, "Vorel Lumo Device is not exist.\n(no MIDI system: no ALSA sequencer and no JACK server)"};
    EXPECT_EQ(user.told, (std::vector<ScriptedUser::Message>{noSystem, noSystem}));
}

} // namespace
} // namespace lumo
