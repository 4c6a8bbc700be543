// The scene-name rule and the raw form of the Scene Set.
#include "scene/scene_record.h"

#include <algorithm>
#include <cstring>

namespace lumo {

bool SetSceneName(SceneRecord& record, std::string_view name)
{
    const std::size_t length = std::min<std::size_t>(name.size(), kSceneNameCapacity);
    const bool changed = record.SceneNameLength != length || std::memcmp(record.SceneNameChars, name.data(), length) != 0;
    std::memcpy(record.SceneNameChars, name.data(), length);
    record.SceneNameLength = static_cast<std::uint8_t>(length);
    return changed;
}

std::string SceneName(const SceneRecord& record)
{
    const std::size_t length = std::min<std::size_t>(record.SceneNameLength, kSceneNameCapacity);
    return std::string(reinterpret_cast<const char*>(record.SceneNameChars), length);
}

std::string VisibleSceneName(const SceneRecord& record)
{
    std::string name = SceneName(record);
    name.resize(std::min(name.size(), name.find('\0')));
    return name;
}

bool SetShownSceneName(SceneRecord& record, std::string_view shown)
{
    return shown != VisibleSceneName(record) && SetSceneName(record, shown);
}

SceneSet::SceneSet()
{
    std::memset(m_records.data(), 0, sizeof(m_records));
}

SceneRecord& SceneSet::scene(int number)
{
    return m_records.at(static_cast<std::size_t>(number - 1));
}

const SceneRecord& SceneSet::scene(int number) const
{
    return m_records.at(static_cast<std::size_t>(number - 1));
}

std::array<std::uint8_t, kSceneSetSize> SceneSet::toBytes() const
{
    static_assert(sizeof(m_records) == kSceneSetSize);
    std::array<std::uint8_t, kSceneSetSize> bytes;
    std::memcpy(bytes.data(), m_records.data(), kSceneSetSize);
    return bytes;
}

void SceneSet::fromBytes(const std::uint8_t* bytes)
{
    std::memcpy(m_records.data(), bytes, kSceneSetSize);
}

bool SceneSet::operator==(const SceneSet& other) const
{
    return std::memcmp(m_records.data(), other.m_records.data(), kSceneSetSize) == 0;
}

} // namespace lumo
