// The program's own clipboard for a whole scene: all 884 bytes of the record as it was at
// "Copy Scene", stale name bytes and padding included, kept beside the control Copy Buffer.
#pragma once

#include "scene/scene_record.h"

#include <optional>

namespace lumo {

class SceneBuffer {
public:
    void copy(const SceneRecord& scene) { m_scene = scene; }
    // Writes the copied bytes over `scene`; true when a byte changed. Nothing copied: false,
    // nothing written.
    bool paste(SceneRecord& scene) const;

    bool holdsScene() const { return m_scene.has_value(); }

private:
    std::optional<SceneRecord> m_scene;
};

} // namespace lumo
