// Window tests of the scene buttons and the Common panel: scene switching, the nine
// scene-wide editors with their conversions, and the constant-velocity enabling rule.
#include "control_area_fixture.h"

#include "editor/upper_case_line_edit.h"

#include <QClipboard>
#include <QFrame>
#include <QKeyEvent>
#include <QSignalSpy>

using namespace lumo;
using namespace lumo::test;

class TestControlAreaCommon : public QObject {
    Q_OBJECT

private slots:
    void buttonThatIsDownReturnsToCommon();
    void switchingScenesSelectsCommonAndStoresChangedTexts();
    void sceneNameInCapitalsOnItsButton();
    void sceneNameStoresTwelveCharacters();
    void twelveCharacterNamesFitTheirButtons();
    void namesWithNulPaddingShowAndEditTheVisibleName();
    void sceneNameRefusesCharactersOutsideLatin1();
    void constCurveEnablesItsEditorOnly();
    void storedValuesOfTheCommonEditors();
    void shownValuesOfStoredFields();
    void constantVelocityClampsOnFocusOut();
    void focusedEditorStoresIntoItsOwnScene();
};

void TestControlAreaCommon::buttonThatIsDownReturnsToCommon()
{
    ControlAreaFixture f;
    f.select(14);
    f.clickScene(1);
    QVERIFY(f.find<QToolButton>("SceneButton1")->isChecked());
    QCOMPARE(f.document.currentScene(), 1);
    QCOMPARE(f.area->selectedIndex(), 0);
    QCOMPARE(f.area->controlKind(), ControlKind::Common);
    QVERIFY(f.find<QFrame>("PanelCommon")->isVisible());
    QVERIFY(!f.label(14)->selectedLook());
}

void TestControlAreaCommon::switchingScenesSelectsCommonAndStoresChangedTexts()
{
    ControlAreaFixture f;
    f.scene(3).PadAssignType[0] = 1;
    f.select(30);
    f.clickScene(3);
    QCOMPARE(f.document.currentScene(), 3);
    QVERIFY(f.find<QToolButton>("SceneButton3")->isChecked());
    QVERIFY(!f.find<QToolButton>("SceneButton1")->isChecked());
    QCOMPARE(f.area->selectedIndex(), 0);
    QVERIFY(f.find<QFrame>("PanelCommon")->isVisible());
    QCOMPARE(f.find<UpperCaseLineEdit>("EditSceneName")->text(), QStringLiteral("SCENE3"));
    QVERIFY(!f.document.modified()); // the shown name was stored back unchanged
    QCOMPARE(SceneCaption(f.scene(3)), QStringLiteral("SCENE3"));
    // The overlay now shows scene 3.
    f.choose("SelDisp", 1);
    QCOMPARE(f.label(13)->text(), QStringLiteral("Control Change"));

    // Two scenes with the same texts: switching stores nothing.
    SetSceneName(f.scene(4), "SCENE3");
    f.document.markClean();
    f.clickScene(4);
    QVERIFY(!f.document.modified());
    QCOMPARE(f.document.currentScene(), 4);
}

void TestControlAreaCommon::sceneNameInCapitalsOnItsButton()
{
    ControlAreaFixture f;
    auto* name = f.find<UpperCaseLineEdit>("EditSceneName");
    f.typeInto(name, "abc");
    QCOMPARE(name->text(), QStringLiteral("ABC"));
    QCOMPARE(SceneCaption(f.scene(1)), QStringLiteral("ABC"));
    QCOMPARE(f.find<QToolButton>("SceneButton1")->text(), QStringLiteral("ABC"));
    QVERIFY(f.document.modified());

    name->clear();
    QCOMPARE(f.scene(1).SceneNameLength, 0);
    QCOMPARE(f.find<QToolButton>("SceneButton1")->text(), QString());
}

void TestControlAreaCommon::sceneNameStoresTwelveCharacters()
{
    ControlAreaFixture f;
    auto* name = f.find<UpperCaseLineEdit>("EditSceneName");
    f.typeInto(name, "abcdefghijklmno");
    QCOMPARE(name->text(), QStringLiteral("ABCDEFGHIJKLMNO"));
    QCOMPARE(f.scene(1).SceneNameLength, 12);
    QCOMPARE(SceneCaption(f.scene(1)), QStringLiteral("ABCDEFGHIJKL"));
    QCOMPARE(f.find<QToolButton>("SceneButton1")->text(), QStringLiteral("ABCDEFGHIJKL"));
    f.clickScene(2);
    f.clickScene(1);
    QCOMPARE(name->text(), QStringLiteral("ABCDEFGHIJKL"));
}

void TestControlAreaCommon::twelveCharacterNamesFitTheirButtons()
{
    ControlAreaFixture f;
    SetSceneName(f.scene(2), "ABCDEFGHIJKL");
    SetSceneName(f.scene(3), "WWWWWWWWWWWW");
    f.clickScene(1);
    for (int s = 1; s <= 3; ++s) {
        auto* button = f.find<QToolButton>(QStringLiteral("SceneButton%1").arg(s).toLatin1().constData());
        QVERIFY2(QFontMetrics(button->font()).horizontalAdvance(button->text()) <= button->width() - 4,
                 qPrintable(button->text()));
    }
    QCOMPARE(f.find<QToolButton>("SceneButton1")->font().pixelSize(), 14); // only a caption that needs it
}

void TestControlAreaCommon::namesWithNulPaddingShowAndEditTheVisibleName()
{
    ControlAreaFixture f;
    SetSceneName(f.scene(2), std::string_view("SECOND\0\0\0\0\0\0", 12)); // as read from the controller
    f.clickScene(2);
    auto* name = f.find<UpperCaseLineEdit>("EditSceneName");
    auto* button = f.find<QToolButton>("SceneButton2");
    QCOMPARE(name->text(), QStringLiteral("SECOND"));
    QCOMPARE(button->text(), QStringLiteral("SECOND"));
    QCOMPARE(f.scene(2).SceneNameLength, 12); // showing it changes nothing
    name->setFocus();
    name->end(false);
    QTest::keyClicks(name, "x");
    QCOMPARE(SceneName(f.scene(2)), std::string("SECONDX"));
    QCOMPARE(button->text(), QStringLiteral("SECONDX"));
}

void TestControlAreaCommon::sceneNameRefusesCharactersOutsideLatin1()
{
    ControlAreaFixture f;
    auto* name = f.find<UpperCaseLineEdit>("EditSceneName");
    QSignalSpy refused(name, &QLineEdit::inputRejected); // what sounds the beep
    name->setFocus();
    name->selectAll();
    for (const QChar c : QStringLiteral("\u00e9\u20ac")) {
        QKeyEvent key(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(name, &key);
    }
    QGuiApplication::clipboard()->setText(QStringLiteral("A\u20acB"));
    name->paste();
    QCOMPARE(name->text(), QStringLiteral("\u00c9"));
    QCOMPARE(SceneCaption(f.scene(1)), QStringLiteral("\u00c9"));
    QCOMPARE(refused.count(), 2);
}

void TestControlAreaCommon::constCurveEnablesItsEditorOnly()
{
    ControlAreaFixture f;
    NumberEditor* keyConst = f.number("EditKeyConstVelocity");
    NumberEditor* padConst = f.number("EditPadConstVelocity");
    QVERIFY(!keyConst->isEnabled());
    QVERIFY(!padConst->isEnabled());
    f.choose("SelKeyVelocityCurve", 3);
    QCOMPARE(f.scene(1).KeyVelocityCurve, 3);
    QVERIFY(keyConst->isEnabled());
    QVERIFY(!padConst->isEnabled());
    f.choose("SelPadVelocityCurve", 3);
    QVERIFY(padConst->isEnabled());
    f.choose("SelKeyVelocityCurve", 2);
    QCOMPARE(f.scene(1).KeyVelocityCurve, 2);
    QVERIFY(!keyConst->isEnabled());
    QVERIFY(padConst->isEnabled());
    QCOMPARE(keyConst->text(), QStringLiteral("100")); // disabled, still showing its value
    f.choose("SelPadVelocityCurve", 0);
    QCOMPARE(f.scene(1).PadVelocityCurve, 0);
    QVERIFY(!padConst->isEnabled());
}

void TestControlAreaCommon::storedValuesOfTheCommonEditors()
{
    ControlAreaFixture f;
    SceneRecord& r = f.scene(1);
    f.typeInto(f.number("EditBendSpeed"), "4");
    QCOMPARE(r.BendSpeed, 3);
    f.typeInto(f.number("EditKeyTrans"), "-12");
    QCOMPARE(r.KeyTrans, 1);
    f.typeInto(f.number("EditKeyTrans"), "12");
    QCOMPARE(r.KeyTrans, 25);
    f.typeInto(f.number("EditKeyTrans"), "-");
    QCOMPARE(r.KeyTrans, 1); // a lone sign reads as the lower bound -12
    f.choose("SelSceneMIDICh", 15);
    QCOMPARE(r.SceneMIDICh, 15);
    QCOMPARE(f.choice("SelSceneMIDICh")->currentText(), QStringLiteral("16"));
    f.choose("SelPianoKeyCh", 16);
    QCOMPARE(r.PianoKeyCh, 16);
    QCOMPARE(f.choice("SelPianoKeyCh")->currentText(), QStringLiteral("Global"));
    f.choose("SelKeyVelocityCurve", 3);
    f.typeInto(f.number("EditKeyConstVelocity"), "64");
    QCOMPARE(r.KeyConstVelocity, 64);
    f.choose("SelPadVelocityCurve", 3);
    f.typeInto(f.number("EditPadConstVelocity"), "5");
    QCOMPARE(r.PadConstVelocity, 5);
    f.typeInto(f.number("EditBendSpeed"), "x"); // refused: the text stays "4"
    QCOMPARE(r.BendSpeed, 3);
    f.number("EditBendSpeed")->clear();
    QCOMPARE(r.BendSpeed, 0); // no number reads as speed 1
    QVERIFY(f.document.modified());
}

void TestControlAreaCommon::shownValuesOfStoredFields()
{
    ControlAreaFixture f;
    SceneRecord& r = f.scene(2);
    r.KeyTrans = 0;
    r.BendSpeed = 41;
    r.KeyConstVelocity = 300;
    r.SceneMIDICh = 16; // no item in the 16-item list
    r.PianoKeyCh = 16;
    r.KeyVelocityCurve = 3;
    r.PadVelocityCurve = 8;
    f.clickScene(2);
    QCOMPARE(f.number("EditKeyTrans")->text(), QStringLiteral("-12"));
    QCOMPARE(r.KeyTrans, 1); // the clamped value is stored back
    QCOMPARE(f.number("EditBendSpeed")->text(), QStringLiteral("42"));
    QCOMPARE(r.BendSpeed, 41);
    QCOMPARE(f.number("EditKeyConstVelocity")->text(), QStringLiteral("300"));
    QCOMPARE(r.KeyConstVelocity, 300);
    QCOMPARE(f.choice("SelSceneMIDICh")->currentIndex(), -1);
    QCOMPARE(f.choice("SelPianoKeyCh")->currentText(), QStringLiteral("Global"));
    QVERIFY(f.number("EditKeyConstVelocity")->isEnabled());
    QVERIFY(!f.number("EditPadConstVelocity")->isEnabled());
}

void TestControlAreaCommon::constantVelocityClampsOnFocusOut()
{
    ControlAreaFixture f;
    f.choose("SelPadVelocityCurve", 3);
    NumberEditor* padConst = f.number("EditPadConstVelocity");
    f.typeInto(padConst, "200");
    QCOMPARE(f.scene(1).PadConstVelocity, 200);
    f.leaveField();
    QCOMPARE(padConst->text(), QStringLiteral("127"));
    QCOMPARE(f.scene(1).PadConstVelocity, 127);

    f.typeInto(f.number("EditBendSpeed"), "9");
    QCOMPARE(f.scene(1).BendSpeed, 8);
    f.leaveField();
    QCOMPARE(f.scene(1).BendSpeed, 3);
}

void TestControlAreaCommon::focusedEditorStoresIntoItsOwnScene()
{
    // A scene button takes no focus; the out-of-range number typed for scene 1 is clamped
    // and stored in scene 1 before scene 2 is shown, never into scene 2.
    ControlAreaFixture f;
    f.choose("SelKeyVelocityCurve", 3);
    f.typeInto(f.number("EditKeyConstVelocity"), "150");
    const std::int32_t scene2 = f.scene(2).KeyConstVelocity;
    f.clickScene(2);
    QCOMPARE(f.scene(1).KeyConstVelocity, 127);
    QCOMPARE(f.scene(2).KeyConstVelocity, scene2);

    // The same through an overlay label, which takes no focus either.
    f.clickScene(1);
    f.select(5);
    f.typeInto(f.number("EditKonbCCNumber"), "140");
    QTest::mouseClick(f.label(6), Qt::LeftButton);
    QCOMPARE(f.scene(1).KonbCCNumber[0], 127);
}

QTEST_MAIN(TestControlAreaCommon)
#include "tst_control_area_common.moc"
