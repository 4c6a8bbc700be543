// The device search and the link's port bookkeeping.
#include "device/device_link.h"

#include "device/short_message.h"

namespace lumo {

DeviceLink::DeviceLink(MidiPorts& ports)
    : m_ports(ports)
{
}

DeviceLink::~DeviceLink()
{
    closeInput();
    closeOutput();
}

void DeviceLink::closeOutput()
{
    if (m_output >= 0)
        m_ports.closeOutput();
    m_output = -1;
}

void DeviceLink::closeInput()
{
    if (m_input >= 0)
        m_ports.closeInput();
    m_input = -1;
}

int DeviceLink::send(std::uint32_t word)
{
    if (m_output < 0)
        return 1;
    return m_ports.send(word) == 0 ? 0 : 1;
}

bool DeviceLink::waitForArrivals(int mark, int count)
{
    return WaitForReply([&] { return m_ring.arrivedSince(mark) >= count; }, m_replyTimeout);
}

bool DeviceLink::waitForWriteIndexAboveZero()
{
    return WaitForReply([&] { return m_ring.writeIndex() >= 1; }, m_replyTimeout);
}

int DeviceLink::FindDevice(std::uint32_t expected)
{
    m_outputCount = m_ports.outputCount();
    m_inputCount = m_ports.inputCount();

    bool found = false;
    for (int o = 0; o < m_outputCount && !found; ++o) {
        closeOutput();
        if (!m_ports.openOutput(o))
            continue;
        m_output = o;
        for (int i = 0; i < m_inputCount; ++i) {
            closeInput();
            if (!m_ports.openInput(i, [this](std::uint32_t word) { m_ring.OnMidiInput(MidiInputKind::Data, word); }))
                continue;
            m_input = i;
            if (send(CmdConnect) != 0)
                continue;
            // The mark lies between CmdConnect and CmdIdentify: the echo of CmdConnect is
            // expected as the first message after it, the identity as the second.
            const int mark = m_ring.writeIndex();
            if (send(CmdIdentify) != 0)
                continue;
            if (!waitForArrivals(mark, 2))
                continue;
            if (m_ring.slot(mark) == CmdConnect && m_ring.slot((mark + 1) % kRingSize) == expected) {
                found = true;
                break;
            }
        }
    }
    if (found)
        return 0;
    if (m_output >= 0)
        send(CmdEnd);
    return 1;
}

} // namespace lumo
