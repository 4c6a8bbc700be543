// Whole-scene copy and paste, byte for byte.
#include "scene/scene_buffer.h"

#include <cstring>

namespace lumo {

bool SceneBuffer::paste(SceneRecord& scene) const
{
    if (!m_scene || std::memcmp(&*m_scene, &scene, sizeof scene) == 0)
        return false;
    std::memcpy(&scene, &*m_scene, sizeof scene);
    return true;
}

} // namespace lumo
