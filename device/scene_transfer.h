// The two block transfers of the Device Scene Image over the link that the device search left
// open: ReadSceneImage fetches it byte by byte, SendSceneImage streams it in 512-byte blocks.
// Every image byte travels as the high and low 4 bits of one short message.
#pragma once

#include "device/device_link.h"

#include <functional>

namespace lumo {

class DefaultParameters;

inline constexpr int kBlockSize = 512;
// The most blocks a read requests: a count reply or a BlockAddOne that asks for more is not
// usable (the image has two).
inline constexpr int kMaxReadBlocks = 8;

// Where a transfer shows its progress; either may be empty. Both run on the transfer's thread.
struct TransferProgress {
    std::function<void(bool visible)> show;
    std::function<void(int percent)> percent; // p * 100 div (blocks * 512) + 1, after every byte
    // A read lost a reply (or got one twice) and starts over from its start: restart 1, 2, ...
    // kReadRestarts.
    std::function<void(int restart)> restarted;
};

// How often a read that lost a reply starts over before it fails.
inline constexpr int kReadRestarts = 3;

// "SceneDataLen" (916 when missing or not an integer), clamped into 0..1024 so that no transfer
// reaches past the image buffer.
int TransferLength(const DefaultParameters& defaults);
// "BlockAddOne" (1 when missing or not an integer): added to the block count the device reports.
int BlockAddOne(const DefaultParameters& defaults);

// Reads the image: CmdReadStart, its echo and the count reply, then one CmdNextByte and one
// reply per position of every block (bytes at or beyond `length` are requested and dropped),
// then CmdEnd. It succeeds only when every byte below `length` came in answer to its own
// request of one read; `image` changes only then. A reply that does not come or comes twice
// (lost or doubled by a MIDI system under load) makes it start over from CmdReadStart after a
// new handshake, at most kReadRestarts times, each told through progress.restarted. It fails,
// with no further request, on a count that does not cover `length` (or asks for more than
// kMaxReadBlocks), on such a fault after the last restart, on any other message that nobody
// asked for (a key played), and on a cancel.
LinkResult ReadSceneImage(DeviceLink& link, int length, ImageBuffer& image, int blockAddOne,
                          const TransferProgress& progress = {});

// Sends the first `length` bytes of `image`, padding the last block with 90 00 00, and waits
// for the device's acknowledgement after each block but the last and its CmdEnd after the last.
// A wrong or missing reply, or a cancel, stops it at once, but for a missing echo of its start:
// nothing is written then, and the start is tried again after a new handshake, at most
// kReadRestarts times. Sends no CmdEnd.
LinkResult SendSceneImage(DeviceLink& link, int length, const ImageBuffer& image,
                          const TransferProgress& progress = {});

} // namespace lumo
