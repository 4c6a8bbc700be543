// The cost of the JSON form: exporting four scenes of random bytes and importing that text
// with every check, the scan for names given twice included.
#include "scene/scene_json.h"

#include <benchmark/benchmark.h>

#include <random>

namespace lumo {
namespace {

SceneSet randomScenes()
{
    std::mt19937 random(7);
    std::array<std::uint8_t, kSceneSetSize> bytes;
    for (std::uint8_t& byte : bytes) byte = static_cast<std::uint8_t>(random());
    SceneSet scenes;
    scenes.fromBytes(bytes.data());
    return scenes;
}

void exportScenes(benchmark::State& state)
{
    const SceneSet scenes = randomScenes();
    for (auto _ : state) benchmark::DoNotOptimize(ScenesToJson(scenes));
}
BENCHMARK(exportScenes)->Unit(benchmark::kMicrosecond);

void importScenes(benchmark::State& state)
{
    const QByteArray json = ScenesToJson(randomScenes());
    for (auto _ : state) benchmark::DoNotOptimize(ScenesFromJson(json));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * json.size());
}
BENCHMARK(importScenes)->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace lumo
