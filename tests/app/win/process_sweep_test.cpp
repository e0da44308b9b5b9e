// The tests' own guard against processes left behind: a test that leaves a
// process running fails, and the process is ended.

#include <gtest/gtest.h>
#include <windows.h>

#include <shellapi.h>

#include <fstream>
#include <optional>
#include <string>
#include <thread>

#include "app/win/owners.h"
#include "tests/app/support/child_process.h"
#include "tests/app/support/files.h"
#include "tests/app/support/temp_folder.h"

namespace glimmerly {
namespace {

using namespace testing_support;

constexpr wchar_t kProbeVariable[] = L"GLIMMERLY_SWEEP_PROBE";

GLIM_TEST_CHILD(sweep_sleeper) {
    Sleep(120000);
    return 0;
}

// Runs only inside the run that the test below starts: it leaves a child
// running and notes the child's id in the file the variable names.
TEST(ProcessSweepProbe, LeavesAChildRunning) {
    wchar_t note[MAX_PATH] = {};
    if (!GetEnvironmentVariableW(kProbeVariable, note, MAX_PATH)) GTEST_SKIP() << "run by ProcessSweep only";
    auto child = start_child(L"sweep_sleeper");
    ASSERT_TRUE(child.ok()) << child.failure().message;
    std::ofstream(note) << GetProcessId(child->get());
}

constexpr wchar_t kDesktopProbeVariable[] = L"GLIMMERLY_SWEEP_DESKTOP_PROBE";

struct DesktopTraits : win::NullInvalidTraits<HDESK> {
    static void close(HDESK desktop) noexcept { CloseDesktop(desktop); }
};
using UniqueDesktop = win::UniqueResource<DesktopTraits>;

// A desktop of the window station of this process, with no desktop process
// yet: Wine starts one for the first window asked for on it.
UniqueDesktop fresh_desktop(std::wstring& name) {
    name = unique_name(L"Glimmerly.Tests.Sweep");
    return UniqueDesktop(CreateDesktopW(name.c_str(), nullptr, nullptr, 0, GENERIC_ALL, nullptr));
}

// A thread of this process on the desktop for as long as it lives: the
// desktop's user, it keeps the desktop and its desktop process from closing.
class DesktopUser {
public:
    explicit DesktopUser(HDESK desktop)
        : thread_([this, desktop] {
              joined_ = SetThreadDesktop(desktop);
              SetEvent(ready_.get());
              WaitForSingleObject(quit_.get(), INFINITE);
          }) {
        WaitForSingleObject(ready_.get(), INFINITE);
    }
    DesktopUser(const DesktopUser&) = delete;
    DesktopUser& operator=(const DesktopUser&) = delete;
    ~DesktopUser() {
        SetEvent(quit_.get());
        thread_.join();
    }
    bool joined() const { return joined_; }

private:
    win::UniqueHandle ready_{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
    win::UniqueHandle quit_{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
    bool joined_ = false;
    std::thread thread_;
};

struct IconTry {
    bool added = false;
    DWORD desktop_process = 0;
};

// A notification icon added (and taken away) by a thread of its own on the
// desktop, the way the program's resident adds its icon.
IconTry add_notification_icon(HDESK desktop) {
    IconTry tried;
    std::thread([&] {
        if (!SetThreadDesktop(desktop)) return;
        GetWindowThreadProcessId(GetDesktopWindow(), &tried.desktop_process);
        const win::UniqueWindow window(CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                                       GetModuleHandleW(nullptr), nullptr));
        NOTIFYICONDATAW icon{.cbSize = sizeof icon, .hWnd = window.get(), .uID = 1, .uFlags = NIF_ICON};
        icon.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
        tried.added = window && Shell_NotifyIconW(NIM_ADD, &icon);
        if (tried.added) Shell_NotifyIconW(NIM_DELETE, &icon);
    }).join();
    return tried;
}

// What the desktop probe's first test leaves for its second: a desktop whose
// desktop process this run started during a test.
struct StartedDesktop {
    std::wstring name;
    UniqueDesktop desktop = fresh_desktop(name);
    DesktopUser user{desktop.get()};
    DWORD process = 0;
};
std::optional<StartedDesktop> g_started_desktop;

// Runs only inside the run that the desktop test below starts: a test that
// first asks for a window on a desktop with no desktop process, so that Wine
// starts one in this run's job. Notes the desktop process of the run's own
// desktop too.
TEST(ProcessSweepDesktopProbe, StartsADesktopProcessDuringATest) {
    wchar_t note[MAX_PATH] = {};
    if (!GetEnvironmentVariableW(kDesktopProbeVariable, note, MAX_PATH)) GTEST_SKIP() << "run by ProcessSweep only";
    DWORD own = 0;
    GetWindowThreadProcessId(GetDesktopWindow(), &own);
    std::ofstream(note) << own;
    g_started_desktop.emplace();
    ASSERT_TRUE(g_started_desktop->desktop && g_started_desktop->user.joined());
    const IconTry tried = add_notification_icon(g_started_desktop->desktop.get());
    EXPECT_TRUE(tried.added);
    g_started_desktop->process = tried.desktop_process;
}

// Runs after the sweep that followed the test above.
TEST(ProcessSweepDesktopProbe, ThatDesktopProcessStillHoldsTheNotificationIcons) {
    if (!GetEnvironmentVariableW(kDesktopProbeVariable, nullptr, 0)) GTEST_SKIP() << "run by ProcessSweep only";
    ASSERT_TRUE(g_started_desktop && g_started_desktop->process);
    const win::UniqueHandle process(OpenProcess(SYNCHRONIZE, FALSE, g_started_desktop->process));
    EXPECT_TRUE(process && WaitForSingleObject(process.get(), 0) == WAIT_TIMEOUT) << "the sweep ended it";
    EXPECT_TRUE(add_notification_icon(g_started_desktop->desktop.get()).added);
    g_started_desktop.reset();
}

// Sets an environment variable of this process (inherited by what it
// starts) for a scope, and puts back what was there.
class ScopedVariable {
public:
    ScopedVariable(const wchar_t* name, const wchar_t* value) : name_(name) {
        wchar_t old[512] = {};
        had_ = GetEnvironmentVariableW(name, old, 512) > 0;
        old_ = old;
        SetEnvironmentVariableW(name, value);
    }
    ~ScopedVariable() { SetEnvironmentVariableW(name_, had_ ? old_.c_str() : nullptr); }

private:
    const wchar_t* name_;
    bool had_ = false;
    std::wstring old_;
};

TEST(ProcessSweep, ATestThatLeavesAProcessRunningFailsAndTheProcessIsEnded) {
    TempFolder folder;
    const std::wstring note = folder.path() + L"\\child.txt";
    const ScopedVariable probe(kProbeVariable, note.c_str()), grace(L"GLIMMERLY_SWEEP_GRACE_MS", L"500");
    // The probe runs whole, not as a shard of a shard.
    const ScopedVariable shards(L"GTEST_TOTAL_SHARDS", nullptr), index(L"GTEST_SHARD_INDEX", nullptr);
    wchar_t own[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, own, MAX_PATH);
    std::wstring command = L"\"" + std::wstring(own) + L"\" --gtest_filter=ProcessSweepProbe.*";
    STARTUPINFOW startup{.cb = sizeof(STARTUPINFOW)};
    PROCESS_INFORMATION info{};
    ASSERT_TRUE(CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info));
    const win::UniqueHandle run(info.hProcess), thread(info.hThread);
    ASSERT_EQ(WaitForSingleObject(run.get(), 60000), WAIT_OBJECT_0);
    DWORD code = 0;
    GetExitCodeProcess(run.get(), &code);
    EXPECT_EQ(code, 1u) << "the probe's run passed with a process left running";

    DWORD child_id = 0;
    std::ifstream(note.c_str()) >> child_id;
    ASSERT_NE(child_id, 0u) << "the probe started no child";
    const win::UniqueHandle child(OpenProcess(SYNCHRONIZE, FALSE, child_id));
    EXPECT_TRUE(!child || WaitForSingleObject(child.get(), 0) == WAIT_OBJECT_0) << "the child still runs";
}

// Wine starts a desktop process (which also holds the notification area)
// for the first window a process asks for when none runs, as a child of that
// process. One started by a test run must outlive the sweep after the test,
// or every later notification icon of the run fails; and one started as the
// run begins must outlive the run, whose job ends what is left in it. The
// probe runs on a desktop of its own, kept open here after the run ends.
TEST(ProcessSweep, LeavesTheDesktopProcessRunningAndTheRunsEndLeavesItToo) {
    TempFolder folder;
    const std::wstring note = folder.path() + L"\\desktop.txt", output = folder.path() + L"\\output.txt";
    std::wstring name;
    const UniqueDesktop desktop = fresh_desktop(name);
    ASSERT_TRUE(desktop) << GetLastError();
    const DesktopUser user(desktop.get());
    ASSERT_TRUE(user.joined());
    wchar_t station[256] = {};
    ASSERT_TRUE(GetUserObjectInformationW(GetProcessWindowStation(), UOI_NAME, station, sizeof station, nullptr));
    std::wstring desktop_path = std::wstring(station) + L"\\" + name;

    const ScopedVariable probe(kDesktopProbeVariable, note.c_str());
    const ScopedVariable shards(L"GTEST_TOTAL_SHARDS", nullptr), index(L"GTEST_SHARD_INDEX", nullptr);
    wchar_t own[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, own, MAX_PATH);
    std::wstring command = L"\"" + std::wstring(own) + L"\" --gtest_filter=ProcessSweepDesktopProbe.*";
    SECURITY_ATTRIBUTES inherited{.nLength = sizeof(SECURITY_ATTRIBUTES), .bInheritHandle = TRUE};
    win::UniqueFileHandle written(CreateFileW(output.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherited,
                                              CREATE_ALWAYS, 0, nullptr));
    ASSERT_TRUE(written);
    STARTUPINFOW startup{.cb = sizeof(STARTUPINFOW), .lpDesktop = desktop_path.data(), .dwFlags = STARTF_USESTDHANDLES};
    startup.hStdOutput = startup.hStdError = written.get();
    PROCESS_INFORMATION info{};
    ASSERT_TRUE(CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &info));
    const win::UniqueHandle run(info.hProcess), thread(info.hThread);
    written.reset();
    ASSERT_EQ(WaitForSingleObject(run.get(), 60000), WAIT_OBJECT_0);
    DWORD code = 1;
    GetExitCodeProcess(run.get(), &code);
    EXPECT_EQ(code, 0u) << read_test_file(output).value_or("");

    DWORD desktop_process = 0;
    std::ifstream(note.c_str()) >> desktop_process;
    ASSERT_NE(desktop_process, 0u) << "the probe saw no desktop process";
    const win::UniqueHandle process(OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, desktop_process));
    EXPECT_TRUE(process && WaitForSingleObject(process.get(), 0) == WAIT_TIMEOUT)
        << "the run's end took its desktop process with it";
    // The desktop process of this test's own desktop, and nobody else's.
    if (process) {
        TerminateProcess(process.get(), 0);
        WaitForSingleObject(process.get(), 5000);
    }
}

}  // namespace
}  // namespace glimmerly
