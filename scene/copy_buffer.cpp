// Copy and paste of one control's settings between controls of the same kind.
#include "scene/copy_buffer.h"

#include "scene/scene_settings.h"

namespace lumo {

void CopyBuffer::copy(const SceneRecord& scene, int controlIndex)
{
    m_kind = KindOfControl(controlIndex);
    if (m_kind == ControlKind::Common)
        return;
    // Only the copied kind's fields of the area are read later, so a whole-record snapshot
    // holds exactly that kind's block and leaves the other kinds' areas as they were.
    SceneRecord& area = m_areas[static_cast<std::size_t>(m_kind)];
    SceneRecord source = scene;
    KindFields from = FieldsOfKind(source, m_kind);
    KindFields to = FieldsOfKind(area, m_kind);
    const int count = ControlCountOfKind(m_kind);
    for (int f = 0; f < from.count; ++f)
        for (int e = 0; e < count; ++e)
            to.arrays[f][e] = from.arrays[f][e];
    m_position = controlIndex - FirstIndexOfKind(m_kind) + 1;
}

bool CopyBuffer::paste(SceneRecord& scene, int controlIndex) const
{
    const ControlKind kind = KindOfControl(controlIndex);
    if (kind != m_kind)
        return false;
    if (kind == ControlKind::Common)
        return true;
    SceneRecord area = m_areas[static_cast<std::size_t>(kind)];
    KindFields from = FieldsOfKind(area, kind);
    KindFields to = FieldsOfKind(scene, kind);
    const int source = m_position - 1;
    const int target = controlIndex - FirstIndexOfKind(kind);
    for (int f = 0; f < from.count; ++f)
        to.arrays[f][target] = from.arrays[f][source];
    return true;
}

} // namespace lumo
