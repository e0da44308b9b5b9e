// The one-off checks that hand something to the system: the image search's
// page (with openers of the test's own: no test ever opens a page), the
// shortcut registrations, and the wait for the document check's probe.

#include <gtest/gtest.h>

#include <string>

#include "app/app/hotkeys.h"
#include "app/diagnostics/document_diagnostic.h"
#include "app/diagnostics/shortcut_checks.h"
#include "app/win/com.h"
#include "app/win/paths.h"
#include "tests/app/support/child_process.h"
#include "tests/app/support/files.h"
#include "tests/app/support/temp_folder.h"

namespace glimmerly {
namespace {

using namespace testing_support;

// The fakes are plain functions: what they saw is kept here.
std::wstring opened_page;

bool open_by_pretending(HWND, const std::wstring&, const std::wstring&) { return true; }
bool refuse_to_open(HWND, const std::wstring&, const std::wstring&) { return false; }
bool note_page(const std::wstring& page) {
    opened_page = page;
    return true;
}

bool file_exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

TEST(GoogleDiagnostic, AnOpenedPageIsReportedAndARefusedOneFailsWithoutAReport) {
    win::ComApartment com;
    TempFolder target;
    const std::wstring report = win::join_path(target.path(), L"google-diagnostic.txt");

    opened_page.clear();
    ASSERT_TRUE(run_google_diagnostic_into(target.path(), LensOpeners{open_by_pretending, note_page}).ok());
    EXPECT_EQ(read_test_file(report),
              "OPENED: synthetic search handed to the default browser; check that Google shows results.");
    EXPECT_TRUE(opened_page.ends_with(L".html"));
    DeleteFileW(opened_page.c_str());
    DeleteFileW(report.c_str());

    const Status refused = run_google_diagnostic_into(target.path(), LensOpeners{refuse_to_open, note_page});
    ASSERT_FALSE(refused.ok());
    EXPECT_EQ(refused.failure().message, "The default browser did not open the page.");
    EXPECT_FALSE(file_exists(report));
}

TEST(HotkeyDiagnostic, RegistersAndWithdrawsEveryTrialAndStopsAtOneHeldElsewhere) {
    ASSERT_TRUE(run_hotkey_diagnostic().ok());
    // Withdrawn: the same combination can be taken again at once.
    ASSERT_TRUE(RegisterHotKey(nullptr, 77, 0, VK_PAUSE));
    const Status held = run_hotkey_diagnostic();
    UnregisterHotKey(nullptr, 77);
    ASSERT_FALSE(held.ok());
    EXPECT_EQ(static_cast<std::uint32_t>(held.failure().code), 0x80070581u);
}

GLIM_TEST_CHILD(probe_hangs) {
    Sleep(60000);
    return 0;
}

GLIM_TEST_CHILD(probe_fails) { return 1; }

// The document is the first argument and the probe option follows it.
GLIM_TEST_CHILD(probe_checks_arguments) { return args == std::vector<std::wstring>{L"--document-probe"} ? 0 : 3; }

TEST(DocumentProbe, AProbeThatDoesNotLeaveInTimeIsEndedAndOneThatFailsIsToldTheSameWay) {
    wchar_t own[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, own, MAX_PATH);
    EXPECT_TRUE(run_document_probe_process(own, L"--child=probe_checks_arguments", 30000).ok());

    const std::size_t before = child_process_ids(GetCurrentProcessId()).size();
    const Status late = run_document_probe_process(own, L"--child=probe_hangs", 500);
    ASSERT_FALSE(late.ok());
    EXPECT_EQ(late.failure().message, "The reopened document did not save and leave");
    EXPECT_EQ(child_process_ids(GetCurrentProcessId()).size(), before) << "the late probe was ended";

    const Status failed = run_document_probe_process(own, L"--child=probe_fails", 30000);
    ASSERT_FALSE(failed.ok());
    EXPECT_EQ(failed.failure().message, "The reopened document did not save and leave");
}

}  // namespace
}  // namespace glimmerly
