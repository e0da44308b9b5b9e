#pragma once
// A run of a program with its peak memory watched from outside, for the
// tests that hold a refusal to a memory budget.
//
// Wine answers GetProcessMemoryInfo of another process from the host's own
// figures of it (PeakWorkingSetSize is its peak resident size) only while
// it runs; an ended process reads as 0, and PeakPagefileUsage and
// PrivateUsage are not the child's at all. So the peak working set is read
// at every wake-up of the wait for the end, and the highest reading kept:
// a figure only as late as the last reading, and none when the process
// ended before the first.

#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdint>
#include <string>

#include "app/win/owners.h"
#include "app/win/paths.h"
#include "tests/app/support/dialogs.h"
#include "tests/app/support/program_path.h"

namespace glimmerly::testing_support {

struct WatchedRun {
    int exit_code = -1;  // -1: not started, or still running at the deadline and then ended
    std::uint64_t peak_working_set = 0;
    int readings = 0;
};

// `command` run in `folder` inside a job that ends it with the job's
// handle, its standard error into `standard_error` (an inheritable handle,
// or null), its boxes answered by `sweeper`.
inline WatchedRun run_watching_peak(std::wstring command, const std::wstring& folder, HANDLE standard_error,
                                    DialogSweeper& sweeper, DWORD timeout_ms) {
    WatchedRun run;
    const win::UniqueHandle job(CreateJobObjectW(nullptr, nullptr));
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    if (!job || !SetInformationJobObject(job.get(), JobObjectExtendedLimitInformation, &limits, sizeof limits))
        return run;
    STARTUPINFOW startup{.cb = sizeof(STARTUPINFOW)};
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdError = standard_error;
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, standard_error != nullptr, CREATE_SUSPENDED,
                        nullptr, folder.c_str(), &startup, &info))
        return run;
    const win::UniqueHandle process(info.hProcess), thread(info.hThread);
    if (!AssignProcessToJobObject(job.get(), process.get())) {
        TerminateProcess(process.get(), 1);
        return run;
    }
    sweeper.watch(info.dwProcessId);
    ResumeThread(thread.get());
    const ULONGLONG deadline = GetTickCount64() + timeout_ms;
    for (;;) {
        PROCESS_MEMORY_COUNTERS counters{.cb = sizeof(PROCESS_MEMORY_COUNTERS)};
        if (GetProcessMemoryInfo(process.get(), &counters, sizeof counters) && counters.PeakWorkingSetSize > 0) {
            run.peak_working_set = std::max<std::uint64_t>(run.peak_working_set, counters.PeakWorkingSetSize);
            ++run.readings;
        }
        if (WaitForSingleObject(process.get(), 2) == WAIT_OBJECT_0) break;
        if (GetTickCount64() >= deadline) {
            TerminateJobObject(job.get(), 1);
            WaitForSingleObject(process.get(), 10000);
            return run;
        }
    }
    DWORD code = 0;
    if (GetExitCodeProcess(process.get(), &code)) run.exit_code = static_cast<int>(code);
    return run;
}

}  // namespace glimmerly::testing_support
