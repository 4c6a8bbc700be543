// How a device search or a transfer ended: success, or what failed with its context. The
// application turns it into the messages that the user sees.
#pragma once

#include <cstdint>
#include <string>

namespace lumo {

enum class LinkError {
    None,
    NoMidiSystem,  // no MIDI system could be opened (detail: why)
    NotFound,      // no controller answered among `pairs` port pairs
    NoReply,       // no reply to request `position` within the bound (milliseconds in `bound`)
    WrongReply,    // reply `word` to request `position` was not the one expected
    CountUnusable, // the count reply announced `position` blocks, fewer than the length needs or too many
    Unasked,       // a message (`word`) came that no request asked for, at image byte `position`
    PortVanished,  // the controller's port is no longer there
    SendFailed,    // the output did not take message `position` (detail: the system's message)
    Cancelled,     // the user or a signal stopped it
};

struct LinkResult {
    LinkError error = LinkError::None;
    int position = 0; // image byte; -1 for the start of a transfer
    std::uint32_t word = 0;
    int pairs = 0;
    int bound = 0;
    std::string detail;

    bool ok() const { return error == LinkError::None; }
    static LinkResult failure(LinkError error, int position = 0, std::uint32_t word = 0)
    {
        LinkResult result;
        result.error = error;
        result.position = position;
        result.word = word;
        return result;
    }
};

} // namespace lumo
