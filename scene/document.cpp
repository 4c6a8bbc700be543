// The document state and its one store path; the File commands that change it live in
// app/file_commands.
#include "scene/document.h"

namespace lumo {

Document::Document(const DefaultParameters& defaults, QObject* parent)
    : QObject(parent)
    , m_defaults(defaults)
{
}

bool Document::edit(const std::function<void(SceneSet&)>& change)
{
    const SceneSet before = m_scenes;
    change(m_scenes);
    if (m_scenes == before) return false;
    m_modified = true;
    emit edited();
    return true;
}

bool Document::editCurrent(const std::function<void(SceneRecord&)>& change)
{
    return edit([this, &change](SceneSet& scenes) { change(scenes.scene(m_currentScene)); });
}

void Document::replaceScenes(const SceneSet& scenes)
{
    m_scenes = scenes;
}

void Document::restore(const SceneSet& scenes, bool modified)
{
    m_scenes = scenes;
    m_modified = modified;
}

void Document::markClean()
{
    m_modified = false;
    emit markedClean();
}

} // namespace lumo
