// The self-checks of the real program (glimmerly.exe, built beside the
// tests), each run from a folder that has "target", as CI runs them: what
// their reports hold, which switch wins, and what a run that cannot measure
// says. Every box they show is answered and kept, and every run is bounded.

#include <gtest/gtest.h>

#include <algorithm>
#include <regex>

#include "app/diagnostics/diagnostic_files.h"
#include "app/lib/mutex_names.h"
#include "app/win/failure.h"
#include "app/win/paths.h"
#include "core/diagnostics/diagnostic_report.h"
#include "tests/app/support/dialogs.h"
#include "tests/app/support/resident.h"
#include "tests/app/support/temp_folder.h"

namespace glimmerly {
namespace {

using namespace testing_support;

class DiagnosticModes : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(CreateDirectoryW(target_path().c_str(), nullptr)); }

    std::wstring target_path() const { return folder_.path() + L"\\target"; }
    std::wstring report_path(const wchar_t* report) const { return win::join_path(folder_.path(), report); }
    std::optional<std::string> report(const wchar_t* name) const {
        const std::wstring path = report_path(name);
        auto text = read_report(path.c_str());
        return text ? std::optional<std::string>(*text) : std::nullopt;
    }

    ProgramRun run(const std::vector<std::wstring>& args, DWORD timeout_ms = 120000) {
        return run_program(args, folder_.path(), sweeper_, timeout_ms);
    }

    void expect_no_boxes() {
        for (const AnsweredBox& box : sweeper_.answered()) ADD_FAILURE() << "a box: " << win::to_utf8(box.text);
    }

    TempFolder folder_;
    DialogSweeper sweeper_;
};

std::uint64_t cpu_ticks(HANDLE process) {
    FILETIME created{}, ended{}, kernel{}, user{};
    GetProcessTimes(process, &created, &ended, &kernel, &user);
    const auto ticks = [](const FILETIME& t) { return (std::uint64_t{t.dwHighDateTime} << 32) | t.dwLowDateTime; };
    return ticks(kernel) + ticks(user);
}

// Whether GetProcessTimes of a child answers with the child's own times:
// Wine 8 gives the caller's. A child held suspended has used next to none,
// this test process a good deal more.
bool child_times_are_the_childs() {
    wchar_t own[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, own, MAX_PATH);
    std::wstring command = L"\"" + std::wstring(own) + L"\" --gtest_list_tests";
    STARTUPINFOW startup{.cb = sizeof(STARTUPINFOW)};
    PROCESS_INFORMATION info{};
    EXPECT_TRUE(CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr, nullptr,
                               &startup, &info));
    const win::UniqueHandle process(info.hProcess), thread(info.hThread);
    const std::uint64_t before = cpu_ticks(GetCurrentProcess());
    const std::uint64_t child = cpu_ticks(process.get());
    const std::uint64_t after = cpu_ticks(GetCurrentProcess());
    TerminateProcess(process.get(), 1);
    WaitForSingleObject(process.get(), 30000);
    return before == 0 || child < before || child > after;
}

std::vector<double> numbers_in(const std::string& text) {
    auto numbers = parse_numbers(text);
    EXPECT_TRUE(numbers.ok()) << text;
    return numbers ? *numbers : std::vector<double>{};
}

TEST_F(DiagnosticModes, EditorDiagnosticReportsTheScreenAndTwoOrderedTimes) {
    const ProgramRun run = this->run({L"--editor-diagnostic"});
    EXPECT_EQ(run.exit_code, 0) << run.standard_error;
    const auto text = report(EDITOR_REPORT);
    ASSERT_TRUE(text);
    EXPECT_FALSE(text->ends_with("\n"));
    const std::vector<double> numbers = numbers_in(*text);
    ASSERT_EQ(numbers.size(), 4u) << *text;
    EXPECT_TRUE(text->starts_with("1920 1080 ")) << *text;
    EXPECT_GE(numbers[3], numbers[2]);
    expect_no_boxes();
}

TEST_F(DiagnosticModes, FirstFrameEditorWritesItsFirstAndHardwareFrameAndEnds) {
    const ProgramRun run = this->run({L"--first-frame-diagnostic"});
    EXPECT_EQ(run.exit_code, 0) << run.standard_error;
    const auto text = report(FIRST_FRAME_REPORT);
    ASSERT_TRUE(text);
    const std::vector<double> numbers = numbers_in(*text);
    ASSERT_EQ(numbers.size(), 2u) << *text;
    EXPECT_GE(numbers[1], numbers[0]);
    expect_no_boxes();
}

TEST_F(DiagnosticModes, WarmDiagnosticTimesFrozenThenLivePreparedEditors) {
    const ProgramRun run = this->run({L"--warm-diagnostic"}, 180000);
    const auto text = report(WARM_REPORT);
    ASSERT_TRUE(text) << run.standard_error;
    const std::string list = R"(\[(?:[-0-9.e]+, ){4}[-0-9.e]+\])";
    const std::string mode = R"(\{"request_to_paint_gdi_flush_ms":)" + list +
                             R"(,"standby_working_set_bytes":([0-9]+),"standby_private_bytes":([0-9]+|null),)"
                             R"("standby_cpu_ms_over_2s":([0-9.]+|null)\})";
    std::smatch match;
    ASSERT_TRUE(std::regex_match(*text, match, std::regex(R"(\{"frozen":)" + mode + R"(,"live":)" + mode + "\\}\n")))
        << *text;
    EXPECT_GT(std::stoull(match[1].str()), 0u);
    EXPECT_GT(std::stoull(match[4].str()), 0u);
    // A figure the platform cannot give is null and never a pass; Wine
    // answers a child's processor times with the caller's own. Where they
    // are the child's, the program may still not have told them apart (a
    // loaded machine): null then too, so either form passes there.
    if (!child_times_are_the_childs()) {
        EXPECT_EQ(match[3].str(), "null");
        EXPECT_EQ(match[6].str(), "null");
    }
    const bool all_measured = std::none_of(match.begin() + 1, match.end(), [](const auto& m) { return m.str() == "null"; });
    if (all_measured) {
        EXPECT_EQ(run.exit_code, 0) << run.standard_error;
    } else {
        EXPECT_EQ(run.exit_code, 1);
        EXPECT_TRUE(run.standard_error.starts_with("not measured: ")) << run.standard_error;
    }
    expect_no_boxes();
}

TEST_F(DiagnosticModes, StartupDiagnosticWritesEveryFieldAndFailsOnlyOnItsLimits) {
    const ProgramRun run = this->run({L"--diagnostic"}, 300000);
    const auto text = report(STARTUP_REPORT);
    ASSERT_TRUE(text) << run.standard_error;
    const char* names[] = {"idle_seconds",       "idle_cpu_ms",        "idle_working_set_bytes",
                           "capture_dimensions", "capture_ms",         "capture_and_editor_init_ms",
                           "gdi_before",         "gdi_after",          "working_set_after_captures",
                           "worker_lifetime_ms", "first_frame_ms",     "hardware_frame_ms",
                           "idle_private_bytes", "private_bytes_after_captures", "private_bytes_after_menu"};
    std::string pattern = "\\{\n";
    for (std::size_t i = 0; i < std::size(names); ++i)
        pattern += std::string("  \"") + names[i] + R"(": (null|[0-9.]+|\[(?:[-0-9.e]+, )*[-0-9.e]+\]))" +
                   (i + 1 < std::size(names) ? ",\n" : "\n");
    std::smatch match;
    ASSERT_TRUE(std::regex_match(*text, match, std::regex(pattern + "\\}\n"))) << *text;
    EXPECT_EQ(match[4].str(), "[1920, 1080]");
    for (int list : {5, 6, 10, 11, 12}) {
        std::string items = match[list].str();
        std::replace(items.begin(), items.end(), ',', ' ');
        EXPECT_EQ(numbers_in(items.substr(1, items.size() - 2)).size(), kDiagnosticPasses) << names[list - 1];
    }
    if (run.exit_code != 0) {
        EXPECT_EQ(run.exit_code, 1);
        EXPECT_TRUE(run.standard_error.starts_with("not measured: ") ||
                    run.standard_error ==
                        "The editor's first frame came later than its budget after process creation\n")
            << run.standard_error;
    }
    expect_no_boxes();
}

TEST_F(DiagnosticModes, PresentationDiagnosticPassesAndLeavesEveryCombinationForTheNextRun) {
    // A run that let anything go would leave the second short of free keys
    // or with raw input already registered.
    for (int pass = 0; pass < 2; ++pass) {
        SCOPED_TRACE(pass);
        const ProgramRun run = this->run({L"--presentation-diagnostic"}, 60000);
        EXPECT_EQ(run.exit_code, 0) << run.standard_error;
        EXPECT_EQ(report(L"target\\presentation-diagnostics.txt"),
                  "PASS: independent raw input, native shortcut rollback, priority hook fallback on collision, "
                  "hook and registrations released\n");
    }
    expect_no_boxes();
}

TEST_F(DiagnosticModes, BoardDryRunBakesEveryScreenWithoutADesktopRendering) {
    const ProgramRun run = this->run({L"--board-diagnostic"}, 60000);
    EXPECT_EQ(run.exit_code, 0) << run.standard_error;
    // Wine draws no desktop window, so the base alone is checked here. The
    // prefix's wallpaper is whatever earlier tests left.
    const auto text = report(L"target\\board-diagnostics.txt");
    ASSERT_TRUE(text);
    EXPECT_TRUE(std::regex_match(*text, std::regex(R"(PASS: 1 screen\(s\), base (solid colour|pictures), 1 picture\(s\) )"
                                                   R"(baked in target\\board-diagnostic, desktop rendering )"
                                                   R"(unavailable \(base only\)\.\n)")))
        << *text;
    const std::wstring page = win::join_path(target_path(), L"board-diagnostic\\page-1.txt");
    EXPECT_NE(GetFileAttributesW(page.c_str()), INVALID_FILE_ATTRIBUTES);
    expect_no_boxes();
}

TEST_F(DiagnosticModes, BoardSetRunBakesOntoTheDesktopAndGivesTheBaseBack) {
    // It changes the prefix's wallpaper: only in a throw-away prefix.
    if (!GetEnvironmentVariableW(L"GLIMMERLY_PRIVATE_WINE_PREFIX", nullptr, 0)) GTEST_SKIP();
    // A solid desktop to begin with: a picture another test left may be gone
    // from disk, and could then never be given back.
    std::wstring none;
    ASSERT_TRUE(SystemParametersInfoW(SPI_SETDESKWALLPAPER, 0, none.data(), SPIF_UPDATEINIFILE));
    const ProgramRun run = this->run({L"--board-diagnostic-set"}, 60000);
    EXPECT_EQ(run.exit_code, 0) << run.standard_error;
    EXPECT_EQ(report(L"target\\board-diagnostics.txt"),
              "PASS: baked pictures set on every screen and the base given back.\n");
    wchar_t shown[MAX_PATH] = {};
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETDESKWALLPAPER, MAX_PATH, shown, 0));
    EXPECT_EQ(std::wstring(shown).find(L"baked-"), std::wstring::npos) << win::to_utf8(shown);
    expect_no_boxes();
}

TEST_F(DiagnosticModes, LoupeDiagnosticEndsWithAClearFailureUnderWine) {
    // Wine gives the loupe no thumbnails and no capture, so it draws in
    // bands, and a window's new place reaches the screen only when its
    // thread takes its messages: the first latency move never shows, which
    // ends the run before it reports. What counts here is that it ends, in
    // time, and says where.
    const ProgramRun run = this->run({L"--loupe-diagnostic"}, 60000);
    EXPECT_EQ(run.exit_code, 1) << run.standard_error;
    const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    const std::string moved =
        "never reached (" + std::to_string(width / 3) + ", " + std::to_string(height / 2) + ")\n";
    EXPECT_TRUE(run.standard_error.ends_with(moved)) << run.standard_error;
    EXPECT_NE(run.standard_error.find("drawn in round bands instead"), std::string::npos) << run.standard_error;
    // A run that ends at a failed step leaves neither report nor picture.
    EXPECT_FALSE(report(L"target\\loupe-diagnostics.txt"));
    EXPECT_EQ(GetFileAttributesW(report_path(L"target\\loupe-edge-zoom.png").c_str()), INVALID_FILE_ATTRIBUTES);
    expect_no_boxes();
}

TEST_F(DiagnosticModes, TheFirstSwitchOfTheTableWinsAndCaseMatters) {
    // The board's check comes first; the editor's never runs beside it.
    (void)run({L"--editor-diagnostic", L"--board-diagnostic"});
    EXPECT_FALSE(report(EDITOR_REPORT));

    win::UniqueHandle held(CreateMutexW(nullptr, FALSE, WARM_DIAGNOSTIC_MUTEX));
    ASSERT_TRUE(held);
    const ProgramRun refused = run({L"--EDITOR-DIAGNOSTIC", L"--warm-diagnostic"});
    EXPECT_EQ(refused.exit_code, 1);
    EXPECT_EQ(refused.standard_error, "Warm diagnostic already running\n");
    EXPECT_FALSE(report(EDITOR_REPORT));
    expect_no_boxes();
}

}  // namespace
}  // namespace glimmerly
