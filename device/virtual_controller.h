// A Vorel Lumo in software: answers the handshake and both transfers as the controller does,
// holding a 1,024-position image of its four scenes. Runs in-process behind the simulated ports
// for the tests and behind virtual MIDI ports for `lumo virtual`. Switches make it misbehave;
// a request that it does not expect in its state is reported through onUnexpected.
#pragma once

#include "device/device_link.h"
#include "scene/scene_record.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>

namespace lumo {

class VirtualController {
public:
    using Reply = std::function<void(std::uint32_t word)>;

    struct Misbehaviour {
        bool noAnswer = false;           // answers nothing at all
        bool wrongEcho = false;          // echoes CmdConnect as 9C 01 03
        bool wrongIdentity = false;      // identifies as 9C 01 39
        bool strayBeforeReplies = false; // a key press 90 3C 40 before the echo of each command
        int wrongAcknowledgeAfterBlock = -1; // that block (0-based) is acknowledged with 9C 01 07
        int silentAfterBytes = -1;       // 1 or more: stops answering after this many image bytes, until CmdConnect
        std::chrono::microseconds replyDelay{0}; // applied by the port that carries the replies
        int countReply = 1;              // blocks minus BlockAddOne, as announced on CmdReadStart
        int strayAfterBytes = -1;        // a key press 90 3C 40 after the reply to this image byte (0-based)
        int wrongStoreAt = -1;           // a send stores this image byte (0-based) with its lowest bit flipped
        int loseReplyAt = -1;            // the reply to this image byte (0-based) is lost once, as under load
        int repeatReplyAt = -1;          // the reply to this image byte (0-based) comes twice, once
        int loseSendStartEchoes = 0;     // the echoes of this many CmdSendStart are lost, as under load
    };

    explicit VirtualController(const SceneSet& scenes);

    // One request from the editor; replies go out through `reply`, in order.
    void receive(std::uint32_t word, const Reply& reply);

    Misbehaviour& misbehaviour() { return m_misbehaviour; }
    // The scenes it serves: those it started with, overwritten by every completed send.
    const SceneSet& scenes() const { return m_scenes; }
    void setScenes(const SceneSet& scenes);
    const ImageBuffer& image() const { return m_image; }

    int readsCompleted() const { return m_readsCompleted; }
    int sendsCompleted() const { return m_sendsCompleted; }

    // Called with a description of a request that the controller cannot take in its state; the
    // controller then goes back to idle. The default prints it and aborts: a test double must
    // never swallow a request silently.
    std::function<void(const std::string& what)> onUnexpected;

    static constexpr std::uint32_t kStrayMessage = 0x403C90;  // 90 3C 40: key 60 pressed
    static constexpr std::uint32_t kWrongEcho = 0x03019C;     // 9C 01 03
    static constexpr std::uint32_t kWrongIdentity = 0x39019C; // 9C 01 39
    static constexpr std::uint32_t kWrongAcknowledge = 0x07019C; // 9C 01 07

private:
    enum class State { Idle, Connected, Reading, AwaitBlockCount, Receiving, Silent };

    void unexpected(std::uint32_t word);
    void countByte(); // one image byte moved; may fall silent
    void sendReply(const Reply& reply, std::uint32_t word);

    SceneSet m_scenes;
    ImageBuffer m_image{};
    Misbehaviour m_misbehaviour;
    State m_state = State::Idle;
    int m_position = 0;
    int m_blocks = 0;
    int m_bytesMoved = 0;
    int m_readsCompleted = 0;
    bool m_replyLost = false;
    bool m_replyRepeated = false;
    int m_sendsCompleted = 0;
};

} // namespace lumo
