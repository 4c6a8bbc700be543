// The Receive Ring: storing, wrapping, the two emptied slots ahead, non-data callbacks.
#include "device/receive_ring.h"

#include <gtest/gtest.h>

namespace lumo {
namespace {

TEST(ReceiveRing, StoresEveryDataMessageAndEmptiesTheTwoSlotsAhead)
{
    ReceiveRing ring;
    for (int i = 0; i < 16; ++i)
        ring.OnMidiInput(MidiInputKind::Data, 0x000190u + std::uint32_t(i));
    // After 16 writes from 0 the index is back at 0; slots 0 and 1 were emptied by the last write.
    EXPECT_EQ(ring.writeIndex(), 0);
    EXPECT_EQ(ring.slot(0), 0u);
    EXPECT_EQ(ring.slot(1), 0u);
    for (int i = 2; i < 16; ++i)
        EXPECT_EQ(ring.slot(i), 0x000190u + std::uint32_t(i)) << "slot " << i;

    ring.OnMidiInput(MidiInputKind::Data, 0xAAAA90);
    EXPECT_EQ(ring.writeIndex(), 1);
    EXPECT_EQ(ring.slot(0), 0xAAAA90u);
    EXPECT_EQ(ring.slot(1), 0u);
    EXPECT_EQ(ring.slot(2), 0u);
    EXPECT_EQ(ring.slot(3), 0x000193u);
}

TEST(ReceiveRing, OtherKindsChangeNothing)
{
    ReceiveRing ring;
    ring.OnMidiInput(MidiInputKind::Data, 0x02019C);
    for (MidiInputKind kind : {MidiInputKind::Open, MidiInputKind::Close, MidiInputKind::LongData,
                               MidiInputKind::Error, MidiInputKind::LongError})
        ring.OnMidiInput(kind, 0x38019C);
    EXPECT_EQ(ring.writeIndex(), 1);
    EXPECT_EQ(ring.slot(0), 0x02019Cu);
    EXPECT_EQ(ring.slot(1), 0u);
}

TEST(ReceiveRing, CountsArrivalsAcrossTheWrap)
{
    ReceiveRing ring;
    for (int i = 0; i < 15; ++i)
        ring.OnMidiInput(MidiInputKind::Data, 0x90);
    const int mark = ring.writeIndex();
    ASSERT_EQ(mark, 15);
    ring.OnMidiInput(MidiInputKind::Data, 0x02019C);
    ring.OnMidiInput(MidiInputKind::Data, 0x38019C);
    EXPECT_EQ(ring.arrivedSince(mark), 2);
    EXPECT_EQ(ring.slot(mark), 0x02019Cu);
    EXPECT_EQ(ring.slot((mark + 1) % kRingSize), 0x38019Cu);

    // The read's reset starts the next message in slot 0 whatever came before.
    ring.resetWriteIndex();
    ring.OnMidiInput(MidiInputKind::Data, 0x050A9C);
    EXPECT_EQ(ring.writeIndex(), 1);
    EXPECT_EQ(ring.slot(0), 0x050A9Cu);
}

} // namespace
} // namespace lumo
