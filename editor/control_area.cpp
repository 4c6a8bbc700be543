// The control area: selection behaviour, panel fill, enabling rules, overlay refresh and
// highlight, scene buttons, and the change handler of every editor.
#include "editor/control_area.h"

#include "editor/choice_box.h"
#include "editor/control_list_box.h"
#include "editor/number_editor.h"
#include "editor/overlay_labels.h"
#include "editor/pad_number_field.h"
#include "editor/parameter_panels.h"
#include "editor/scene_buttons.h"
#include "editor/split_arrow_button.h"
#include "editor/upper_case_line_edit.h"
#include "scene/display_texts.h"

#include <QApplication>
#include <QLabel>
#include <QToolButton>
#include <QWidget>

namespace lumo {

namespace {
constexpr int kListLeft = 25, kListTop = 356, kListWidth = 145, kListHeight = 166;
constexpr int kPanelGap = 5;
constexpr int kInitialDisplayMode = 2; // "CC/Note Number"
} // namespace

struct ControlArea::Private {
    Private(ControlArea* q, QWidget* client, Document& document, const NoteNames& notes);

    SceneRecord& record() { return document.current(); }
    // Element of the selected control within `kind`, or -1 when the selection is another kind.
    int elementOf(ControlKind kind) const;
    void finishChange();

    void showPanel(QFrame* panel);
    void fillCommon();
    void fillGroup(int e);
    void fillKonb(ControlKind kind, int e);
    void fillPad(int e);
    void fillKey(int e);
    void highlight(int i);
    // The focused editor of the area loses the focus now, so its clamp is stored for the
    // control and scene that it was showing before the selection or scene changes.
    void settleFocus();

    void EnableKonbEditors(int enable);
    void EnablePadEditors(int assignment);
    void EnableKeyEditors(int assignment);
    void EnableConstVelocityEditors(int keyCurve, int padCurve);

    void storeKonbSlider(int field, std::int32_t value);
    void stepPadNumber(int step);

    // Common panel
    void EditSceneNameChange();
    void SelSceneMIDIChChange(int index);
    void SelPianoKeyChChange(int index);
    void EditBendSpeedChange();
    void EditKeyTransChange();
    void SelKeyVelocityCurveChange(int index);
    void EditKeyConstVelocityChange();
    void SelPadVelocityCurveChange(int index);
    void EditPadConstVelocityChange();
    // Group, knob and slider, pad, key panels
    void SelMIDIChChange(int index);
    void SelKonbEnableChange(int index);
    void EditKonbCCNumberChange();
    void EditKonbURValueChange();
    void EditKonbLLValueChange();
    void SelPadAssignTypeChange(int index);
    void EditPadCCNumberChange();
    void EditPadONValueChange();
    void EditPadOFFValueChange();
    void SelPadBehaviorChange(int index);
    void SelPadMIDIChChange(int index);
    void RxSpinButton1TopClick() { stepPadNumber(1); }
    void RxSpinButton1BottomClick() { stepPadNumber(-1); }
    void SelKeyAssignTypeChange(int index);
    void EditKeyCCNumberChange();
    void EditKeyONValueChange();
    void EditKeyOFFValueChange();
    void SelKeyBehaviorChange(int index);
    // Overlay
    void Label31Click(QObject* label);
    void SelDispChange(int index);

    ControlArea* q;
    QWidget* client;
    Document& document;
    const NoteNames& notes;
    QLabel* dispCaption;
    ChoiceBox* SelDisp;
    OverlayLabels overlay;
    ControlListBox* ControlList;
    ParameterPanels panels;
    SceneButtons* sceneButtons;
    ControlKind kind = ControlKind::Common;
    int selectedLabel = 1; // Control Index of the selected label (Label31)
};

ControlArea::Private::Private(ControlArea* q_, QWidget* client_, Document& document_, const NoteNames& notes_)
    : q(q_)
    , client(client_)
    , document(document_)
    , notes(notes_)
    , dispCaption(new QLabel(QStringLiteral("Display Select"), client_))
    , SelDisp(new ChoiceBox(DisplayModeItems(), client_))
    , overlay(client_)
    , ControlList(new ControlListBox(client_))
    , panels(client_, kListLeft + kListWidth + kPanelGap, kListTop, kListHeight)
    , sceneButtons(new SceneButtons(client_))
{
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(14);
    dispCaption->setObjectName(QStringLiteral("DispCaption"));
    dispCaption->setGeometry(517, 4, 96, 20);
    dispCaption->setFont(font);
    SelDisp->setObjectName(QStringLiteral("SelDisp"));
    SelDisp->setGeometry(616, 1, 137, 24);
    SelDisp->setFont(font);
    SelDisp->setIndex(kInitialDisplayMode);
    ControlList->setGeometry(kListLeft, kListTop, kListWidth, kListHeight);
    panels.PanelCommon->show();
}

ControlArea::ControlArea(QWidget* client, Document& document, const NoteNames& notes, QObject* parent)
    : QObject(parent)
    , d(new Private(this, client, document, notes))
{
    auto& p = d->panels;
    Private* x = d;
    // The handlers capture the Private pointer by value: a nested lambda must not reach it
    // through the enclosing lambda, which lives only during construction.
    auto onText = [this, x](QLineEdit* edit, void (Private::*handler)()) {
        connect(edit, &QLineEdit::textChanged, this, [x, handler] { (x->*handler)(); });
    };
    auto onChoice = [this, x](ChoiceBox* box, void (Private::*handler)(int)) {
        connect(box, &ChoiceBox::userChanged, this, [x, handler](int index) { (x->*handler)(index); });
    };

    connect(p.EditSceneName, &UpperCaseLineEdit::shownTextChanged, this, [x] { x->EditSceneNameChange(); });
    onChoice(p.SelSceneMIDICh, &Private::SelSceneMIDIChChange);
    onChoice(p.SelPianoKeyCh, &Private::SelPianoKeyChChange);
    onText(p.EditBendSpeed, &Private::EditBendSpeedChange);
    onText(p.EditKeyTrans, &Private::EditKeyTransChange);
    onChoice(p.SelKeyVelocityCurve, &Private::SelKeyVelocityCurveChange);
    onText(p.EditKeyConstVelocity, &Private::EditKeyConstVelocityChange);
    onChoice(p.SelPadVelocityCurve, &Private::SelPadVelocityCurveChange);
    onText(p.EditPadConstVelocity, &Private::EditPadConstVelocityChange);

    onChoice(p.SelMIDICh, &Private::SelMIDIChChange);
    onChoice(p.SelKonbEnable, &Private::SelKonbEnableChange);
    onText(p.EditKonbCCNumber, &Private::EditKonbCCNumberChange);
    onText(p.EditKonbURValue, &Private::EditKonbURValueChange);
    onText(p.EditKonbLLValue, &Private::EditKonbLLValueChange);

    onChoice(p.SelPadAssignType, &Private::SelPadAssignTypeChange);
    connect(p.EditPadCCNumber, &UpperCaseLineEdit::shownTextChanged, this, [x] { x->EditPadCCNumberChange(); });
    connect(p.EditPadCCNumber, &PadNumberField::stepRequested, this, [x](int step) { x->stepPadNumber(step); });
    connect(p.RxSpinButton1, &SplitArrowButton::pressed, this, [x] { x->panels.EditPadCCNumber->setFocus(Qt::MouseFocusReason); });
    connect(p.RxSpinButton1, &SplitArrowButton::stepped, this, [x](int step) {
        if (step > 0) x->RxSpinButton1TopClick();
        else x->RxSpinButton1BottomClick();
    });
    onText(p.EditPadONValue, &Private::EditPadONValueChange);
    onText(p.EditPadOFFValue, &Private::EditPadOFFValueChange);
    onChoice(p.SelPadBehavior, &Private::SelPadBehaviorChange);
    onChoice(p.SelPadMIDICh, &Private::SelPadMIDIChChange);

    onChoice(p.SelKeyAssignType, &Private::SelKeyAssignTypeChange);
    onText(p.EditKeyCCNumber, &Private::EditKeyCCNumberChange);
    onText(p.EditKeyONValue, &Private::EditKeyONValueChange);
    onText(p.EditKeyOFFValue, &Private::EditKeyOFFValueChange);
    onChoice(p.SelKeyBehavior, &Private::SelKeyBehaviorChange);

    onChoice(d->SelDisp, &Private::SelDispChange);
    connect(d->ControlList, &ControlListBox::userSelected, this, &ControlArea::ControlListClick);
    for (int i = 1; i <= kOverlayLabelCount; ++i) {
        OverlayLabel* label = d->overlay.label(i);
        connect(label, &OverlayLabel::clicked, this, [x, label] { x->Label31Click(label); });
    }
    connect(d->sceneButtons, &SceneButtons::clicked, this, &ControlArea::SceneButton1Click);
}

ControlArea::~ControlArea()
{
    delete d;
}

int ControlArea::displayMode() const
{
    return d->SelDisp->currentIndex();
}

ControlKind ControlArea::controlKind() const
{
    return d->kind;
}

int ControlArea::selectedIndex() const
{
    return d->ControlList->currentRow();
}

void ControlArea::setSelectedIndex(int index)
{
    d->ControlList->selectSilently(index);
}

void ControlArea::moveFrameOffWindow()
{
    d->overlay.moveFrameOffWindow();
}

// --- selection --------------------------------------------------------------------------

void ControlArea::ControlListClick()
{
    const int i = selectedIndex();
    if (i < 0 || i >= kControlCount) {
        d->kind = ControlKind::Common;
        d->showPanel(nullptr);
        d->overlay.label(d->selectedLabel)->setSelectedLook(false);
        d->overlay.placeFrame(d->overlay.label(d->selectedLabel), true);
        RefreshOverlay(displayMode());
        return;
    }
    d->kind = KindOfControl(i);
    const int e = ElementOfControl(i);
    auto& p = d->panels;
    switch (d->kind) {
    case ControlKind::Common: d->showPanel(p.PanelCommon); break;
    case ControlKind::Group: d->showPanel(p.PanelGroup); break;
    case ControlKind::Knob:
    case ControlKind::Slider: d->showPanel(p.PanelKonb); break;
    case ControlKind::Pad: d->showPanel(p.PanelPad); break;
    case ControlKind::Key: d->showPanel(p.PanelKey); break;
    }
    d->highlight(i);
    switch (d->kind) {
    case ControlKind::Common: d->fillCommon(); break;
    case ControlKind::Group: d->fillGroup(e); break;
    case ControlKind::Knob:
    case ControlKind::Slider: d->fillKonb(d->kind, e); break;
    case ControlKind::Pad: d->fillPad(e); break;
    case ControlKind::Key: d->fillKey(e); break;
    }
    d->overlay.placeFrame(d->overlay.label(d->selectedLabel), i == 0);
    RefreshOverlay(displayMode());
}

void ControlArea::Private::showPanel(QFrame* panel)
{
    for (QFrame* each : {panels.PanelCommon, panels.PanelGroup, panels.PanelKonb, panels.PanelPad, panels.PanelKey})
        if (each != panel) each->hide();
    if (panel) panel->show();
}

void ControlArea::Private::highlight(int i)
{
    overlay.label(selectedLabel)->setSelectedLook(false);
    if (i >= 1 && i <= kOverlayLabelCount) {
        selectedLabel = i;
        overlay.label(i)->setSelectedLook(true);
    }
}

void ControlArea::Private::settleFocus()
{
    QWidget* focus = QApplication::focusWidget();
    if (focus && client->isAncestorOf(focus)) focus->clearFocus();
}

// The fill puts each value through the editor's normal change path: a number or text field
// whose shown text changes runs its handler and stores what it now shows; a drop-down list
// set here runs nothing. The record is read again for every field for that reason.
void ControlArea::Private::fillCommon()
{
    auto& p = panels;
    p.EditSceneName->setShownText(SceneCaption(record()));
    p.SelSceneMIDICh->setIndex(record().SceneMIDICh);
    p.SelPianoKeyCh->setIndex(record().PianoKeyCh);
    p.EditBendSpeed->setText(BendSpeedText(record().BendSpeed));
    p.EditKeyTrans->setValue(KeyTransShown(record().KeyTrans));
    p.SelKeyVelocityCurve->setIndex(record().KeyVelocityCurve);
    p.EditKeyConstVelocity->setText(QString::number(record().KeyConstVelocity));
    p.SelPadVelocityCurve->setIndex(record().PadVelocityCurve);
    p.EditPadConstVelocity->setText(QString::number(record().PadConstVelocity));
    EnableConstVelocityEditors(p.SelKeyVelocityCurve->currentIndex(), p.SelPadVelocityCurve->currentIndex());
}

void ControlArea::Private::fillGroup(int e)
{
    panels.SelMIDICh->setIndex(record().MIDICh[e]);
}

void ControlArea::Private::fillKonb(ControlKind k, int e)
{
    auto& p = panels;
    p.SelKonbEnable->setIndex(FieldsOfKind(record(), k).arrays[0][e]);
    p.EditKonbCCNumber->setValue(FieldsOfKind(record(), k).arrays[1][e]);
    p.EditKonbURValue->setValue(FieldsOfKind(record(), k).arrays[2][e]);
    p.EditKonbLLValue->setValue(FieldsOfKind(record(), k).arrays[3][e]);
    EnableKonbEditors(p.SelKonbEnable->currentIndex());
}

void ControlArea::Private::fillPad(int e)
{
    auto& p = panels;
    p.SelPadAssignType->setIndex(record().PadAssignType[e]);
    if (const auto text = PadNumberDisplay(record().PadCCNumber[e], record().PadAssignType[e], notes))
        p.EditPadCCNumber->setShownText(*text);
    p.EditPadONValue->setValue(record().PadONValue[e]);
    p.EditPadOFFValue->setValue(record().PadOFFValue[e]);
    p.SelPadBehavior->setIndex(record().PadBehavior[e]);
    p.SelPadMIDICh->setIndex(record().PadMIDICh[e]);
    EnablePadEditors(p.SelPadAssignType->currentIndex());
}

void ControlArea::Private::fillKey(int e)
{
    auto& p = panels;
    p.SelKeyAssignType->setIndex(record().KeyAssignType[e]);
    p.EditKeyCCNumber->setValue(record().KeyCCNumber[e]);
    p.EditKeyONValue->setValue(record().KeyONValue[e]);
    p.EditKeyOFFValue->setValue(record().KeyOFFValue[e]);
    p.SelKeyBehavior->setIndex(record().KeyBehavior[e]);
    EnableKeyEditors(p.SelKeyAssignType->currentIndex());
}

// --- enabling rules -----------------------------------------------------------------------

void ControlArea::Private::EnableKonbEditors(int enable)
{
    const bool on = enable != 0;
    panels.SelKonbEnable->setEnabled(true);
    panels.EditKonbCCNumber->setEnabled(on);
    panels.EditKonbURValue->setEnabled(on);
    panels.EditKonbLLValue->setEnabled(on);
}

void ControlArea::Private::EnablePadEditors(int assignment)
{
    // -1 (no item shown) falls with "Note" among the values other than 0 and 1.
    const bool assigned = assignment != 0;
    const bool values = assignment == 1;
    auto& p = panels;
    p.SelPadAssignType->setEnabled(true);
    p.EditPadCCNumber->setEnabled(assigned);
    p.RxSpinButton1->setEnabled(assigned);
    p.EditPadONValue->setEnabled(values);
    p.EditPadOFFValue->setEnabled(values);
    p.SelPadBehavior->setEnabled(assigned);
    p.SelPadMIDICh->setEnabled(assigned);
}

void ControlArea::Private::EnableKeyEditors(int assignment)
{
    const bool on = assignment != 0;
    auto& p = panels;
    p.SelKeyAssignType->setEnabled(true);
    p.EditKeyCCNumber->setEnabled(on);
    p.EditKeyONValue->setEnabled(on);
    p.EditKeyOFFValue->setEnabled(on);
    p.SelKeyBehavior->setEnabled(on);
}

void ControlArea::Private::EnableConstVelocityEditors(int keyCurve, int padCurve)
{
    panels.EditKeyConstVelocity->setEnabled(keyCurve == kConstCurve);
    panels.EditPadConstVelocity->setEnabled(padCurve == kConstCurve);
}

// --- overlay ------------------------------------------------------------------------------

void ControlArea::RefreshOverlay(int mode)
{
    for (int s = 1; s <= kSceneCount; ++s)
        d->sceneButtons->setCaption(s, SceneCaption(d->document.scenes().scene(s)));
    d->overlay.setTexts(OverlayTexts(d->document.current(), mode, d->notes));
    d->overlay.frame()->update();
}

void ControlArea::Private::SelDispChange(int index)
{
    q->RefreshOverlay(index);
}

void ControlArea::Private::Label31Click(QObject* label)
{
    bool ok = false;
    int number = label->objectName().mid(5, 2).toInt(&ok);
    if (!ok) number = 31;
    settleFocus();
    q->setSelectedIndex(number - kFirstLabelNumber);
    q->ControlListClick();
}

// --- scene buttons and Common panel ---------------------------------------------------------

void ControlArea::SceneButton1Click()
{
    d->settleFocus();
    d->document.setCurrentScene(d->sceneButtons->sceneDown());
    setSelectedIndex(0);
    ControlListClick();
}

void ControlArea::Private::finishChange()
{
    q->RefreshOverlay(q->displayMode());
    document.setModified(true);
}

void ControlArea::Private::EditSceneNameChange()
{
    const QByteArray name = panels.EditSceneName->text().left(kSceneNameCapacity).toLatin1();
    SetSceneName(record(), std::string_view(name.constData(), static_cast<std::size_t>(name.size())));
    finishChange();
}

void ControlArea::Private::SelSceneMIDIChChange(int index)
{
    record().SceneMIDICh = index;
    finishChange();
}

void ControlArea::Private::SelPianoKeyChChange(int index)
{
    record().PianoKeyCh = index;
    finishChange();
}

void ControlArea::Private::EditBendSpeedChange()
{
    record().BendSpeed = BendSpeedToStore(panels.EditBendSpeed->text());
    finishChange();
}

void ControlArea::Private::EditKeyTransChange()
{
    record().KeyTrans = KeyTransToStore(panels.EditKeyTrans->value());
    finishChange();
}

void ControlArea::Private::SelKeyVelocityCurveChange(int index)
{
    EnableConstVelocityEditors(panels.SelKeyVelocityCurve->currentIndex(), panels.SelPadVelocityCurve->currentIndex());
    record().KeyVelocityCurve = index;
    finishChange();
}

void ControlArea::Private::EditKeyConstVelocityChange()
{
    record().KeyConstVelocity = panels.EditKeyConstVelocity->value();
    finishChange();
}

void ControlArea::Private::SelPadVelocityCurveChange(int index)
{
    EnableConstVelocityEditors(panels.SelKeyVelocityCurve->currentIndex(), panels.SelPadVelocityCurve->currentIndex());
    record().PadVelocityCurve = index;
    finishChange();
}

void ControlArea::Private::EditPadConstVelocityChange()
{
    record().PadConstVelocity = panels.EditPadConstVelocity->value();
    finishChange();
}

// --- group, knob/slider, pad and key panels ---------------------------------------------------

int ControlArea::Private::elementOf(ControlKind k) const
{
    const int i = q->selectedIndex();
    return KindOfControl(i) == k && i > 0 ? ElementOfControl(i) : -1;
}

// A panel's editor can change while another kind is selected only through a focus change
// racing the selection; storing nothing then keeps the write inside its array.
#define LUMO_STORE(kindValue, field, value)                 \
    do {                                                    \
        const int e_ = elementOf(ControlKind::kindValue);   \
        if (e_ >= 0) record().field[e_] = (value);          \
        finishChange();                                     \
    } while (false)

void ControlArea::Private::SelMIDIChChange(int index)
{
    LUMO_STORE(Group, MIDICh, index);
}

// Knobs and sliders share the panel: the Control Index alone tells which array is written
// (5..8 knob, 9..12 slider); with any other selection nothing is stored, but the overlay is
// still refreshed and the flag set.
void ControlArea::Private::storeKonbSlider(int field, std::int32_t value)
{
    const int i = q->selectedIndex();
    if (i > 4 && i < 13) {
        const ControlKind k = KindOfControl(i);
        FieldsOfKind(record(), k).arrays[field][ElementOfControl(i)] = value;
    }
    finishChange();
}

void ControlArea::Private::SelKonbEnableChange(int index)
{
    EnableKonbEditors(index);
    storeKonbSlider(0, index);
}

void ControlArea::Private::EditKonbCCNumberChange()
{
    storeKonbSlider(1, panels.EditKonbCCNumber->value());
}

void ControlArea::Private::EditKonbURValueChange()
{
    storeKonbSlider(2, panels.EditKonbURValue->value());
}

void ControlArea::Private::EditKonbLLValueChange()
{
    storeKonbSlider(3, panels.EditKonbLLValue->value());
}

void ControlArea::Private::SelPadAssignTypeChange(int index)
{
    EnablePadEditors(index);
    const int e = elementOf(ControlKind::Pad);
    if (e >= 0) {
        record().PadAssignType[e] = index;
        // Switching to "Note" shows line min(number, 120); the field's handler then stores
        // the number of the line shown.
        if (const auto text = PadSwitchText(record().PadCCNumber[e], index, notes))
            panels.EditPadCCNumber->setShownText(*text);
    }
    finishChange();
}

void ControlArea::Private::EditPadCCNumberChange()
{
    const int e = elementOf(ControlKind::Pad);
    const auto number = ReadPadNumber(panels.EditPadCCNumber->text(), panels.SelPadAssignType->currentIndex(), notes);
    if (e >= 0 && number) record().PadCCNumber[e] = *number;
    finishChange();
}

void ControlArea::Private::stepPadNumber(int step)
{
    if (!panels.EditPadCCNumber->isEnabled()) return;
    const QString text = StepPadNumber(panels.EditPadCCNumber->text(), panels.SelPadAssignType->currentIndex(), step, notes);
    panels.EditPadCCNumber->setShownText(text);
}

void ControlArea::Private::EditPadONValueChange()
{
    LUMO_STORE(Pad, PadONValue, panels.EditPadONValue->value());
}

void ControlArea::Private::EditPadOFFValueChange()
{
    LUMO_STORE(Pad, PadOFFValue, panels.EditPadOFFValue->value());
}

void ControlArea::Private::SelPadBehaviorChange(int index)
{
    LUMO_STORE(Pad, PadBehavior, index);
}

void ControlArea::Private::SelPadMIDIChChange(int index)
{
    LUMO_STORE(Pad, PadMIDICh, index);
}

void ControlArea::Private::SelKeyAssignTypeChange(int index)
{
    EnableKeyEditors(index);
    LUMO_STORE(Key, KeyAssignType, index);
}

void ControlArea::Private::EditKeyCCNumberChange()
{
    LUMO_STORE(Key, KeyCCNumber, panels.EditKeyCCNumber->value());
}

void ControlArea::Private::EditKeyONValueChange()
{
    LUMO_STORE(Key, KeyONValue, panels.EditKeyONValue->value());
}

void ControlArea::Private::EditKeyOFFValueChange()
{
    LUMO_STORE(Key, KeyOFFValue, panels.EditKeyOFFValue->value());
}

void ControlArea::Private::SelKeyBehaviorChange(int index)
{
    LUMO_STORE(Key, KeyBehavior, index);
}

#undef LUMO_STORE

} // namespace lumo
