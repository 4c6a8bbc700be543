// ReadSceneImage and SendSceneImage, and the two transfer parameters of the defaults.
#include "device/scene_transfer.h"

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

} // namespace

int TransferLength(const DefaultParameters& defaults)
{
    return std::clamp(defaults.trimmedIntValue("SceneDataLen", 916), 0, kImageBufferSize);
}

int BlockAddOne(const DefaultParameters& defaults)
{
    return defaults.trimmedIntValue("BlockAddOne", 1);
}

int ReadSceneImage(DeviceLink& link, int length, ImageBuffer& image, int blockAddOne,
                   const TransferProgress& progress)
{
    length = std::clamp(length, 0, kImageBufferSize);
    ReceiveRing& ring = link.ring();
    // Hides the progress bar on every way out, also before it was first shown.
    ProgressReport report(progress, 1);

    const int mark = ring.writeIndex();
    if (link.send(CmdReadStart) != 0)
        return 1;
    if (!link.waitForArrivals(mark, 2))
        return 1;
    if (ring.slot(mark) != CmdReadStart)
        return 1;
    // The count reply carries the number of blocks minus BlockAddOne in its second data byte.
    const std::int64_t blocks = std::int64_t(blockAddOne) + SecondDataByte(ring.slot((mark + 1) % kRingSize));
    ring.resetWriteIndex();

    report.setPositions(blocks * kBlockSize);
    for (std::int64_t p = 0; p < blocks * kBlockSize; ++p) {
        if (link.send(CmdNextByte) != 0)
            return 1;
        if (!link.waitForWriteIndexAboveZero())
            return 1;
        ring.resetWriteIndex();
        const std::uint32_t reply = ring.slot(0);
        if (p < length)
            image[std::size_t(p)] = ImageByteOf(reply);
        report.atPosition(p);
    }
    if (link.send(CmdEnd) != 0)
        return 1;
    return 0;
}

int SendSceneImage(DeviceLink& link, int length, const ImageBuffer& image, const TransferProgress& progress)
{
    length = std::clamp(length, 0, kImageBufferSize);
    ReceiveRing& ring = link.ring();
    int mark = ring.writeIndex();
    const int blocks = (length + kBlockSize - 1) / kBlockSize;
    ProgressReport report(progress, std::int64_t(blocks) * kBlockSize);

    // Takes the next reply after the mark and moves the mark on; false when none came in time
    // or it is another word.
    auto nextReplyIs = [&](std::uint32_t wanted) {
        if (!link.waitForArrivals(mark, 1))
            return false;
        const std::uint32_t reply = ring.slot(mark);
        mark = (mark + 1) % kRingSize;
        return reply == wanted;
    };

    if (link.send(CmdSendStart) != 0 || link.send(CmdBlockCount(blocks)) != 0)
        return 1;
    if (!nextReplyIs(CmdSendStart))
        return 1;
    for (int b = 0; b < blocks; ++b) {
        for (int k = 0; k < kBlockSize; ++k) {
            const int p = b * kBlockSize + k;
            const std::uint32_t word = p < length ? MsgDataByte(image[std::size_t(p)]) : MsgDataByte(0);
            if (link.send(word) != 0)
                return 1;
            report.atPosition(p);
        }
        if (b != blocks - 1 && !nextReplyIs(BlockAcknowledge))
            return 1;
    }
    if (!nextReplyIs(CmdEnd))
        return 1;
    return 0;
}

} // namespace lumo
