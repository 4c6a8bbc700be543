// A program whose MIDI module is missing (a broken install) or of another build runs without
// MIDI and says why. Each case runs in a child process of its own, as the module is loaded
// once per process, with LUMO_MIDI_MODULE naming the module.
#include "device/midi_system.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

using namespace lumo;

namespace {

// Ends the child with 0 when the program has no MIDI system and every open says `why`.
[[noreturn]] void checkNoMidiSystem(const char* module, const char* why)
{
    setenv("LUMO_MIDI_MODULE", module, 1);
    const auto ports = OpenMidiPorts(MidiApi::Jack, "test");
    std::string error;
    const bool none = ChooseMidiApi() == MidiApi::None && ports->systemName() == "none"
                   && ports->outputNames().empty() && !ports->openOutput("Vorel Lumo")
                   && !OpenVirtualMidiPorts(MidiApi::Jack, "test", [](std::uint32_t) {}, error);
    const bool said = ports->lastError().find(why) != std::string::npos && error.find(why) != std::string::npos;
    std::fprintf(stderr, "port set: %s; virtual ports: %s\n", ports->lastError().c_str(), error.c_str());
    std::exit(none && said ? 0 : 1);
}

} // namespace

TEST(MidiModule, MissingLeavesNoMidiSystemAndSaysWhy)
{
    EXPECT_EXIT(checkNoMidiSystem("/nonexistent/liblumo-midi.so", "the MIDI module could not be loaded"),
                testing::ExitedWithCode(0), "");
}

TEST(MidiModule, OfAnotherBuildIsRefusedAndSaysWhy)
{
    EXPECT_EXIT(checkNoMidiSystem(LUMO_FOREIGN_MODULE, "the MIDI module is of another build"),
                testing::ExitedWithCode(0), "");
}
