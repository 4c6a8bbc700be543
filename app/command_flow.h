// A command flow as a coroutine: the flow reads top to bottom (search, question, transfer,
// message), and where it waits for a device step it suspends instead of running a local event
// loop. The window starts a flow and gets on with its event loop; the step's end resumes the
// flow from that loop. Where the steps run inline (`lumo`, the tests) the flow never suspends
// and RunToEnd returns its result at once.
#pragma once

#include "device/link_result.h"

#include <coroutine>
#include <exception>
#include <functional>
#include <optional>
#include <utility>

namespace lumo {

template <class T>
class Flow;

namespace flow_detail {

// At its end a flow goes on with the flow that awaited it, or tells its starter.
struct FinalAwaiter {
    bool await_ready() const noexcept { return false; }
    template <class Promise>
    std::coroutine_handle<> await_suspend(std::coroutine_handle<Promise> ended) noexcept
    {
        auto& promise = ended.promise();
        if (promise.continuation)
            return promise.continuation;
        if (promise.whenDone)
            promise.whenDone();
        return std::noop_coroutine();
    }
    void await_resume() const noexcept {}
};

struct PromiseBase {
    std::coroutine_handle<> continuation;
    std::function<void()> whenDone; // the outermost flow's end
    std::suspend_always initial_suspend() const noexcept { return {}; }
    FinalAwaiter final_suspend() const noexcept { return {}; }
    // The flows report failures as results; an exception escaping one is a fault.
    void unhandled_exception() const noexcept { std::terminate(); }
};

template <class T>
struct Promise : PromiseBase {
    std::optional<T> value;
    Flow<T> get_return_object();
    void return_value(T result) { value = std::move(result); }
    T take() { return std::move(*value); }
};

template <>
struct Promise<void> : PromiseBase {
    Flow<void> get_return_object();
    void return_void() const noexcept {}
    void take() const noexcept {}
};

} // namespace flow_detail

// A flow that has not started until it is awaited or started; destroying it destroys a
// suspended flow with everything it holds, without resuming it.
template <class T>
class [[nodiscard]] Flow {
public:
    using promise_type = flow_detail::Promise<T>;

    Flow() = default;
    explicit Flow(std::coroutine_handle<promise_type> handle) : m_handle(handle) {}
    Flow(Flow&& other) noexcept : m_handle(std::exchange(other.m_handle, {})) {}
    Flow& operator=(Flow&& other) noexcept
    {
        if (this != &other) {
            reset();
            m_handle = std::exchange(other.m_handle, {});
        }
        return *this;
    }
    ~Flow() { reset(); }

    // Awaited by another flow: that one goes on once this one has ended.
    bool await_ready() const noexcept { return false; }
    std::coroutine_handle<> await_suspend(std::coroutine_handle<> awaiting) noexcept
    {
        m_handle.promise().continuation = awaiting;
        return m_handle;
    }
    T await_resume() { return m_handle.promise().take(); }

    // Runs the flow up to its first suspension; `whenDone` is called at its end (perhaps before
    // start returns), while the flow is still held here.
    void start(std::function<void()> whenDone)
    {
        m_handle.promise().whenDone = std::move(whenDone);
        m_handle.resume();
    }
    bool held() const { return bool(m_handle); }
    bool done() const { return m_handle && m_handle.done(); }
    T result() { return m_handle.promise().take(); }
    void reset()
    {
        if (m_handle)
            std::exchange(m_handle, {}).destroy();
    }

private:
    std::coroutine_handle<promise_type> m_handle;
};

template <class T>
Flow<T> flow_detail::Promise<T>::get_return_object()
{
    return Flow<T>(std::coroutine_handle<Promise<T>>::from_promise(*this));
}

inline Flow<void> flow_detail::Promise<void>::get_return_object()
{
    return Flow<void>(std::coroutine_handle<Promise<void>>::from_promise(*this));
}

// Starts a device step and calls `done` with its result once it has ended, on the thread that
// started it and from its event loop. Empty: the step runs inline.
using StepStarter = std::function<void(std::function<LinkResult()> step, std::function<void(LinkResult)> done)>;

// `co_await DeviceStep(starter, step)`: the step's result, the flow suspended while it runs.
class DeviceStep {
public:
    DeviceStep(StepStarter starter, std::function<LinkResult()> step)
        : m_starter(std::move(starter)), m_step(std::move(step)) {}

    bool await_ready() const noexcept { return !m_starter; }
    void await_suspend(std::coroutine_handle<> flow)
    {
        m_starter(std::move(m_step), [this, flow](LinkResult result) {
            m_result = std::move(result);
            flow.resume();
        });
    }
    LinkResult await_resume() { return m_starter ? std::move(m_result) : m_step(); }

private:
    StepStarter m_starter;
    std::function<LinkResult()> m_step;
    LinkResult m_result;
};

// A flow whose steps all run inline, run to its end.
template <class T>
T RunToEnd(Flow<T> flow)
{
    flow.start({});
    if (!flow.done())
        std::terminate(); // a step was started asynchronously: the caller must start the flow itself
    return flow.result();
}

} // namespace lumo
