// The link to the controller: the MIDI ports that the device search left open, the Receive Ring
// fed by the open input, the 1,024-byte image buffer that the transfers share, and the device
// search itself (FindDevice).
#pragma once

#include "device/midi_ports.h"
#include "device/receive_ring.h"
#include "device/reply_wait.h"

#include <array>
#include <chrono>
#include <cstdint>

namespace lumo {

inline constexpr int kImageBufferSize = 1024; // two 512-byte blocks
using ImageBuffer = std::array<std::uint8_t, kImageBufferSize>;

class DeviceLink {
public:
    explicit DeviceLink(MidiPorts& ports);
    // Closes the ports still held, so that no callback reaches the ring after it is gone.
    ~DeviceLink();
    DeviceLink(const DeviceLink&) = delete;
    DeviceLink& operator=(const DeviceLink&) = delete;

    // Tries every (output, input) pair, output-major, with CmdConnect and CmdIdentify; the pair
    // whose next two messages are the CmdConnect echo and `expected` is the controller. 0 when
    // found (that pair stays open and started), 1 when not (CmdEnd then goes to the output
    // still held, if any).
    int FindDevice(std::uint32_t expected);

    // Sends one word through the held output port; 0 when handed over, 1 with no output held.
    int send(std::uint32_t word);

    // Waits until at least `count` messages have arrived since `mark`; false after the bound.
    bool waitForArrivals(int mark, int count);
    // Waits until the write index is not 0 (the read resets it to 0 before each request).
    bool waitForWriteIndexAboveZero();

    ReceiveRing& ring() { return m_ring; }
    ImageBuffer& image() { return m_image; }
    MidiPorts& ports() { return m_ports; }

    int outputCount() const { return m_outputCount; }
    int inputCount() const { return m_inputCount; }
    int heldOutput() const { return m_output; } // -1 when none
    int heldInput() const { return m_input; }   // -1 when none

    // The bound of every wait for a reply; kReplyTimeout unless a test shortens it.
    std::chrono::nanoseconds replyTimeout() const { return m_replyTimeout; }
    void setReplyTimeout(std::chrono::nanoseconds timeout) { m_replyTimeout = timeout; }

private:
    void closeOutput();
    void closeInput();

    MidiPorts& m_ports;
    ReceiveRing m_ring;
    ImageBuffer m_image{};
    int m_outputCount = 0;
    int m_inputCount = 0;
    int m_output = -1;
    int m_input = -1;
    std::chrono::nanoseconds m_replyTimeout = kReplyTimeout;
};

} // namespace lumo
