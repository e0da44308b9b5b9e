#pragma once
// Named worker threads with one owner: the handle a starter keeps to join
// the thread by waiting on it.

#include <windows.h>

#include <memory>
#include <utility>

#include "app/win/owners.h"
#include "core/base/result.h"

namespace glimmerly::win {

// Names the calling thread for debuggers and crash reports; a system without
// SetThreadDescription only loses the name.
void name_this_thread(const wchar_t* name) noexcept;

// What a thread runs; it owns its inputs, which may be move-only (a
// channel's sending end).
class ThreadBody {
public:
    virtual ~ThreadBody() = default;
    virtual void run() = 0;
};

template <class F>
class ThreadBodyOf final : public ThreadBody {
public:
    explicit ThreadBodyOf(F f) : f_(std::move(f)) {}
    void run() override { f_(); }

private:
    F f_;
};

// The call that makes the thread: CreateThread, or a stand-in through which
// a test refuses it.
using CreateThreadCall = HANDLE(WINAPI*)(LPSECURITY_ATTRIBUTES attributes, SIZE_T stack_size,
                                         LPTHREAD_START_ROUTINE start, LPVOID parameter, DWORD flags, LPDWORD id);

// Runs the body on a new thread called `name` (a string literal: the thread
// reads it). The body must end every failure itself; anything it throws is
// swallowed at the thread's edge. A thread that cannot start is CreateThread's
// failure with its code, and the body is dropped on the caller's thread.
Result<UniqueHandle> start_thread(const wchar_t* name, std::unique_ptr<ThreadBody> body,
                                  CreateThreadCall create = CreateThread);

template <class F>
Result<UniqueHandle> start_named_thread(const wchar_t* name, F body, CreateThreadCall create = CreateThread) {
    return start_thread(name, std::make_unique<ThreadBodyOf<F>>(std::move(body)), create);
}

// Waits for the thread to end (nothing to wait for when empty) and closes it.
void join_thread(UniqueHandle& thread) noexcept;

}  // namespace glimmerly::win
