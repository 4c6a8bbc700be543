// A MIDI system opened again after it went away, behind one lasting ports object.
#include "device/reopening_ports.h"

#include "device/bounded_call.h"

#include <condition_variable>
#include <thread>

namespace lumo {
namespace {

using Clock = std::chrono::steady_clock;
// A system that is not there is asked again at most this often: every call of a search or a
// watcher tick would otherwise open it anew.
constexpr auto kRetryInterval = std::chrono::milliseconds(250);

} // namespace

// One open on a job of its own, which owns what it fills in: a system that never answers keeps
// only that job waiting.
struct ReopeningPorts::Opening {
    std::mutex mutex;
    std::condition_variable changed;
    bool done = false;
    std::unique_ptr<MidiPorts> ports;
    Clock::time_point started = Clock::now();
};

ReopeningPorts::ReopeningPorts(Opener open, std::chrono::milliseconds openBound)
    : m_open(std::move(open))
    , m_openBound(openBound)
{
}

ReopeningPorts::~ReopeningPorts()
{
    cancelOpen();
    std::lock_guard lock(m_mutex);
    m_ports.reset();
}

void ReopeningPorts::cancelOpen()
{
    m_cancelOpen.store(true);
    std::shared_ptr<Opening> opening;
    {
        // Not under m_mutex: the caller may be the one that holds it while it waits.
        opening = std::atomic_load(&m_opening);
    }
    if (opening) {
        { std::lock_guard lock(opening->mutex); }
        opening->changed.notify_all();
    }
}

bool ReopeningPorts::ensureOpen()
{
    // Reset before the lock: the watcher may hold it while it waits for the same open, and a
    // cancel that comes meanwhile must end this call too.
    m_cancelOpen.store(false);
    std::lock_guard lock(m_mutex);
    if (m_cancelOpen.load()) {
        m_error = "opening the MIDI system was cancelled";
        return false;
    }
    return current() != nullptr;
}

MidiPorts* ReopeningPorts::current()
{
    if (m_ports && m_ports->systemName() != "none")
        return m_ports.get();
    std::shared_ptr<Opening> opening = std::atomic_load(&m_opening);
    if (!opening) {
        // A system that went away is opened again at once; one that was not there when last
        // asked, only after a while.
        if (m_ports && m_failedAttempt && Clock::now() - m_lastAttempt < kRetryInterval)
            return nullptr;
        opening = std::make_shared<Opening>();
        std::atomic_store(&m_opening, opening);
        m_lastAttempt = opening->started;
        m_failedAttempt = true;
        RunBounded([opening, open = m_open] {
            auto ports = open();
            std::lock_guard lock(opening->mutex);
            opening->ports = std::move(ports);
            opening->done = true;
            opening->changed.notify_all();
        }, std::chrono::milliseconds(0));
    }
    // In short steps: a cancel of the link (a signal to `lumo`) notifies nobody here.
    auto cancelled = [&] {
        const std::atomic<bool>* flag = m_cancelFlag.load();
        return m_cancelOpen.load() || (flag && flag->load());
    };
    std::unique_lock wait(opening->mutex);
    while (!opening->done && !cancelled() && Clock::now() < opening->started + m_openBound)
        opening->changed.wait_for(wait, std::chrono::milliseconds(5));
    if (!opening->done) {
        m_error = cancelled() ? "opening the MIDI system was cancelled"
                                      : "the MIDI system did not answer within "
                                            + std::to_string(m_openBound.count()) + " ms";
        // A later call takes what the open brings, once it is there.
        return nullptr;
    }
    std::unique_ptr<MidiPorts> ports = std::move(opening->ports);
    wait.unlock();
    std::atomic_store(&m_opening, std::shared_ptr<Opening>());
    if (!ports)
        return nullptr;
    // The old ports go first: their input callback is stopped before anything new starts.
    m_ports.reset();
    m_ports = std::move(ports);
    m_error.clear();
    if (m_ports->systemName() == "none")
        return nullptr;
    m_failedAttempt = false;
    ++m_opens;
    m_ports->setChangeNotifier(m_notify);
    m_ports->setCancelFlag(m_cancelFlag.load());
    return m_ports.get();
}

std::string ReopeningPorts::systemName() const
{
    std::lock_guard lock(m_mutex);
    MidiPorts* ports = const_cast<ReopeningPorts*>(this)->current();
    return ports ? ports->systemName() : "none";
}

std::vector<std::string> ReopeningPorts::outputNames()
{
    std::lock_guard lock(m_mutex);
    return m_ports ? m_ports->outputNames() : std::vector<std::string>{};
}

std::vector<std::string> ReopeningPorts::inputNames()
{
    std::lock_guard lock(m_mutex);
    return m_ports ? m_ports->inputNames() : std::vector<std::string>{};
}

bool ReopeningPorts::openOutput(const std::string& name)
{
    std::lock_guard lock(m_mutex);
    return m_ports && m_ports->openOutput(name);
}

bool ReopeningPorts::openOutputs(const std::vector<std::string>& names)
{
    std::lock_guard lock(m_mutex);
    return m_ports && m_ports->openOutputs(names);
}

bool ReopeningPorts::moveOutputs(const std::vector<std::string>& names)
{
    std::lock_guard lock(m_mutex);
    return m_ports && m_ports->moveOutputs(names);
}

bool ReopeningPorts::sendsToMany() const
{
    std::lock_guard lock(m_mutex);
    return m_ports && m_ports->sendsToMany();
}

void ReopeningPorts::closeOutput()
{
    std::lock_guard lock(m_mutex);
    if (m_ports)
        m_ports->closeOutput();
}

bool ReopeningPorts::openInput(const std::vector<std::string>& names, MidiInputCallback callback)
{
    std::lock_guard lock(m_mutex);
    return m_ports && m_ports->openInput(names, std::move(callback));
}

void ReopeningPorts::closeInput()
{
    std::lock_guard lock(m_mutex);
    if (m_ports)
        m_ports->closeInput();
}

bool ReopeningPorts::moveInput(const std::vector<std::string>& names, MidiInputCallback callback)
{
    std::lock_guard lock(m_mutex);
    return m_ports && m_ports->moveInput(names, std::move(callback));
}

bool ReopeningPorts::listensToMany() const
{
    std::lock_guard lock(m_mutex);
    return m_ports && m_ports->listensToMany();
}

int ReopeningPorts::send(std::uint32_t word)
{
    std::lock_guard lock(m_mutex);
    return m_ports ? m_ports->send(word) : 1;
}

std::chrono::milliseconds ReopeningPorts::latency() const
{
    std::lock_guard lock(m_mutex);
    return m_ports ? m_ports->latency() : std::chrono::milliseconds(0);
}

std::string ReopeningPorts::lastError() const
{
    std::lock_guard lock(m_mutex);
    if (!m_error.empty())
        return m_error;
    return m_ports ? m_ports->lastError() : std::string();
}

void ReopeningPorts::setChangeNotifier(std::function<void()> notify)
{
    std::lock_guard lock(m_mutex);
    m_notify = std::move(notify);
    if (m_ports)
        m_ports->setChangeNotifier(m_notify);
}

std::uint32_t ReopeningPorts::missedCycles() const
{
    std::lock_guard lock(m_mutex);
    return m_ports ? m_ports->missedCycles() : 0;
}

bool ReopeningPorts::notifiesChanges() const
{
    std::lock_guard lock(m_mutex);
    return m_ports && m_ports->notifiesChanges();
}

void ReopeningPorts::setCancelFlag(const std::atomic<bool>* cancelled)
{
    // Stored first and without the lock: an open under way waits holding it.
    m_cancelFlag.store(cancelled);
    std::lock_guard lock(m_mutex);
    if (m_ports)
        m_ports->setCancelFlag(cancelled);
}

bool ReopeningPorts::connectionsLive()
{
    std::lock_guard lock(m_mutex);
    return m_ports && m_ports->connectionsLive();
}

} // namespace lumo
