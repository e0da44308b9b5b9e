#pragma once
// The measuring side of the self-checks: process memory and CPU figures,
// reports written and read under the relative "target/" folder, and child
// processes of the program run with a bounded wait.

#include <windows.h>

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "app/win/owners.h"
#include "core/base/result.h"
#include "core/diagnostics/process_times.h"

namespace glimmerly {

inline constexpr wchar_t EDITOR_REPORT[] = L"target\\editor-diagnostics.txt";
inline constexpr wchar_t FIRST_FRAME_REPORT[] = L"target\\first-frame-diagnostics.txt";
inline constexpr wchar_t WARM_FRAME_REPORT[] = L"target\\warm-frame-diagnostics.txt";
inline constexpr wchar_t WARM_REPORT[] = L"target\\warm-editor-diagnostics.json";
inline constexpr wchar_t STARTUP_REPORT[] = L"target\\diagnostics.json";

// WorkingSetSize and PrivateUsage of the current process.
Result<std::uint64_t> working_set_bytes();
Result<std::uint64_t> private_bytes();

struct ProcessMemory {
    std::uint64_t working_set = 0;
    std::uint64_t private_usage = 0;
};
Result<ProcessMemory> process_memory(HANDLE process);
// Kernel plus user time, in 100 ns units.
Result<std::uint64_t> process_cpu_ticks(HANDLE process);
// Whose processor times GetProcessTimes answers for `waiting`, a process
// that burns next to nothing meanwhile: this process spends 100 ms of its
// own (or spins 5 s, held off a loaded processor) and compares. Wine 8
// answers with this process's own times for any other process.
Result<TimesOwner> process_times_owner(HANDLE waiting);

// The report in one piece, replacing an earlier one; the folder is never
// made. A failure is E_FAIL with the system's words for it.
Status write_report(const wchar_t* path, std::string_view text);
Result<std::string> read_report(const wchar_t* path);

// Milliseconds on the monotonic clock since `start`.
double milliseconds_since(std::chrono::steady_clock::time_point start);

// This program with one argument, in this folder, its standard handles
// inherited, inside a job that ends it with its handle.
struct ChildRun {
    win::UniqueHandle job;
    win::UniqueHandle process;
};
Result<ChildRun> start_program_child(std::wstring_view argument);

// Its exit code once it has ended within `timeout_ms`; a child still
// running then is ended and `late_text` is the failure.
Result<DWORD> wait_for_child(ChildRun& child, DWORD timeout_ms, std::string_view late_text);

}  // namespace glimmerly
