// A whole session through the real window, as a user works: started in a folder that holds
// the shipped parameter files, settings of every kind edited in two scenes, a pad copied
// across scenes, "Save as", "New", "Open" of the saved file, then a send to and a read back
// from the simulated controller; the scenes are compared field by field after each step.
#include "window_test_support.h"
#include "window_user.h"

#include "editor/control_area.h"
#include "scene/display_texts.h"
#include "scene/scene_settings.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <cstddef>
#include <cstring>

using namespace lumo;
using namespace lumo::window_testing;

namespace {

// Control Index of the items the session edits.
constexpr int kCommon = 0, kGroup2 = 2, kGroup4 = 4, kKonb1 = 5, kKonb3 = 7, kSlider2 = 10, kSlider4 = 12;
constexpr int kPad1 = 13, kPad3 = 15, kPad4 = 16, kPad6 = 18, kPad8 = 20, kKey5 = 25, kKey25 = 45;

struct Field {
    const char* name;
    std::size_t offset;
    int count;
};
#define LUMO_FIELD(f) Field{#f, offsetof(SceneRecord, f), static_cast<int>(sizeof(SceneRecord::f) / sizeof(std::int32_t))}
// Every 32-bit field of the record, so a difference is named.
const Field kFields[] = {
    LUMO_FIELD(SceneMIDICh), LUMO_FIELD(PianoKeyCh), LUMO_FIELD(BendSpeed), LUMO_FIELD(KeyTrans),
    LUMO_FIELD(KeyVelocityCurve), LUMO_FIELD(KeyConstVelocity), LUMO_FIELD(PadVelocityCurve),
    LUMO_FIELD(PadConstVelocity), LUMO_FIELD(MIDICh), LUMO_FIELD(KonbEnable), LUMO_FIELD(KonbCCNumber),
    LUMO_FIELD(KonbURValue), LUMO_FIELD(KonbLLValue), LUMO_FIELD(SliderEnable), LUMO_FIELD(SliderCCNumber),
    LUMO_FIELD(SliderURValue), LUMO_FIELD(SliderLLValue), LUMO_FIELD(KeyAssignType), LUMO_FIELD(KeyCCNumber),
    LUMO_FIELD(KeyONValue), LUMO_FIELD(KeyOFFValue), LUMO_FIELD(KeyBehavior), LUMO_FIELD(PadAssignType),
    LUMO_FIELD(PadCCNumber), LUMO_FIELD(PadONValue), LUMO_FIELD(PadOFFValue), LUMO_FIELD(PadBehavior),
    LUMO_FIELD(PadMIDICh),
};
#undef LUMO_FIELD
static_assert(sizeof(kFields) / sizeof(Field) == 28);

std::int32_t fieldAt(const SceneRecord& record, const Field& field, int element)
{
    std::int32_t value;
    std::memcpy(&value, reinterpret_cast<const char*>(&record) + field.offset + element * sizeof value, sizeof value);
    return value;
}

// The name as the controller gives it back: the characters before the first zero byte.
QByteArray nameText(const SceneRecord& record)
{
    return QByteArray(SceneName(record).c_str());
}

enum class NameCheck { Bytes, Text };

// Every difference between two scene sets, named "scene 3 PadMIDICh[5]: 11 != 9". With
// NameCheck::Bytes the name's length and all 12 bytes and the padding are compared as the
// scene file carries them; with NameCheck::Text only the name text, as the device image
// (which has no length byte and no padding) gives it back.
QStringList differences(const SceneSet& actual, const SceneSet& expected, NameCheck names)
{
    QStringList found;
    for (int s = 1; s <= kSceneCount; ++s) {
        const SceneRecord& a = actual.scene(s);
        const SceneRecord& e = expected.scene(s);
        const QString scene = QStringLiteral("scene %1 ").arg(s);
        if (names == NameCheck::Bytes ? std::memcmp(&a, &e, offsetof(SceneRecord, SceneMIDICh)) != 0
                                      : nameText(a) != nameText(e))
            found << scene + QStringLiteral("SceneName: \"%1\" != \"%2\"").arg(nameText(a), nameText(e));
        for (const Field& field : kFields)
            for (int i = 0; i < field.count; ++i)
                if (fieldAt(a, field, i) != fieldAt(e, field, i))
                    found << scene + QStringLiteral("%1[%2]: %3 != %4")
                                         .arg(field.name).arg(i).arg(fieldAt(a, field, i)).arg(fieldAt(e, field, i));
    }
    return found;
}

#define VERIFY_SCENES(actual, expected, names)                                   \
    do {                                                                         \
        const QStringList found_ = differences((actual), (expected), (names));   \
        QVERIFY2(found_.isEmpty(), qPrintable(found_.join(QLatin1Char('\n'))));  \
    } while (false)

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray rawScenes(const SceneSet& scenes)
{
    const auto bytes = scenes.toBytes();
    return QByteArray(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size()));
}

// Runs the current folder over to `path` for the lifetime of the object.
struct CurrentFolder {
    explicit CurrentFolder(const QString& path)
        : previous(QDir::currentPath())
    {
        QDir::setCurrent(path);
    }
    ~CurrentFolder() { QDir::setCurrent(previous); }
    QString previous;
};

QString text(const TFormMain& window, const char* name)
{
    return widgetNamed<QLineEdit>(window, name)->text();
}

int choice(const TFormMain& window, const char* name)
{
    return widgetNamed<QComboBox>(window, name)->currentIndex();
}

bool enabled(const TFormMain& window, const char* name)
{
    return widgetNamed<QWidget>(window, name)->isEnabled();
}

bool shown(const TFormMain& window, const char* panel)
{
    return widgetNamed<QWidget>(window, panel)->isVisible();
}

// Shows scene `s` through its button and every item of the list through a click, and checks
// that each panel shows the values of `r` with the enabling that they call for.
void verifyPanels(const TFormMain& window, int s, const SceneRecord& r, const NoteNames& notes)
{
    clickScene(window, s);
    for (int i = 0; i < kControlCount; ++i) {
        clickListItem(window, i);
        const QByteArray where = QStringLiteral("scene %1 item %2").arg(s).arg(i).toLatin1();
        QVERIFY2(widgetNamed<QListWidget>(window, "ControlList")->currentRow() == i, where);
        const int e = ElementOfControl(i);
        // A failed QCOMPARE returns from the lambda only, so the item can be named below.
        const auto check = [&] {
            switch (KindOfControl(i)) {
            case ControlKind::Common:
                QVERIFY(shown(window, "PanelCommon"));
                QCOMPARE(text(window, "EditSceneName"), SceneCaption(r));
                QCOMPARE(choice(window, "SelSceneMIDICh"), r.SceneMIDICh);
                QCOMPARE(choice(window, "SelPianoKeyCh"), r.PianoKeyCh);
                QCOMPARE(text(window, "EditBendSpeed"), QString::number(r.BendSpeed + 1));
                QCOMPARE(text(window, "EditKeyTrans"), QString::number(r.KeyTrans - 13));
                QCOMPARE(choice(window, "SelKeyVelocityCurve"), r.KeyVelocityCurve);
                QCOMPARE(text(window, "EditKeyConstVelocity"), QString::number(r.KeyConstVelocity));
                QCOMPARE(enabled(window, "EditKeyConstVelocity"), r.KeyVelocityCurve == 3);
                QCOMPARE(choice(window, "SelPadVelocityCurve"), r.PadVelocityCurve);
                QCOMPARE(text(window, "EditPadConstVelocity"), QString::number(r.PadConstVelocity));
                QCOMPARE(enabled(window, "EditPadConstVelocity"), r.PadVelocityCurve == 3);
                break;
            case ControlKind::Group:
                QVERIFY(shown(window, "PanelGroup"));
                QCOMPARE(choice(window, "SelMIDICh"), r.MIDICh[e]);
                break;
            case ControlKind::Knob:
            case ControlKind::Slider: {
                QVERIFY(shown(window, "PanelKonb"));
                SceneRecord copy = r;
                const KindFields f = FieldsOfKind(copy, KindOfControl(i));
                QCOMPARE(choice(window, "SelKonbEnable"), f.arrays[0][e]);
                QCOMPARE(text(window, "EditKonbCCNumber"), QString::number(f.arrays[1][e]));
                QCOMPARE(text(window, "EditKonbURValue"), QString::number(f.arrays[2][e]));
                QCOMPARE(text(window, "EditKonbLLValue"), QString::number(f.arrays[3][e]));
                QCOMPARE(enabled(window, "EditKonbCCNumber"), f.arrays[0][e] != 0);
                break;
            }
            case ControlKind::Pad:
                QVERIFY(shown(window, "PanelPad"));
                QCOMPARE(choice(window, "SelPadAssignType"), r.PadAssignType[e]);
                QCOMPARE(text(window, "EditPadCCNumber"), r.PadAssignType[e] == 2
                             ? notes.name(r.PadCCNumber[e]).value_or(QString())
                             : QString::number(r.PadCCNumber[e]));
                QCOMPARE(text(window, "EditPadONValue"), QString::number(r.PadONValue[e]));
                QCOMPARE(text(window, "EditPadOFFValue"), QString::number(r.PadOFFValue[e]));
                QCOMPARE(enabled(window, "EditPadONValue"), r.PadAssignType[e] == 1);
                QCOMPARE(choice(window, "SelPadBehavior"), r.PadBehavior[e]);
                QCOMPARE(choice(window, "SelPadMIDICh"), r.PadMIDICh[e]);
                break;
            case ControlKind::Key:
                QVERIFY(shown(window, "PanelKey"));
                QCOMPARE(choice(window, "SelKeyAssignType"), r.KeyAssignType[e]);
                QCOMPARE(text(window, "EditKeyCCNumber"), QString::number(r.KeyCCNumber[e]));
                QCOMPARE(text(window, "EditKeyONValue"), QString::number(r.KeyONValue[e]));
                QCOMPARE(text(window, "EditKeyOFFValue"), QString::number(r.KeyOFFValue[e]));
                QCOMPARE(choice(window, "SelKeyBehavior"), r.KeyBehavior[e]);
                QCOMPARE(enabled(window, "EditKeyCCNumber"), r.KeyAssignType[e] != 0);
                break;
            }
        };
        check();
        if (QTest::currentTestFailed()) {
            qWarning("%s", where.constData());
            return;
        }
    }
}

} // namespace

class TestAcceptance : public QObject {
    Q_OBJECT
private slots:
    void wholeSession();

private:
    void editSceneOne(TFormMain& window, SceneRecord& expected);
    void editSceneThree(TFormMain& window, SceneRecord& expected);
};

// Scene 1: common settings, group 2, knob 3, slider 4, pad 1 as CC, pad 3 as Note, key 5.
void TestAcceptance::editSceneOne(TFormMain& window, SceneRecord& x)
{
    clickScene(window, 1);
    typeInto(window, "EditSceneName", "live set");
    SetSceneName(x, "LIVE SET");
    chooseItem(window, "SelSceneMIDICh", 4);     // "5"
    x.SceneMIDICh = 4;
    typeInto(window, "EditBendSpeed", "4");
    x.BendSpeed = 3;
    typeInto(window, "EditKeyTrans", "-5");
    x.KeyTrans = 8;
    chooseItem(window, "SelKeyVelocityCurve", 3); // "Const"
    x.KeyVelocityCurve = 3;
    typeInto(window, "EditKeyConstVelocity", "90");
    x.KeyConstVelocity = 90;

    clickListItem(window, kGroup2);
    chooseItem(window, "SelMIDICh", 2);          // "3"
    x.MIDICh[1] = 2;

    clickListItem(window, kKonb3);
    typeInto(window, "EditKonbCCNumber", "74");
    typeInto(window, "EditKonbURValue", "100");
    typeInto(window, "EditKonbLLValue", "10");
    x.KonbCCNumber[2] = 74;
    x.KonbURValue[2] = 100;
    x.KonbLLValue[2] = 10;

    clickListItem(window, kSlider4);
    typeInto(window, "EditKonbCCNumber", "33");
    chooseItem(window, "SelKonbEnable", 0);      // "Disable"
    x.SliderCCNumber[3] = 33;
    x.SliderEnable[3] = 0;
    QVERIFY(!enabled(window, "EditKonbCCNumber"));

    clickListItem(window, kPad1);
    chooseItem(window, "SelPadAssignType", 1);   // "Control Change"
    typeInto(window, "EditPadCCNumber", "45");
    typeInto(window, "EditPadONValue", "100");
    typeInto(window, "EditPadOFFValue", "7");
    chooseItem(window, "SelPadBehavior", 1);     // "Toggle"
    chooseItem(window, "SelPadMIDICh", 11);      // "12"
    x.PadAssignType[0] = 1;
    x.PadCCNumber[0] = 45;
    x.PadONValue[0] = 100;
    x.PadOFFValue[0] = 7;
    x.PadBehavior[0] = 1;
    x.PadMIDICh[0] = 11;

    clickListItem(window, kPad3);                // "Note" by default: a note typed by name
    typeInto(window, "EditPadCCNumber", "d#4");
    QCOMPARE(text(window, "EditPadCCNumber"), QStringLiteral("D#4"));
    chooseItem(window, "SelPadMIDICh", 1);       // "2"
    x.PadCCNumber[2] = 63;
    x.PadMIDICh[2] = 1;

    clickListItem(window, kKey5);
    chooseItem(window, "SelKeyAssignType", 1);   // "Enable"
    typeInto(window, "EditKeyCCNumber", "70");
    typeInto(window, "EditKeyONValue", "111");
    typeInto(window, "EditKeyOFFValue", "5");
    chooseItem(window, "SelKeyBehavior", 1);     // "Toggle"
    x.KeyAssignType[4] = 1;
    x.KeyCCNumber[4] = 70;
    x.KeyONValue[4] = 111;
    x.KeyOFFValue[4] = 5;
    x.KeyBehavior[4] = 1;
}

// Scene 3: common settings, group 4, knob 1, slider 2, pad 4 as CC, pad 8 switched to Note, key 25.
void TestAcceptance::editSceneThree(TFormMain& window, SceneRecord& x)
{
    clickScene(window, 3);
    typeInto(window, "EditSceneName", "second");
    SetSceneName(x, "SECOND");
    chooseItem(window, "SelPianoKeyCh", 6);      // "7"
    x.PianoKeyCh = 6;
    typeInto(window, "EditKeyTrans", "+12");
    x.KeyTrans = 25;
    chooseItem(window, "SelPadVelocityCurve", 3); // "Const"
    x.PadVelocityCurve = 3;
    typeInto(window, "EditPadConstVelocity", "77");
    x.PadConstVelocity = 77;

    clickListItem(window, kGroup4);
    chooseItem(window, "SelMIDICh", 0);          // "1"
    x.MIDICh[3] = 0;

    clickListItem(window, kKonb1);
    chooseItem(window, "SelKonbEnable", 0);      // "Disable"
    x.KonbEnable[0] = 0;

    clickListItem(window, kSlider2);
    typeInto(window, "EditKonbCCNumber", "80");
    typeInto(window, "EditKonbURValue", "90");
    typeInto(window, "EditKonbLLValue", "20");
    x.SliderCCNumber[1] = 80;
    x.SliderURValue[1] = 90;
    x.SliderLLValue[1] = 20;

    clickListItem(window, kPad4);
    chooseItem(window, "SelPadAssignType", 1);   // "Control Change"
    typeInto(window, "EditPadCCNumber", "12");
    typeInto(window, "EditPadONValue", "64");
    typeInto(window, "EditPadOFFValue", "1");
    chooseItem(window, "SelPadMIDICh", 15);      // "16"
    x.PadAssignType[3] = 1;
    x.PadCCNumber[3] = 12;
    x.PadONValue[3] = 64;
    x.PadOFFValue[3] = 1;
    x.PadMIDICh[3] = 15;

    // A number entered as CC, then the pad turned to "Note": the field names that note, and
    // the cursor-up key steps to the next one.
    clickListItem(window, kPad8);
    chooseItem(window, "SelPadAssignType", 1);
    typeInto(window, "EditPadCCNumber", "61");
    chooseItem(window, "SelPadAssignType", 2);   // "Note"
    QCOMPARE(text(window, "EditPadCCNumber"), QStringLiteral("C#4"));
    QTest::keyClick(widgetNamed<QLineEdit>(window, "EditPadCCNumber"), Qt::Key_Up);
    QCOMPARE(text(window, "EditPadCCNumber"), QStringLiteral("D4"));
    chooseItem(window, "SelPadBehavior", 1);     // "Toggle"
    x.PadAssignType[7] = 2;
    x.PadCCNumber[7] = 62;
    x.PadBehavior[7] = 1;

    clickListItem(window, kKey25);
    chooseItem(window, "SelKeyAssignType", 1);   // "Enable"
    typeInto(window, "EditKeyCCNumber", "99");
    typeInto(window, "EditKeyOFFValue", "3");
    chooseItem(window, "SelKeyBehavior", 1);     // "Toggle"
    x.KeyAssignType[24] = 1;
    x.KeyCCNumber[24] = 99;
    x.KeyOFFValue[24] = 3;
    x.KeyBehavior[24] = 1;
}

void TestAcceptance::wholeSession()
{
    // The settings (the remembered pair, the dialogs' folder) and the send backups go to Qt's
    // test folders, never the user's.
    QStandardPaths::setTestModeEnabled(true);
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    for (const char* name : {"DefPara.ini", "NotePara.ini"})
        QVERIFY(QFile::copy(QStringLiteral(LUMO_ASSETS_DIR "/") + name, folder.filePath(name)));
    CurrentFolder inFolder(folder.path());

    SimulatedController device{SceneSet()};
    TFormMain window(QString(), &device.ports);
    window.document().clock = [] { return QDateTime(QDate(2026, 12, 8), QTime(9, 30)); };
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));

    // Start-up read both files of the folder and filled the four scenes from them.
    const ParameterFiles files = LoadParameterFiles(folder.path());
    QVERIFY2(window.parameterFiles().error.isEmpty(), qPrintable(window.parameterFiles().error));
    SceneSet defaults;
    ApplyDefaults(files.defaults, defaults);
    VERIFY_SCENES(window.document().scenes(), defaults, NameCheck::Bytes);
    QVERIFY(!window.document().modified());

    SceneSet expected = defaults;
    editSceneOne(window, expected.scene(1));
    if (QTest::currentTestFailed()) return;
    VERIFY_SCENES(window.document().scenes(), expected, NameCheck::Bytes);
    editSceneThree(window, expected.scene(3));
    if (QTest::currentTestFailed()) return;
    VERIFY_SCENES(window.document().scenes(), expected, NameCheck::Bytes);
    QVERIFY(window.document().modified());

    // Pad 1 of scene 1 onto pad 6 of scene 3, with the Edit shortcuts in the control list.
    QWidget* list = widgetNamed<QWidget>(window, "ControlList");
    clickScene(window, 1);
    clickListItem(window, kPad1);
    pressKeys(list, QKeySequence("Ctrl+C"));
    clickScene(window, 3);
    clickListItem(window, kPad6);
    pressKeys(list, QKeySequence("Ctrl+V"));
    SceneRecord& pad6 = expected.scene(3);
    pad6.PadAssignType[5] = 1;
    pad6.PadCCNumber[5] = 45;
    pad6.PadONValue[5] = 100;
    pad6.PadOFFValue[5] = 7;
    pad6.PadBehavior[5] = 1;
    pad6.PadMIDICh[5] = 11;
    VERIFY_SCENES(window.document().scenes(), expected, NameCheck::Bytes);

    // "Save as" through the real dialog: the file is the four records raw.
    const QString saved = folder.filePath("session.lumo");
    ModalScript script;
    script.choose(saved);
    pressKeys(&window, QKeySequence("Ctrl+Alt+S"));
    QVERIFY2(script.unexpected.isEmpty(), qPrintable(script.unexpected.join('\n')));
    QVERIFY(script.finished());
    QCOMPARE(QFileInfo(script.dialogFiles.value(0)).fileName(), QStringLiteral("scene2612080930.lumo"));
    QCOMPARE(fileBytes(saved), rawScenes(expected));
    QCOMPARE(window.document().fileName(), saved);

    // "New" brings back the defaults of the folder's file; a shorter default name leaves the
    // bytes after it as the edited name had them. "Open" brings back the saved session.
    SceneSet renewed = expected;
    ApplyDefaults(files.defaults, renewed);
    pressKeys(&window, QKeySequence("Ctrl+N"));
    VERIFY_SCENES(window.document().scenes(), renewed, NameCheck::Bytes);
    QCOMPARE(nameText(window.document().scenes().scene(1)), QByteArray("SCENE1"));
    script.choose(saved);
    pressKeys(&window, QKeySequence("Ctrl+O"));
    QVERIFY2(script.unexpected.isEmpty(), qPrintable(script.unexpected.join('\n')));
    QVERIFY(script.finished());
    VERIFY_SCENES(window.document().scenes(), expected, NameCheck::Bytes);
    // What the panels show of the two edited scenes, item by item; looking changes nothing.
    verifyPanels(window, 1, expected.scene(1), files.notes);
    if (QTest::currentTestFailed()) return;
    verifyPanels(window, 3, expected.scene(3), files.notes);
    if (QTest::currentTestFailed()) return;
    VERIFY_SCENES(window.document().scenes(), expected, NameCheck::Bytes);

    // Send to the controller, wipe the window's scenes with "New", and read them back.
    script.press("Yes").press("OK");
    pressKeys(&window, QKeySequence("Ctrl+T"));
    QVERIFY2(script.unexpected.isEmpty(), qPrintable(script.unexpected.join('\n')));
    QVERIFY(script.finished());
    QCOMPARE(script.boxes.value(1).text, QStringLiteral("Send data OK."));
    QCOMPARE(device.controller.sendsCompleted(), 1);
    VERIFY_SCENES(device.controller.scenes(), expected, NameCheck::Text);

    pressKeys(&window, QKeySequence("Ctrl+N"));
    VERIFY_SCENES(window.document().scenes(), renewed, NameCheck::Bytes);
    QVERIFY(!window.document().modified()); // the refills stored only what the records hold
    script.press("Yes").press("OK");
    pressKeys(&window, QKeySequence("Ctrl+L"));
    QVERIFY2(script.unexpected.isEmpty(), qPrintable(script.unexpected.join('\n')));
    QVERIFY(script.finished());
    QCOMPARE(script.boxes.value(2).text, QStringLiteral("Are you sure to read data from device?"));
    QCOMPARE(script.boxes.value(3).text, QStringLiteral("Read data OK."));
    QCOMPARE(device.controller.readsCompleted(), 3); // the send's backup and check, then this read
    VERIFY_SCENES(window.document().scenes(), expected, NameCheck::Text);
    QVERIFY(!window.document().modified());
    QCOMPARE(window.findChild<QAbstractButton*>(QStringLiteral("SceneButton1"))->text().left(8), QStringLiteral("LIVE SET"));
}

QTEST_MAIN(TestAcceptance)
#include "tst_acceptance.moc"
