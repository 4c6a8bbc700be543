// The Scene Set as a document: the four scenes, the current scene, the modified flag and the
// current file name. The flag is the document's own rule: an edit stores through edit(), which
// compares and marks; nothing else sets it.
#pragma once

#include "scene/parameter_files.h"
#include "scene/scene_record.h"

#include <QObject>
#include <QString>

#include <functional>

namespace lumo {

class Document : public QObject {
    Q_OBJECT
public:
    explicit Document(const DefaultParameters& defaults, QObject* parent = nullptr);

    const SceneSet& scenes() const { return m_scenes; }
    int currentScene() const { return m_currentScene; }
    void setCurrentScene(int number) { m_currentScene = number; }
    const SceneRecord& current() const { return m_scenes.scene(m_currentScene); }

    // The one way an edit stores: `change` changes the scenes in place; when a stored byte
    // differs afterwards, the document is modified and edited() is emitted. Returns whether
    // a byte changed.
    bool edit(const std::function<void(SceneSet&)>& change);
    // The same for the current scene's record.
    bool editCurrent(const std::function<void(SceneRecord&)>& change);

    // "New", "Open" and a read from the controller replace the scenes without making that an
    // edit: the flag stays as it is (a read then marks the document clean).
    void replaceScenes(const SceneSet& scenes);
    // Undo and redo, and a redisplay that must leave no trace, put back a state with its flag.
    void restore(const SceneSet& scenes, bool modified);

    // Set by an edit that changes a stored byte, cleared by a save, by a read from the
    // controller and at start-up.
    bool modified() const { return m_modified; }
    // The scenes now are those last saved or read (or those of start-up); markedClean() tells
    // the undo history, which marks that state.
    void markClean();

    // Where "Save" writes; set by "Save as", emptied by "New".
    const QString& fileName() const { return m_fileName; }
    void setFileName(const QString& fileName) { m_fileName = fileName; }

    // The defaults that start-up and "New" apply.
    const DefaultParameters& defaults() const { return m_defaults; }

signals:
    void edited();
    void markedClean();

private:
    const DefaultParameters& m_defaults;
    SceneSet m_scenes;
    int m_currentScene = 1;
    bool m_modified = false;
    QString m_fileName;
};

} // namespace lumo
