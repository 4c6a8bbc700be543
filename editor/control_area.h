// The lower half and the overlay of the main window: control list, the five parameter
// panels, the 45 overlay labels with their selection frame, "Display Select" and the scene
// buttons. Holds the selection behaviour and every editor's change handler.
#pragma once

#include "scene/control_index.h"
#include "scene/document.h"
#include "scene/parameter_files.h"

#include <QObject>

class QWidget;

namespace lumo {

class ControlArea : public QObject {
    Q_OBJECT
public:
    // Creates every element on `client` (the main window's client area) at its position;
    // display mode 2, Common panel shown, Label31 the selected label without highlight.
    ControlArea(QWidget* client, Document& document, const NoteNames& notes, QObject* parent = nullptr);
    ~ControlArea() override;

    // The selection behaviour for the list's selected position: its kind's panel shown and
    // filled from the current scene, the enabling rule applied, its label highlighted and the
    // overlay refreshed. Every redisplay (New, Open, Paste, a read, the scene buttons) ends here.
    void showSelectedControl();
    // Captions of the scene buttons and texts of the 45 labels for the current scene.
    void refreshOverlay(int mode);
    // What a click on any scene button does: the current scene becomes the one whose button
    // is down, "Common" is selected and shown.
    void selectSceneFromButtons();
    // Moves the selection frame off the window (left edge -100).
    void moveFrameOffWindow();
    // Shows a state that undo or redo returns: `scene` current with its button down, control
    // `controlIndex` selected and shown.
    void showSceneAndControl(int scene, int controlIndex);
    // The focused editor of the area loses the focus now, so that a typed number is clamped
    // and stored before the selection, the scene or the whole set changes.
    void settleFocus();

    int displayMode() const;
    ControlKind controlKind() const;
    // The list's selected position, -1 when nothing is selected.
    int selectedIndex() const;
    // Sets the list's selection without running showSelectedControl.
    void setSelectedIndex(int index);

signals:
    // Around the store of a drop-down choice by the user, which is one undo step.
    void choiceAboutToBeStored();
    void choiceStored();
    // After every store of an editor, typed, stepped, chosen or by a refill.
    void stored();

private:
    struct Private;
    Private* d;
};

} // namespace lumo
