#pragma once

#include <coroutine>
#include <exception>
#include <optional>
#include <utility>

namespace quarix::session {

// A coroutine that starts at once and runs on the thread that called it,
// suspending where it awaits a database job (see Awaiting.h) and resuming
// when the job's report arrives. Another coroutine may co_await it for its
// result; a caller that only starts it may drop the Task, and the coroutine
// then finishes on its own and frees itself.
//
// The window's sequences read as plain steps this way (open, list the
// tables, then the fields) while the event loop keeps running between them:
// no step waits inside a nested event loop.
//
// Two rules keep coroutines sound: take arguments by value (a reference
// may be gone when the coroutine resumes), and await into a named local
// rather than inside an if or loop condition (GCC 12 destroys such a
// condition's temporaries wrongly and the program crashes).
template <typename T = void> class Task;

namespace task_detail {

struct PromiseBase {
    std::coroutine_handle<> continuation;
    bool detached = false;
    std::exception_ptr failure;

    struct FinalAwaiter {
        bool await_ready() const noexcept { return false; }
        template <typename Promise>
        std::coroutine_handle<> await_suspend(std::coroutine_handle<Promise> self) noexcept {
            PromiseBase& promise = self.promise();
            if (promise.continuation)
                return promise.continuation;
            if (promise.detached) {
                if (promise.failure)
                    std::terminate(); // nobody is left to hear of it
                self.destroy();
            }
            return std::noop_coroutine();
        }
        void await_resume() const noexcept {}
    };

    std::suspend_never initial_suspend() const noexcept { return {}; }
    FinalAwaiter final_suspend() const noexcept { return {}; }
    void unhandled_exception() noexcept { failure = std::current_exception(); }
};

template <typename T> struct Promise : PromiseBase {
    std::optional<T> value;
    Task<T> get_return_object();
    void return_value(T v) { value = std::move(v); }
};

template <> struct Promise<void> : PromiseBase {
    Task<void> get_return_object();
    void return_void() const noexcept {}
};

} // namespace task_detail

template <typename T> class Task {
public:
    using promise_type = task_detail::Promise<T>;
    using Handle = std::coroutine_handle<promise_type>;

    explicit Task(Handle handle) : handle_(handle) {}
    Task(Task&& other) noexcept : handle_(std::exchange(other.handle_, {})) {}
    Task& operator=(Task&&) = delete;
    Task(const Task&) = delete;
    ~Task() {
        if (!handle_)
            return;
        if (handle_.done())
            handle_.destroy();
        else
            handle_.promise().detached = true;
    }

    bool done() const { return !handle_ || handle_.done(); }

    bool await_ready() const noexcept { return handle_.done(); }
    void await_suspend(std::coroutine_handle<> awaiting) noexcept {
        handle_.promise().continuation = awaiting;
    }
    T await_resume() {
        promise_type& promise = handle_.promise();
        if (promise.failure)
            std::rethrow_exception(promise.failure);
        if constexpr (!std::is_void_v<T>)
            return std::move(*promise.value);
    }

private:
    Handle handle_;
};

template <typename T> Task<T> task_detail::Promise<T>::get_return_object() {
    return Task<T>(std::coroutine_handle<Promise<T>>::from_promise(*this));
}

inline Task<void> task_detail::Promise<void>::get_return_object() {
    return Task<void>(std::coroutine_handle<Promise<void>>::from_promise(*this));
}

} // namespace quarix::session
