// The default-parameter list and note-name list parsing rules, ApplyDefaults checked byte by
// byte at the record's offsets, and the loading of both files with its built-in fallback.
#include "scene/parameter_files.h"
#include "scene/scene_settings.h"
#include "scene_test_support.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include <sys/stat.h>

namespace lumo {
namespace {

using testing_support::BytesOf;
using testing_support::Int32At;
using testing_support::WriteAll;

// The bytes of the four scenes after applying `iniText` to a zero Scene Set.
QByteArray applied(const QByteArray& iniText)
{
    SceneSet scenes;
    ApplyDefaults(DefaultParameters(iniText), scenes);
    return BytesOf(scenes);
}

// The same 32-bit field at `offset` in all four scenes.
void expectInAllScenes(const QByteArray& bytes, qsizetype offset, int value)
{
    for (int n = 0; n < kSceneCount; ++n)
        EXPECT_EQ(Int32At(bytes, n * 884 + offset), value) << "scene " << n + 1 << " offset " << offset;
}

TEST(SplitLines, EndsAtCrLfLfOrCrAndKeepsEmptyLines)
{
    using L = QList<QByteArray>;
    EXPECT_EQ(SplitLines("a\r\nb\nc\rd"), (L{"a", "b", "c", "d"}));
    EXPECT_EQ(SplitLines("a\n\nb\n"), (L{"a", "", "b"}));
    EXPECT_EQ(SplitLines("last without end"), (L{"last without end"}));
    EXPECT_EQ(SplitLines("\r\n\r\n"), (L{"", ""}));
    EXPECT_EQ(SplitLines("\n\r"), (L{"", ""})); // LF then CR: two ends, not one CR LF
    EXPECT_TRUE(SplitLines("").isEmpty());
}

TEST(DefaultParametersValue, KeyBeforeFirstEqualsCaseInsensitiveFirstMatchUntrimmed)
{
    const DefaultParameters defaults("[Defaults]\n"
                                     "\n"
                                     "no equals sign here\n"
                                     "Formula=a=b\n"
                                     "PadBehavior=1\n"
                                     "padbehavior=0\n"
                                     "Spaced = 5\n"
                                     "Blank=\n"
                                     "Name=  two  words  \n");
    EXPECT_EQ(defaults.value("Formula"), QByteArray("a=b"));
    EXPECT_EQ(defaults.value("PADBEHAVIOR"), QByteArray("1"));
    EXPECT_EQ(defaults.value("Spaced"), QByteArray());          // the key is "Spaced "
    EXPECT_EQ(defaults.value("Spaced "), QByteArray(" 5"));
    EXPECT_EQ(defaults.value("Name"), QByteArray("  two  words  "));
    EXPECT_EQ(defaults.value("Blank"), QByteArray());
    EXPECT_EQ(defaults.value("[Defaults]"), QByteArray());
    EXPECT_EQ(defaults.value("Missing"), QByteArray());
    // An empty line has no "=", so even the empty key matches nothing but "=value" lines.
    EXPECT_EQ(DefaultParameters("\n=x\n").value(""), QByteArray("x"));
}

TEST(DefaultParametersIntValue, LeadingBlanksAndSignOnlyOtherwiseFallback)
{
    const DefaultParameters defaults("Plain=42\nLead=  7\nTrail=7 \nPlus=+9\nMinus=-12\nEmpty=\n"
                                     "Word=abc\nHex=0x10\nFraction=1.5\nSign=-\nTab=\t3\n"
                                     "Max=2147483647\nMin=-2147483648\nOver=2147483648\n");
    EXPECT_EQ(defaults.intValue("plain", -1), 42);
    EXPECT_EQ(defaults.intValue("Lead", -1), 7);
    EXPECT_EQ(defaults.intValue("Trail", -1), -1);
    EXPECT_EQ(defaults.intValue("Plus", -1), 9);
    EXPECT_EQ(defaults.intValue("Minus", -1), -12);
    EXPECT_EQ(defaults.intValue("Empty", -1), -1);
    EXPECT_EQ(defaults.intValue("Word", -1), -1);
    EXPECT_EQ(defaults.intValue("Hex", -1), -1);
    EXPECT_EQ(defaults.intValue("Fraction", -1), -1);
    EXPECT_EQ(defaults.intValue("Sign", -1), -1);
    EXPECT_EQ(defaults.intValue("Tab", -1), -1);
    EXPECT_EQ(defaults.intValue("Max", -1), 2147483647);
    EXPECT_EQ(defaults.intValue("Min", -1), -2147483647 - 1);
    EXPECT_EQ(defaults.intValue("Over", -1), -1);
    EXPECT_EQ(defaults.intValue("Missing", 916), 916);
}

TEST(DefaultParametersIntValue, TransferKeysAreTrimmedOfBlanksAndControlCharacters)
{
    const DefaultParameters defaults("SceneDataLen=\t 900 \t\nBlockAddOne= 2x \n");
    EXPECT_EQ(defaults.trimmedIntValue("SceneDataLen", 916), 900);
    EXPECT_EQ(defaults.intValue("SceneDataLen", 916), 916);
    EXPECT_EQ(defaults.trimmedIntValue("BlockAddOne", 1), 1);
    EXPECT_EQ(defaults.trimmedIntValue("Missing", 1), 1);
}

TEST(ApplyDefaults, EmptyFileGivesZeroScenesWithEmptyNames)
{
    const QByteArray bytes = applied("");
    EXPECT_EQ(bytes, QByteArray(static_cast<qsizetype>(kSceneSetSize), '\0'));
}

TEST(ApplyDefaults, ScalarFieldsConversionsAndFallbacks)
{
    QByteArray bytes = applied("scenemidich=5\nPianoKeyCh=16\nBendSpeed=3\nKeyTrans=13\n"
                               "KeyVelocityCurve=3\nKeyConstVelocity=100\nPadVelocityCurve=2\n"
                               "PadConstVelocity=90\n");
    expectInAllScenes(bytes, 16, 5);
    expectInAllScenes(bytes, 20, 16);
    expectInAllScenes(bytes, 24, 2); // speed 3 stored as 2
    expectInAllScenes(bytes, 28, 13);
    expectInAllScenes(bytes, 32, 3);
    expectInAllScenes(bytes, 36, 100);
    expectInAllScenes(bytes, 40, 2);
    expectInAllScenes(bytes, 44, 90);

    bytes = applied("SceneMIDICh = 5\nPianoKeyCh= 4\nKeyTrans=7 \n");
    expectInAllScenes(bytes, 16, 0); // key "SceneMIDICh " does not match
    expectInAllScenes(bytes, 20, 4); // leading blank skipped
    expectInAllScenes(bytes, 28, 0); // trailing blank: fallback 0, below the transpose range
    expectInAllScenes(bytes, 24, 0); // no BendSpeed: fallback 1 minus 1

    // The speed minus 1 wraps into the 32-bit field instead of overflowing.
    bytes = applied("BendSpeed=-2147483648\n");
    expectInAllScenes(bytes, 24, 2147483647);
}

TEST(ApplyDefaults, ArrayFieldsWholeAndNumberedKeys)
{
    const QByteArray bytes = applied("MIDICh=16\nKonbEnable=1\nKonbCCNumber2=21\nKonbURValue=127\n"
                                     "SliderLLValue=3\nSliderCCNumber4=27\nPadAssignType=2\n"
                                     "PadCCNumber8=43\nPadBehavior=1\nPadBehavior=0\nPadMIDICh=9\n"
                                     "KeyCCNumber07=99\nKeyCCNumber7=60\nKeyCCNumber=11\nKeyOFFValue=4\n"
                                     "KeyBehavior=1\nKonbCCNumber=50\n");
    for (int i = 0; i < 4; ++i) {
        expectInAllScenes(bytes, 48 + 4 * i, 16);
        expectInAllScenes(bytes, 64 + 4 * i, 1);
        expectInAllScenes(bytes, 80 + 4 * i, i == 1 ? 21 : 0); // only numbered keys set CC numbers
        expectInAllScenes(bytes, 96 + 4 * i, 127);
        expectInAllScenes(bytes, 144 + 4 * i, i == 3 ? 27 : 0);
        expectInAllScenes(bytes, 176 + 4 * i, 3);
    }
    for (int i = 0; i < 8; ++i) {
        expectInAllScenes(bytes, 692 + 4 * i, 2);
        expectInAllScenes(bytes, 724 + 4 * i, i == 7 ? 43 : 0);
        expectInAllScenes(bytes, 820 + 4 * i, 1); // first PadBehavior line wins
        expectInAllScenes(bytes, 852 + 4 * i, 9);
    }
    for (int i = 0; i < 25; ++i) {
        expectInAllScenes(bytes, 292 + 4 * i, i == 6 ? 60 : 0); // "KeyCCNumber07" is never read
        expectInAllScenes(bytes, 492 + 4 * i, 4);
        expectInAllScenes(bytes, 592 + 4 * i, 1);
    }
}

TEST(ApplyDefaults, SceneNamesUpperCaseAtoZOnlyAndKeepTwelveCharacters)
{
    const QByteArray bytes = applied("SceneName1=Live\r\nSceneName2=my first scene\rSceneName3=\xFC"
                                     "ber\nSceneName4= lead blank\n");
    EXPECT_EQ(bytes.mid(0, 5), QByteArray("\x04LIVE"));
    EXPECT_EQ(bytes.mid(884, 13), QByteArray("\x0CMY FIRST SCE"));
    EXPECT_EQ(bytes.mid(2 * 884, 5), QByteArray("\x04\xFC" "BER"));
    EXPECT_EQ(bytes.mid(3 * 884, 12), QByteArray("\x0B LEAD BLANK"));
}

TEST(ApplyDefaults, KeepsPaddingAndStaleNameBytesAndIsRepeatable)
{
    SceneSet scenes;
    SetSceneName(scenes.scene(1), "SCENE1");
    scenes.scene(1).Padding[0] = 0xAA;
    scenes.scene(4).Padding[2] = 0x55;
    const DefaultParameters defaults("SceneName1=ab\nSceneName4=\nKonbURValue=127\n");
    ApplyDefaults(defaults, scenes);
    const QByteArray once = BytesOf(scenes);
    EXPECT_EQ(once.mid(0, 16), QByteArray("\x02" "ABENE1\0\0\0\0\0\0\xAA\0\0", 16));
    EXPECT_EQ(static_cast<std::uint8_t>(once[3 * 884 + 15]), 0x55);
    EXPECT_EQ(once[3 * 884], '\0');
    ApplyDefaults(defaults, scenes);
    EXPECT_EQ(BytesOf(scenes), once);
}

TEST(NoteNames, LineNIsNoteNAndLookupIgnoresCase)
{
    const NoteNames notes("C-1\r\nC#-1\nD-1\r\xC4hnlich\n");
    EXPECT_EQ(notes.size(), 4);
    EXPECT_EQ(notes.name(1), QStringLiteral("C#-1"));
    EXPECT_EQ(notes.name(3), QString::fromLatin1("\xC4hnlich"));
    EXPECT_EQ(notes.name(4), std::nullopt);
    EXPECT_EQ(notes.name(-1), std::nullopt);
    EXPECT_EQ(notes.number(QStringLiteral("c#-1")), 1);
    EXPECT_EQ(notes.number(QString::fromLatin1("\xE4HNLICH")), 3);
    EXPECT_EQ(notes.number(QStringLiteral("E-1")), std::nullopt);
}

TEST(ShippedParameterFiles, HoldEveryKeyAndOneNameForEachOf128Notes)
{
    const ParameterFiles files = BuiltInParameterFiles();
    EXPECT_TRUE(files.error.isEmpty());
    ASSERT_EQ(files.notes.size(), 128);
    EXPECT_EQ(files.notes.name(0), QStringLiteral("C-1"));
    EXPECT_EQ(files.notes.name(60), QStringLiteral("C4"));
    EXPECT_EQ(files.notes.name(127), QStringLiteral("G9"));
    EXPECT_EQ(files.notes.number(QStringLiteral("c#3")), 49);

    const DefaultParameters& d = files.defaults;
    for (const SceneSetting& setting : SceneSettings()) {
        if (setting.shownAs == ShownAs::Name) continue;
        for (int e = 0; e < setting.count; ++e)
            EXPECT_NE(d.intValue(DefaultKey(setting, 1, e), -1000), -1000) << setting.name << e;
    }
    for (const char* key : {"BlockAddOne", "SceneDataLen"})
        EXPECT_NE(d.intValue(key, -1000), -1000) << key;
    EXPECT_EQ(d.value("SceneName1"), QByteArray("SCENE1"));
    EXPECT_EQ(d.value("SceneName4"), QByteArray("SCENE4"));
    EXPECT_EQ(d.intValue("KeyTrans", 0), 13);
    EXPECT_EQ(d.intValue("PadMIDICh", 0), 9);
    EXPECT_EQ(d.intValue("PadCCNumber1", 0), 36);
    EXPECT_EQ(d.trimmedIntValue("SceneDataLen", 0), 916);
}

class LoadParameterFilesTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_folder.isValid()); }
    QString path(const char* name) const { return m_folder.filePath(QLatin1String(name)); }
    QString nativePath(const char* name) const { return QDir::toNativeSeparators(path(name)); }
    QTemporaryDir m_folder;
};

TEST_F(LoadParameterFilesTest, ReadsBothFilesFromTheFolder)
{
    ASSERT_TRUE(WriteAll(path("DefPara.ini"), "SceneName1=mine\n"));
    ASSERT_TRUE(WriteAll(path("NotePara.ini"), "Do\nRe\n"));
    const ParameterFiles files = LoadParameterFiles(m_folder.path());
    EXPECT_TRUE(files.error.isEmpty());
    EXPECT_EQ(files.defaults.value("SceneName1"), QByteArray("mine"));
    EXPECT_EQ(files.notes.size(), 2);
}

TEST_F(LoadParameterFilesTest, MissingDefaultsStopsThereAndUsesBuiltInCopies)
{
    ASSERT_TRUE(WriteAll(path("NotePara.ini"), "Do\nRe\n"));
    const ParameterFiles files = LoadParameterFiles(m_folder.path());
    EXPECT_EQ(files.error, QStringLiteral("Cannot open file \"%1\". No such file or directory").arg(nativePath("DefPara.ini")));
    EXPECT_EQ(files.defaults.value("SceneName1"), QByteArray("SCENE1"));
    EXPECT_EQ(files.notes.size(), 128); // NotePara.ini is left unread
}

TEST_F(LoadParameterFilesTest, OnlyARegularFileOfAtMost1MiBIsRead)
{
    // A FIFO would wait for a writer; a link to a device of endless bytes would never end.
    ASSERT_EQ(::mkfifo(QFile::encodeName(path("DefPara.ini")).constData(), 0600), 0);
    EXPECT_EQ(LoadParameterFiles(m_folder.path()).error,
              QStringLiteral("Cannot open file \"%1\". Not a regular file").arg(nativePath("DefPara.ini")));
    ASSERT_TRUE(QFile::remove(path("DefPara.ini")));
    ASSERT_TRUE(WriteAll(path("DefPara.ini"), QByteArray(1024 * 1024, '\n')));
    ASSERT_TRUE(WriteAll(path("NotePara.ini"), QByteArray(1024 * 1024 + 1, '\n')));
    const ParameterFiles files = LoadParameterFiles(m_folder.path());
    EXPECT_EQ(files.error, QStringLiteral("Cannot open file \"%1\". Larger than 1 MiB").arg(nativePath("NotePara.ini")));
    EXPECT_EQ(files.notes.size(), 128);
}

TEST_F(LoadParameterFilesTest, MissingNoteNamesKeepsTheDefaultsRead)
{
    ASSERT_TRUE(WriteAll(path("DefPara.ini"), "SceneName1=mine\n"));
    const ParameterFiles files = LoadParameterFiles(m_folder.path());
    EXPECT_EQ(files.error, QStringLiteral("Cannot open file \"%1\". No such file or directory").arg(nativePath("NotePara.ini")));
    EXPECT_EQ(files.defaults.value("SceneName1"), QByteArray("mine"));
    EXPECT_EQ(files.notes.name(60), QStringLiteral("C4"));
}

TEST_F(LoadParameterFilesTest, DefaultFolderIsTheCurrentFolder)
{
    ASSERT_TRUE(WriteAll(path("DefPara.ini"), "SceneName1=here\n"));
    ASSERT_TRUE(WriteAll(path("NotePara.ini"), "Do\n"));
    const QString previous = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(m_folder.path()));
    const ParameterFiles files = LoadParameterFiles();
    QDir::setCurrent(previous);
    EXPECT_TRUE(files.error.isEmpty());
    EXPECT_EQ(files.defaults.value("SceneName1"), QByteArray("here"));
}

} // namespace
} // namespace lumo
