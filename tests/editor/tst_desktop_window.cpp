// The window as a desktop user meets it: scene shortcuts and Tab from the keyboard, names for
// screen readers, its own fonts on a system that has only DejaVu, tooltips of the labels, Open
// Recent, a dropped scene file and the time left of a transfer.
#include "window_test_support.h"
#include "window_user.h"

#include "app/assignment_check.h"
#include "app/recent_files.h"
#include "editor/control_area.h"
#include "scene/scene_file.h"

#include <QAccessible>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMimeData>
#include <QProgressBar>
#include <QTemporaryDir>
#include <QToolButton>
#include <QUrl>

using namespace lumo;
using namespace lumo::window_testing;

namespace {

template <typename T = QWidget>
T* child(const TFormMain& window, const QString& name)
{
    T* found = window.findChild<T*>(name);
    if (!found) qFatal("no element %s", qPrintable(name));
    return found;
}

QString accessibleName(QWidget* widget)
{
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(widget);
    return face ? face->text(QAccessible::Name) : QString();
}

// What a screen reader calls an editor: its name, or for a drop-down list, which Qt names by
// its item on Linux, the label it is labelled by.
QString spokenCaption(QWidget* widget)
{
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(widget);
    if (!face) return {};
    if (face->role() == QAccessible::ComboBox)
        for (const auto& [other, relation] : face->relations(QAccessible::Label)) return other->text(QAccessible::Name);
    return face->text(QAccessible::Name);
}

// What the offered drop of `urls` does: whether the window takes it.
bool takesDrop(TFormMain& window, const QList<QUrl>& urls)
{
    QMimeData data;
    data.setUrls(urls);
    QDragEnterEvent enter(QPoint(400, 300), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&window, &enter);
    return enter.isAccepted();
}

QString saveScenesNamed(const QTemporaryDir& folder, const QString& file, const char* name)
{
    SceneSet scenes;
    SetSceneName(scenes.scene(1), name);
    const QString path = folder.filePath(file);
    if (!SaveSceneFile(path, scenes).ok()) qFatal("cannot write %s", qPrintable(path));
    return path;
}

QStringList recentMenuFiles(const TFormMain& window)
{
    auto* menu = child<QMenu>(window, QStringLiteral("OpenRecent1"));
    emit menu->aboutToShow();
    QStringList files;
    for (QAction* action : menu->actions())
        if (action->data().isValid()) files << action->data().toString();
    return files;
}

} // namespace

class TestDesktopWindow : public QObject {
    Q_OBJECT
private slots:
    void init() { RecentFiles::clear(); }

    void ctrlDigitChoosesTheSceneAsItsButtonDoesAlsoWhileTyping()
    {
        auto window = MakeWindow();
        clickListItem(*window, 5);
        typeInto(*window, QStringLiteral("EditKonbCCNumber"), QStringLiteral("33"));
        pressKeys(child(*window, QStringLiteral("EditKonbCCNumber")), QKeySequence(QStringLiteral("Ctrl+3")));
        QCOMPARE(window->document().currentScene(), 3);
        QVERIFY(child<QToolButton>(*window, QStringLiteral("SceneButton3"))->isChecked());
        QCOMPARE(window->controls().selectedIndex(), 0);
        QVERIFY(child(*window, QStringLiteral("PanelCommon"))->isVisible());
        // The field kept its text and stored it for scene 1 before the switch.
        QCOMPARE(window->document().scenes().scene(1).KonbCCNumber[0], 33);
        pressKeys(child(*window, QStringLiteral("EditSceneName")), QKeySequence(QStringLiteral("Ctrl+4")));
        QCOMPARE(window->document().currentScene(), 4);
        QCOMPARE(child<QLineEdit>(*window, QStringLiteral("EditSceneName"))->text(),
                 QString::fromStdString(SceneName(window->document().scenes().scene(4))));
    }

    void tabGoesDownTheLeftColumnThenTheRightThenToTheList()
    {
        auto window = MakeWindow();
        const QStringList common = {"EditSceneName",        "SelSceneMIDICh",      "SelPianoKeyCh",
                                    "EditBendSpeed",        "EditKeyTrans",        "SelKeyVelocityCurve",
                                    "EditKeyConstVelocity", "SelPadVelocityCurve", "EditPadConstVelocity"};
        QStringList expected;
        for (const QString& name : common)
            if (child(*window, name)->isEnabled()) expected << name;
        expected << QStringLiteral("ControlList");
        child(*window, expected.front())->setFocus(Qt::TabFocusReason);
        QStringList visited{QApplication::focusWidget()->objectName()};
        for (int n = 1; n < expected.size(); ++n) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            visited << QApplication::focusWidget()->objectName();
        }
        QCOMPARE(visited, expected);
    }

    void screenReadersGetCaptionsLabelTextsAndScenes()
    {
        auto window = MakeWindow();
        QCOMPARE(spokenCaption(child(*window, QStringLiteral("EditSceneName"))), QStringLiteral("Scene Name"));
        QCOMPARE(spokenCaption(child(*window, QStringLiteral("SelPianoKeyCh"))), QStringLiteral("Piano Key CC# Ch"));
        QCOMPARE(spokenCaption(child(*window, QStringLiteral("EditKonbCCNumber"))), QStringLiteral("CC Number"));
        QCOMPARE(spokenCaption(child(*window, QStringLiteral("SelPadBehavior"))), QStringLiteral("Pad Behavior"));
        const int cc = window->document().current().KonbCCNumber[0];
        QCOMPARE(accessibleName(child(*window, QStringLiteral("Label35"))), QStringLiteral("Konb-1: CC# %1").arg(cc));
        typeInto(*window, QStringLiteral("EditSceneName"), QStringLiteral("drums"));
        QCOMPARE(accessibleName(child(*window, QStringLiteral("SceneButton1"))), QStringLiteral("Scene 1: DRUMS"));
        QVERIFY(accessibleName(child(*window, QStringLiteral("SceneButton2"))).startsWith(QStringLiteral("Scene 2")));
    }

    // This test runs with a font configuration that knows only DejaVu (main below).
    void bundledFontsKeepTheCaptionsWhole()
    {
        auto window = MakeWindow();
        auto* title = child<QLabel>(*window, QStringLiteral("LabelControl"));
        QCOMPARE(QFontInfo(title->font()).family(), QStringLiteral("Liberation Serif"));
        QVERIFY(QFontMetrics(title->font()).horizontalAdvance(title->text()) <= title->width());
        QCOMPARE(QFontInfo(child(*window, QStringLiteral("EditSceneName"))->font()).family(),
                 QStringLiteral("Liberation Sans"));
        for (QLabel* caption : child(*window, QStringLiteral("PanelCommon"))->findChildren<QLabel*>())
            QVERIFY2(caption->sizeHint().width() <= 136 - caption->x() || caption->x() > 136, qPrintable(caption->text()));
    }

    void labelTooltipsSayWhatTheControlSends()
    {
        auto window = MakeWindow();
        window->document().editCurrent([](SceneRecord& record) {
            record.KonbEnable[0] = 1;
            record.KonbCCNumber[0] = 20;
            record.KonbLLValue[0] = 0;
            record.KonbURValue[0] = 127;
            record.MIDICh[0] = 0;
            record.PadAssignType[2] = 2;
            record.PadCCNumber[2] = 38;
            record.PadMIDICh[2] = 9;
            record.KonbEnable[1] = 0;
        });
        window->controls().showSelectedControl();
        QCOMPARE(child(*window, QStringLiteral("Label35"))->toolTip(), QStringLiteral("Konb-1: CC 20 on channel 1, 0\u2013127"));
        QCOMPARE(child(*window, QStringLiteral("Label45"))->toolTip(), QStringLiteral("Trigger Pad-3: Note 38 on channel 10"));
        QCOMPARE(child(*window, QStringLiteral("Label36"))->toolTip(), QStringLiteral("Konb-2: off"));
        // The check names a shared message in the same words.
        window->document().editCurrent([](SceneRecord& record) {
            record.PadAssignType[3] = 2;
            record.PadCCNumber[3] = 38;
            record.PadMIDICh[3] = 9;
        });
        QVERIFY(CheckAssignments(window->document().scenes())
                    .contains(QStringLiteral("scene 1: Trigger Pad-3 and Trigger Pad-4 both send note 38 on channel 10")));
    }

    void openRecentListsOpenedAndSavedFilesNewestFirst()
    {
        QTemporaryDir folder;
        const QString first = saveScenesNamed(folder, QStringLiteral("first.lumo"), "FIRST");
        const QString second = saveScenesNamed(folder, QStringLiteral("second.lumo"), "SECOND");
        auto window = MakeWindow();
        window->openFile(first);
        window->openFile(second);
        window->openFile(first);
        {
            ModalScript script;
            script.choose(folder.filePath(QStringLiteral("saved.lumo")));
            window->saveDocumentAs();
            QVERIFY(script.finished() && script.unexpected.isEmpty());
        }
        QCOMPARE(recentMenuFiles(*window), QStringList({folder.filePath(QStringLiteral("saved.lumo")), first, second}));
        QVERIFY(QFile::remove(first));
        QCOMPARE(recentMenuFiles(*window), QStringList({folder.filePath(QStringLiteral("saved.lumo")), second}));
        QCOMPARE(RecentFiles::files().size(), 2); // dropped from the settings too

        // Choosing one asks about unsaved edits first, then opens it.
        MakeUnsavedEdit(window->document());
        ModalScript script;
        script.press(QStringLiteral("No"));
        child<QMenu>(*window, QStringLiteral("OpenRecent1"))->findChild<QAction*>(QStringLiteral("RecentFile2"))->trigger();
        QVERIFY(script.finished() && script.unexpected.isEmpty());
        QCOMPARE(script.boxes.at(0).text, QStringLiteral("Do you want to save changes?"));
        QCOMPARE(SceneName(window->document().scenes().scene(1)), std::string("SECOND"));
        QCOMPARE(recentMenuFiles(*window).front(), second);

        for (int n = 0; n < 12; ++n) RecentFiles::add(folder.filePath(QStringLiteral("%1.lumo").arg(n)));
        QCOMPARE(RecentFiles::files().size(), RecentFiles::kMaxFiles);
        QCOMPARE(RecentFiles::files().front(), folder.filePath(QStringLiteral("11.lumo")));
        child<QMenu>(*window, QStringLiteral("OpenRecent1"))->findChild<QAction*>(QStringLiteral("ClearRecent1"))->trigger();
        QVERIFY(recentMenuFiles(*window).isEmpty());
    }

    void oneDroppedSceneFileOpensAfterTheSaveQuestion()
    {
        QTemporaryDir folder;
        const QString dropped = saveScenesNamed(folder, QStringLiteral("dropped.lumo"), "DROPPED");
        const QString other = saveScenesNamed(folder, QStringLiteral("other.lumo"), "OTHER");
        QFile text(folder.filePath(QStringLiteral("notes.txt")));
        QVERIFY(text.open(QIODevice::WriteOnly));
        text.close();
        auto window = MakeWindow();
        const QUrl url = QUrl::fromLocalFile(dropped);
        QVERIFY(takesDrop(*window, {url}));
        QVERIFY(!takesDrop(*window, {url, QUrl::fromLocalFile(other)}));
        QVERIFY(!takesDrop(*window, {QUrl::fromLocalFile(folder.path())}));
        QVERIFY(!takesDrop(*window, {QUrl::fromLocalFile(text.fileName())}));
        QVERIFY(!takesDrop(*window, {QUrl(QStringLiteral("https://example.org/x.lumo"))}));

        MakeUnsavedEdit(window->document());
        ModalScript script;
        script.press(QStringLiteral("No"));
        QMimeData data;
        data.setUrls({url});
        QDropEvent drop(QPointF(400, 300), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(window.get(), &drop);
        QVERIFY(drop.isAccepted());
        QTRY_COMPARE(SceneName(window->document().scenes().scene(1)), std::string("DROPPED"));
        QVERIFY(script.finished() && script.unexpected.isEmpty());
        QCOMPARE(script.boxes.at(0).text, QStringLiteral("Do you want to save changes?"));
    }

    void theBarTellsTheTimeLeftOnceTheFirstBytesHaveTravelled()
    {
        SceneSet deviceScenes;
        SimulatedController device(deviceScenes);
        auto window = MakeWindow(&device.ports);
        auto* bar = child<QProgressBar>(*window, QStringLiteral("ProgressBar1"));
        const QRect place = bar->geometry();
        QStringList texts;
        connect(bar, &QProgressBar::valueChanged, bar, [&] { texts << bar->text(); });
        ModalScript script;
        script.press(QStringLiteral("Yes")).press(QStringLiteral("OK"));
        window->readSceneData();
        waitForCommand(window.get());
        QVERIFY(script.finished() && script.unexpected.isEmpty());
        QVERIFY(texts.size() > 50);
        QVERIFY2(!texts.front().contains(QStringLiteral("left")), qPrintable(texts.front()));
        const QRegularExpression timeLeft(QStringLiteral("^\\d+% \u00b7 about \\d+ s left \u00b7 Esc cancels$"));
        QVERIFY2(timeLeft.match(texts.last()).hasMatch(), qPrintable(texts.last()));
        QCOMPARE(bar->geometry(), place);
        QCOMPARE(bar->format(), QStringLiteral("%p%"));
    }
};

int main(int argc, char* argv[])
{
    // Fonts as on a system with DejaVu alone, and settings of this test's own; both before
    // the application reads them.
    QTemporaryDir home;
    QFile config(home.filePath(QStringLiteral("fonts.conf")));
    if (!config.open(QIODevice::WriteOnly)) return 1;
    config.write(QStringLiteral("<?xml version=\"1.0\"?><!DOCTYPE fontconfig SYSTEM \"fonts.dtd\"><fontconfig>"
                                "<dir>/usr/share/fonts/truetype/dejavu</dir><cachedir>%1</cachedir></fontconfig>")
                     .arg(home.filePath(QStringLiteral("cache")))
                     .toUtf8());
    config.close();
    qputenv("FONTCONFIG_FILE", QFile::encodeName(config.fileName()));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.filePath(QStringLiteral("config"))));
    QApplication app(argc, argv);
    TestDesktopWindow test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_desktop_window.moc"
