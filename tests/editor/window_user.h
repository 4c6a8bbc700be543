// Acting on the main window as a user does: mouse clicks on list items, scene buttons and
// overlay labels, keys in drop-down lists and fields, shortcuts; every widget found by its
// object name.
#pragma once

#include "editor/vorel_lumo_main.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QToolButton>
#include <QtTest>

namespace lumo::window_testing {

template <typename T> T* widgetNamed(const TFormMain& window, const QString& name)
{
    T* widget = window.findChild<T*>(name);
    if (!widget)
        qFatal("no widget %s", qPrintable(name));
    return widget;
}

// A command with device steps goes on from the event loop after its key or menu item: the
// user waits for its end, as for a modal question.
inline void waitForCommand(QWidget* widget)
{
    if (auto* window = qobject_cast<TFormMain*>(widget->window()))
        if (!QTest::qWaitFor([window] { return !window->transferRunning(); }, 60000))
            qWarning("the command did not end");
}

// Window shortcuts reach only the active window; a dialog that just closed may still hold
// the activation on the offscreen platform.
inline void pressKeys(QWidget* widget, const QKeySequence& keys)
{
    widget->window()->activateWindow();
    if (!QTest::qWaitForWindowActive(widget->window()))
        qWarning("window not active");
    QTest::keySequence(widget, keys);
    waitForCommand(widget);
}

inline void triggerCommand(QWidget* window, QAction* action)
{
    action->trigger();
    waitForCommand(window);
}

// Clicks item `controlIndex` of the control list, scrolling it into view as the user would.
inline void clickListItem(const TFormMain& window, int controlIndex)
{
    auto* list = widgetNamed<QListWidget>(window, QStringLiteral("ControlList"));
    list->scrollToItem(list->item(controlIndex));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(controlIndex)).center());
}

inline void clickScene(const TFormMain& window, int scene)
{
    QTest::mouseClick(widgetNamed<QToolButton>(window, QStringLiteral("SceneButton%1").arg(scene)), Qt::LeftButton);
}

// Steps a drop-down list to item `index` with the cursor keys, as a user choosing from the
// keyboard; each step is a choice of its own, like in the real window.
inline void chooseItem(const TFormMain& window, const QString& name, int index)
{
    auto* box = widgetNamed<QComboBox>(window, name);
    box->setFocus(Qt::MouseFocusReason);
    if (box->currentIndex() < 0)
        QTest::keyClick(box, Qt::Key_Home);
    while (box->currentIndex() < index)
        QTest::keyClick(box, Qt::Key_Down);
    while (box->currentIndex() > index)
        QTest::keyClick(box, Qt::Key_Up);
}

// Clicks into a text field (left of any arrows), selects its whole text and types `keys`.
inline void typeInto(const TFormMain& window, const QString& name, const QString& keys)
{
    auto* field = widgetNamed<QLineEdit>(window, name);
    QTest::mouseClick(field, Qt::LeftButton, {}, QPoint(8, field->height() / 2));
    QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(field, keys);
}

// Leaves a field the way a user does, by clicking the selected list item again.
inline void leaveField(const TFormMain& window)
{
    auto* list = widgetNamed<QListWidget>(window, QStringLiteral("ControlList"));
    clickListItem(window, list->currentRow());
}

} // namespace lumo::window_testing
