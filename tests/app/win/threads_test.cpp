// Threads that cannot start: the system's refusal keeps its code.

#include "app/win/threads.h"

#include <gtest/gtest.h>

#include <functional>

#include "app/render/renderer_thread.h"

namespace glimmerly {
namespace {

// Stands in for CreateThread in a process out of memory.
HANDLE WINAPI refuse_thread(LPSECURITY_ATTRIBUTES, SIZE_T, LPTHREAD_START_ROUTINE, LPVOID, DWORD, LPDWORD) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
}

TEST(StartThread, AThreadThatCannotStartKeepsTheSystemsCode) {
    struct Row { const char* name; std::function<Status()> start; };
    RendererSlot slot;
    const Row rows[] = {
        {"a named worker",
         [] {
             auto started = win::start_named_thread(L"Glimmerly test", [] {}, refuse_thread);
             return started ? ok_status() : Status(std::move(started).failure());
         }},
        {"the renderer's thread", [&] { return spawn_renderer_thread(slot, false, nullptr, refuse_thread); }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const Status started = row.start();
        ASSERT_FALSE(started.ok());
        EXPECT_EQ(started.failure().code, hresult_from_win32(ERROR_NOT_ENOUGH_MEMORY));
        EXPECT_TRUE(started.failure().message.starts_with("CreateThread Glimmerly ")) << started.failure().message;
    }
    EXPECT_FALSE(slot.receiver) << "a renderer that never started is not waited for";
}

}  // namespace
}  // namespace glimmerly
