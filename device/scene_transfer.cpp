// ReadSceneImage and SendSceneImage, and the two transfer parameters of the defaults.
#include "device/scene_transfer.h"

#include "device/device_log.h"
#include "device/short_message.h"
#include "scene/parameter_files.h"

#include <algorithm>
#include <cstdint>

namespace lumo {
namespace {

// Shows the progress bar once and reports the percentage after every byte; hides it on every
// way out of a transfer.
class ProgressReport {
public:
    ProgressReport(const TransferProgress& progress, std::int64_t positions)
        : m_progress(progress)
    {
        setPositions(positions);
    }
    ~ProgressReport()
    {
        if (m_progress.show)
            m_progress.show(false);
    }
    void setPositions(std::int64_t positions) { m_positions = std::max<std::int64_t>(positions, 1); }
    void atPosition(std::int64_t p)
    {
        if (!m_shown && m_progress.show)
            m_progress.show(true);
        m_shown = true;
        if (m_progress.percent)
            m_progress.percent(static_cast<int>(p * 100 / m_positions + 1));
    }

private:
    const TransferProgress& m_progress;
    std::int64_t m_positions;
    bool m_shown = false;
};

LinkResult sendFailed(const DeviceLink& link, int position)
{
    return LinkResult::failure(link.cancelled() ? LinkError::Cancelled : LinkError::SendFailed, position);
}

// A byte reply that came twice: the MIDI system delivered one message twice (JACK's default
// mode can, when a client runs late), which no controller does, so the read starts over as
// after a lost one. A key or knob played during the read does not look like this (it fails).
bool RepeatedReply(const LinkResult& result)
{
    return result.error == LinkError::Unasked && StatusByte(result.word) == kCommandStatus
           && FirstDataByte(result.word) <= 0x0F && SecondDataByte(result.word) <= 0x0F;
}

LinkResult afterWait(DeviceLink& link, ReplySignal::Woken woken, int position)
{
    if (woken == ReplySignal::Woken::Arrived)
        return {};
    return link.missingReply(position);
}

} // namespace

int TransferLength(const DefaultParameters& defaults)
{
    return std::clamp(defaults.trimmedIntValue("SceneDataLen", 916), 0, kImageBufferSize);
}

int BlockAddOne(const DefaultParameters& defaults)
{
    return defaults.trimmedIntValue("BlockAddOne", 1);
}

namespace {

// One read from CmdReadStart to CmdEnd into `incoming`.
LinkResult readOnce(DeviceLink& link, int length, ImageBuffer& incoming, int blockAddOne, ProgressReport& report)
{
    ReceiveRing& ring = link.ring();
    std::uint32_t next = ring.received();
    // Position -1: the start of the transfer, before any image byte.
    if (link.send(CmdReadStart) != 0)
        return sendFailed(link, -1);
    if (LinkResult result = afterWait(link, link.waitForArrivals(next, 2), -1); !result.ok())
        return result;
    if (const std::uint32_t echo = ring.message(next); echo != CmdReadStart)
        return LinkResult::failure(LinkError::WrongReply, -1, echo);
    // The count reply carries the number of blocks minus BlockAddOne in its second data byte.
    const std::int64_t blocks = std::int64_t(blockAddOne) + SecondDataByte(ring.message(next + 1));
    if (blocks * kBlockSize < length || blocks > kMaxReadBlocks)
        return LinkResult::failure(LinkError::CountUnusable, int(blocks));
    next += 2;

    const int positions = int(std::max<std::int64_t>(blocks, 0)) * kBlockSize;
    report.setPositions(positions);
    auto slowest = std::chrono::steady_clock::duration::zero();
    for (int p = 0; p < positions; ++p) {
        // Exactly one reply per request: anything more came unasked, and taking it would shift
        // every byte after it.
        if (ring.arrivedSince(next) != 0)
            return LinkResult::failure(LinkError::Unasked, p, ring.message(next));
        if (link.cancelled())
            return LinkResult::failure(LinkError::Cancelled, p);
        const auto asked = std::chrono::steady_clock::now();
        if (link.send(CmdNextByte) != 0)
            return sendFailed(link, p);
        if (LinkResult result = afterWait(link, link.waitForArrivals(next, 1), p); !result.ok())
            return result;
        slowest = std::max(slowest, std::chrono::steady_clock::now() - asked);
        if (p < length)
            incoming[std::size_t(p)] = ImageByteOf(ring.message(next));
        ++next;
        report.atPosition(p);
    }
    // A message that came unasked before some reply leaves the last reply still to come, a
    // round trip after the one taken for it; so wait that long for one more message.
    if (positions > 0 && link.waitForArrivals(next, 1, 2 * slowest + std::chrono::milliseconds(2))
                             == ReplySignal::Woken::Arrived)
        return LinkResult::failure(LinkError::Unasked, positions, ring.message(next));
    if (link.send(CmdEnd) != 0)
        return sendFailed(link, positions);
    return {};
}

} // namespace

LinkResult ReadSceneImage(DeviceLink& link, int length, ImageBuffer& image, int blockAddOne,
                          const TransferProgress& progress)
{
    length = std::clamp(length, 0, kImageBufferSize);
    // Hides the progress bar on every way out, also before it was first shown.
    ProgressReport report(progress, 1);
    // Into a copy: the caller's image changes only when every byte has come.
    ImageBuffer incoming = image;
    qCDebug(deviceLog) << "read of" << length << "bytes starts";
    for (int restart = 0;; ++restart) {
        const std::uint32_t missedBefore = link.ports().missedCycles();
        LinkResult result = readOnce(link, length, incoming, blockAddOne, report);
        // What a lost reply most often goes with: the MIDI system missing cycles meanwhile.
        const std::uint32_t missed = link.ports().missedCycles() - missedBefore;
        // A lost request cannot be told from a lost reply, so no byte is asked for again: the
        // read starts over, after a handshake that puts the controller back at its start.
        // Every byte of the image then comes from the one read that completes.
        if ((result.error != LinkError::NoReply && !RepeatedReply(result)) || restart == kReadRestarts)
            if (!result.ok()) {
                qCDebug(deviceLog) << "read failed at byte" << result.position << "(-1: its start), after"
                                   << restart << "restarts;" << missed << "cycles missed by the MIDI system";
                return result;
            }
        if (result.ok()) {
            std::copy_n(incoming.begin(), length, image.begin());
            qCDebug(deviceLog) << "read ended;" << missed << "cycles missed by the MIDI system";
            return {};
        }
        qCDebug(deviceLog) << "read restarts:" << (RepeatedReply(result) ? "a reply came twice" : "no reply")
                           << "at byte" << result.position << "after" << missed << "cycles missed by the MIDI system";
        if (progress.restarted)
            progress.restarted(restart + 1);
        if (LinkResult greeted = link.greetAgain(); !greeted.ok())
            return greeted.error == LinkError::Cancelled ? greeted : result;
    }
}

LinkResult SendSceneImage(DeviceLink& link, int length, const ImageBuffer& image, const TransferProgress& progress)
{
    length = std::clamp(length, 0, kImageBufferSize);
    ReceiveRing& ring = link.ring();
    std::uint32_t next = ring.received();
    const int blocks = (length + kBlockSize - 1) / kBlockSize;
    ProgressReport report(progress, std::int64_t(blocks) * kBlockSize);

    // Takes the next reply and moves on; a failure when none came in time or it is another word.
    auto nextReplyIs = [&](std::uint32_t wanted, int position) -> LinkResult {
        if (LinkResult result = afterWait(link, link.waitForArrivals(next, 1), position); !result.ok())
            return result;
        const std::uint32_t reply = ring.message(next++);
        if (reply != wanted)
            return LinkResult::failure(LinkError::WrongReply, position, reply);
        return {};
    };

    // A start whose echo did not come has written nothing yet: after a handshake that puts the
    // controller back at its start it is tried again, as often as a read starts over. Once a
    // data byte has gone out nothing is sent again; the check after the send catches a wrong store.
    for (int attempt = 0;; ++attempt) {
        if (link.send(CmdSendStart) != 0 || link.send(CmdBlockCount(blocks)) != 0)
            return sendFailed(link, -1);
        const LinkResult started = nextReplyIs(CmdSendStart, -1);
        if (started.ok())
            break;
        if (started.error != LinkError::NoReply || attempt == kReadRestarts)
            return started;
        qCDebug(deviceLog) << "send starts again: the echo of its start did not come";
        if (LinkResult greeted = link.greetAgain(); !greeted.ok())
            return greeted.error == LinkError::Cancelled ? greeted : started;
        next = ring.received();
    }
    for (int b = 0; b < blocks; ++b) {
        for (int k = 0; k < kBlockSize; ++k) {
            const int p = b * kBlockSize + k;
            if (link.cancelled())
                return LinkResult::failure(LinkError::Cancelled, p);
            const std::uint32_t word = p < length ? MsgDataByte(image[std::size_t(p)]) : MsgDataByte(0);
            if (link.send(word) != 0)
                return sendFailed(link, p);
            report.atPosition(p);
        }
        if (b != blocks - 1)
            if (LinkResult result = nextReplyIs(BlockAcknowledge, (b + 1) * kBlockSize); !result.ok())
                return result;
    }
    return nextReplyIs(CmdEnd, blocks * kBlockSize);
}

} // namespace lumo
