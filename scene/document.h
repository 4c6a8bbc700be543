// The Scene Set as a document: current scene, modified flag, current file name, and the
// File commands New, Open, Save, Save as and Quit.
#pragma once

#include "scene/parameter_files.h"
#include "scene/scene_file.h"
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

    bool modified() const { return m_modified; }
    void setModified(bool modified) { m_modified = modified; }
    const QString& fileName() const { return m_fileName; }

    const DefaultParameters& defaults() const { return m_defaults; }
    UserAnswers& answers() { return m_answers; }

    // Each command returns true when the caller must redisplay the selected item (New, Open)
    // or when it succeeded (Save, Save as). A cancelled or failed save changes nothing.
    bool New1Click();
    bool Open1Click();
    bool Save1Click();
    bool Saveas1Click();
    // True when the window may close: flag clear, answered No, or answered Yes and saved.
    bool Quit1Click();
    // The save question of "Quit" and "Read Scene Data": false when the asking command
    // must stop (Cancel, or Yes followed by a cancelled or failed save).
    bool OfferToSave();

    // "scene" + yymmddhhnn + ".lumo" for the given local time.
    static QString ProposedFileName(const QDateTime& when);
    // The clock used for the proposed name; tests replace it.
    std::function<QDateTime()> clock = [] { return QDateTime::currentDateTime(); };

private:
    bool saveTo(const QString& path);

    const DefaultParameters& m_defaults;
    UserAnswers& m_answers;
    SceneSet m_scenes;
    int m_currentScene = 1;
    bool m_modified = false;
    QString m_fileName;
    QString m_lastDialogName;
};

} // namespace lumo
