// What the MIDI thread touches: the gate that drops system messages, and the lock-free queue
// that carries Follow Controller's messages to an ordinary thread.
#include "device/callback_gate.h"
#include "device/word_queue.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <thread>
#include <vector>

namespace lumo {
namespace {

TEST(CallbackGate, PassesChannelMessagesAndDropsEverySystemMessageAndTheLongOnes)
{
    CallbackGate gate;
    std::vector<std::uint32_t> words;
    gate.start([&](std::uint32_t word) { words.push_back(word); });
    const unsigned char note[] = {0x90, 0x3C, 0x40};
    const unsigned char program[] = {0xC3, 0x05};
    gate.deliver(note, 3);
    for (int status = 0xF0; status <= 0xFF; ++status) {
        // Song position, MTC, song select, tune request, clock, start, stop, sensing, reset...
        const unsigned char system[] = {std::uint8_t(status), 0x01, 0x02};
        gate.deliver(system, 1);
        gate.deliver(system, 3);
    }
    const unsigned char sysex[] = {0xF0, 0x7E, 0x7F, 0x06, 0x01, 0xF7};
    gate.deliver(sysex, sizeof sysex);
    const unsigned char longNote[] = {0x90, 0x3C, 0x40, 0x00};
    gate.deliver(longNote, 4);
    gate.deliver(program, 2);
    // PipeWire's JACK sends a data byte's 9C 12 00 as 8C 12 40: it arrives as it was sent.
    const unsigned char rewritten[] = {0x8C, 0x12, 0x40};
    gate.deliver(rewritten, 3);
    EXPECT_EQ(words, (std::vector<std::uint32_t>{0x403C90, 0x05C3, 0x00129C}));
    gate.stop();
    gate.deliver(note, 3);
    EXPECT_EQ(words.size(), 3u) << "nothing reaches a stopped gate";
}

TEST(WordQueue, CarriesEveryMessageInOrderAcrossThreadsAndCountsWhatAFullQueueDrops)
{
    WordQueue<8> small;
    for (std::uint32_t w = 1; w <= 10; ++w)
        small.push(w);
    EXPECT_EQ(small.dropped(), 2u);
    for (std::uint32_t w = 1; w <= 8; ++w)
        EXPECT_EQ(small.pop(), w);
    EXPECT_FALSE(small.pop());

    WordQueue<1024> queue;
    constexpr std::uint32_t kCount = 200000;
    std::vector<std::uint32_t> taken;
    std::thread consumer([&] {
        while (taken.size() + queue.dropped() < kCount) {
            queue.waitForWord();
            while (auto word = queue.pop())
                taken.push_back(*word);
        }
    });
    for (std::uint32_t w = 1; w <= kCount; ++w)
        queue.push(w);
    queue.wake(); // a dropped last message wakes nobody
    consumer.join();
    EXPECT_EQ(taken.size() + queue.dropped(), kCount);
    EXPECT_TRUE(std::is_sorted(taken.begin(), taken.end())) << "order kept, nothing doubled";

    // wake() ends a wait on an empty queue: how a drain thread is stopped.
    std::thread sleeper([&] { queue.waitForWord(); });
    queue.wake();
    sleeper.join();
}

} // namespace
} // namespace lumo
