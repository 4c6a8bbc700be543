// The two block transfers of the Device Scene Image over the link that FindDevice left open:
// ReadSceneImage fetches it byte by byte, SendSceneImage streams it in 512-byte blocks. Every
// image byte travels as the high and low 4 bits of one short message.
#pragma once

#include "device/device_link.h"

#include <functional>

namespace lumo {

class DefaultParameters;

inline constexpr int kBlockSize = 512;

// Where a transfer shows its progress; either may be empty. Both run on the transfer's thread.
struct TransferProgress {
    std::function<void(bool visible)> show;
    std::function<void(int percent)> percent; // p * 100 div (blocks * 512) + 1, after every byte
};

// "SceneDataLen" (916 when missing or not an integer), clamped into 0..1024 so that no transfer
// reaches past the image buffer.
int TransferLength(const DefaultParameters& defaults);
// "BlockAddOne" (1 when missing or not an integer): added to the block count the device reports.
int BlockAddOne(const DefaultParameters& defaults);

// Reads the image into `image` (bytes at or beyond `length` are requested and dropped). The
// write index of the ring is set to 0 after the handshake and after every byte. 0 on success,
// 1 on failure (no further request is sent; part of `image` may hold new bytes).
int ReadSceneImage(DeviceLink& link, int length, ImageBuffer& image, int blockAddOne,
                   const TransferProgress& progress = {});

// Sends the first `length` bytes of `image`, padding the last block with 90 00 00, and waits
// for the device's acknowledgement after each block but the last and its CmdEnd after the last.
// 0 on success, 1 on failure (a wrong or missing reply stops it at once). Sends no CmdEnd.
int SendSceneImage(DeviceLink& link, int length, const ImageBuffer& image,
                   const TransferProgress& progress = {});

} // namespace lumo
