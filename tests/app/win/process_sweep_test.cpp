// The tests' own guard against processes left behind: a test that leaves a
// process running fails, and the process is ended.

#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <string>

#include "app/win/owners.h"
#include "tests/app/support/child_process.h"
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

}  // namespace
}  // namespace glimmerly
