#include "app/lib/delayed_wake.h"

#include "app/app/messages.h"
#include "app/win/failure.h"

namespace glimmerly {
namespace {

constexpr UINT kDelayedWakeMs = 2000;

void CALLBACK post_delayed_wake(HWND, UINT, UINT_PTR timer, DWORD) noexcept {
    KillTimer(nullptr, timer);
    PostThreadMessageW(GetCurrentThreadId(), WM_APP_DELAYED_WAKE, 0, 0);
}

std::uint64_t ticks(const FILETIME& time) {
    return std::uint64_t{time.dwHighDateTime} << 32 | time.dwLowDateTime;
}

}  // namespace

Result<DiagnosticBaseline> start_delayed_wake() {
    if (!SetTimer(nullptr, 0, kDelayedWakeMs, post_delayed_wake)) return win::win32_failure("SetTimer");
    FILETIME created{}, exited{}, kernel{}, user{};
    if (!GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user))
        return win::win32_failure("GetProcessTimes");
    return DiagnosticBaseline{ticks(kernel) + ticks(user), std::chrono::steady_clock::now()};
}

}  // namespace glimmerly
