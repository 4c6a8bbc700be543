// The thread that the window runs its device steps on, and the threading and lifetime model of
// the transfers.
//
// Threads. The window's thread owns the document, the widgets and the DeviceLink object, and
// runs the command flows (questions, messages, unpacking) as coroutines (Flow). Each device
// step of a flow (opening the MIDI system, the search, a read, a send) runs on the one worker
// thread of TransferThread, in TransferWorker, while the flow is suspended and the window's
// own event loop goes on: it keeps painting and takes Esc and the close button, with its client
// area and menus disabled by the window. Progress travels from the worker to the window as
// queued signals; the worker's finished(result) resumes the flow on the window's thread.
//
// The MIDI thread. The MIDI system calls the input callback on a thread of its own; on JACK it
// is the server's real-time process thread, shared with every client of the server, so the
// callback does a small fixed amount of work with atomics only: no lock, no allocation, no Qt
// call, no wait, no system call but a futex wake when someone sleeps. It drops system messages
// (CallbackGate), stores the word in the Receive Ring, wakes the waiting worker through the
// link's ReplySignal (an atomic flag and a semaphore), and pushes the word on Follow
// Controller's fixed-size lock-free queue (ListenerQueue) when one listens; a full queue drops
// and counts. The queue is drained on an ordinary thread of ControllerListener, which posts to
// the window's thread. The JACK backend's process callback otherwise only moves the outgoing
// words from a lock-free ring buffer into the port's buffer.
//
// The watcher. PortWatcher looks at the ports on a thread of its own, when JACK's port
// registration or shutdown callbacks (on JACK's notification thread, never the process thread)
// or the simulated ports tell it, and at least once a second; ControllerWatch posts what it
// saw to the window's thread. ReopeningPorts serializes the calls of the worker and the
// watcher with a mutex that the MIDI thread never takes, and opens the system again after it
// went away.
//
// Waiting and cancelling. Every wait of the search and the transfers sleeps on the link's
// ReplySignal, bounded in time and woken by the reply; cancel() (from the window's thread, or
// from the thread that takes SIGINT/SIGTERM in `lumo`) sets the link's cancel flag and wakes it,
// and the step returns Cancelled at its next check, within one message.
//
// Lifetimes. A port's input is stopped, and any callback call still under way waited for,
// before the port or the link that the callback feeds is freed (MidiPorts::closeInput). The
// link outlives every step: ~TransferThread cancels the step under way and joins the worker
// before the window frees the link. A close of the MIDI system that does not answer in time
// goes on as a bounded job that owns what it touches, and the program waits for such jobs before
// main returns, or ends without freeing statics (FinishBoundedJobs).
#pragma once

#include "device/link_result.h"

#include <QObject>
#include <QThread>

#include <functional>

namespace lumo {

class DeviceLink;

// Lives on the worker thread and runs one step at a time.
class TransferWorker : public QObject {
    Q_OBJECT
public:
    void run(const std::function<LinkResult()>& step) { emit finished(step()); }

signals:
    void finished(const lumo::LinkResult& result);
};

class TransferThread : public QObject {
    Q_OBJECT
public:
    explicit TransferThread(QObject* parent = nullptr);
    // Cancels a step still under way and waits for the worker to end.
    ~TransferThread() override;

    // Starts `step` on the worker; `done` gets its result on the window's thread, from its event
    // loop, once it has ended (never when the thread is destroyed first). `link`, when given,
    // is the one that cancel() stops; a step without a link (opening the MIDI system) may bring
    // its own `stop`, which cancel() calls on the window's thread. Called on the window's
    // thread, one step at a time.
    void start(DeviceLink* link, std::function<LinkResult()> step, std::function<void(LinkResult)> done,
               std::function<void()> stop = {});
    // Asks the step under way to stop; it ends within one message (the window's thread).
    void cancel();

    // For the step, on the worker: they reach the window queued.
    void reportProgress(int percent) { emit progressChanged(percent); }
    void reportShown(bool visible) { emit progressShown(visible); }
    void reportRestart(int restart) { emit readRestarted(restart); }

signals:
    void progressChanged(int percent);
    void progressShown(bool visible);
    // A read lost a reply and starts over: ReadRestartText(restart) says so.
    void readRestarted(int restart);

private:
    void ended(LinkResult result);

    QThread m_thread;
    TransferWorker* m_worker = nullptr; // lives on m_thread
    DeviceLink* m_link = nullptr;
    std::function<void()> m_stop;
    std::function<void(LinkResult)> m_done;
    bool m_running = false;
    bool m_cancelRequested = false;
};

} // namespace lumo
