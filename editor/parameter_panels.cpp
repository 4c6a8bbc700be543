// Building the parameter panels: editors 145 x 24 at x 136 (left column) and x 392 (right
// column) in rows at y 8, 40, 72, 104; captions end at x 124 or begin at x 302, 4 px lower.
#include "editor/parameter_panels.h"

#include "editor/choice_box.h"
#include "editor/number_editor.h"
#include "editor/pad_number_field.h"
#include "editor/split_arrow_button.h"
#include "editor/upper_case_line_edit.h"
#include "scene/display_texts.h"

#include <QGuiApplication>
#include <QLabel>

namespace lumo {

namespace {

constexpr int kLeftColumn = 136, kRightColumn = 392;
constexpr int kEditorWidth = 145, kEditorHeight = 24;
constexpr int kLeftCaptionEnd = 124, kRightCaptionStart = 302;
constexpr int kCaptionDrop = 4, kCaptionHeight = 20;

QFrame* makePanel(QWidget* client, const char* name, const QRect& geometry)
{
    auto* panel = new QFrame(client);
    panel->setObjectName(QString::fromLatin1(name));
    panel->setFrameShape(QFrame::NoFrame);
    panel->setGeometry(geometry);
    // Button face, as a panel has it, rather than the window's blue that it would inherit.
    QPalette palette = panel->palette();
    palette.setColor(QPalette::Window, QGuiApplication::palette().color(QPalette::Window));
    panel->setPalette(palette);
    panel->setAutoFillBackground(true);
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(14);
    panel->setFont(font);
    panel->hide();
    return panel;
}

template <typename Editor>
Editor* place(Editor* editor, const char* name, int x, int y, int width = kEditorWidth)
{
    editor->setObjectName(QString::fromLatin1(name));
    editor->setGeometry(x, y, width, kEditorHeight);
    return editor;
}

// A caption of the panels' two-column grid.
void gridCaption(QWidget* panel, const char* text, bool rightColumn, int rowY)
{
    auto* label = new QLabel(QString::fromLatin1(text), panel);
    if (rightColumn) {
        label->setGeometry(kRightCaptionStart, rowY + kCaptionDrop, kRightColumn - kRightCaptionStart - 2, kCaptionHeight);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    } else {
        label->setGeometry(0, rowY + kCaptionDrop, kLeftCaptionEnd, kCaptionHeight);
        label->setAlignment(Qt::AlignRight | Qt::AlignTop);
    }
}

// A caption of the Common panel, at its own top-left point.
void pointCaption(QWidget* panel, const char* text, int x, int y)
{
    auto* label = new QLabel(QString::fromLatin1(text), panel);
    label->move(x, y);
    label->adjustSize();
}

} // namespace

ParameterPanels::ParameterPanels(QWidget* client, int left, int top, int height)
{
    const QRect geometry(left, top, kPanelWidth, height);
    PanelCommon = makePanel(client, "PanelCommon", geometry);
    PanelGroup = makePanel(client, "PanelGroup", geometry);
    PanelKonb = makePanel(client, "PanelKonb", geometry);
    PanelPad = makePanel(client, "PanelPad", geometry);
    PanelKey = makePanel(client, "PanelKey", geometry);

    QWidget* p = PanelCommon;
    pointCaption(p, "Scene Name", 51, 12);
    pointCaption(p, "Global MIDI Ch", 37, 44);
    pointCaption(p, "Piano Key CC# Ch", 13, 76);
    pointCaption(p, "Pitch Bend Speed", 18, 108);
    pointCaption(p, "Key Transpose", 293, 12);
    pointCaption(p, "Key Velocity Curve", 293, 44);
    pointCaption(p, "Key Const Velocity", 293, 76);
    pointCaption(p, "Pad Velocity Curve", 293, 108);
    pointCaption(p, "Pad Const Velocity", 293, 140);
    EditSceneName = place(new UpperCaseLineEdit(p), "EditSceneName", 136, 8);
    EditSceneName->setText(QStringLiteral("SCENE1"));
    SelSceneMIDICh = place(new ChoiceBox(SceneChannelItems(), p), "SelSceneMIDICh", 136, 40);
    SelPianoKeyCh = place(new ChoiceBox(ChannelItems(), p), "SelPianoKeyCh", 136, 72);
    EditBendSpeed = place(new NumberEditor(1, 4, p), "EditBendSpeed", 136, 104);
    EditBendSpeed->setText(QStringLiteral("1"));
    EditKeyTrans = place(new NumberEditor(-12, 12, p), "EditKeyTrans", 418, 8);
    SelKeyVelocityCurve = place(new ChoiceBox(VelocityCurveItems(), p), "SelKeyVelocityCurve", 418, 40);
    EditKeyConstVelocity = place(new NumberEditor(0, 127, p), "EditKeyConstVelocity", 418, 72);
    SelPadVelocityCurve = place(new ChoiceBox(VelocityCurveItems(), p), "SelPadVelocityCurve", 418, 104);
    EditPadConstVelocity = place(new NumberEditor(0, 127, p), "EditPadConstVelocity", 418, 136);

    p = PanelGroup;
    gridCaption(p, "MIDI Channel", false, 8);
    SelMIDICh = place(new ChoiceBox(ChannelItems(), p), "SelMIDICh", kLeftColumn, 8);

    p = PanelKonb;
    gridCaption(p, "Enable", false, 8);
    gridCaption(p, "CC Number", false, 40);
    gridCaption(p, "Upper/Right Value", false, 72);
    gridCaption(p, "Lower/Left Value", false, 104);
    SelKonbEnable = place(new ChoiceBox(EnableItems(), p), "SelKonbEnable", kLeftColumn, 8);
    EditKonbCCNumber = place(new NumberEditor(0, 127, p), "EditKonbCCNumber", kLeftColumn, 40);
    EditKonbURValue = place(new NumberEditor(0, 127, p), "EditKonbURValue", kLeftColumn, 72);
    EditKonbLLValue = place(new NumberEditor(0, 127, p), "EditKonbLLValue", kLeftColumn, 104);

    p = PanelPad;
    gridCaption(p, "Assign Type", false, 8);
    gridCaption(p, "CC/Note Number", false, 40);
    gridCaption(p, "ON Value", false, 72);
    gridCaption(p, "OFF Value", false, 104);
    gridCaption(p, "Pad Behavior", true, 40);
    gridCaption(p, "MIDI Channel", true, 72);
    SelPadAssignType = place(new ChoiceBox(PadAssignItems(), p), "SelPadAssignType", kLeftColumn, 8);
    EditPadCCNumber = place(new PadNumberField(p), "EditPadCCNumber", kLeftColumn, 40, 124);
    EditPadCCNumber->setText(QStringLiteral("0"));
    RxSpinButton1 = new SplitArrowButton(p);
    RxSpinButton1->setObjectName(QStringLiteral("RxSpinButton1"));
    RxSpinButton1->setGeometry(259, 41, 21, 23);
    EditPadONValue = place(new NumberEditor(0, 127, p), "EditPadONValue", kLeftColumn, 72);
    EditPadOFFValue = place(new NumberEditor(0, 127, p), "EditPadOFFValue", kLeftColumn, 104);
    SelPadBehavior = place(new ChoiceBox(BehaviorItems(), p), "SelPadBehavior", kRightColumn, 40);
    SelPadMIDICh = place(new ChoiceBox(ChannelItems(), p), "SelPadMIDICh", kRightColumn, 72);

    p = PanelKey;
    gridCaption(p, "Assign Type", false, 8);
    gridCaption(p, "CC/Note Number", false, 40);
    gridCaption(p, "ON Value", false, 72);
    gridCaption(p, "OFF Value", false, 104);
    gridCaption(p, "Key Behavior", true, 40);
    SelKeyAssignType = place(new ChoiceBox(EnableItems(), p), "SelKeyAssignType", kLeftColumn, 8);
    EditKeyCCNumber = place(new NumberEditor(0, 127, p), "EditKeyCCNumber", kLeftColumn, 40);
    EditKeyONValue = place(new NumberEditor(0, 127, p), "EditKeyONValue", kLeftColumn, 72);
    EditKeyOFFValue = place(new NumberEditor(0, 127, p), "EditKeyOFFValue", kLeftColumn, 104);
    SelKeyBehavior = place(new ChoiceBox(BehaviorItems(), p), "SelKeyBehavior", kRightColumn, 40);
}

} // namespace lumo
