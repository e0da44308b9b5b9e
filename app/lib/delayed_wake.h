#pragma once
// The diagnostics role measures a quiet program: its message loop runs two
// seconds after start-up and then ends on its own, and the figures start
// from a baseline taken when that wait began.

#include <windows.h>

#include <chrono>
#include <cstdint>

#include "core/base/result.h"

namespace glimmerly {

struct DiagnosticBaseline {
    std::uint64_t cpu_time = 0;  // kernel plus user time, 100 ns units
    std::chrono::steady_clock::time_point at;
};

// Posts WM_APP_DELAYED_WAKE to this thread's queue two seconds from now,
// from a timer of this thread, while its loop runs.
Result<DiagnosticBaseline> start_delayed_wake();

}  // namespace glimmerly
