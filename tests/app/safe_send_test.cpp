// "Send Scene Data" with its backup and verification against the simulated controller: the
// three transfers under one progress bar, a controller that stores a byte wrongly, and a backup
// or read-back that fails or is cancelled.
#include "tests/support/device_test_support.h"

#include "app/send_backups.h"
#include "app/send_verification.h"
#include "app/transfer_commands.h"
#include "device/scene_image.h"
#include "app/document_session.h"
#include "scene/parameter_files.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace lumo {
namespace {

class YesUser : public UserAnswers {
public:
    Answer ask(MessageKind, const QString&) override { return Answer::Yes; }
    void tell(MessageKind kind, const QString& text) override { told.append({kind, text}); }
    void showError(const QString&) override {}
    std::optional<QString> chooseOpenFile() override { return std::nullopt; }
    std::optional<QString> chooseSaveFile(const QString&) override { return std::nullopt; }
    QList<std::pair<MessageKind, QString>> told;
};

struct SafeSend {
    SafeSend()
    {
        SceneSet held;
        SetSceneName(held.scene(2), "HELD");
        setup.controller->setScenes(held);
        document.edit([](SceneSet& scenes) { SetSceneName(scenes.scene(2), "NEW"); });
        checks = {.backup = true, .verify = true, .backupFolder = folder.path() + "/backups"};
        hooks.progress = [this](int percent) { percents.push_back(percent); };
        hooks.showProgress = [this](bool visible) { shown.push_back(visible); };
    }
    TransferResult send() { return sendSceneData(document, setup.link, hooks, checks); }
    QStringList backups() const { return SendBackupNames(checks.backupFolder); }

    QTemporaryDir folder;
    testing::OneController setup;
    DefaultParameters defaults;
    YesUser user;
    DocumentSession document{defaults, user};
    TransferHooks hooks;
    SendChecks checks;
    std::vector<int> percents;
    std::vector<bool> shown;
};

TEST(SafeSend, BacksUpSendsAndVerifiesUnderOneProgressBar)
{
    SafeSend f;
    ImageBuffer held{};
    PackSceneImage(f.setup.controller->scenes(), held.data());
    const TransferResult result = f.send();
    EXPECT_EQ(result.outcome, TransferOutcome::Done);
    EXPECT_EQ(f.user.told, (QList<std::pair<MessageKind, QString>>{{MessageKind::Information, "Send data OK."}}));
    EXPECT_EQ(f.setup.controller->readsCompleted(), 2);
    EXPECT_EQ(f.setup.controller->sendsCompleted(), 1);
    ImageBuffer sent{};
    PackSceneImage(f.document.scenes(), sent.data());
    EXPECT_TRUE(SceneImageDifferences(sent, f.setup.controller->image()).isEmpty());

    // The backup is what the controller held, as a read stores it.
    ASSERT_EQ(f.backups().size(), 1);
    EXPECT_EQ(result.backupPath, f.checks.backupFolder + "/" + f.backups().constFirst());
    SceneSet backedUp;
    ASSERT_TRUE(LoadSceneFile(result.backupPath, backedUp).ok());
    EXPECT_EQ(backedUp, ScenesFromImage(held, f.defaults));

    // One bar: shown, filled once from start to end across the three transfers, hidden once.
    EXPECT_TRUE(std::is_sorted(f.percents.begin(), f.percents.end()));
    EXPECT_LE(f.percents.front(), 1);
    EXPECT_EQ(f.percents.back(), 100);
    EXPECT_TRUE(std::find(f.percents.begin(), f.percents.end(), 33) != f.percents.end());
    EXPECT_TRUE(std::find(f.percents.begin(), f.percents.end(), 67) != f.percents.end());
    EXPECT_EQ(f.shown.back(), false);
    EXPECT_EQ(std::count(f.shown.begin(), f.shown.end(), false), 1);
}

TEST(SafeSend, AByteStoredWronglyIsAWarningInsteadOfOk)
{
    SafeSend f;
    f.setup.controller->misbehaviour().wrongStoreAt = 300;
    const TransferResult result = f.send();
    EXPECT_EQ(result.outcome, TransferOutcome::Differs);
    ASSERT_EQ(result.differences.size(), 1);
    EXPECT_TRUE(result.differences[0].startsWith("scene 2, ")) << result.differences[0].toStdString();
    EXPECT_EQ(f.user.told, (QList<std::pair<MessageKind, QString>>{
                               {MessageKind::Warning, VerificationWarningText(result.differences)}}));

    // Without verification the same send looks good: the seed's message.
    SafeSend unchecked;
    unchecked.checks.verify = false;
    unchecked.setup.controller->misbehaviour().wrongStoreAt = 300;
    EXPECT_EQ(unchecked.send().outcome, TransferOutcome::Done);
    EXPECT_EQ(unchecked.setup.controller->readsCompleted(), 1);
}

TEST(SafeSend, AFailedOrCancelledBackupSendsNothing)
{
    {
        SafeSend f;
        f.setup.controller->misbehaviour().silentAfterBytes = 10;
        const TransferResult result = f.send();
        EXPECT_EQ(result.outcome, TransferOutcome::Failed);
        EXPECT_EQ(result.link.error, LinkError::NoReply);
        ASSERT_EQ(f.user.told.size(), 1);
        EXPECT_TRUE(f.user.told[0].second.startsWith("Backing up the controller's scenes failed, so nothing was sent."));
        EXPECT_TRUE(f.backups().isEmpty());
    }
    {
        SafeSend f;
        f.hooks.progress = [&f](int percent) {
            if (percent == 20)
                f.setup.link.cancel();
        };
        EXPECT_EQ(f.send().link.error, LinkError::Cancelled);
        EXPECT_EQ(f.setup.controller->sendsCompleted(), 0);
        EXPECT_TRUE(f.backups().isEmpty());
    }
    {
        // A backup folder that cannot be made.
        SafeSend f;
        QFile blocker(f.checks.backupFolder);
        ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
        EXPECT_EQ(f.send().outcome, TransferOutcome::Failed);
        EXPECT_EQ(f.setup.controller->sendsCompleted(), 0);
        ASSERT_EQ(f.user.told.size(), 1);
        EXPECT_TRUE(f.user.told[0].second.contains("could not be written")) << f.user.told[0].second.toStdString();
    }
}

TEST(SafeSend, ACancelDuringTheReadBackIsReportedAfterTheSend)
{
    SafeSend f;
    f.hooks.progress = [&f](int percent) {
        if (percent == 80)
            f.setup.link.cancel();
    };
    const TransferResult result = f.send();
    EXPECT_EQ(result.link.error, LinkError::Cancelled);
    EXPECT_EQ(f.setup.controller->sendsCompleted(), 1);
    ASSERT_EQ(f.user.told.size(), 1);
    EXPECT_EQ(f.user.told[0].second, "The scenes were sent, but reading them back to check them failed. The read was "
                                     "cancelled.");
}

} // namespace
} // namespace lumo
