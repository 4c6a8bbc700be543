// The Receive Ring: storing, wrapping, the two emptied slots ahead, counting across the wrap.
#include "device/receive_ring.h"

#include <gtest/gtest.h>

namespace lumo {
namespace {

TEST(ReceiveRing, StoresEveryMessageAndEmptiesTheTwoSlotsAhead)
{
    ReceiveRing ring;
    for (int i = 0; i < 16; ++i)
        ring.store(0x000190u + std::uint32_t(i));
    // After 16 writes from 0 the index is back at 0; slots 0 and 1 were emptied by the last write.
    EXPECT_EQ(ring.received() % kRingSize, 0u);
    EXPECT_EQ(ring.slot(0), 0u);
    EXPECT_EQ(ring.slot(1), 0u);
    for (int i = 2; i < 16; ++i)
        EXPECT_EQ(ring.slot(i), 0x000190u + std::uint32_t(i)) << "slot " << i;

    ring.store(0xAAAA90);
    EXPECT_EQ(ring.received() % kRingSize, 1u);
    EXPECT_EQ(ring.slot(0), 0xAAAA90u);
    EXPECT_EQ(ring.slot(1), 0u);
    EXPECT_EQ(ring.slot(2), 0u);
    EXPECT_EQ(ring.slot(3), 0x000193u);
}

TEST(ReceiveRing, CountsArrivalsAcrossTheWrapAndBeyondSixteen)
{
    ReceiveRing ring;
    for (int i = 0; i < 15; ++i)
        ring.store(0x90);
    const std::uint32_t mark = ring.received();
    ASSERT_EQ(ring.received() % kRingSize, 15u);
    ring.store(0x02019C);
    ring.store(0x38019C);
    EXPECT_EQ(ring.arrivedSince(mark), 2u);
    EXPECT_EQ(ring.message(mark), 0x02019Cu);
    EXPECT_EQ(ring.message(mark + 1), 0x38019Cu);
    // A flood of 16 more is still counted as 18, not as 2 (the ring's index alone would say 2).
    for (int i = 0; i < 16; ++i)
        ring.store(0x403C90);
    EXPECT_EQ(ring.arrivedSince(mark), 18u);
}

} // namespace
} // namespace lumo
