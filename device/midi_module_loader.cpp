// The program's side of the MIDI module: the first call into the MIDI system loads it, and
// every call goes on to it. Where it can't be loaded (a broken install), the program runs
// without MIDI, warns once, and the empty port set says why.
#include "device/bounded_call.h"
#include "device/device_log.h"
#include "device/midi_module.h"
#include "device/no_midi_ports.h"

#if defined(__linux__)
#include <dlfcn.h>
#include <unistd.h>

#include <cstdlib>

namespace lumo {

namespace {

struct LoadedModule {
    const MidiModule* module = nullptr;
    std::string error;
};

// The module's file: LUMO_MIDI_MODULE when set; else for a program of the build tree the
// tree's own module, and for an installed one the module installed beside it. Not through the
// program's run path, which dlopen does not see where a sanitizer intercepts it. Empty when
// the program's own file is unknown.
std::string moduleFile()
{
    if (const char* chosen = std::getenv("LUMO_MIDI_MODULE"))
        return chosen;
    char program[4096];
    const ssize_t length = readlink("/proc/self/exe", program, sizeof program - 1);
    if (length <= 0)
        return {};
    const std::string path(program, std::size_t(length));
    const std::string buildTree = LUMO_BUILD_TREE "/";
    if (path.compare(0, buildTree.size(), buildTree) == 0)
        return buildTree + "device/liblumo-midi.so";
    return path.substr(0, path.rfind('/') + 1) + LUMO_MIDI_MODULE_FROM_PROGRAM;
}

const LoadedModule& loadedModule()
{
    static const LoadedModule loaded = [] {
        LoadedModule result;
        const std::string file = moduleFile();
        void* handle = file.empty() ? nullptr : dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
        const auto entry = handle ? reinterpret_cast<MidiModuleEntry>(dlsym(handle, kMidiModuleEntry)) : nullptr;
        if (entry) {
            result.module = entry(MidiModuleHost{&RunBounded});
            return result;
        }
        if (handle) {
            result.error = std::string("the MIDI module is of another build (no ") + kMidiModuleEntry + ")";
        } else {
            const char* why = file.empty() ? "the program's own file is unknown" : dlerror();
            result.error = std::string("the MIDI module could not be loaded: ") + (why ? why : file.c_str());
        }
        qCWarning(deviceLog, "%s", result.error.c_str());
        return result;
    }();
    return loaded;
}

} // namespace

MidiApi ChooseMidiApi()
{
    const LoadedModule& loaded = loadedModule();
    return loaded.module ? loaded.module->chooseMidiApi() : MidiApi::None;
}

std::unique_ptr<MidiPorts> OpenMidiPorts(MidiApi api, const std::string& clientName)
{
    const LoadedModule& loaded = loadedModule();
    if (!loaded.module)
        return std::make_unique<NoMidiPorts>(loaded.error);
    return loaded.module->openMidiPorts(api, clientName);
}

std::unique_ptr<VirtualMidiPorts> OpenVirtualMidiPorts(MidiApi api, const std::string& portName,
                                                       MidiInputCallback onWord, std::string& error)
{
    const LoadedModule& loaded = loadedModule();
    if (!loaded.module) {
        error = loaded.error;
        return nullptr;
    }
    return loaded.module->openVirtualMidiPorts(api, portName, std::move(onWord), error);
}

} // namespace lumo
#endif
