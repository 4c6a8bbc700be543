// The five parameter panels beside the control list and every editor on them, created at
// their pixel positions with the design names as object names.
#pragma once

#include "scene/control_index.h"

#include <QFrame>

#include <vector>

namespace lumo {

class ChoiceBox;
class NumberEditor;
class PadNumberField;
class SplitArrowButton;
class UpperCaseLineEdit;

struct ParameterPanels {
    // Creates the panels on `client` at (left, top), each 583 x `height`, all hidden.
    ParameterPanels(QWidget* client, int left, int top, int height);

    QFrame* PanelCommon;
    QFrame* PanelGroup;
    QFrame* PanelKonb;
    QFrame* PanelPad;
    QFrame* PanelKey;

    UpperCaseLineEdit* EditSceneName;
    ChoiceBox* SelSceneMIDICh;
    ChoiceBox* SelPianoKeyCh;
    NumberEditor* EditBendSpeed;
    NumberEditor* EditKeyTrans;
    ChoiceBox* SelKeyVelocityCurve;
    NumberEditor* EditKeyConstVelocity;
    ChoiceBox* SelPadVelocityCurve;
    NumberEditor* EditPadConstVelocity;

    ChoiceBox* SelMIDICh;

    ChoiceBox* SelKonbEnable;
    NumberEditor* EditKonbCCNumber;
    NumberEditor* EditKonbURValue;
    NumberEditor* EditKonbLLValue;

    ChoiceBox* SelPadAssignType;
    PadNumberField* EditPadCCNumber;
    SplitArrowButton* RxSpinButton1;
    NumberEditor* EditPadONValue;
    NumberEditor* EditPadOFFValue;
    ChoiceBox* SelPadBehavior;
    ChoiceBox* SelPadMIDICh;

    ChoiceBox* SelKeyAssignType;
    NumberEditor* EditKeyCCNumber;
    NumberEditor* EditKeyONValue;
    NumberEditor* EditKeyOFFValue;
    ChoiceBox* SelKeyBehavior;

    // The panel of a kind (knobs and sliders share PanelKonb); nullptr for none.
    QFrame* panelOf(ControlKind kind) const;
    // The editors of a kind's panel in the order of the kind's settings (SettingsOfKind):
    // editor k stores setting k. The knob panel's serve the sliders too.
    std::vector<QWidget*> editorsOf(ControlKind kind) const;

    static constexpr int kPanelWidth = 583;
};

} // namespace lumo
