// Fuzzes the JSON import with arbitrary text. Refused text must say why; accepted text gives
// scenes whose export imports to the same bytes. The first 3,536 bytes of a long input, taken
// as scenes, must come back exactly through export and import.
#include "scene/scene_json.h"

#include <cstddef>
#include <cstdint>

namespace {

void check(bool condition)
{
    if (!condition) __builtin_trap();
}

void checkRoundTrip(const lumo::SceneSet& scenes)
{
    const lumo::JsonScenes back = lumo::ScenesFromJson(lumo::ScenesToJson(scenes));
    check(back.ok());
    check(back.scenes == scenes);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace lumo;
    const JsonScenes imported = ScenesFromJson(QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
    if (imported.ok()) checkRoundTrip(imported.scenes);
    if (size >= kSceneSetSize) {
        SceneSet scenes;
        scenes.fromBytes(data);
        checkRoundTrip(scenes);
    }
    return 0;
}
