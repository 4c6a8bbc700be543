// The five parameter panels beside the control list and every editor on them, created at
// their pixel positions with the design names as object names.
#pragma once

#include <QFrame>

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

    static constexpr int kPanelWidth = 583;
};

} // namespace lumo
