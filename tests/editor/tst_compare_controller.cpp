// Window test of "Compare With Controller": the differences from the controller's scenes in the
// box, the first 15 shown and the rest under "Show Details...", and the document, its flag and
// the undo history as they were; the same scenes say so.
#include "window_test_support.h"
#include "window_user.h"

#include "scene/parameter_files.h"

using namespace lumo;
using namespace lumo::window_testing;

class TestCompareController : public QObject {
    Q_OBJECT
private slots:
    void differencesShownAndTheDocumentUntouched()
    {
        SceneSet deviceScenes;
        ApplyDefaults(BuiltInParameterFiles().defaults, deviceScenes);
        // 18 differences: 17 key numbers of scene 2, and the name of scene 4.
        for (int k = 0; k < 17; ++k) deviceScenes.scene(2).KeyCCNumber[k] = 100 + k;
        SetSceneName(deviceScenes.scene(4), "ON DEVICE");
        SimulatedController device(deviceScenes);
        auto window = MakeWindow(&device.ports);
        Document& document = window->document();
        MakeUnsavedEdit(document);
        const SceneSet before = document.scenes();
        auto* undo = widgetNamed<QAction>(*window, "Undo1");
        QVERIFY(!undo->isEnabled());

        QMessageBox* shown = nullptr;
        QString details;
        ModalScript script;
        script.then([&](QWidget* w) {
            shown = qobject_cast<QMessageBox*>(w);
            details = shown ? shown->detailedText() : QString();
            QMetaObject::invokeMethod(w, "accept", Qt::QueuedConnection);
        });
        triggerCommand(window.get(), widgetNamed<QAction>(*window, "CompareWithController1"));
        QVERIFY(script.finished() && script.unexpected.isEmpty());
        QCOMPARE(script.boxes.size(), 1);
        const QStringList lines = script.boxes[0].text.split('\n');
        QCOMPARE(lines.first(), QStringLiteral("18 settings differ (here -> in the controller):"));
        QCOMPARE(lines.size(), 1 + 15 + 1);
        QCOMPARE(lines[1], QStringLiteral("scene 2, Key-1, KeyCCNumber: 48 -> 100"));
        QCOMPARE(lines.last(), QStringLiteral("... and 3 more (Show Details...)"));
        QCOMPARE(details, QStringLiteral("scene 2, Key-16, KeyCCNumber: 63 -> 115\n"
                                         "scene 2, Key-17, KeyCCNumber: 64 -> 116\n"
                                         "scene 4, Common, SceneName: \"SCENE4\" -> \"ON DEVICE\""));

        QVERIFY(document.scenes() == before);
        QVERIFY(document.modified());
        QVERIFY(!undo->isEnabled());

        // The controller's scenes taken into the document: nothing differs any more.
        document.replaceScenes(deviceScenes);
        ModalScript same;
        same.press("OK");
        triggerCommand(window.get(), widgetNamed<QAction>(*window, "CompareWithController1"));
        QVERIFY(same.finished() && same.unexpected.isEmpty());
        QCOMPARE(same.boxes.value(0).text, QStringLiteral("The controller holds the same scenes."));
    }
};

QTEST_MAIN(TestCompareController)
#include "tst_compare_controller.moc"
