// Window tests of the control list, the parameter panels, the editors' storing and the
// overlay labels, driven through the widgets by their object names.
#include "control_area_fixture.h"

#include "editor/split_arrow_button.h"

#include <QClipboard>
#include <QFrame>
#include <QMimeData>
#include <QSignalSpy>
#include <QStyleOptionComboBox>
#include <QLabel>
#include <QTimer>

#include <cstring>

using namespace lumo;
using namespace lumo::test;

class TestControlArea : public QObject {
    Q_OBJECT

private slots:
    void placesElementsAtTheirPositions();
    void startsOnCommonWithoutHighlight();
    void konbPanelStoresByControlIndex();
    void disabledEditorsStillShowTheirValues();
    void refillSetsFlagOnlyWhenATextChanges();
    void outOfRangeRecordShowsAndStoresBound();
    void typingStoresEachKeystroke();
    void typingFilterAndFocusClamp();
    void arrowButtonSplitsAlongTheDiagonal();
    void cursorKeysStepWithinRange();
    void padAssignmentSwitch();
    void padArrowsAtTheirLimits();
    void padNoteTypedInAnyCase();
    void padAndKeyEnablingRules();
    void groupAndKeyHandlersStoreTheirElement();
    void displayModesOnEveryKind();
    void labelClickSelectsAndHighlights();
    void listClickRunsSelection();
    void damagedValuesShowDashesWithoutCrash();
    void numberEditorsRefusePastedAndDroppedText();
    void wheelChangesADropDownListOnlyWithFocus();
    void displaySelectListShowsItsItemsWhole();
    void overlayTextsStayInsideTheirLabels();
};

void TestControlArea::placesElementsAtTheirPositions()
{
    ControlAreaFixture f;
    QCOMPARE(f.find<QListWidget>("ControlList")->geometry(), QRect(25, 356, 145, 166));
    auto* list = f.find<QListWidget>("ControlList");
    QCOMPARE(list->count(), 46);
    QCOMPARE(list->visualItemRect(list->item(0)).height(), 16);
    QCOMPARE(list->item(45)->text(), QStringLiteral("Key-25"));
    QCOMPARE(f.find<QLabel>("DispCaption")->text(), QStringLiteral("Display Select"));
    QCOMPARE(f.find<QLabel>("DispCaption")->geometry(), QRect(517, 4, 96, 20));
    for (const char* panel : {"PanelCommon", "PanelGroup", "PanelKonb", "PanelPad", "PanelKey"})
        QCOMPARE(f.find<QFrame>(panel)->geometry(), QRect(175, 356, 583, 166));
    QCOMPARE(f.choice("SelDisp")->geometry(), QRect(616, 1, 137, 24));
    QCOMPARE(f.choice("SelDisp")->count(), 8);
    QCOMPARE(f.number("EditKonbLLValue")->geometry(), QRect(136, 104, 145, 24));
    QCOMPARE(f.choice("SelPadMIDICh")->geometry(), QRect(392, 72, 145, 24));
    QCOMPARE(f.find<PadNumberField>("EditPadCCNumber")->geometry(), QRect(136, 40, 124, 24));
    QCOMPARE(f.find<SplitArrowButton>("RxSpinButton1")->geometry(), QRect(259, 41, 21, 23));
    QCOMPARE(f.number("EditPadConstVelocity")->geometry(), QRect(418, 136, 145, 24));
    QCOMPARE(f.find<QWidget>("SceneButtonStrip")->geometry(), QRect(43, 0, 361, 27));
    QCOMPARE(f.find<QToolButton>("SceneButton3")->geometry(), QRect(181, 1, 89, 25));
    QCOMPARE(f.label(1)->geometry(), QRect(168, 139, 46, 36));   // Label31, group 1
    QCOMPARE(f.label(8)->geometry(), QRect(343, 40, 46, 36));    // Label38, knob 4
    QCOMPARE(f.label(14)->geometry(), QRect(488, 43, 66, 46));   // Label44, pad 2
    QCOMPARE(f.label(20)->geometry(), QRect(658, 104, 65, 46));  // Label50, pad 8
    QCOMPARE(f.label(21)->geometry(), QRect(71, 279, 39, 49));   // Label51, key 1 (white)
    QCOMPARE(f.label(22)->geometry(), QRect(88, 202, 42, 48));   // Label52, key 2 (black)
    QCOMPARE(f.label(45)->geometry(), QRect(679, 279, 39, 49));  // Label75, key 25 (white)
    QCOMPARE(f.label(22)->palette().color(QPalette::WindowText), QColor(0, 255, 0));
    QCOMPARE(f.label(21)->palette().color(QPalette::WindowText), QColor(Qt::black));
    QCOMPARE(f.label(13)->palette().color(QPalette::WindowText), QColor(Qt::black));
}

void TestControlArea::startsOnCommonWithoutHighlight()
{
    ControlAreaFixture f;
    QCOMPARE(f.area->selectedIndex(), 0);
    QCOMPARE(f.area->controlKind(), ControlKind::Common);
    QCOMPARE(f.area->displayMode(), 2);
    QVERIFY(f.find<QFrame>("PanelCommon")->isVisible());
    QVERIFY(!f.find<QFrame>("PanelPad")->isVisible());
    for (int i = 1; i <= 45; ++i) QVERIFY(!f.label(i)->selectedLook());
    QCOMPARE(f.find<QFrame>("SelectFrame")->x(), -100);
    QVERIFY(!f.document.modified());
    QCOMPARE(f.find<QToolButton>("SceneButton2")->text(), QStringLiteral("SCENE2"));
}

void TestControlArea::konbPanelStoresByControlIndex()
{
    ControlAreaFixture f;
    f.current().SliderEnable[1] = 1;
    f.select(10); // "Slider-2"
    QVERIFY(f.find<QFrame>("PanelKonb")->isVisible());
    QCOMPARE(f.area->controlKind(), ControlKind::Slider);
    const std::int32_t knobEnable = f.current().KonbEnable[1];
    f.choose("SelKonbEnable", 0);
    QCOMPARE(f.current().SliderEnable[1], 0);
    QCOMPARE(f.current().KonbEnable[1], knobEnable);
    QVERIFY(!f.number("EditKonbCCNumber")->isEnabled());
    QVERIFY(!f.number("EditKonbURValue")->isEnabled());
    QVERIFY(!f.number("EditKonbLLValue")->isEnabled());
    QVERIFY(f.document.modified());

    f.select(7); // "Konb-3"
    f.typeInto(f.number("EditKonbURValue"), "99");
    QCOMPARE(f.current().KonbURValue[2], 99);
    QCOMPARE(f.current().SliderURValue[2], 127);
    f.select(11); // "Slider-3"
    QCOMPARE(f.number("EditKonbURValue")->text(), QStringLiteral("127"));
    f.typeInto(f.number("EditKonbLLValue"), "5");
    QCOMPARE(f.current().SliderLLValue[2], 5);
    QCOMPARE(f.current().KonbLLValue[2], 0);

    // With a group selected behind the panel's back, the knob handlers store nothing, so
    // nothing is left to save.
    const SceneRecord before = f.current();
    f.area->setSelectedIndex(2);
    f.document.markClean();
    f.typeInto(f.number("EditKonbLLValue"), "77");
    QVERIFY(!f.document.modified());
    QCOMPARE(std::memcmp(&before, &f.current(), sizeof before), 0);
}

void TestControlArea::disabledEditorsStillShowTheirValues()
{
    ControlAreaFixture f;
    f.current().KonbEnable[0] = 0;
    f.current().KonbCCNumber[0] = 33;
    f.current().KonbURValue[0] = 101;
    f.current().KonbLLValue[0] = 7;
    f.select(5);
    QCOMPARE(f.choice("SelKonbEnable")->currentText(), QStringLiteral("Disable"));
    QVERIFY(f.choice("SelKonbEnable")->isEnabled());
    QCOMPARE(f.number("EditKonbCCNumber")->text(), QStringLiteral("33"));
    QCOMPARE(f.number("EditKonbURValue")->text(), QStringLiteral("101"));
    QCOMPARE(f.number("EditKonbLLValue")->text(), QStringLiteral("7"));
    QVERIFY(!f.number("EditKonbCCNumber")->isEnabled());

    // Key-1 disabled by default: the four editors greyed but filled.
    f.current().KeyCCNumber[0] = 48;
    f.select(21);
    QVERIFY(!f.number("EditKeyCCNumber")->isEnabled());
    QVERIFY(!f.choice("SelKeyBehavior")->isEnabled());
    QCOMPARE(f.number("EditKeyCCNumber")->text(), QStringLiteral("48"));
}

void TestControlArea::refillSetsFlagOnlyWhenATextChanges()
{
    ControlAreaFixture f;
    SceneRecord& r = f.current();
    r.KeyCCNumber[0] = r.KeyCCNumber[1] = 60;
    r.KeyONValue[0] = r.KeyONValue[1] = 100;
    r.KeyOFFValue[0] = r.KeyOFFValue[1] = 1;
    r.KeyAssignType[1] = 1; // drop-down values differ: they never store
    f.select(21);
    f.document.markClean();
    f.select(22);
    QVERIFY(!f.document.modified());
    QCOMPARE(f.choice("SelKeyAssignType")->currentIndex(), 1);
    f.select(22); // the same item again: same display, nothing stored
    QVERIFY(!f.document.modified());

    // A changed text stores back the value the record holds: still nothing to save.
    r.KeyONValue[2] = 90;
    f.select(23);
    QVERIFY(!f.document.modified());
    QCOMPARE(r.KeyONValue[2], 90);
}

void TestControlArea::outOfRangeRecordShowsAndStoresBound()
{
    ControlAreaFixture f;
    f.current().KonbCCNumber[0] = 200;
    f.current().KonbCCNumber[1] = 200;
    f.select(5);
    QCOMPARE(f.number("EditKonbCCNumber")->text(), QStringLiteral("127"));
    QCOMPARE(f.current().KonbCCNumber[0], 127);
    QVERIFY(f.document.modified());

    // The field already shows "127": no change, so the record keeps 200.
    f.current().KonbCCNumber[2] = 127;
    f.select(7);
    f.select(6);
    QCOMPARE(f.current().KonbCCNumber[1], 200);
}

void TestControlArea::typingStoresEachKeystroke()
{
    ControlAreaFixture f;
    f.select(5);
    NumberEditor* cc = f.number("EditKonbCCNumber");
    f.typeInto(cc, "6");
    QCOMPARE(f.current().KonbCCNumber[0], 6);
    QVERIFY(f.document.modified());
    QCOMPARE(f.label(5)->text(), QStringLiteral("CC#\n6"));
    f.document.markClean();
    QTest::keyClicks(cc, "4");
    QCOMPARE(f.current().KonbCCNumber[0], 64);
    QVERIFY(f.document.modified());
    QCOMPARE(f.label(5)->text(), QStringLiteral("CC#\n64"));

    // Emptying the field reads as the lower bound.
    QTest::keyClick(cc, Qt::Key_Backspace);
    QTest::keyClick(cc, Qt::Key_Backspace);
    QCOMPARE(cc->text(), QString());
    QCOMPARE(f.current().KonbCCNumber[0], 0);
    QTest::keyClicks(cc, "-");
    QCOMPARE(f.current().KonbCCNumber[0], 0);
    f.leaveField();
    QCOMPARE(cc->text(), QStringLiteral("-")); // a non-number is within range: left as typed
}

void TestControlArea::typingFilterAndFocusClamp()
{
    ControlAreaFixture f;
    f.select(5);
    NumberEditor* cc = f.number("EditKonbCCNumber");
    f.typeInto(cc, "1a2 .x");
    QCOMPARE(cc->text(), QStringLiteral("12"));
    f.typeInto(cc, "200");
    QCOMPARE(cc->text(), QStringLiteral("200"));
    QCOMPARE(f.current().KonbCCNumber[0], 200);
    f.leaveField();
    QCOMPARE(cc->text(), QStringLiteral("127"));
    QCOMPARE(f.current().KonbCCNumber[0], 127);

    f.typeInto(cc, "-5");
    QCOMPARE(f.current().KonbCCNumber[0], -5);
    f.leaveField();
    QCOMPARE(cc->text(), QStringLiteral("0"));
    QCOMPARE(f.current().KonbCCNumber[0], 0);
}

void TestControlArea::arrowButtonSplitsAlongTheDiagonal()
{
    ControlAreaFixture f;
    f.current().KonbURValue[0] = 126;
    f.select(5);
    NumberEditor* ur = f.number("EditKonbURValue");
    SplitArrowButton* arrows = ur->arrows();
    const QRect r = arrows->rect();
    QCOMPARE(arrows->stepAt(QPoint(1, 1)), 1);
    QCOMPARE(arrows->stepAt(QPoint(r.width() - 2, r.height() - 2)), -1);
    QCOMPARE(arrows->stepAt(QPoint(r.width() - 3, 2)), 1);   // upper right, above the diagonal
    QCOMPARE(arrows->stepAt(QPoint(r.width() / 4, r.height() - 1)), -1); // lower left, below it

    f.leaveField();
    QTest::mouseClick(arrows, Qt::LeftButton, {}, QPoint(1, 1));
    QCOMPARE(ur->text(), QStringLiteral("127"));
    QCOMPARE(f.current().KonbURValue[0], 127);
    QVERIFY(ur->hasFocus());
    f.document.markClean();
    QTest::mouseClick(arrows, Qt::LeftButton, {}, QPoint(1, 1)); // at the bound: nothing
    QVERIFY(!f.document.modified());
    QTest::mouseClick(arrows, Qt::LeftButton, {}, QPoint(r.width() - 2, r.height() - 2));
    QCOMPARE(f.current().KonbURValue[0], 126);

    // Holding the down arrow: one step at once, the repeats after the first delay come at the
    // shorter interval; releasing stops them.
    auto* timer = arrows->findChild<QTimer*>("RepeatTimer");
    QVERIFY(timer);
    QTest::mousePress(arrows, Qt::LeftButton, {}, QPoint(r.width() - 2, r.height() - 2));
    QCOMPARE(f.current().KonbURValue[0], 125);
    QVERIFY(timer->isActive());
    QCOMPARE(timer->interval(), SplitArrowButton::kFirstRepeatMs);
    QTRY_VERIFY_WITH_TIMEOUT(f.current().KonbURValue[0] <= 123, 5000);
    QCOMPARE(timer->interval(), SplitArrowButton::kRepeatMs);
    QTest::mouseRelease(arrows, Qt::LeftButton, {}, QPoint(r.width() - 2, r.height() - 2));
    QVERIFY(!timer->isActive());
}

void TestControlArea::cursorKeysStepWithinRange()
{
    ControlAreaFixture f;
    f.select(5);
    NumberEditor* ll = f.number("EditKonbLLValue");
    ll->setFocus();
    QCOMPARE(ll->text(), QStringLiteral("0"));
    f.document.markClean();
    QTest::keyClick(ll, Qt::Key_Down);
    QVERIFY(!f.document.modified());
    QTest::keyClick(ll, Qt::Key_Up);
    QCOMPARE(f.current().KonbLLValue[0], 1);
    f.typeInto(ll, "300");
    QTest::keyClick(ll, Qt::Key_Down);
    QCOMPARE(ll->text(), QStringLiteral("127"));
    QCOMPARE(f.current().KonbLLValue[0], 127);
}

void TestControlArea::padAssignmentSwitch()
{
    ControlAreaFixture f;
    SceneRecord& r = f.current();
    r.PadAssignType[0] = 1;
    r.PadCCNumber[0] = 125;
    f.select(13);
    auto* field = f.find<PadNumberField>("EditPadCCNumber");
    QCOMPARE(field->text(), QStringLiteral("125"));
    f.choose("SelPadAssignType", 2);
    QCOMPARE(field->text(), f.files.notes.name(120)->toUpper());
    QCOMPARE(r.PadCCNumber[0], 120);
    QCOMPARE(r.PadAssignType[0], 2);
    QVERIFY(!f.number("EditPadONValue")->isEnabled());
    f.choose("SelPadAssignType", 1);
    QCOMPARE(field->text(), QStringLiteral("120"));
    QCOMPARE(r.PadCCNumber[0], 120);
    QVERIFY(f.number("EditPadONValue")->isEnabled());

    f.choose("SelPadAssignType", 0);
    QCOMPARE(field->text(), QStringLiteral("120"));
    QCOMPARE(r.PadCCNumber[0], 120);
    QCOMPARE(r.PadAssignType[0], 0);
    QVERIFY(!field->isEnabled());
    QVERIFY(!f.find<SplitArrowButton>("RxSpinButton1")->isEnabled());
    QVERIFY(!f.choice("SelPadBehavior")->isEnabled());
    QVERIFY(!f.choice("SelPadMIDICh")->isEnabled());
    QVERIFY(f.choice("SelPadAssignType")->isEnabled());

    // A "No Assign" pad keeps the text that the field last showed.
    r.PadAssignType[1] = 0;
    r.PadCCNumber[1] = 5;
    f.select(14);
    QCOMPARE(field->text(), QStringLiteral("120"));
    QCOMPARE(r.PadCCNumber[1], 5);
}

void TestControlArea::padArrowsAtTheirLimits()
{
    ControlAreaFixture f;
    SceneRecord& r = f.current();
    auto* field = f.find<PadNumberField>("EditPadCCNumber");
    auto* arrows = f.find<SplitArrowButton>("RxSpinButton1");
    const QPoint up(2, 2), down(arrows->width() - 3, arrows->height() - 3);
    const NoteNames& notes = f.files.notes;

    r.PadAssignType[0] = 1;
    r.PadCCNumber[0] = 127;
    f.select(13);
    f.document.markClean();
    QTest::mouseClick(arrows, Qt::LeftButton, {}, up);
    QCOMPARE(field->text(), QStringLiteral("127"));
    QVERIFY(!f.document.modified());
    QVERIFY(field->hasFocus());
    QTest::mouseClick(arrows, Qt::LeftButton, {}, down);
    QCOMPARE(field->text(), QStringLiteral("126"));
    QCOMPARE(r.PadCCNumber[0], 126);
    QTest::keyClick(field, Qt::Key_Down); // the cursor key steps like the arrow
    QCOMPARE(r.PadCCNumber[0], 125);

    r.PadAssignType[1] = 2;
    r.PadCCNumber[1] = 119;
    f.select(14);
    QCOMPARE(field->text(), notes.name(119)->toUpper());
    f.document.markClean();
    QTest::mouseClick(arrows, Qt::LeftButton, {}, up);
    QCOMPARE(field->text(), notes.name(119)->toUpper());
    QVERIFY(!f.document.modified());

    // Line 120 comes only through the assignment switch; either arrow goes to 119.
    r.PadAssignType[2] = 1;
    r.PadCCNumber[2] = 127;
    f.select(15);
    f.choose("SelPadAssignType", 2);
    QCOMPARE(r.PadCCNumber[2], 120);
    QTest::mouseClick(arrows, Qt::LeftButton, {}, up);
    QCOMPARE(r.PadCCNumber[2], 119);
    f.choose("SelPadAssignType", 1);
    f.choose("SelPadAssignType", 2);
    QCOMPARE(r.PadCCNumber[2], 119);
    r.PadCCNumber[2] = 120;
    f.select(15);
    QCOMPARE(field->text(), notes.name(120)->toUpper());
    QTest::keyClick(field, Qt::Key_Down);
    QCOMPARE(r.PadCCNumber[2], 119);
}

void TestControlArea::padNoteTypedInAnyCase()
{
    ControlAreaFixture f;
    SceneRecord& r = f.current();
    const NoteNames& notes = f.files.notes;
    const int c3 = *notes.number(QStringLiteral("C3"));
    r.PadAssignType[0] = 2;
    f.select(13);
    auto* field = f.find<PadNumberField>("EditPadCCNumber");
    f.typeInto(field, "c3");
    QCOMPARE(field->text(), QStringLiteral("C3"));
    QCOMPARE(r.PadCCNumber[0], c3);
    f.typeInto(field, "zz");
    QCOMPARE(field->text(), QStringLiteral("ZZ"));
    QCOMPARE(r.PadCCNumber[0], 0);
    // A plain number 0..127 is that note; any other number is no note name and stores 0.
    f.typeInto(field, "64");
    QCOMPARE(r.PadCCNumber[0], 64);
    for (const char* other : {"999", "-5", "128"}) {
        f.typeInto(field, other);
        QVERIFY2(r.PadCCNumber[0] == 0, other);
    }

    // "Control Change": typing is not limited to 0..127.
    r.PadAssignType[1] = 1;
    f.select(14);
    f.typeInto(field, "300");
    QCOMPARE(r.PadCCNumber[1], 300);
}

void TestControlArea::padAndKeyEnablingRules()
{
    ControlAreaFixture f;
    SceneRecord& r = f.current();
    r.PadAssignType[0] = 2;
    r.PadCCNumber[0] = 60;
    f.select(13);
    QCOMPARE(f.find<PadNumberField>("EditPadCCNumber")->text(), f.files.notes.name(60)->toUpper());
    QVERIFY(f.find<PadNumberField>("EditPadCCNumber")->isEnabled());
    QVERIFY(!f.number("EditPadONValue")->isEnabled());
    QVERIFY(!f.number("EditPadOFFValue")->isEnabled());
    QVERIFY(f.choice("SelPadBehavior")->isEnabled());

    r.KeyAssignType[3] = 0;
    f.select(24);
    f.choose("SelKeyAssignType", 1);
    QCOMPARE(r.KeyAssignType[3], 1);
    QVERIFY(f.number("EditKeyONValue")->isEnabled());
    QVERIFY(f.choice("SelKeyBehavior")->isEnabled());
    f.choose("SelKeyAssignType", 0);
    QVERIFY(!f.number("EditKeyONValue")->isEnabled());
}

void TestControlArea::groupAndKeyHandlersStoreTheirElement()
{
    ControlAreaFixture f;
    SceneRecord& r = f.current();
    f.select(3);
    QVERIFY(f.find<QFrame>("PanelGroup")->isVisible());
    f.choose("SelMIDICh", 16);
    QCOMPARE(r.MIDICh[2], 16);
    QCOMPARE(f.label(3)->text(), QStringLiteral("Global"));
    ChoiceBox* channel = f.choice("SelMIDICh");
    channel->setFocus();
    QTest::keyClick(channel, Qt::Key_Up); // a choice with the keyboard stores as well
    QCOMPARE(r.MIDICh[2], 15);
    QCOMPARE(f.label(3)->text(), QStringLiteral("16"));

    r.KeyAssignType[24] = 1;
    f.select(45);
    f.choose("SelKeyBehavior", 1);
    f.typeInto(f.number("EditKeyOFFValue"), "9");
    QCOMPARE(r.KeyBehavior[24], 1);
    QCOMPARE(r.KeyOFFValue[24], 9);

    f.select(20);
    f.choose("SelPadMIDICh", 3);
    f.choose("SelPadBehavior", 1);
    QCOMPARE(r.PadMIDICh[7], 3);
    QCOMPARE(r.PadBehavior[7], 1);
}

void TestControlArea::displayModesOnEveryKind()
{
    ControlAreaFixture f;
    SceneRecord& r = f.current();
    r.PadAssignType[0] = 0;
    r.PadAssignType[1] = 1;
    r.PadCCNumber[1] = 37;
    r.PadONValue[1] = 120;
    r.PadOFFValue[1] = 3;
    r.PadAssignType[2] = 2;
    r.PadCCNumber[2] = 60;
    r.PadMIDICh[2] = 16;
    r.KonbEnable[0] = 1;
    r.KonbEnable[1] = 0;
    r.KeyAssignType[0] = 1;
    r.KeyBehavior[0] = 1;
    r.KeyAssignType[1] = 0;
    r.MIDICh[0] = 16;
    f.select(0);
    const QString note60 = *f.files.notes.name(60);

    struct Expected {
        int mode;
        QString knob1, knob2, pad1, pad2, pad3, key1, key2;
    };
    const QList<Expected> table{
        {0, "---", "---", "10", "10", "Global", "---", "---"},
        {1, "Enable", "---", "No Assign", "Control Change", "Note", "CC", "---"},
        {2, "CC#\n20", "---", "---", "CC#\n37", "Note\n" + note60, "CC#\n48", "---"},
        {3, "L/L\n0", "---", "---", "---", "---", "---", "---"},
        {4, "U/R\n127", "---", "---", "---", "---", "---", "---"},
        {5, "---", "---", "---", "Moment", "Moment", "Togg", "---"},
        {6, "---", "---", "---", "OFF\n3", "---", "OFF\n0", "---"},
        {7, "---", "---", "---", "ON\n120", "---", "ON\n127", "---"},
    };
    for (const Expected& e : table) {
        f.choose("SelDisp", e.mode);
        QCOMPARE(f.area->displayMode(), e.mode);
        QCOMPARE(f.label(5)->text(), e.knob1);
        QCOMPARE(f.label(6)->text(), e.knob2);
        QCOMPARE(f.label(13)->text(), e.pad1);
        QCOMPARE(f.label(14)->text(), e.pad2);
        QCOMPARE(f.label(15)->text(), e.pad3);
        QCOMPARE(f.label(21)->text(), e.key1);
        QCOMPARE(f.label(22)->text(), e.key2);
        QCOMPARE(f.label(1)->text(), QStringLiteral("Global"));
    }
    QVERIFY(!f.document.modified()); // the display mode changes no data
}

void TestControlArea::labelClickSelectsAndHighlights()
{
    ControlAreaFixture f;
    QTest::mouseClick(f.label(22), Qt::LeftButton); // Label52
    QCOMPARE(f.area->selectedIndex(), 22);
    QCOMPARE(f.find<QListWidget>("ControlList")->currentItem()->text(), QStringLiteral("Key-2"));
    QVERIFY(f.find<QFrame>("PanelKey")->isVisible());
    QCOMPARE(f.area->controlKind(), ControlKind::Key);
    QVERIFY(f.label(22)->selectedLook());
    QCOMPARE(f.find<QFrame>("SelectFrame")->geometry(), f.label(22)->geometry().adjusted(-1, -1, 1, 1));

    QTest::mouseClick(f.label(14), Qt::LeftButton);
    QVERIFY(!f.label(22)->selectedLook());
    QVERIFY(f.label(14)->selectedLook());

    f.clickListItem(0); // "Common"
    QCOMPARE(f.area->controlKind(), ControlKind::Common);
    QVERIFY(f.find<QFrame>("PanelCommon")->isVisible());
    for (int i = 1; i <= 45; ++i) QVERIFY(!f.label(i)->selectedLook());
    QCOMPARE(f.find<QFrame>("SelectFrame")->x(), -100);
}

void TestControlArea::listClickRunsSelection()
{
    ControlAreaFixture f;
    f.clickListItem(11); // "Slider-3"
    QCOMPARE(f.area->selectedIndex(), 11);
    QVERIFY(f.find<QFrame>("PanelKonb")->isVisible());
    QCOMPARE(f.number("EditKonbCCNumber")->text(), QString::number(f.current().SliderCCNumber[2]));
    QVERIFY(f.label(11)->selectedLook());
    auto* list = f.find<QListWidget>("ControlList");
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Down); // the keyboard selects too
    QCOMPARE(f.area->selectedIndex(), 12);
    QVERIFY(f.label(12)->selectedLook());
    QCOMPARE(f.number("EditKonbCCNumber")->text(), QString::number(f.current().SliderCCNumber[3]));
}

void TestControlArea::damagedValuesShowDashesWithoutCrash()
{
    ControlAreaFixture f;
    SceneRecord& r = f.current();
    r.PadAssignType[0] = 2;
    r.PadCCNumber[0] = 500;
    r.PadBehavior[0] = 7;
    r.PadMIDICh[0] = -4;
    r.MIDICh[1] = 1000;
    r.KonbEnable[2] = 9;
    r.KonbCCNumber[2] = INT32_MIN;
    r.KeyAssignType[0] = 3;
    r.KeyBehavior[0] = 5;
    f.select(13);
    QCOMPARE(f.find<PadNumberField>("EditPadCCNumber")->text(), QStringLiteral("500"));
    QCOMPARE(r.PadCCNumber[0], 500); // showing the number does not lose it
    QCOMPARE(f.choice("SelPadBehavior")->currentIndex(), -1);
    QCOMPARE(f.choice("SelPadMIDICh")->currentText(), QString());
    QCOMPARE(f.label(13)->text(), QStringLiteral("---"));
    QCOMPARE(f.label(2)->text(), QStringLiteral("---"));
    f.select(2);
    QCOMPARE(f.choice("SelMIDICh")->currentIndex(), -1);
    f.select(7);
    QCOMPARE(f.choice("SelKonbEnable")->currentIndex(), -1);
    QVERIFY(f.number("EditKonbCCNumber")->isEnabled()); // -1 counts as "not 0"
    QCOMPARE(f.number("EditKonbCCNumber")->text(), QStringLiteral("0"));
    QCOMPARE(r.KonbCCNumber[2], INT32_MIN); // the field already showed "0": nothing stored
    QCOMPARE(f.label(7)->text(), QStringLiteral("CC#\n-2147483648"));
    f.choose("SelDisp", 1);
    QCOMPARE(f.label(7)->text(), QStringLiteral("---"));
    f.choose("SelDisp", 5);
    QCOMPARE(f.label(21)->text(), QStringLiteral("---"));
    f.select(21);
    QCOMPARE(f.choice("SelKeyAssignType")->currentIndex(), -1);
    QVERIFY(f.number("EditKeyCCNumber")->isEnabled());
}



void TestControlArea::numberEditorsRefusePastedAndDroppedText()
{
    ControlAreaFixture f;
    f.select(5);
    NumberEditor* cc = f.number("EditKonbCCNumber");
    QSignalSpy refused(cc, &QLineEdit::inputRejected); // what sounds the beep
    auto paste = [cc](const QString& text) {
        QGuiApplication::clipboard()->setText(text);
        cc->selectAll();
        cc->paste(); // what the context menu's Paste runs
    };
    auto drop = [cc](const QString& text) {
        QMimeData data;
        data.setText(text);
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, {});
        QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(cc, &enter);
        QApplication::sendEvent(cc, &drop);
    };
    paste(QStringLiteral("64"));
    paste(QStringLiteral("ab"));
    drop(QStringLiteral("1x"));
    QCOMPARE(cc->text(), QStringLiteral("64"));
    QCOMPARE(f.current().KonbCCNumber[0], 64);
    QCOMPARE(refused.count(), 2);
}

void TestControlArea::wheelChangesADropDownListOnlyWithFocus()
{
    ControlAreaFixture f;
    f.select(1);
    ChoiceBox* channel = f.choice("SelMIDICh");
    const int before = channel->currentIndex();
    auto turnWheel = [channel] {
        QWheelEvent wheel(QPointF(5, 5), channel->mapToGlobal(QPointF(5, 5)), {}, QPoint(0, 120), Qt::NoButton, {},
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(channel, &wheel);
    };
    f.leaveField();
    turnWheel();
    QCOMPARE(f.current().MIDICh[0], before);
    channel->setFocus();
    turnWheel();
    QCOMPARE(f.current().MIDICh[0], before - 1); // the wheel turned up: the item above
}

void TestControlArea::displaySelectListShowsItsItemsWhole()
{
    ControlAreaFixture f;
    ChoiceBox* box = f.choice("SelDisp");
    QStyleOptionComboBox option;
    option.initFrom(box);
    const int room = box->style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, box).width();
    for (int mode = 0; mode < kDisplayModeCount; ++mode) {
        f.choose("SelDisp", mode);
        QVERIFY2(QFontMetrics(box->shownItemFont()).horizontalAdvance(box->currentText()) <= room - 2,
                 qPrintable(box->currentText()));
    }
    f.choose("SelDisp", 2);
    QCOMPARE(box->shownItemFont().pixelSize(), 14); // only an item that needs it is smaller
    box->showPopup();
    QTRY_VERIFY(box->view()->isVisible());
    QVERIFY(box->view()->viewport()->width()
            > QFontMetrics(box->view()->font()).horizontalAdvance(QStringLiteral("Upper/Right Value")));
    box->hidePopup();
}

void TestControlArea::overlayTextsStayInsideTheirLabels()
{
    ControlAreaFixture f;
    SceneRecord& r = f.current();
    for (int e = 0; e < kPadCount; ++e) r.PadAssignType[e] = e % 3; // "No Assign" and notes among them
    for (int e = 0; e < kKeyCount; ++e) r.KeyAssignType[e] = 1;
    // A face wider than Arial's metric twin, as on a system without it.
    QFont wide(QStringLiteral("DejaVu Sans"));
    wide.setPixelSize(14);
    for (int i = 1; i <= kOverlayLabelCount; ++i) f.label(i)->setFont(wide);
    for (int mode = 0; mode < kDisplayModeCount; ++mode) {
        f.area->refreshOverlay(mode);
        for (int i = 1; i <= kOverlayLabelCount; ++i) {
            OverlayLabel* label = f.label(i);
            const QRect area = label->contentsRect();
            const QRect text = QFontMetrics(label->font()).boundingRect(area, Qt::AlignCenter | Qt::TextWordWrap, label->text());
            QVERIFY2(label->rect().contains(area) && area.contains(text),
                     qPrintable(QStringLiteral("mode %1 %2 ").arg(mode).arg(label->objectName()) + label->text()));
        }
    }
    // The lime text of a black key stays on the key drawn under it, 28 px wide.
    f.area->refreshOverlay(5);
    QCOMPARE(f.label(22)->text(), QStringLiteral("Mome"));
    QVERIFY(QFontMetrics(f.label(22)->font()).horizontalAdvance(QStringLiteral("Mome")) <= 28);
}

QTEST_MAIN(TestControlArea)
#include "tst_control_area.moc"
