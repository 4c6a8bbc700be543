// Building the parameter panels: editors 145 x 24 at x 136 (left column) and x 392 (right
// column) in rows at y 8, 40, 72, 104; captions end at x 124 or begin at x 302, 4 px lower.
#include "editor/parameter_panels.h"

#include "editor/choice_box.h"
#include "editor/number_editor.h"
#include "editor/pad_number_field.h"
#include "editor/split_arrow_button.h"
#include "editor/upper_case_line_edit.h"
#include "scene/display_texts.h"
#include "scene/scene_settings.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QLabel>

#include <span>

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

// The editors of a setting, with its items or its range.
ChoiceBox* choiceBox(SettingId id, QWidget* panel)
{
    return new ChoiceBox(ShownItems(Setting(id).items()), panel);
}

NumberEditor* numberEditor(SettingId id, QWidget* panel)
{
    const SceneSetting& setting = Setting(id);
    return new NumberEditor(setting.shownMin, setting.shownMax, panel);
}

QString captionOf(SettingId id)
{
    // The table's captions are whole string literals, so each ends in a NUL.
    return QCoreApplication::translate("SceneSettings", Setting(id).caption.data());
}

// A caption of the panels' two-column grid.
void gridCaption(QWidget* panel, SettingId id, bool rightColumn, int rowY)
{
    auto* label = new QLabel(captionOf(id), panel);
    if (rightColumn) {
        label->setGeometry(kRightCaptionStart, rowY + kCaptionDrop, kRightColumn - kRightCaptionStart - 2, kCaptionHeight);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    } else {
        label->setGeometry(0, rowY + kCaptionDrop, kLeftCaptionEnd, kCaptionHeight);
        label->setAlignment(Qt::AlignRight | Qt::AlignTop);
    }
}

// A caption of the Common panel, at its own top-left point.
void pointCaption(QWidget* panel, SettingId id, int x, int y)
{
    auto* label = new QLabel(captionOf(id), panel);
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
    pointCaption(p, SettingId::SceneName, 51, 12);
    pointCaption(p, SettingId::SceneMIDICh, 37, 44);
    pointCaption(p, SettingId::PianoKeyCh, 13, 76);
    pointCaption(p, SettingId::BendSpeed, 18, 108);
    pointCaption(p, SettingId::KeyTrans, 293, 12);
    pointCaption(p, SettingId::KeyVelocityCurve, 293, 44);
    pointCaption(p, SettingId::KeyConstVelocity, 293, 76);
    pointCaption(p, SettingId::PadVelocityCurve, 293, 108);
    pointCaption(p, SettingId::PadConstVelocity, 293, 140);
    EditSceneName = place(new UpperCaseLineEdit(p), "EditSceneName", 136, 8);
    EditSceneName->setText(QStringLiteral("SCENE1"));
    SelSceneMIDICh = place(choiceBox(SettingId::SceneMIDICh, p), "SelSceneMIDICh", 136, 40);
    SelPianoKeyCh = place(choiceBox(SettingId::PianoKeyCh, p), "SelPianoKeyCh", 136, 72);
    EditBendSpeed = place(numberEditor(SettingId::BendSpeed, p), "EditBendSpeed", 136, 104);
    EditBendSpeed->setText(QStringLiteral("1"));
    EditKeyTrans = place(numberEditor(SettingId::KeyTrans, p), "EditKeyTrans", 418, 8);
    SelKeyVelocityCurve = place(choiceBox(SettingId::KeyVelocityCurve, p), "SelKeyVelocityCurve", 418, 40);
    EditKeyConstVelocity = place(numberEditor(SettingId::KeyConstVelocity, p), "EditKeyConstVelocity", 418, 72);
    SelPadVelocityCurve = place(choiceBox(SettingId::PadVelocityCurve, p), "SelPadVelocityCurve", 418, 104);
    EditPadConstVelocity = place(numberEditor(SettingId::PadConstVelocity, p), "EditPadConstVelocity", 418, 136);

    p = PanelGroup;
    gridCaption(p, SettingId::MIDICh, false, 8);
    SelMIDICh = place(choiceBox(SettingId::MIDICh, p), "SelMIDICh", kLeftColumn, 8);

    p = PanelKonb;
    gridCaption(p, SettingId::KonbEnable, false, 8);
    gridCaption(p, SettingId::KonbCCNumber, false, 40);
    gridCaption(p, SettingId::KonbURValue, false, 72);
    gridCaption(p, SettingId::KonbLLValue, false, 104);
    SelKonbEnable = place(choiceBox(SettingId::KonbEnable, p), "SelKonbEnable", kLeftColumn, 8);
    EditKonbCCNumber = place(numberEditor(SettingId::KonbCCNumber, p), "EditKonbCCNumber", kLeftColumn, 40);
    EditKonbURValue = place(numberEditor(SettingId::KonbURValue, p), "EditKonbURValue", kLeftColumn, 72);
    EditKonbLLValue = place(numberEditor(SettingId::KonbLLValue, p), "EditKonbLLValue", kLeftColumn, 104);

    p = PanelPad;
    gridCaption(p, SettingId::PadAssignType, false, 8);
    gridCaption(p, SettingId::PadCCNumber, false, 40);
    gridCaption(p, SettingId::PadONValue, false, 72);
    gridCaption(p, SettingId::PadOFFValue, false, 104);
    gridCaption(p, SettingId::PadBehavior, true, 40);
    gridCaption(p, SettingId::PadMIDICh, true, 72);
    SelPadAssignType = place(choiceBox(SettingId::PadAssignType, p), "SelPadAssignType", kLeftColumn, 8);
    EditPadCCNumber = place(new PadNumberField(p), "EditPadCCNumber", kLeftColumn, 40, 124);
    EditPadCCNumber->setText(QStringLiteral("0"));
    RxSpinButton1 = new SplitArrowButton(p);
    RxSpinButton1->setObjectName(QStringLiteral("RxSpinButton1"));
    RxSpinButton1->setGeometry(259, 41, 21, 23);
    EditPadONValue = place(numberEditor(SettingId::PadONValue, p), "EditPadONValue", kLeftColumn, 72);
    EditPadOFFValue = place(numberEditor(SettingId::PadOFFValue, p), "EditPadOFFValue", kLeftColumn, 104);
    SelPadBehavior = place(choiceBox(SettingId::PadBehavior, p), "SelPadBehavior", kRightColumn, 40);
    SelPadMIDICh = place(choiceBox(SettingId::PadMIDICh, p), "SelPadMIDICh", kRightColumn, 72);

    p = PanelKey;
    gridCaption(p, SettingId::KeyAssignType, false, 8);
    gridCaption(p, SettingId::KeyCCNumber, false, 40);
    gridCaption(p, SettingId::KeyONValue, false, 72);
    gridCaption(p, SettingId::KeyOFFValue, false, 104);
    gridCaption(p, SettingId::KeyBehavior, true, 40);
    SelKeyAssignType = place(choiceBox(SettingId::KeyAssignType, p), "SelKeyAssignType", kLeftColumn, 8);
    EditKeyCCNumber = place(numberEditor(SettingId::KeyCCNumber, p), "EditKeyCCNumber", kLeftColumn, 40);
    EditKeyONValue = place(numberEditor(SettingId::KeyONValue, p), "EditKeyONValue", kLeftColumn, 72);
    EditKeyOFFValue = place(numberEditor(SettingId::KeyOFFValue, p), "EditKeyOFFValue", kLeftColumn, 104);
    SelKeyBehavior = place(choiceBox(SettingId::KeyBehavior, p), "SelKeyBehavior", kRightColumn, 40);

    // Screen readers name each editor by its caption (editor k stores setting k).
    for (ControlKind kind : {ControlKind::Common, ControlKind::Group, ControlKind::Knob, ControlKind::Pad, ControlKind::Key}) {
        const std::span<const SceneSetting> settings = SettingsOfKind(kind);
        const std::vector<QWidget*> editors = editorsOf(kind);
        for (std::size_t k = 0; k < settings.size(); ++k) {
            const QString caption = captionOf(settings[k].id);
            editors[k]->setAccessibleName(caption);
            // Where the platform names a drop-down list by its item (Linux), the caption
            // reaches the screen reader as the list's label.
            for (QLabel* label : editors[k]->parentWidget()->findChildren<QLabel*>(Qt::FindDirectChildrenOnly))
                if (label->text() == caption) label->setBuddy(editors[k]);
        }
    }
    RxSpinButton1->setAccessibleName(captionOf(SettingId::PadCCNumber) + QStringLiteral(" up/down"));
}

QFrame* ParameterPanels::panelOf(ControlKind kind) const
{
    switch (kind) {
    case ControlKind::Common: return PanelCommon;
    case ControlKind::Group: return PanelGroup;
    case ControlKind::Knob:
    case ControlKind::Slider: return PanelKonb;
    case ControlKind::Pad: return PanelPad;
    case ControlKind::Key: return PanelKey;
    }
    return nullptr;
}

std::vector<QWidget*> ParameterPanels::editorsOf(ControlKind kind) const
{
    switch (kind) {
    case ControlKind::Common:
        return {EditSceneName,       SelSceneMIDICh,       SelPianoKeyCh,       EditBendSpeed,       EditKeyTrans,
                SelKeyVelocityCurve, EditKeyConstVelocity, SelPadVelocityCurve, EditPadConstVelocity};
    case ControlKind::Group: return {SelMIDICh};
    case ControlKind::Knob:
    case ControlKind::Slider: return {SelKonbEnable, EditKonbCCNumber, EditKonbURValue, EditKonbLLValue};
    case ControlKind::Pad:
        return {SelPadAssignType, EditPadCCNumber, EditPadONValue, EditPadOFFValue, SelPadBehavior, SelPadMIDICh};
    case ControlKind::Key: return {SelKeyAssignType, EditKeyCCNumber, EditKeyONValue, EditKeyOFFValue, SelKeyBehavior};
    }
    return {};
}

} // namespace lumo
