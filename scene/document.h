// The Scene Set as a document: the four scenes, the current scene, the modified flag and the
// current file name, with what the File commands need to run on it.
#pragma once

#include "scene/parameter_files.h"
#include "scene/scene_record.h"
#include "scene/user_answers.h"

#include <QDateTime>
#include <QString>

#include <functional>

namespace lumo {

class Document {
public:
    Document(const DefaultParameters& defaults, UserAnswers& answers);

    SceneSet& scenes() { return m_scenes; }
    const SceneSet& scenes() const { return m_scenes; }
    int currentScene() const { return m_currentScene; }
    void setCurrentScene(int number) { m_currentScene = number; }
    SceneRecord& current() { return m_scenes.scene(m_currentScene); }

    // Set by an edit that changes a stored byte, cleared by a save and by a read from the
    // controller.
    bool modified() const { return m_modified; }
    void setModified(bool modified)
    {
        m_modified = modified;
        if (!modified && flagCleared) flagCleared();
    }
    // Where "Save" writes; set by "Save as", emptied by "New".
    const QString& fileName() const { return m_fileName; }
    void setFileName(const QString& fileName) { m_fileName = fileName; }

    // The defaults that start-up and "New" apply, and whom the commands ask.
    const DefaultParameters& defaults() const { return m_defaults; }
    UserAnswers& answers() { return m_answers; }

    // Told each time the flag is cleared: the scenes now are those last saved or read (or
    // those of start-up); the window's undo history marks that state.
    std::function<void()> flagCleared;

    // The clock of the proposed file name; tests replace it.
    std::function<QDateTime()> clock = [] { return QDateTime::currentDateTime(); };

private:
    const DefaultParameters& m_defaults;
    UserAnswers& m_answers;
    SceneSet m_scenes;
    int m_currentScene = 1;
    bool m_modified = false;
    QString m_fileName;
};

} // namespace lumo
