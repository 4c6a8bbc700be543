// The assignment check runs after every stored change (the outlines) and on Ctrl+K: its cost
// on the shipped defaults and on four scenes where every control sends CC 1 on one channel.
#include "app/assignment_check.h"
#include "scene/control_messages.h"
#include "scene/parameter_files.h"

#include <benchmark/benchmark.h>

namespace {

lumo::SceneSet defaultScenes()
{
    lumo::SceneSet scenes;
    lumo::ApplyDefaults(lumo::BuiltInParameterFiles().defaults, scenes);
    return scenes;
}

lumo::SceneSet everyControlOnOneMessage()
{
    lumo::SceneSet scenes = defaultScenes();
    for (int n = 1; n <= lumo::kSceneCount; ++n) {
        lumo::SceneRecord& r = scenes.scene(n);
        for (int e = 0; e < 4; ++e) r.KonbCCNumber[e] = r.SliderCCNumber[e] = 1;
        for (int e = 0; e < lumo::kPadCount; ++e) r.PadAssignType[e] = 1, r.PadCCNumber[e] = 1, r.PadMIDICh[e] = 16;
        for (int e = 0; e < lumo::kKeyCount; ++e) r.KeyAssignType[e] = 1, r.KeyCCNumber[e] = 1;
    }
    return scenes;
}

void BM_ConflictingControlsOfDefaults(benchmark::State& state)
{
    const lumo::SceneSet scenes = defaultScenes();
    for (auto _ : state) benchmark::DoNotOptimize(lumo::ConflictingControls(scenes.scene(1)));
}
BENCHMARK(BM_ConflictingControlsOfDefaults);

void BM_ConflictingControlsAllOnOneMessage(benchmark::State& state)
{
    const lumo::SceneSet scenes = everyControlOnOneMessage();
    for (auto _ : state) benchmark::DoNotOptimize(lumo::ConflictingControls(scenes.scene(1)));
}
BENCHMARK(BM_ConflictingControlsAllOnOneMessage);

void BM_CheckAssignmentsAllOnOneMessage(benchmark::State& state)
{
    const lumo::SceneSet scenes = everyControlOnOneMessage();
    for (auto _ : state) benchmark::DoNotOptimize(lumo::CheckAssignments(scenes));
}
BENCHMARK(BM_CheckAssignmentsAllOnOneMessage);

void BM_MatchMessageInLastScene(benchmark::State& state)
{
    lumo::SceneSet scenes = defaultScenes();
    scenes.scene(4).KeyAssignType[24] = 1;
    const lumo::ControlMessage last{lumo::MidiMessageKind::ControlChange, 72, 0};
    for (auto _ : state) benchmark::DoNotOptimize(lumo::MatchMessage(scenes, 1, last));
}
BENCHMARK(BM_MatchMessageInLastScene);

} // namespace
