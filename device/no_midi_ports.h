// A machine without any MIDI system: no ports, every open and send fails, and lastError() says
// why.
#pragma once

#include "device/midi_ports.h"

#include <string>
#include <utility>

namespace lumo {

class NoMidiPorts : public MidiPorts {
public:
    explicit NoMidiPorts(std::string why) : m_why(std::move(why)) {}
    std::string systemName() const override { return "none"; }
    std::vector<std::string> outputNames() override { return {}; }
    std::vector<std::string> inputNames() override { return {}; }
    bool openOutput(const std::string&) override { return false; }
    void closeOutput() override {}
    bool openInput(const std::vector<std::string>&, MidiInputCallback) override { return false; }
    void closeInput() override {}
    int send(std::uint32_t) override { return 1; }
    std::string lastError() const override { return m_why; }

private:
    std::string m_why;
};

} // namespace lumo
