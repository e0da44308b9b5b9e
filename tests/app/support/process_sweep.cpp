#include "tests/app/support/process_sweep.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <tlhelp32.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "app/win/failure.h"
#include "app/win/owners.h"

namespace glimmerly::testing_support {
namespace {

// How long a process of a finished test may take to end on its own: an
// editor whose resident was ended notices and leaves; a child saving its
// last file finishes first.
// The sweep's own test, whose probe leaves a child on purpose, shortens it
// through GLIMMERLY_SWEEP_GRACE_MS.
DWORD grace_ms() {
    wchar_t text[16] = {};
    if (!GetEnvironmentVariableW(L"GLIMMERLY_SWEEP_GRACE_MS", text, 16)) return 10000;
    return static_cast<DWORD>(_wtoi(text));
}

std::vector<DWORD> processes_in_job(HANDLE job) {
    // Room for far more processes than any test starts; the call says when
    // there are more than fit, and the list is then read again larger.
    std::vector<ULONG_PTR> buffer(256);
    for (;;) {
        auto* list = reinterpret_cast<JOBOBJECT_BASIC_PROCESS_ID_LIST*>(buffer.data());
        const DWORD bytes = static_cast<DWORD>(buffer.size() * sizeof(ULONG_PTR));
        if (QueryInformationJobObject(job, JobObjectBasicProcessIdList, list, bytes, nullptr) ||
            GetLastError() == ERROR_MORE_DATA) {
            if (list->NumberOfAssignedProcesses > list->NumberOfProcessIdsInList) {
                buffer.resize(buffer.size() * 2);
                continue;
            }
            std::vector<DWORD> ids;
            for (DWORD i = 0; i < list->NumberOfProcessIdsInList; ++i)
                ids.push_back(static_cast<DWORD>(list->ProcessIdList[i]));
            return ids;
        }
        return {};
    }
}

// The file name of a process's program. From a snapshot rather than from
// the process itself: Wine answers a process that is still starting with no
// name at all.
std::wstring image_name(DWORD id) {
    win::UniqueFileHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    PROCESSENTRY32W entry{.dwSize = sizeof(PROCESSENTRY32W)};
    for (bool more = snapshot && Process32FirstW(snapshot.get(), &entry); more;
         more = Process32NextW(snapshot.get(), &entry))
        if (entry.th32ProcessID == id) return entry.szExeFile;
    return L"?";
}

// Wine's own processes, never a test's leftovers however they came into the
// job: a process that asks for a window when no desktop process runs starts
// one (explorer.exe, which also holds the notification area) as its own
// child. Ended, it would take every later notification icon of the run with
// it; the service hosts are as much the prefix's.
bool is_wine_own(const std::wstring& name) {
    for (const wchar_t* own : {L"explorer.exe", L"services.exe", L"winedevice.exe", L"plugplay.exe", L"svchost.exe",
                               L"rpcss.exe", L"wineboot.exe"})
        if (_wcsicmp(name.c_str(), own) == 0) return true;
    return false;
}

void end(HANDLE process) {
    TerminateProcess(process, 98);
    WaitForSingleObject(process, 5000);
}

class ProcessSweep : public testing::EmptyTestEventListener {
public:
    explicit ProcessSweep(HANDLE job) : job_(job), grace_ms_(grace_ms()) {}

    void OnTestEnd(const testing::TestInfo&) override {
        std::vector<win::UniqueHandle> running;
        for (const DWORD id : processes_in_job(job_)) {
            if (id == GetCurrentProcessId()) continue;
            win::UniqueHandle process(
                OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id));
            if (process) running.push_back(std::move(process));
        }
        const ULONGLONG deadline = GetTickCount64() + grace_ms_;
        for (;;) {
            std::erase_if(running, [](const win::UniqueHandle& process) {
                if (WaitForSingleObject(process.get(), 0) != WAIT_TIMEOUT) return true;
                // A process still starting has no name yet.
                const std::wstring name = image_name(GetProcessId(process.get()));
                if (is_wine_own(name)) return true;  // left running
                // The program starts its children without a window; when the
                // child is this console executable standing in for the
                // program, Wine gives it a console host that outlives it
                // until its starter ends. Wine's doing, not the test's: ended
                // all the same.
                if (_wcsicmp(name.c_str(), L"conhost.exe") != 0) return false;
                end(process.get());
                return true;
            });
            if (running.empty() || GetTickCount64() >= deadline) break;
            Sleep(50);
        }
        std::string left;
        for (const win::UniqueHandle& process : running) {
            const DWORD id = GetProcessId(process.get());
            left += " " + win::to_utf8(image_name(id)) + " (" + std::to_string(id) + ")";
            end(process.get());
        }
        // Reported before the result is printed: this listener runs ahead
        // of the printer.
        if (!left.empty()) ADD_FAILURE() << "the test left processes running, now ended:" << left;
    }

private:
    HANDLE job_;
    DWORD grace_ms_;
};

}  // namespace

void sweep_processes_after_each_test() {
    // Asked for before this process enters the job: when no desktop process
    // runs (the last one ends shortly after the prefix's last program), Wine
    // starts one here, as a child of this process and so outside the job
    // that would end it with this process.
    GetDesktopWindow();
    // Kept open for the whole run on purpose: its handle closes when this
    // process ends, and that ends everything still in it.
    const HANDLE job = CreateJobObjectW(nullptr, nullptr);
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    if (!job || !SetInformationJobObject(job, JobObjectExtendedLimitInformation, &limits, sizeof limits) ||
        !AssignProcessToJobObject(job, GetCurrentProcess())) {
        fprintf(stderr, "The tests' process job could not be made (error %lu): processes they leave are not swept\n",
                GetLastError());
        return;
    }
    testing::TestEventListeners& listeners = testing::UnitTest::GetInstance()->listeners();
    testing::TestEventListener* printer = listeners.Release(listeners.default_result_printer());
    listeners.Append(new ProcessSweep(job));
    if (printer) listeners.Append(printer);
}

}  // namespace glimmerly::testing_support
