// The program's own clipboard for one control's settings: a snapshot of a whole kind's block
// of fields, taken by "Copy", of which only the copied position is pasted onto a control of
// the same kind (the system clipboard is never used).
#pragma once

#include "scene/control_index.h"
#include "scene/scene_record.h"

#include <array>
#include <cstdint>

namespace lumo {

class CopyBuffer {
public:
    // "Copy" with `controlIndex` selected in `scene`: the copied kind becomes that control's
    // kind (Common for index 0 or nothing selected, which disables pasting).
    void copy(const SceneRecord& scene, int controlIndex);
    // "Paste" onto `controlIndex` of `scene`: writes every field of the copied control when the
    // kinds match (nothing for Common) and returns true, so the caller redisplays; returns
    // false, writing nothing, when the kinds differ.
    bool paste(SceneRecord& scene, int controlIndex) const;

    ControlKind copiedKind() const { return m_kind; }
    int copiedPosition() const { return m_position; } // 1-based within the kind

private:
    ControlKind m_kind = ControlKind::Common;
    int m_position = 0;
    // One area per kind (index = kind), each the kind's whole block as it was at its last copy.
    std::array<SceneRecord, 6> m_areas{};
};

} // namespace lumo
