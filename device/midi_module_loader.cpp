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
#include <vector>

namespace lumo {

namespace {

struct LoadedModule {
    const MidiModule* module = nullptr;
    std::string error;
};

// Where the module may be: LUMO_MIDI_MODULE when set; else for a program of the build tree
// the tree's own module, and for an installed one the module installed beside it. Not through
// the program's run path, which dlopen does not see where a sanitizer intercepts it.
std::vector<std::string> moduleFiles()
{
    if (const char* chosen = std::getenv("LUMO_MIDI_MODULE"))
        return {chosen};
    char program[4096];
    const ssize_t length = readlink("/proc/self/exe", program, sizeof program - 1);
    if (length <= 0)
        return {};
    const std::string path(program, std::size_t(length));
    const std::string buildTree = LUMO_BUILD_TREE "/";
    if (path.compare(0, buildTree.size(), buildTree) == 0)
        return {buildTree + "device/liblumo-midi.so"};
    return {path.substr(0, path.rfind('/') + 1) + LUMO_MIDI_MODULE_FROM_PROGRAM};
}

const LoadedModule& loadedModule()
{
    static const LoadedModule loaded = [] {
        LoadedModule result;
        std::string errors;
        void* handle = nullptr;
        for (const std::string& file : moduleFiles()) {
            if ((handle = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL)))
                break;
            const char* why = dlerror();
            errors += errors.empty() ? "" : "; ";
            errors += why ? why : file;
        }
        const auto entry = handle ? reinterpret_cast<MidiModuleEntry>(dlsym(handle, kMidiModuleEntry)) : nullptr;
        if (entry)
            result.module = entry(MidiModuleHost{&RunBounded});
        else {
            result.error = handle ? std::string("the MIDI module is of another build (no ") + kMidiModuleEntry + ")"
                                  : "the MIDI module could not be loaded: "
                                        + (errors.empty() ? std::string("the program's own file is unknown") : errors);
            qCWarning(deviceLog, "%s", result.error.c_str());
        }
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
