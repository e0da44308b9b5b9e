// The document check as its scripts run it: glimmerly.exe --document-diagnostic
// started in a folder, with the probe (a second copy of the program that
// opens the document on the screen) answering to it. Every box either shows
// is answered and kept.

#include <gtest/gtest.h>

#include <string>

#include "app/win/paths.h"
#include "tests/app/support/child_process.h"
#include "tests/app/support/dialogs.h"
#include "tests/app/support/files.h"
#include "tests/app/support/private_prefix.h"
#include "tests/app/support/program_path.h"
#include "tests/app/support/temp_folder.h"

namespace glimmerly {
namespace {

using namespace testing_support;

// The exit code of the program run with `option` in `folder`.
int run_in(const std::wstring& folder, const wchar_t* option, DialogSweeper& sweeper) {
    const std::wstring program = program_path();
    std::wstring command = L"\"" + program + L"\" " + option;
    STARTUPINFOW startup{.cb = sizeof(STARTUPINFOW)};
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(program.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup,
                        &info))
        return -2;
    CloseHandle(info.hThread);
    win::UniqueHandle process(info.hProcess);
    sweeper.watch(info.dwProcessId);
    return wait_for_exit(process, 120000);
}

TEST(DocumentDiagnostic, PassesThroughTheReopenedDocumentAndReportsItsSizeOnOneLine) {
    GLIM_REQUIRE_PRIVATE_PREFIX();
    UserDataLock lock;  // the probe reads the user's settings
    DialogSweeper sweeper;
    TempFolder folder;
    const std::wstring target = win::join_path(folder.path(), L"target");
    ASSERT_TRUE(CreateDirectoryW(target.c_str(), nullptr));

    ASSERT_EQ(run_in(folder.path(), L"--document-diagnostic", sweeper), 0);
    const auto report = read_test_file(win::join_path(target, L"document-diagnostics.txt"));
    ASSERT_TRUE(report);
    EXPECT_TRUE(report->starts_with("PASS: a ")) << *report;
    EXPECT_TRUE(report->ends_with(" byte document reopened by its launch path, edited, saved and read back."));
    EXPECT_EQ(report->find('\n'), std::string::npos);
    const auto document = read_test_file(win::join_path(target, L"glimmerly-document.vexil"));
    ASSERT_TRUE(document);
    EXPECT_EQ(*report, "PASS: a " + std::to_string(document->size()) +
                           " byte document reopened by its launch path, edited, saved and read back.");
    EXPECT_TRUE(sweeper.answered().empty());
}

TEST(DocumentDiagnostic, FailsWithoutATargetFolderAndTheShortcutCheckPasses) {
    GLIM_REQUIRE_PRIVATE_PREFIX();
    DialogSweeper sweeper;
    TempFolder folder;
    EXPECT_EQ(run_in(folder.path(), L"--document-diagnostic", sweeper), 1);
    EXPECT_EQ(run_in(folder.path(), L"--hotkey-diagnostic", sweeper), 0);
    EXPECT_TRUE(sweeper.answered().empty()) << "the document check reports on standard error";
}

}  // namespace
}  // namespace glimmerly
