#include "app/win/threads.h"

#include <memory>

#include "app/win/failure.h"
#include "app/win/system_function.h"

namespace glimmerly::win {
namespace {

struct ThreadStart {
    const wchar_t* name;
    std::unique_ptr<ThreadBody> body;
};

DWORD WINAPI thread_entry(void* parameter) noexcept {
    const std::unique_ptr<ThreadStart> start(static_cast<ThreadStart*>(parameter));
    name_this_thread(start->name);
    try {
        start->body->run();
    } catch (...) {
        // Nothing crosses the thread's edge; a body that threw has dropped
        // whatever it held, and its owner learns of it from what is missing.
    }
    return 0;
}

}  // namespace

void name_this_thread(const wchar_t* name) noexcept {
    // Looked up rather than imported: older systems lack it.
    using SetDescription = HRESULT(WINAPI*)(HANDLE, PCWSTR);
    const auto set = system_function_as<SetDescription>(L"kernel32.dll", "SetThreadDescription");
    if (set) set(GetCurrentThread(), name);
}

Result<UniqueHandle> start_thread(const wchar_t* name, std::unique_ptr<ThreadBody> body, CreateThreadCall create) {
    auto start = std::make_unique<ThreadStart>(ThreadStart{name, std::move(body)});
    UniqueHandle thread(create(nullptr, 0, thread_entry, start.get(), 0, nullptr));
    if (!thread) return win32_failure("CreateThread", name);
    (void)start.release();  // the thread adopts it
    return thread;
}

void join_thread(UniqueHandle& thread) noexcept {
    if (thread) WaitForSingleObject(thread.get(), INFINITE);
    thread.reset();
}

}  // namespace glimmerly::win
