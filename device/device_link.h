// The link to the controller: the MIDI ports that the device search left open, the Receive Ring
// fed by the open input, the signal that wakes a wait for a reply or cancels it, the 1,024-byte
// image buffer that the transfers share, and the device search itself.
#pragma once

#include "device/link_result.h"
#include "device/midi_ports.h"
#include "device/receive_ring.h"
#include "device/reply_signal.h"

#include <array>
#include <chrono>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

namespace lumo {

inline constexpr int kImageBufferSize = 1024; // two 512-byte blocks
using ImageBuffer = std::array<std::uint8_t, kImageBufferSize>;

// The longest that a transfer waits for any one reply, and the remembered pair for its answer.
inline constexpr std::chrono::milliseconds kReplyTimeout{1000};
// How long a port pair tried in the search has to answer, beyond the MIDI system's own
// latency: a USB controller answers within a few milliseconds, a slow bridge within tens.
inline constexpr std::chrono::milliseconds kHandshakeWait{30};
// A search that found nothing goes over the ports once more with this many times the wait.
inline constexpr int kSecondPassFactor = 8;

// A controller's two ports by their full names, stable while the ports exist.
struct PortPair {
    std::string output;
    std::string input;
    bool empty() const { return output.empty() || input.empty(); }
    bool operator==(const PortPair&) const = default;
};

class DeviceLink {
public:
    explicit DeviceLink(MidiPorts& ports);
    // Closes the input first, which waits for a callback under way, so that no callback
    // reaches the ring after it is gone; then the output.
    ~DeviceLink();
    DeviceLink(const DeviceLink&) = delete;
    DeviceLink& operator=(const DeviceLink&) = delete;

    // Finds the controller: `tryFirst` (the pair that answered last time) when both its ports
    // are still there, then every (output, input) pair of one snapshot of the port lists,
    // output-major. The pair found is the first in that order whose next two messages after
    // CmdConnect and CmdIdentify are the CmdConnect echo and `expected`; it stays open and
    // started. When the system can listen to many inputs at once, an output that nobody
    // answers costs one wait for all its inputs. A pass that finds nothing is followed by one
    // with longer waits. Not found: CmdEnd goes to the output still held, if any.
    LinkResult findDevice(std::uint32_t expected, const PortPair& tryFirst = {});
    // The pair that the last search found; empty after a failed one.
    const PortPair& found() const { return m_found; }

    // Sends one word through the held output port; 0 when handed over, 1 with no output held.
    int send(std::uint32_t word);
    // Until at least `count` messages have arrived since `mark` (a count of ring.received()),
    // the link is cancelled, or `bound` (the reply bound when 0) has passed.
    ReplySignal::Woken waitForArrivals(std::uint32_t mark, std::uint32_t count,
                                       std::chrono::nanoseconds bound = std::chrono::nanoseconds(0));
    // A reply that did not come: the controller's ports are gone, or it just did not answer.
    LinkResult missingReply(int position);

    // Cancels the search or transfer under way, and every wait until resetCancel(); any thread.
    void cancel() { m_signal.cancel(); }
    void resetCancel() { m_signal.resetCancel(); }
    bool cancelled() const { return m_signal.cancelled(); }

    // Every message that the held input receives from now on is also handed to `listener`, on
    // the MIDI system's thread, after it is stored in the ring; it must do little and never
    // block. An empty listener stops it, and returns only once no call is under way any more.
    void setListener(MidiInputCallback listener);

    ReceiveRing& ring() { return m_ring; }
    ImageBuffer& image() { return m_image; }

    int outputCount() const { return m_outputCount; } // in the last search's snapshot
    int inputCount() const { return m_inputCount; }
    const std::string& heldOutput() const { return m_output; } // empty when none
    const std::string& heldInput() const { return m_input; }   // empty when none or several

    std::chrono::nanoseconds replyTimeout() const { return m_replyTimeout; }
    void setReplyTimeout(std::chrono::nanoseconds timeout) { m_replyTimeout = timeout; }
    void setHandshakeWait(std::chrono::nanoseconds wait) { m_handshakeWait = wait; }

private:
    enum class Handshake { Found, Silent, Cancelled };
    Handshake handshake(const std::string& output, const std::vector<std::string>& inputs,
                        std::uint32_t expected, std::chrono::nanoseconds wait);
    Handshake tryInputsOneByOne(const std::string& output, const std::vector<std::string>& inputs,
                                std::uint32_t expected, std::chrono::nanoseconds wait, const PortPair& skip);
    bool holdOutput(const std::string& name);
    bool listenTo(const std::vector<std::string>& inputs);
    void closeOutput();
    void closeInput();

    MidiPorts& m_ports;
    ReceiveRing m_ring;
    ReplySignal m_signal;
    std::mutex m_listenerMutex; // held by the callback while it calls the listener
    MidiInputCallback m_listener;
    ImageBuffer m_image{};
    int m_outputCount = 0;
    int m_inputCount = 0;
    std::string m_output;
    std::vector<std::string> m_inputs;
    std::string m_input;
    PortPair m_found;
    std::chrono::nanoseconds m_lastRoundTrip{0};
    std::chrono::nanoseconds m_replyTimeout = kReplyTimeout;
    std::chrono::nanoseconds m_handshakeWait = kHandshakeWait;
};

} // namespace lumo
