// A program that does not find its MIDI module (a broken install) runs without MIDI and says
// why. The test is pointed at a module that is not there (LUMO_MIDI_MODULE).
#include "device/midi_system.h"

#include <gtest/gtest.h>

using namespace lumo;

TEST(MidiModuleMissing, NoMidiSystemAndTheReasonInTheEmptyPortSet)
{
    EXPECT_EQ(ChooseMidiApi(), MidiApi::None);
    const auto ports = OpenMidiPorts(MidiApi::Jack, "test");
    EXPECT_EQ(ports->systemName(), "none");
    EXPECT_TRUE(ports->outputNames().empty());
    EXPECT_FALSE(ports->openOutput("Vorel Lumo"));
    EXPECT_NE(ports->lastError().find("the MIDI module could not be loaded"), std::string::npos) << ports->lastError();
    std::string error;
    EXPECT_EQ(OpenVirtualMidiPorts(MidiApi::Jack, "test", [](std::uint32_t) {}, error), nullptr);
    EXPECT_NE(error.find("the MIDI module could not be loaded"), std::string::npos) << error;
}
