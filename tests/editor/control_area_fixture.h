// A control area on a plain 792 x 546 client, with a document filled from the shipped
// defaults, as the main window has it after start-up; helpers that act as the user would.
#pragma once

#include "editor/choice_box.h"
#include "editor/control_area.h"
#include "editor/number_editor.h"
#include "editor/overlay_labels.h"
#include "editor/pad_number_field.h"
#include "scene/display_texts.h"
#include "scene/document.h"
#include "scene/parameter_files.h"

#include <QApplication>
#include <QListWidget>
#include <QTest>
#include <QToolButton>
#include <QWidget>

#include <memory>

namespace lumo::test {

struct ControlAreaFixture {
    ControlAreaFixture()
        : files(BuiltInParameterFiles())
        , document(files.defaults)
    {
        client.resize(792, 546);
        area = std::make_unique<ControlArea>(&client, document, files.notes);
        client.show();
        client.activateWindow();
        (void)QTest::qWaitForWindowActive(&client);
        // The start-up of the main window: defaults, first scene button, flag cleared.
        SceneSet defaults;
        ApplyDefaults(files.defaults, defaults);
        document.replaceScenes(defaults);
        area->selectSceneFromButtons();
        document.markClean();
        area->moveFrameOffWindow();
    }

    template <typename T> T* find(const char* name) const
    {
        T* widget = client.findChild<T*>(QString::fromLatin1(name));
        if (!widget) qFatal("no widget %s", name);
        return widget;
    }
    NumberEditor* number(const char* name) const { return find<NumberEditor>(name); }
    ChoiceBox* choice(const char* name) const { return find<ChoiceBox>(name); }
    OverlayLabel* label(int controlIndex) const
    {
        return find<OverlayLabel>(QStringLiteral("Label%1").arg(30 + controlIndex).toLatin1().constData());
    }

    // The program selects a list position and runs the selection behaviour.
    void select(int controlIndex)
    {
        area->setSelectedIndex(controlIndex);
        area->showSelectedControl();
    }
    // The user clicks a list item with the mouse.
    void clickListItem(int controlIndex)
    {
        auto* list = find<QListWidget>("ControlList");
        list->scrollToItem(list->item(controlIndex));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(controlIndex)).center());
    }
    // The user picks an item of a drop-down list.
    void choose(const char* name, int index)
    {
        ChoiceBox* box = choice(name);
        box->setCurrentIndex(index);
        emit box->activated(index);
    }
    // The user replaces a field's text by typing `keys` into it.
    void typeInto(QLineEdit* edit, const QString& keys, bool replace = true)
    {
        edit->setFocus();
        if (replace) edit->selectAll();
        QTest::keyClicks(edit, keys);
    }
    // Moves the focus to the control list.
    void leaveField() { find<QListWidget>("ControlList")->setFocus(); }
    void clickScene(int scene)
    {
        QTest::mouseClick(find<QToolButton>(QStringLiteral("SceneButton%1").arg(scene).toLatin1().constData()),
                          Qt::LeftButton);
    }

    // The scenes arranged as a loaded file would have them: written in place, not as an edit
    // (the document's own object is not const, so the cast is sound).
    SceneRecord& scene(int n) { return const_cast<SceneRecord&>(document.scenes().scene(n)); }
    SceneRecord& current() { return const_cast<SceneRecord&>(document.current()); }

    ParameterFiles files;
    Document document;
    QWidget client;
    std::unique_ptr<ControlArea> area;
};

} // namespace lumo::test
