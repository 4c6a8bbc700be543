// The port interface over a MIDI system that may go away and come back: it holds the system's
// ports as `open` made them and makes them again, within a bound, on the next call after the
// system went away (a JACK shutdown) or was absent at the start ("none"). The link and the
// watcher keep one ports object for the whole session. Every call is serialized, so that a
// watcher may list the ports beside the link's opens and sends; the input callback never takes
// the lock.
#pragma once

#include "device/midi_ports.h"

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <mutex>

namespace lumo {

class ReopeningPorts : public MidiPorts {
public:
    using Opener = std::function<std::unique_ptr<MidiPorts>()>;
    // A system that takes longer than this to open is given up for this call; it goes on
    // opening on a job of its own and is taken by a later call once it is there.
    static constexpr std::chrono::milliseconds kOpenBound{5000};

    explicit ReopeningPorts(Opener open, std::chrono::milliseconds openBound = kOpenBound);
    ~ReopeningPorts() override;

    // Opens the system now when it is not open; false when it is still absent. Cancellable:
    // cancelOpen() from any thread ends the wait for an open under way at once.
    bool ensureOpen();
    void cancelOpen();

    std::string systemName() const override;
    std::vector<std::string> outputNames() override;
    std::vector<std::string> inputNames() override;
    bool openOutput(const std::string& name) override;
    void closeOutput() override;
    bool openOutputs(const std::vector<std::string>& names) override;
    bool sendsToMany() const override;
    bool moveOutputs(const std::vector<std::string>& names) override;
    bool openInput(const std::vector<std::string>& names, MidiInputCallback callback) override;
    void closeInput() override;
    bool listensToMany() const override;
    bool moveInput(const std::vector<std::string>& names, MidiInputCallback callback) override;
    int send(std::uint32_t word) override;
    std::chrono::milliseconds latency() const override;
    std::uint32_t missedCycles() const override;
    std::string lastError() const override;
    void setChangeNotifier(std::function<void()> notify) override;
    bool notifiesChanges() const override;
    bool connectionsLive() override;
    void setCancelFlag(const std::atomic<bool>* cancelled) override;

    // How many times the system was opened (1 after the first good open).
    int opens() const { return m_opens.load(); }

private:
    struct Opening;
    MidiPorts* current(); // the open system, reopened when gone; nullptr when absent

    Opener m_open;
    std::chrono::milliseconds m_openBound;
    mutable std::recursive_mutex m_mutex;
    std::unique_ptr<MidiPorts> m_ports;
    std::shared_ptr<Opening> m_opening;
    std::function<void()> m_notify;
    std::atomic<bool> m_cancelOpen{false};
    std::atomic<const std::atomic<bool>*> m_cancelFlag{nullptr};
    std::atomic<int> m_opens{0};
    std::chrono::steady_clock::time_point m_lastAttempt{};
    bool m_failedAttempt = false;
    std::string m_error;
};

} // namespace lumo
