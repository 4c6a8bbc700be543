// MIDI short messages packed into one 32-bit word, and the words that the controller and the
// editor exchange. Packed form: status byte in bits 0-7, first data byte in bits 8-15, second
// data byte in bits 16-23, bits 24-31 zero. No message packs to 0 (a status byte has bit 7 set),
// so 0 marks an empty ring slot.
#pragma once

#include <cstddef>
#include <cstdint>

namespace lumo {

constexpr std::uint32_t PackShortMessage(std::uint8_t status, std::uint8_t data1, std::uint8_t data2)
{
    return std::uint32_t(status) | (std::uint32_t(data1) << 8) | (std::uint32_t(data2) << 16);
}
constexpr std::uint8_t StatusByte(std::uint32_t word) { return std::uint8_t(word & 0xFF); }
constexpr std::uint8_t FirstDataByte(std::uint32_t word) { return std::uint8_t((word >> 8) & 0xFF); }
constexpr std::uint8_t SecondDataByte(std::uint32_t word) { return std::uint8_t((word >> 16) & 0xFF); }

// In MIDI a Note On of velocity 0 is a Note Off, and MIDI systems may send the one for the other:
// PipeWire's JACK turns every Note On of velocity 0 into Note Off with velocity 64 (90 12 00
// arrives as 80 12 40). The protocol carries a data byte whose low half is 0 as such a Note On,
// so every Note Off is taken as the Note On of velocity 0 it stands for; the release velocity
// has no meaning here.
constexpr std::uint32_t NoteOffAsNoteOn(std::uint32_t word)
{
    const std::uint8_t status = StatusByte(word);
    return (status & 0xF0) == 0x80 ? PackShortMessage(std::uint8_t(status | 0x10), FirstDataByte(word), 0) : word;
}

// Number of bytes of a short message with this status byte.
constexpr std::size_t ShortMessageLength(std::uint8_t status)
{
    switch (status & 0xF0) {
    case 0xC0:
    case 0xD0: return 2;
    case 0xF0: return status == 0xF2 ? 3 : (status == 0xF1 || status == 0xF3) ? 2 : 1;
    default: return 3;
    }
}

// Commands and replies are note-on messages on channel 13; image bytes travel on channel 1.
inline constexpr std::uint8_t kCommandStatus = 0x9C;
inline constexpr std::uint8_t kDataByteStatus = 0x90;

// Handshake of the device search.
inline constexpr std::uint32_t CmdConnect = 0x02019C;    // 9C 01 02, echoed by the controller
inline constexpr std::uint32_t CmdIdentify = 0x7D7E9C;   // 9C 7E 7D
inline constexpr std::uint32_t IdentityReply = 0x38019C; // 9C 01 38
inline constexpr std::uint32_t CmdEnd = 0x05019C;        // 9C 01 05

// Transfers.
inline constexpr std::uint32_t CmdSendStart = 0x03019C; // 9C 01 03, echoed
inline constexpr std::uint32_t CmdReadStart = 0x04019C; // 9C 01 04, echoed
inline constexpr std::uint32_t BlockAcknowledge = 0x04019C; // 9C 01 04 from the device during a send
inline constexpr std::uint32_t CmdNextByte = 0x06019C;  // 9C 01 06

// 9C 00 n: the number of 512-byte blocks that a send carries (n fits 7 bits: at most 2 blocks).
constexpr std::uint32_t CmdBlockCount(int blocks)
{
    return PackShortMessage(kCommandStatus, 0x00, std::uint8_t(blocks & 0x7F));
}
// 90 h l: one image byte split into its high and low 4 bits.
constexpr std::uint32_t MsgDataByte(std::uint8_t byte)
{
    return PackShortMessage(kDataByteStatus, std::uint8_t(byte >> 4), std::uint8_t(byte & 0x0F));
}
// The image byte of a byte reply or data message: only the low 4 bits of each data byte count.
constexpr std::uint8_t ImageByteOf(std::uint32_t word)
{
    return std::uint8_t(((FirstDataByte(word) & 0x0F) << 4) | (SecondDataByte(word) & 0x0F));
}

} // namespace lumo
