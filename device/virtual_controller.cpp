// The controller's side of the handshake, the read and the send.
#include "device/virtual_controller.h"

#include "device/scene_image.h"
#include "device/scene_transfer.h"
#include "device/short_message.h"

#include <cstdio>
#include <cstdlib>

namespace lumo {
namespace {

std::string wordText(std::uint32_t word)
{
    char text[16];
    std::snprintf(text, sizeof text, "%02X %02X %02X", StatusByte(word), FirstDataByte(word), SecondDataByte(word));
    return text;
}

const char* stateName(int state)
{
    static const char* const names[] = {"idle", "connected", "reading", "awaiting the block count",
                                        "receiving", "silent"};
    return names[state];
}

} // namespace

VirtualController::VirtualController(const SceneSet& scenes)
{
    setScenes(scenes);
    onUnexpected = [](const std::string& what) {
        std::fprintf(stderr, "virtual controller: %s\n", what.c_str());
        std::abort();
    };
}

void VirtualController::setScenes(const SceneSet& scenes)
{
    m_scenes = scenes;
    PackSceneImage(m_scenes, m_image.data());
}

void VirtualController::unexpected(std::uint32_t word)
{
    const std::string what = "unexpected request " + wordText(word) + " while " + stateName(int(m_state));
    m_state = State::Idle;
    if (onUnexpected)
        onUnexpected(what);
}

void VirtualController::sendReply(const Reply& reply, std::uint32_t word)
{
    if (!m_misbehaviour.noAnswer)
        reply(word);
}

void VirtualController::countByte()
{
    ++m_bytesMoved;
    if (m_misbehaviour.silentAfterBytes >= 0 && m_bytesMoved >= m_misbehaviour.silentAfterBytes)
        m_state = State::Silent;
}

void VirtualController::receive(std::uint32_t word, const Reply& reply)
{
    // A search may begin at any moment, also in the middle of a broken transfer. The echo goes
    // out at once, as the controller sends it.
    if (word == CmdConnect) {
        m_state = State::Connected;
        m_bytesMoved = 0;
        if (m_misbehaviour.strayBeforeReplies)
            sendReply(reply, kStrayMessage);
        sendReply(reply, m_misbehaviour.wrongEcho ? kWrongEcho : CmdConnect);
        return;
    }
    if (m_state == State::Silent)
        return;

    switch (m_state) {
    case State::Connected:
        if (word == CmdIdentify) {
            sendReply(reply, m_misbehaviour.wrongIdentity ? kWrongIdentity : IdentityReply);
            return;
        }
        if (word == CmdEnd) { // the editor's search found nothing it liked
            m_state = State::Idle;
            return;
        }
        [[fallthrough]];
    case State::Idle:
        if (word == CmdReadStart) {
            if (m_misbehaviour.strayBeforeReplies)
                sendReply(reply, kStrayMessage);
            sendReply(reply, CmdReadStart);
            sendReply(reply, PackShortMessage(kCommandStatus, 0x01, std::uint8_t(m_misbehaviour.countReply & 0x7F)));
            m_state = State::Reading;
            m_position = 0;
            return;
        }
        if (word == CmdSendStart) {
            if (m_misbehaviour.strayBeforeReplies)
                sendReply(reply, kStrayMessage);
            if (m_misbehaviour.loseSendStartEchoes > 0)
                --m_misbehaviour.loseSendStartEchoes;
            else
                sendReply(reply, CmdSendStart);
            m_state = State::AwaitBlockCount;
            return;
        }
        if (word == CmdEnd && m_state == State::Idle)
            return;
        unexpected(word);
        return;
    case State::Reading:
        if (word == CmdNextByte && m_position < kImageBufferSize) {
            const std::uint8_t byte = m_image[std::size_t(m_position++)];
            if (m_position - 1 == m_misbehaviour.loseReplyAt && !m_replyLost) {
                m_replyLost = true;
                return;
            }
            sendReply(reply, PackShortMessage(kCommandStatus, byte >> 4, byte & 0x0F));
            if (m_position - 1 == m_misbehaviour.repeatReplyAt && !m_replyRepeated) {
                m_replyRepeated = true;
                sendReply(reply, PackShortMessage(kCommandStatus, byte >> 4, byte & 0x0F));
            }
            if (m_position - 1 == m_misbehaviour.strayAfterBytes)
                sendReply(reply, kStrayMessage);
            countByte();
            return;
        }
        if (word == CmdEnd) {
            ++m_readsCompleted;
            m_state = State::Idle;
            return;
        }
        unexpected(word);
        return;
    case State::AwaitBlockCount:
        if (StatusByte(word) == kCommandStatus && FirstDataByte(word) == 0x00
            && SecondDataByte(word) * kBlockSize <= kImageBufferSize) {
            m_blocks = SecondDataByte(word);
            m_position = 0;
            m_state = State::Receiving;
            if (m_blocks == 0) {
                sendReply(reply, CmdEnd);
                ++m_sendsCompleted;
                m_state = State::Idle;
            }
            return;
        }
        unexpected(word);
        return;
    case State::Receiving:
        if (StatusByte(word) == kDataByteStatus) {
            const bool wrong = m_position == m_misbehaviour.wrongStoreAt;
            m_image[std::size_t(m_position++)] = std::uint8_t(ImageByteOf(word) ^ (wrong ? 1 : 0));
            countByte();
            if (m_state == State::Silent || m_position % kBlockSize != 0)
                return;
            const int block = m_position / kBlockSize - 1;
            if (block == m_blocks - 1) {
                // The whole image is in: it becomes the scenes the controller holds.
                UnpackSceneImage(m_image.data(), m_scenes);
                ++m_sendsCompleted;
                m_state = State::Idle;
                sendReply(reply, CmdEnd);
            } else {
                sendReply(reply, block == m_misbehaviour.wrongAcknowledgeAfterBlock ? kWrongAcknowledge
                                                                                   : BlockAcknowledge);
            }
            return;
        }
        unexpected(word);
        return;
    case State::Silent:
        return;
    }
}

} // namespace lumo
