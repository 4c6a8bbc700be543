// The link to the controller: the MIDI ports that the device search left open, the Receive Ring
// fed by the open input, the signal that wakes a wait for a reply or cancels it, and the device
// search itself. The image of a transfer belongs to its caller.
#pragma once

#include "device/link_result.h"
#include "device/midi_ports.h"
#include "device/receive_ring.h"
#include "device/reply_signal.h"
#include "device/word_queue.h"

#include <array>
#include <atomic>
#include <chrono>
#include <cstdint>
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

// What Follow Controller and `lumo monitor` get: every message of the held input, pushed on the
// MIDI thread and drained on an ordinary one.
using ListenerQueue = WordQueue<1024>;

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
    //
    // Every pair tried is connected anew unless the MIDI system says its connections are live:
    // a port that vanished and came back under its old name is a new port. With `only`, just
    // the pairs whose output or input name contains it are tried.
    LinkResult findDevice(std::uint32_t expected, const PortPair& tryFirst = {}, const std::string& only = {});
    // The pair that the last search found; empty after a failed one.
    const PortPair& found() const { return m_found; }

    // Tries every pair, as the search does, and keeps every one that answers, in search order;
    // the first of them stays open, as after a search that found it. Not found: as findDevice.
    LinkResult scanDevices(std::uint32_t expected);
    // The pairs that answered the last search or scan: one after a search, all after a scan.
    const std::vector<PortPair>& answering() const { return m_answering; }

    // The handshake once more on the pair found, with the reply bound as its wait: puts the
    // controller back at its start after a transfer that lost a message. NotFound when it does
    // not answer as it did.
    LinkResult greetAgain();

    // Sends one word through the held output port; 0 when handed over, 1 with no output held.
    int send(std::uint32_t word);
    // Until at least `count` messages have arrived since `mark` (a count of ring.received()),
    // the link is cancelled, or `bound` (the reply bound when 0) has passed.
    ReplySignal::Woken waitForArrivals(std::uint32_t mark, std::uint32_t count,
                                       std::chrono::nanoseconds bound = std::chrono::nanoseconds(0));
    // True when the pair found is no longer connected: its ports are not listed, the system went
    // away, or (on a system that can tell) the ports listed under its names are new ones.
    bool connectionLost();
    MidiPorts& ports() { return m_ports; }

    // A reply that did not come: the controller's ports are gone, or it just did not answer.
    LinkResult missingReply(int position);

    // Cancels the search or transfer under way, and every wait until resetCancel(); any thread.
    void cancel() { m_signal.cancel(); }
    void resetCancel() { m_signal.resetCancel(); }
    bool cancelled() const { return m_signal.cancelled(); }

    // Every message that the held input receives from now on is also pushed on `queue`, on the
    // MIDI system's thread, after it is stored in the ring. nullptr stops it, and returns only
    // once no push is under way any more. `queue` must outlive the listening.
    void setListenerQueue(ListenerQueue* queue);

    ReceiveRing& ring() { return m_ring; }

    int inputCount() const { return m_inputCount; }
    const std::string& heldOutput() const { return m_output; } // empty when none

    void setReplyTimeout(std::chrono::nanoseconds timeout) { m_replyTimeout = timeout; }
    void setHandshakeWait(std::chrono::nanoseconds wait) { m_handshakeWait = wait; }

private:
    enum class Handshake { Found, Silent, Cancelled };
    Handshake handshake(const std::string& output, const std::vector<std::string>& inputs,
                        std::uint32_t expected, std::chrono::nanoseconds wait);
    // Every input in turn; with `all` it goes on after one answered, else it stops there.
    Handshake tryInputsOneByOne(const std::string& output, const std::vector<std::string>& inputs,
                                std::uint32_t expected, std::chrono::nanoseconds wait, bool all);
    LinkResult search(std::uint32_t expected, const PortPair& tryFirst, const std::string& only, bool all);
    // With someone known to answer among all outputs and inputs: the first pair that answers,
    // found by halving the outputs and then the inputs asked.
    Handshake halveToPair(const std::vector<std::string>& outputs, const std::vector<std::string>& inputs,
                          std::uint32_t expected, std::chrono::nanoseconds wait);
    // The first of `count` ports that answers, when one of them does: ask(first, last) is a
    // handshake with the ports [first, last).
    template <class Ask>
    std::size_t halve(std::size_t count, Ask ask, bool& cancelled);
    Handshake handshakeHeld(const std::vector<std::string>& inputs, std::uint32_t expected,
                            std::chrono::nanoseconds wait);
    bool holdOutput(const std::string& name);
    bool holdOutputs(const std::vector<std::string>& names);
    bool listenTo(const std::vector<std::string>& inputs);
    void closeOutput();
    void closeInput();

    MidiPorts& m_ports;
    ReceiveRing m_ring;
    ReplySignal m_signal;
    std::atomic<ListenerQueue*> m_listener{nullptr};
    std::atomic<int> m_listenerPushes{0}; // pushes under way, for setListenerQueue(nullptr)
    std::vector<PortPair> m_answering;
    int m_outputCount = 0;
    int m_inputCount = 0;
    std::string m_output;
    std::vector<std::string> m_inputs;
    std::string m_input;
    PortPair m_found;
    std::uint32_t m_foundIdentity = 0; // the identity reply that the found pair gave
    bool m_outputOpenedNow = false; // opened by the search under way
    bool m_severalOutputs = false;  // the output sends to several output ports at once
    int m_outputsHeld = 0;          // how many
    bool m_inputsOpenedNow = false;
    std::chrono::nanoseconds m_lastRoundTrip{0};
    std::chrono::nanoseconds m_replyTimeout = kReplyTimeout;
    std::chrono::nanoseconds m_handshakeWait = kHandshakeWait;
};

} // namespace lumo
