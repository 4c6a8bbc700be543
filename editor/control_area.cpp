// The control area: selection behaviour, panel fill, enabling rules, overlay refresh and
// highlight, scene buttons, and the one path by which every editor stores its setting.
#include "editor/control_area.h"

#include "app/assignment_check.h"
#include "editor/choice_box.h"
#include "editor/conflict_outlines.h"
#include "editor/control_list_box.h"
#include "editor/number_editor.h"
#include "editor/overlay_labels.h"
#include "editor/pad_number_field.h"
#include "editor/parameter_panels.h"
#include "editor/scene_buttons.h"
#include "editor/split_arrow_button.h"
#include "editor/upper_case_line_edit.h"
#include "scene/display_texts.h"
#include "scene/scene_settings.h"

#include <QApplication>
#include <QLabel>
#include <QToolButton>
#include <QWidget>

#include <optional>
#include <span>
#include <vector>

namespace lumo {

namespace {
constexpr int kListLeft = 25, kListTop = 356, kListWidth = 145, kListHeight = 166;
constexpr int kPanelGap = 5;
constexpr int kInitialDisplayMode = 2; // "CC/Note Number"
} // namespace

// Where an editor's value goes: an element of a setting in the current scene.
struct StoreTarget {
    const SceneSetting* setting;
    int element;
};

struct ControlArea::Private {
    Private(ControlArea* q, QWidget* client, Document& document, const NoteNames& notes);

    const SceneRecord& record() const { return document.current(); }
    // Every editor stores through the document, which compares and marks it modified.
    void store(const StoreTarget& target, std::int32_t value)
    {
        document.editCurrent([&](SceneRecord& r) { SetSettingValue(r, *target.setting, target.element, value); });
    }

    void showPanel(QFrame* panel);
    void fillPanel(ControlKind kind, int element);
    void fillEditor(QWidget* editor, const SceneSetting& setting, int element);
    void highlight(int i);
    // The focused editor of the area loses the focus now, so its clamp is stored for the
    // control and scene that it was showing before the selection or scene changes.
    void settleFocus();

    // The enabling rule of a kind's panel, by what its drop-down lists show now.
    void applyEnablingRule(ControlKind kind);
    void enableKnobEditors(int enable);
    void enablePadEditors(int assignment);
    void enableKeyEditors(int assignment);
    void enableConstVelocityEditors(int keyCurve, int padCurve);

    // The store path of every editor. `panelSetting` is the setting that the editor stores for
    // its own panel's kind (the knob's for the knob panel, which serves the sliders too).
    std::optional<StoreTarget> targetOf(const SceneSetting& panelSetting) const;
    void storeChoice(const SceneSetting& panelSetting, int index);
    void storeNumber(const SceneSetting& panelSetting, const NumberEditor* editor);
    void storeSceneName();
    void storePadNumber();
    // Refreshes the overlay after a store, except during a fill (its caller refreshes).
    void finishChange();
    void stepPadNumber(int step);
    void selectOverlayLabel(QObject* label);

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
    // While a panel is filled, the stores it sets off leave the overlay to the one refresh that
    // follows the fill.
    bool filling = false;
    // Made last, so that it lies above the labels.
    ConflictOutlines* conflictOutlines = new ConflictOutlines(client);
};

ControlArea::Private::Private(ControlArea* q_, QWidget* client_, Document& document_, const NoteNames& notes_)
    : q(q_)
    , client(client_)
    , document(document_)
    , notes(notes_)
    , dispCaption(new QLabel(ControlArea::tr("Display Select"), client_))
    , SelDisp(new ChoiceBox(ShownItems(DisplayModeItems()), client_))
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
    SelDisp->setAccessibleName(dispCaption->text());
    ControlList->setGeometry(kListLeft, kListTop, kListWidth, kListHeight);
    ControlList->setAccessibleName(QStringLiteral("Control List"));
    panels.PanelCommon->show();
    // Tab goes through the shown panel's editors as they stand, left column top to bottom,
    // then the right, and then to the control list; the hidden panels' editors are skipped.
    QWidget* previous = SelDisp;
    for (ControlKind kind : {ControlKind::Common, ControlKind::Group, ControlKind::Knob, ControlKind::Pad, ControlKind::Key})
        for (QWidget* editor : panels.editorsOf(kind)) {
            QWidget::setTabOrder(previous, editor);
            previous = editor;
        }
    QWidget::setTabOrder(previous, ControlList);
}

ControlArea::ControlArea(QWidget* client, Document& document, const NoteNames& notes, QObject* parent)
    : QObject(parent)
    , d(new Private(this, client, document, notes))
{
    auto& p = d->panels;
    Private* x = d;
    // The handlers capture the Private pointer by value: a nested lambda must not reach it
    // through the enclosing lambda, which lives only during construction.
    for (ControlKind kind : {ControlKind::Common, ControlKind::Group, ControlKind::Knob, ControlKind::Pad, ControlKind::Key}) {
        const std::span<const SceneSetting> settings = SettingsOfKind(kind);
        const std::vector<QWidget*> editors = p.editorsOf(kind);
        for (std::size_t k = 0; k < settings.size(); ++k) {
            const SceneSetting* setting = &settings[k];
            if (auto* box = qobject_cast<ChoiceBox*>(editors[k]))
                connect(box, &ChoiceBox::userChanged, this, [this, x, setting](int index) {
                    emit choiceAboutToBeStored();
                    x->storeChoice(*setting, index);
                    emit choiceStored();
                });
            else if (auto* number = qobject_cast<NumberEditor*>(editors[k]))
                connect(number, &QLineEdit::textChanged, this, [x, setting, number] { x->storeNumber(*setting, number); });
        }
    }
    connect(p.EditSceneName, &UpperCaseLineEdit::shownTextChanged, this, [x] { x->storeSceneName(); });
    connect(p.EditPadCCNumber, &UpperCaseLineEdit::shownTextChanged, this, [x] { x->storePadNumber(); });
    connect(p.EditPadCCNumber, &PadNumberField::stepRequested, this, [x](int step) { x->stepPadNumber(step); });
    connect(p.RxSpinButton1, &SplitArrowButton::pressed, this, [x] { x->panels.EditPadCCNumber->setFocus(Qt::MouseFocusReason); });
    connect(p.RxSpinButton1, &SplitArrowButton::stepped, this, [x](int step) { x->stepPadNumber(step); });

    connect(d->SelDisp, &ChoiceBox::userChanged, this, &ControlArea::refreshOverlay);
    connect(d->ControlList, &ControlListBox::userSelected, this, &ControlArea::showSelectedControl);
    for (int i = 1; i <= kOverlayLabelCount; ++i) {
        OverlayLabel* label = d->overlay.label(i);
        connect(label, &OverlayLabel::clicked, this, [x, label] { x->selectOverlayLabel(label); });
    }
    connect(d->sceneButtons, &SceneButtons::clicked, this, &ControlArea::selectSceneFromButtons);
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

void ControlArea::settleFocus()
{
    d->settleFocus();
}

// --- selection --------------------------------------------------------------------------

void ControlArea::showSelectedControl()
{
    const int i = selectedIndex();
    if (i < 0 || i >= kControlCount) {
        d->kind = ControlKind::Common;
        d->showPanel(nullptr);
        d->overlay.label(d->selectedLabel)->setSelectedLook(false);
        d->overlay.placeFrame(d->overlay.label(d->selectedLabel), true);
        refreshOverlay(displayMode());
        return;
    }
    d->kind = KindOfControl(i);
    d->showPanel(d->panels.panelOf(d->kind));
    d->highlight(i);
    d->fillPanel(d->kind, ElementOfControl(i));
    d->overlay.placeFrame(d->overlay.label(d->selectedLabel), i == 0);
    refreshOverlay(displayMode());
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
void ControlArea::Private::fillPanel(ControlKind k, int e)
{
    const std::span<const SceneSetting> settings = SettingsOfKind(k);
    const std::vector<QWidget*> editors = panels.editorsOf(k);
    filling = true;
    for (std::size_t n = 0; n < settings.size(); ++n) fillEditor(editors[n], settings[n], e);
    filling = false;
    applyEnablingRule(k);
}

void ControlArea::Private::fillEditor(QWidget* editor, const SceneSetting& setting, int e)
{
    const std::int32_t stored = SettingValue(record(), setting, e);
    if (auto* box = qobject_cast<ChoiceBox*>(editor)) {
        box->setIndex(stored);
    } else if (setting.id == SettingId::SceneName) {
        panels.EditSceneName->setShownText(SceneCaption(record()));
    } else if (setting.id == SettingId::PadCCNumber) {
        // Shown by the stored assignment; with "No Assign" the field keeps its text.
        if (const auto text = PadNumberDisplay(stored, record().PadAssignType[e], notes))
            panels.EditPadCCNumber->setShownText(*text);
    } else if (auto* number = qobject_cast<NumberEditor*>(editor)) {
        // The Common panel's speed and constant velocities show the stored number unclamped;
        // every other number editor shows it within its range.
        if (setting.kind == ControlKind::Common && setting.id != SettingId::KeyTrans)
            number->setText(ShownText(setting, stored).value_or(QString()));
        else
            number->setValue(ShownNumber(setting, stored));
    }
}

// --- enabling rules -----------------------------------------------------------------------

void ControlArea::Private::applyEnablingRule(ControlKind k)
{
    auto& p = panels;
    switch (k) {
    case ControlKind::Common:
        enableConstVelocityEditors(p.SelKeyVelocityCurve->currentIndex(), p.SelPadVelocityCurve->currentIndex());
        break;
    case ControlKind::Knob:
    case ControlKind::Slider: enableKnobEditors(p.SelKonbEnable->currentIndex()); break;
    case ControlKind::Pad: enablePadEditors(p.SelPadAssignType->currentIndex()); break;
    case ControlKind::Key: enableKeyEditors(p.SelKeyAssignType->currentIndex()); break;
    case ControlKind::Group: break;
    }
}

void ControlArea::Private::enableKnobEditors(int enable)
{
    const bool on = enable != 0;
    panels.SelKonbEnable->setEnabled(true);
    panels.EditKonbCCNumber->setEnabled(on);
    panels.EditKonbURValue->setEnabled(on);
    panels.EditKonbLLValue->setEnabled(on);
}

void ControlArea::Private::enablePadEditors(int assignment)
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

void ControlArea::Private::enableKeyEditors(int assignment)
{
    const bool on = assignment != 0;
    auto& p = panels;
    p.SelKeyAssignType->setEnabled(true);
    p.EditKeyCCNumber->setEnabled(on);
    p.EditKeyONValue->setEnabled(on);
    p.EditKeyOFFValue->setEnabled(on);
    p.SelKeyBehavior->setEnabled(on);
}

void ControlArea::Private::enableConstVelocityEditors(int keyCurve, int padCurve)
{
    panels.EditKeyConstVelocity->setEnabled(keyCurve == kConstCurve);
    panels.EditPadConstVelocity->setEnabled(padCurve == kConstCurve);
}

// --- overlay ------------------------------------------------------------------------------

void ControlArea::refreshOverlay(int mode)
{
    for (int s = 1; s <= kSceneCount; ++s)
        d->sceneButtons->setCaption(s, SceneCaption(d->document.scenes().scene(s)));
    d->overlay.setTexts(OverlayTexts(d->document.current(), mode, d->notes));
    for (int i = 1; i <= kOverlayLabelCount; ++i) {
        const QString tip = ControlToolTip(d->document.current(), i);
        if (d->overlay.label(i)->toolTip() != tip) d->overlay.label(i)->setToolTip(tip);
    }
    d->overlay.frame()->update();
    d->conflictOutlines->setControls(ConflictingControls(d->document.current()));
}

void ControlArea::Private::selectOverlayLabel(QObject* label)
{
    bool ok = false;
    int number = label->objectName().mid(5, 2).toInt(&ok);
    if (!ok) number = 31;
    settleFocus();
    q->setSelectedIndex(number - kFirstLabelNumber);
    q->showSelectedControl();
}

// --- scene buttons -----------------------------------------------------------------------------

void ControlArea::selectSceneFromButtons()
{
    d->settleFocus();
    d->document.setCurrentScene(d->sceneButtons->sceneDown());
    setSelectedIndex(0);
    showSelectedControl();
}

void ControlArea::showSceneAndControl(int scene, int controlIndex)
{
    d->sceneButtons->setSceneDown(scene);
    d->document.setCurrentScene(scene);
    setSelectedIndex(controlIndex);
    showSelectedControl();
}

// --- storing -------------------------------------------------------------------------------

// The Common panel stores into the current scene whatever is selected. The other panels store
// into the selected control's element only while a control of their kind is selected (the knob
// panel: a knob or a slider, chosen by the Control Index alone); otherwise, which only a focus
// change racing the selection can bring about, they store nothing.
std::optional<StoreTarget> ControlArea::Private::targetOf(const SceneSetting& panelSetting) const
{
    if (panelSetting.kind == ControlKind::Common) return StoreTarget{&panelSetting, 0};
    const int i = q->selectedIndex();
    const ControlKind selected = KindOfControl(i);
    const bool served = selected == panelSetting.kind
        || (panelSetting.kind == ControlKind::Knob && selected == ControlKind::Slider);
    if (!served) return std::nullopt;
    const std::span<const SceneSetting> own = SettingsOfKind(panelSetting.kind);
    const auto position = &panelSetting - own.data();
    return StoreTarget{&SettingsOfKind(selected)[static_cast<std::size_t>(position)], ElementOfControl(i)};
}

void ControlArea::Private::storeChoice(const SceneSetting& panelSetting, int index)
{
    switch (panelSetting.id) {
    case SettingId::KonbEnable:
    case SettingId::PadAssignType:
    case SettingId::KeyAssignType:
    case SettingId::KeyVelocityCurve:
    case SettingId::PadVelocityCurve: applyEnablingRule(panelSetting.kind); break;
    default: break;
    }
    const std::optional<StoreTarget> target = targetOf(panelSetting);
    if (target) {
        store(*target, StoredNumber(*target->setting, index));
        // Switching a pad to "Note" shows line min(number, 120); the field's handler then
        // stores the number of the line shown.
        if (panelSetting.id == SettingId::PadAssignType) {
            if (const auto text = PadSwitchText(record().PadCCNumber[target->element], index, notes))
                panels.EditPadCCNumber->setShownText(*text);
        }
    }
    finishChange();
}

void ControlArea::Private::storeNumber(const SceneSetting& panelSetting, const NumberEditor* editor)
{
    // The speed is read from the trimmed text, a non-number as speed 1; the other editors
    // read as typed, a non-number as their lower bound.
    const std::int64_t shown = panelSetting.id == SettingId::BendSpeed
        ? ParseTrimmedNumber(editor->text()).value_or(panelSetting.shownMin)
        : editor->value();
    const std::optional<StoreTarget> target = targetOf(panelSetting);
    if (target) store(*target, StoredNumber(*target->setting, shown));
    finishChange();
}

void ControlArea::Private::storeSceneName()
{
    const QByteArray name = panels.EditSceneName->text().left(kSceneNameCapacity).toLatin1();
    document.editCurrent([&name](SceneRecord& r) {
        SetShownSceneName(r, std::string_view(name.constData(), static_cast<std::size_t>(name.size())));
    });
    finishChange();
}

void ControlArea::Private::storePadNumber()
{
    const std::optional<StoreTarget> target = targetOf(Setting(SettingId::PadCCNumber));
    const auto number = target ? ReadShownPadNumber(panels.EditPadCCNumber->text(), panels.SelPadAssignType->currentIndex(),
                                                    record().PadCCNumber[target->element], notes)
                               : std::nullopt;
    if (target && number) store(*target, *number);
    finishChange();
}

void ControlArea::Private::stepPadNumber(int step)
{
    if (!panels.EditPadCCNumber->isEnabled()) return;
    const QString text = StepPadNumber(panels.EditPadCCNumber->text(), panels.SelPadAssignType->currentIndex(), step, notes);
    panels.EditPadCCNumber->setShownText(text);
}

void ControlArea::Private::finishChange()
{
    if (!filling) q->refreshOverlay(q->displayMode());
    emit q->stored();
}

} // namespace lumo
