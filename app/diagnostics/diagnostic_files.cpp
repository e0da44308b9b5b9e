#include "app/diagnostics/diagnostic_files.h"

#include <psapi.h>

#include "app/diagnostics/report_file.h"
#include "app/lib/start_with_windows.h"
#include "app/win/failure.h"
#include "app/win/file_io.h"

namespace glimmerly {
namespace {

std::uint64_t ticks(const FILETIME& time) { return std::uint64_t{time.dwHighDateTime} << 32 | time.dwLowDateTime; }

// The figures travel as E_FAIL with the system's text, whatever the cause.
Failure io_failure(const char* what, const wchar_t* path) {
    return plain_failure(win::self_check_failure(what, path).message);
}

// Spinning for 100 ms of processor time takes 100 ms on an idle machine; a
// loaded one that keeps this process off the processor longer than this
// leaves the answer unknown rather than guessed.
constexpr double kOwnTimesSpinLimitMs = 5000.0;

// Reports are a few hundred bytes; anything near this is not one.
constexpr std::uint64_t kReportLimit = 1 << 20;

}  // namespace

Result<std::uint64_t> working_set_bytes() {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    if (!GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters))
        return win::self_check_failure("GetProcessMemoryInfo");
    return static_cast<std::uint64_t>(counters.WorkingSetSize);
}

Result<std::uint64_t> private_bytes() {
    auto memory = process_memory(GetCurrentProcess());
    if (!memory) return std::move(memory).failure();
    return memory->private_usage;
}

Result<ProcessMemory> process_memory(HANDLE process) {
    PROCESS_MEMORY_COUNTERS_EX counters{};
    counters.cb = sizeof counters;
    if (!GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters), sizeof counters))
        return win::self_check_failure("GetProcessMemoryInfo");
    return ProcessMemory{counters.WorkingSetSize, counters.PrivateUsage};
}

Result<std::uint64_t> process_cpu_ticks(HANDLE process) {
    FILETIME created{}, exited{}, kernel{}, user{};
    if (!GetProcessTimes(process, &created, &exited, &kernel, &user)) return win::self_check_failure("GetProcessTimes");
    return ticks(kernel) + ticks(user);
}

Result<TimesOwner> process_times_owner(HANDLE waiting) {
    TimesReadings readings;
    auto own = process_cpu_ticks(GetCurrentProcess());
    if (!own) return std::move(own).failure();
    auto other = process_cpu_ticks(waiting);
    if (!other) return std::move(other).failure();
    readings.own_before = readings.own_after = *own;
    readings.other_before = *other;
    const auto start = std::chrono::steady_clock::now();
    while (readings.own_after < readings.own_before + kClearOwnTicks &&
           milliseconds_since(start) < kOwnTimesSpinLimitMs) {
        own = process_cpu_ticks(GetCurrentProcess());
        if (!own) return std::move(own).failure();
        readings.own_after = *own;
    }
    other = process_cpu_ticks(waiting);
    if (!other) return std::move(other).failure();
    readings.other_after = *other;
    return times_owner(readings);
}

Status write_report(const wchar_t* path, std::string_view text) {
    Status written = write_report_file(path, std::string(text));
    if (!written) return plain_failure(written.failure().message);
    return ok_status();
}

Result<std::string> read_report(const wchar_t* path) {
    auto read = win::read_file_if_exists(path, kReportLimit);
    if (!read) return plain_failure(read.failure().message);
    if (!*read) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return io_failure("Reading", path);
    }
    return std::move(**read);
}

double milliseconds_since(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

Result<ChildRun> start_program_child(std::wstring_view argument) {
    auto program = running_program_path();
    if (!program) return plain_failure(program.failure().message);
    std::wstring command = L"\"" + *program + L"\" " + std::wstring(argument);

    ChildRun child;
    child.job.reset(CreateJobObjectW(nullptr, nullptr));
    if (!child.job) return win::self_check_failure("CreateJobObjectW");
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE | JOB_OBJECT_LIMIT_SILENT_BREAKAWAY_OK;
    if (!SetInformationJobObject(child.job.get(), JobObjectExtendedLimitInformation, &limits, sizeof limits))
        return win::self_check_failure("SetInformationJobObject");

    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION info{};
    // Suspended until it is in the job, so that no moment exists in which
    // it runs outside it.
    if (!CreateProcessW(program->c_str(), command.data(), nullptr, nullptr, TRUE, CREATE_SUSPENDED, nullptr, nullptr,
                        &startup, &info))
        return io_failure("CreateProcessW", program->c_str());
    win::UniqueHandle thread(info.hThread);
    child.process.reset(info.hProcess);
    if (!AssignProcessToJobObject(child.job.get(), child.process.get())) {
        Failure failure = win::self_check_failure("AssignProcessToJobObject");
        TerminateProcess(child.process.get(), 1);
        return failure;
    }
    ResumeThread(thread.get());
    return child;
}

Result<DWORD> wait_for_child(ChildRun& child, DWORD timeout_ms, std::string_view late_text) {
    const DWORD waited = WaitForSingleObject(child.process.get(), timeout_ms);
    if (waited == WAIT_FAILED) return win::self_check_failure("WaitForSingleObject");
    if (waited != WAIT_OBJECT_0) {
        TerminateJobObject(child.job.get(), 1);
        WaitForSingleObject(child.process.get(), 5000);
        return plain_failure(std::string(late_text));
    }
    DWORD code = 1;
    if (!GetExitCodeProcess(child.process.get(), &code)) return win::self_check_failure("GetExitCodeProcess");
    return code;
}

}  // namespace glimmerly
