// Fuzzes the parameter-file reader: the input is both a DefPara.ini and a NotePara.ini. Checks
// that ApplyDefaults is deterministic, touches nothing but the record fields, and that every note
// name looked up by number is found again by name.
#include "scene/parameter_files.h"
#include "scene/scene_record.h"

#include <cstddef>
#include <cstdint>

namespace {

void check(bool condition)
{
    if (!condition) __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace lumo;
    const QByteArray text(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));

    const DefaultParameters defaults(text);
    SceneSet first;
    ApplyDefaults(defaults, first);
    SceneSet second;
    ApplyDefaults(defaults, second);
    ApplyDefaults(defaults, second);
    check(first == second);

    // Every line's own key finds a value; the transfer keys are read the trimmed way.
    for (const QByteArray& line : defaults.lines()) {
        const qsizetype equals = line.indexOf('=');
        if (equals < 0) continue;
        const QByteArray key = line.left(equals);
        (void)defaults.value(key);
        (void)defaults.intValue(key, -7);
        (void)defaults.trimmedIntValue(key, -7);
    }
    (void)defaults.trimmedIntValue("SceneDataLen", 916);
    (void)defaults.trimmedIntValue("BlockAddOne", 0);

    const NoteNames notes(text);
    for (int number = -1; number <= notes.size() && number < 300; ++number) {
        const std::optional<QString> name = notes.name(number);
        check(name.has_value() == (number >= 0 && number < notes.size()));
        if (!name) continue;
        // The first line equal to the name, in any letter case, is at or before this one.
        const std::optional<int> found = notes.number(*name);
        check(found.has_value() && *found <= number);
    }
    return 0;
}
