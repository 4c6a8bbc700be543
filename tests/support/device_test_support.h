// Shared set-up of the device tests: a simulated MIDI system with controllers that report any
// request they do not expect as a test failure.
#pragma once

#include "device/device_link.h"
#include "device/short_message.h"
#include "tests/support/simulated_ports.h"
#include "device/virtual_controller.h"
#include "scene/scene_record.h"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <vector>

namespace lumo::testing {

inline std::unique_ptr<VirtualController> MakeController(const SceneSet& scenes = SceneSet())
{
    auto controller = std::make_unique<VirtualController>(scenes);
    controller->onUnexpected = [](const std::string& what) { ADD_FAILURE() << "virtual controller: " << what; };
    return controller;
}

// A short bound keeps the tests that wait for silence quick; it is no timing assertion.
inline constexpr std::chrono::milliseconds kTestTimeout{20};

// One output and one input wired to one controller: the usual case.
struct OneController {
    explicit OneController(SimulatedPorts::Delivery delivery = SimulatedPorts::Delivery::Inline)
        : ports(delivery), controller(MakeController()), link(ports)
    {
        const int device = ports.addController(*controller);
        ports.addOutput("Lumo out", device);
        ports.addInput("Lumo in", device);
        link.setReplyTimeout(kTestTimeout);
        link.setHandshakeWait(kTestTimeout);
    }
    SimulatedPorts ports;
    std::unique_ptr<VirtualController> controller;
    DeviceLink link;
};

} // namespace lumo::testing
