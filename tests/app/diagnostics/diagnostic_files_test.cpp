// The measuring side of the self-checks in this process: reports on disk,
// the bounded wait on a child, the frame timing record and the warm
// diagnostic's exclusion.

#include <gtest/gtest.h>

#include "app/diagnostics/diagnostic_files.h"
#include "app/diagnostics/frame_diagnostic.h"
#include "app/diagnostics/warm_diagnostic.h"
#include "app/lib/mutex_names.h"
#include "app/win/failure.h"
#include "core/diagnostics/diagnostic_report.h"
#include "tests/app/support/child_process.h"
#include "tests/app/support/temp_folder.h"

namespace glimmerly {
namespace {

using namespace testing_support;

GLIM_TEST_CHILD(NeverEnds) {
    Sleep(INFINITE);
    return 0;
}

// Reports resolve against the working folder, as they do for the program.
class InFolder : public ::testing::Test {
protected:
    void SetUp() override {
        GetCurrentDirectoryW(MAX_PATH, previous_);
        ASSERT_TRUE(SetCurrentDirectoryW(folder_.path().c_str()));
    }
    void TearDown() override { SetCurrentDirectoryW(previous_); }
    void make_target() { ASSERT_TRUE(CreateDirectoryW(L"target", nullptr)); }

    TempFolder folder_;
    wchar_t previous_[MAX_PATH] = {};
};

TEST_F(InFolder, ReportsAreWrittenWholeAndNeverMakeTheirFolder) {
    auto missing = write_report(EDITOR_REPORT, "1 2 3 4");
    ASSERT_FALSE(missing.ok());
    EXPECT_EQ(missing.failure().code, E_FAIL_CODE);
    EXPECT_EQ(GetFileAttributesW(L"target"), INVALID_FILE_ATTRIBUTES);
    EXPECT_FALSE(read_report(EDITOR_REPORT).ok());

    make_target();
    ASSERT_TRUE(write_report(EDITOR_REPORT, "a much longer earlier report").ok());
    ASSERT_TRUE(write_report(EDITOR_REPORT, "1 2 3 4").ok());
    EXPECT_EQ(*read_report(EDITOR_REPORT), "1 2 3 4");
}

TEST_F(InFolder, FirstFrameReportLatchesTheFirstPaintAndWaitsForHardware) {
    make_target();
    FrameDiagnostic record;
    record.state = FrameDiagnosticState::Armed;
    auto software = write_frame_diagnostic(record, false);
    ASSERT_TRUE(software.ok());
    EXPECT_FALSE(*software);
    EXPECT_EQ(record.state, FrameDiagnosticState::Latched);
    EXPECT_EQ(GetFileAttributesW(FIRST_FRAME_REPORT), INVALID_FILE_ATTRIBUTES);
    Sleep(20);
    auto hardware = write_frame_diagnostic(record, true);
    ASSERT_TRUE(hardware.ok());
    EXPECT_TRUE(*hardware);
    auto figures = read_first_frame_report(*read_report(FIRST_FRAME_REPORT));
    ASSERT_TRUE(figures.ok());
    EXPECT_EQ(figures->first_ms, record.latched_ms);
    EXPECT_GT(figures->hardware_ms, figures->first_ms);
}

TEST_F(InFolder, WarmReportTimesFromTheRequestWhateverTheRendering) {
    make_target();
    FrameDiagnostic record;
    store_warm_start(record, 12345);  // off: nothing is timed
    EXPECT_FALSE(record.warm_start_present);
    record.state = FrameDiagnosticState::Armed;
    store_warm_start(record, 0);  // a request that timed nothing
    EXPECT_FALSE(record.warm_start_present);
    LARGE_INTEGER now{};
    QueryPerformanceCounter(&now);
    store_warm_start(record, static_cast<WPARAM>(now.QuadPart));
    Sleep(20);
    auto written = write_frame_diagnostic(record, false);
    ASSERT_TRUE(written.ok());
    EXPECT_TRUE(*written);
    auto elapsed = parse_numbers(*read_report(WARM_FRAME_REPORT));
    ASSERT_TRUE(elapsed.ok());
    ASSERT_EQ(elapsed->size(), 1u);
    EXPECT_GE((*elapsed)[0], 15.0);
    EXPECT_EQ(GetFileAttributesW(FIRST_FRAME_REPORT), INVALID_FILE_ATTRIBUTES);
}

TEST(ChildWait, EndsAChildThatNeverExitsAndFailsWithTheCheckText) {
    auto child = start_program_child(L"--child=NeverEnds");
    ASSERT_TRUE(child.ok());
    auto waited = wait_for_child(*child, 300, "First-frame check failed");
    ASSERT_FALSE(waited.ok());
    EXPECT_EQ(waited.failure(), plain_failure("First-frame check failed"));
    EXPECT_EQ(WaitForSingleObject(child->process.get(), 0), WAIT_OBJECT_0);
}

TEST(WarmDiagnostic, RefusesToRunBesideAnotherOne) {
    win::UniqueHandle held(CreateMutexW(nullptr, FALSE, WARM_DIAGNOSTIC_MUTEX));
    ASSERT_TRUE(held);
    auto refused = run_warm_diagnostic();
    ASSERT_FALSE(refused.ok());
    EXPECT_EQ(refused.failure(), plain_failure("Warm diagnostic already running"));
}

TEST(ProcessFigures, WorkingSetIsMeasured) {
    auto working_set = working_set_bytes();
    ASSERT_TRUE(working_set.ok());
    EXPECT_GT(*working_set, 0u);
    EXPECT_TRUE(private_bytes().ok());  // 0 under Wine: the report calls that unmeasured
}

std::uint64_t own_ticks() {
    auto ticks = process_cpu_ticks(GetCurrentProcess());
    EXPECT_TRUE(ticks.ok());
    return ticks.value_or(0);
}

TEST(ProcessFigures, AChildsProcessorTimeIsTheChildsOrToldAsNotItsOwn) {
    auto child = start_program_child(L"--child=NeverEnds");
    ASSERT_TRUE(child.ok());
    auto owner = process_times_owner(child->process.get());
    ASSERT_TRUE(owner.ok()) << owner.failure().message;
    // The sleeping child spends nothing while this process spends.
    const std::uint64_t child_before = process_cpu_ticks(child->process.get()).value_or(0);
    const std::uint64_t start = own_ticks();
    for (const ULONGLONG until = GetTickCount64() + 30000; own_ticks() < start + kClearOwnTicks && GetTickCount64() < until;) {
    }
    const std::uint64_t child_after = process_cpu_ticks(child->process.get()).value_or(0);
    if (*owner == TimesOwner::Caller) {
        EXPECT_NE(child_before, child_after) << "told as this process's own, yet it stood still";
    } else if (*owner == TimesOwner::Other) {
        EXPECT_LE((child_after - child_before) * 4, kClearOwnTicks) << "this process's time credited to the child";
    }
    TerminateJobObject(child->job.get(), 1);
    EXPECT_EQ(WaitForSingleObject(child->process.get(), 30000), WAIT_OBJECT_0);
}

TEST(SelfCheckFailures, ACallThatSetNoErrorIsCodedAsNotTheSystemsAndOneThatDidKeepsItsCode) {
    struct Row { const char* name; DWORD error; std::int32_t code; std::string message; };
    const Row rows[] = {
        {"no error set", 0, 0x535F4F4B, "GdiFlush probe failed without an error code"},
        {"access denied", ERROR_ACCESS_DENIED, hresult_from_win32(ERROR_ACCESS_DENIED),
         "GdiFlush probe: " + win::system_message(hresult_from_win32(ERROR_ACCESS_DENIED))},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        SetLastError(row.error);
        EXPECT_EQ(win::self_check_failure("GdiFlush", L"probe"), (Failure{row.code, row.message}));
    }
}

}  // namespace
}  // namespace glimmerly
