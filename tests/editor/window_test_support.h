// Helpers of the window tests: answering the real message boxes and file dialogs that a
// command opens, and making a main window that reads the shipped parameter files.
#pragma once

#include "tests/support/simulated_ports.h"
#include "device/virtual_controller.h"
#include "editor/vorel_lumo_main.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QStandardPaths>
#include <QTimer>
#include <QtTest>

#include <deque>
#include <functional>

namespace lumo::window_testing {

// What a message box showed.
struct SeenBox {
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QStringList buttons;
};

// Answers modal windows in the order they appear: each step gets the next new modal window.
// A window that appears when no step is left is recorded and cancelled, so that a command that
// asks more than expected fails the test instead of hanging it.
class ModalScript : public QObject {
public:
    using Step = std::function<void(QWidget*)>;

    ModalScript()
    {
        connect(&m_timer, &QTimer::timeout, this, [this] { poll(); });
        m_timer.start(5);
    }

    ModalScript& then(Step step)
    {
        m_steps.push_back(std::move(step));
        return *this;
    }
    // Presses the button of that caption ("Yes", "No", "Cancel", "OK") in a message box.
    ModalScript& press(const QString& button)
    {
        return then([this, button](QWidget* w) {
            auto* box = qobject_cast<QMessageBox*>(w);
            if (!box) {
                unexpected << QStringLiteral("not a message box: ") + w->metaObject()->className();
                w->close();
                return;
            }
            QPushButton* target = nullptr;
            for (QAbstractButton* b : box->buttons())
                if (b->text().remove(QLatin1Char('&')) == button)
                    target = qobject_cast<QPushButton*>(b);
            if (!target) {
                unexpected << QStringLiteral("no button ") + button + QStringLiteral(" in: ") + box->text();
                box->reject();
                return;
            }
            QMetaObject::invokeMethod(target, &QPushButton::click, Qt::QueuedConnection);
        });
    }
    // Types `path` into a file dialog and accepts it; an empty path cancels the dialog.
    ModalScript& choose(const QString& path)
    {
        return then([this, path](QWidget* w) {
            auto* dialog = qobject_cast<QFileDialog*>(w);
            if (!dialog) {
                unexpected << QStringLiteral("not a file dialog: ") + w->metaObject()->className();
                w->close();
                return;
            }
            dialogFiles << (dialog->selectedFiles().isEmpty() ? QString() : dialog->selectedFiles().constFirst());
            dialogs << dialog->objectName();
            if (path.isEmpty()) {
                QMetaObject::invokeMethod(dialog, &QDialog::reject, Qt::QueuedConnection);
                return;
            }
            dialog->selectFile(path);
            QMetaObject::invokeMethod(dialog, &QDialog::accept, Qt::QueuedConnection);
        });
    }

    bool finished() const { return m_steps.empty(); }

    QList<SeenBox> boxes;
    QStringList dialogs;     // object names of the file dialogs, in order
    QStringList dialogFiles; // the file name each dialog offered when it opened
    QStringList unexpected;

private:
    void poll()
    {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || modal == m_last)
            return;
        m_last = modal;
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            SeenBox seen{box->windowTitle(), box->text(), box->icon(), {}};
            for (QAbstractButton* b : box->buttons())
                seen.buttons << b->text();
            boxes << seen;
        }
        if (m_steps.empty()) {
            unexpected << QStringLiteral("unexpected window: ") + modal->windowTitle() + QStringLiteral(" ")
                    + (boxes.isEmpty() ? QString() : boxes.last().text);
            QMetaObject::invokeMethod(modal, "reject", Qt::QueuedConnection);
            return;
        }
        const Step step = m_steps.front();
        m_steps.pop_front();
        step(modal);
    }

    QTimer m_timer;
    QPointer<QWidget> m_last;
    std::deque<Step> m_steps;
};

// The controller behind a pair of simulated ports named like the real one.
struct SimulatedController {
    explicit SimulatedController(const SceneSet& scenes)
        : controller(scenes)
    {
        const int id = ports.addController(controller);
        ports.addOutput("Vorel Lumo MIDI 1", id);
        ports.addInput("Vorel Lumo MIDI 1", id);
    }
    SimulatedPorts ports;
    VirtualController controller;
};

// An edit the window does not show (a padding byte of scene 4): the document has unsaved changes.
inline void MakeUnsavedEdit(Document& document)
{
    document.edit([](SceneSet& scenes) { ++scenes.scene(4).Padding[0]; });
}

// A main window reading the shipped DefPara.ini and NotePara.ini, shown, with a fixed clock.
inline std::unique_ptr<TFormMain> MakeWindow(MidiPorts* ports = nullptr)
{
    // The settings (the remembered port pair) go to a test folder, never the user's.
    QStandardPaths::setTestModeEnabled(true);
    auto window = std::make_unique<TFormMain>(QStringLiteral(LUMO_ASSETS_DIR), ports);
    window->document().clock = [] { return QDateTime(QDate(2026, 12, 7), QTime(21, 5)); };
    window->show();
    window->activateWindow();
    // Window shortcuts only reach the active window.
    if (!QTest::qWaitForWindowActive(window.get()))
        qWarning("main window not active");
    return window;
}

} // namespace lumo::window_testing
