// The input callback's side of the Receive Ring.
#include "device/receive_ring.h"

namespace lumo {

void ReceiveRing::OnMidiInput(MidiInputKind kind, std::uint32_t word)
{
    if (kind != MidiInputKind::Data)
        return;
    // Only this callback advances the index, so a relaxed read of it is its own last store
    // (or the read's reset to 0, which happens only while no reply is under way).
    int index = m_writeIndex.load(std::memory_order_relaxed) & (kRingSize - 1);
    m_slots[std::size_t(index)].store(word, std::memory_order_relaxed);
    index = (index + 1) % kRingSize;
    // Release: a reader that sees the new index also sees the word stored before it.
    m_writeIndex.store(index, std::memory_order_release);
    m_slots[std::size_t(index)].store(0, std::memory_order_relaxed);
    m_slots[std::size_t((index + 1) % kRingSize)].store(0, std::memory_order_relaxed);
}

} // namespace lumo
