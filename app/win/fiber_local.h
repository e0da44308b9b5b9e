#pragma once
// One object per thread, held in a fiber-local slot whose callback deletes
// it when its thread ends.
//
// Not a thread_local object: this toolchain's emulated thread storage may
// free a thread_local's memory before its destructor runs at the thread's
// end, and the destructor then reads freed memory. A thread_local that needs
// no destructor (a plain pointer, a flag) is not affected.

#include <windows.h>

#include <memory>
#include <utility>

#include "app/win/failure.h"
#include "core/base/result.h"

namespace glimmerly::win {

template <class T>
class FiberLocal {
public:
    // The slot stays for the life of the process: freeing it would run the
    // callback on every thread's object during the process's own exit.
    FiberLocal() noexcept : slot_(FlsAlloc(&drop)), error_(slot_ == FLS_OUT_OF_INDEXES ? GetLastError() : 0) {}
    FiberLocal(const FiberLocal&) = delete;
    FiberLocal& operator=(const FiberLocal&) = delete;

    // This thread's object; null before the first `get_or_make`.
    T* get() const noexcept {
        return slot_ == FLS_OUT_OF_INDEXES ? nullptr : static_cast<T*>(FlsGetValue(slot_));
    }

    // This thread's object, made on first use by `make` (giving a
    // Result<std::unique_ptr<T>>). A failure leaves the thread without one.
    template <class Make>
    Result<T*> get_or_make(Make make) {
        if (slot_ == FLS_OUT_OF_INDEXES) return win32_failure_code(error_, "FlsAlloc");
        if (T* existing = get()) return existing;
        Result<std::unique_ptr<T>> made = make();
        if (!made) return std::move(made).failure();
        if (!FlsSetValue(slot_, made->get())) return win32_failure("FlsSetValue");
        return made->release();  // the slot's now
    }

    // Deletes this thread's object now, rather than at the thread's end.
    void reset() noexcept {
        T* object = get();
        if (!object) return;
        FlsSetValue(slot_, nullptr);
        delete object;
    }

private:
    static void NTAPI drop(void* object) noexcept { delete static_cast<T*>(object); }

    DWORD slot_;
    DWORD error_;
};

}  // namespace glimmerly::win
