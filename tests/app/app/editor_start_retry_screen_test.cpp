// The resident's start of its editor child when the system refuses a start
// now and then, as Wine does on a busy machine (ERROR_INTERNAL_ERROR when
// the new process ends before its start-up has finished): the resident runs
// here, in the test's own process, and starts the real program as its
// children through a start that fails as often as the test says.

#include <gtest/gtest.h>

#include <functional>

#include "app/app/app.h"
#include "app/app/editor_process.h"
#include "app/lib/folder_tree.h"
#include "app/lib/program_folders.h"
#include "app/lib/settings_store.h"
#include "tests/app/support/app_window.h"
#include "tests/app/support/dialogs.h"
#include "tests/app/support/private_prefix.h"
#include "tests/app/support/program_path.h"
#include "tests/app/support/resident.h"

namespace glimmerly {
namespace {

using namespace testing_support;

// A process-creation function has no context argument: the starts still to
// refuse, and the starts asked for, live here, on the test's one thread.
int g_starts_to_refuse = 0;
int g_starts_asked = 0;

BOOL WINAPI refusing_create_process(LPCWSTR program, LPWSTR command, LPSECURITY_ATTRIBUTES process_security,
                                    LPSECURITY_ATTRIBUTES thread_security, BOOL inherit, DWORD flags,
                                    LPVOID environment, LPCWSTR folder, LPSTARTUPINFOW startup,
                                    LPPROCESS_INFORMATION info) {
    ++g_starts_asked;
    if (g_starts_to_refuse > 0) {
        --g_starts_to_refuse;
        SetLastError(ERROR_INTERNAL_ERROR);
        return FALSE;
    }
    return CreateProcessW(program, command, process_security, thread_security, inherit, flags, environment, folder,
                          startup, info);
}

// Looked at from a timer of the loop's thread, which has no context either.
thread_local const std::function<bool()>* t_loop_ends_when = nullptr;

class EditorStart : public ::testing::Test {
protected:
    void SetUp() override {
        GLIM_REQUIRE_PRIVATE_PREFIX();
        g_starts_asked = 0;
        lock_.emplace();
        folder_ = program_folder_path().value_or(L"");
        (void)remove_tree(folder_);
        Settings settings;
        settings.start_with_windows = false;
        ASSERT_TRUE(save_settings_file(settings, folder_ + L"\\settings.txt").ok());
        sweeper_.watch(GetCurrentProcessId());  // and the children it starts
        window_.emplace(AppOptions{.editor_starter = {program_path(), refusing_create_process}});
        ASSERT_TRUE(window_->window());
    }
    void TearDown() override {
        window_.reset();  // its job ends the child it still has
        if (lock_) (void)remove_tree(folder_);
        g_starts_to_refuse = 0;
    }

    HWND window() { return window_->window(); }

    // The resident's own loop, run until `done` holds for its App (looked at
    // every 20 ms) or for 30 s; whether `done` came to hold.
    bool run_until(const std::function<bool(const App&)>& done) {
        const std::function<bool()> check = [&] {
            auto app = window_->cell().try_borrow();
            return app && done(*app);
        };
        t_loop_ends_when = &check;
        const UINT_PTR timer = SetTimer(nullptr, 0, 20, [](HWND, UINT, UINT_PTR, DWORD) {
            if (t_loop_ends_when && (*t_loop_ends_when)()) PostQuitMessage(0);
        });
        const Status ended = run_message_loop_bounded(window_->cell(), window(), 30000);
        KillTimer(nullptr, timer);
        t_loop_ends_when = nullptr;
        return ended.ok();
    }

    // The App borrowed for one call of the resident's own.
    template <class F>
    auto with_app(F f) {
        auto app = window_->cell().try_borrow();
        EXPECT_TRUE(app);
        return f(*app);
    }

    std::optional<UserDataLock> lock_;
    std::wstring folder_;
    DialogSweeper sweeper_;
    std::optional<TestAppWindow> window_;
};

bool child_ready(const App& app) { return app.editor && app.editor->link.state == EditorLinkState::Ready; }

TEST_F(EditorStart, APreparedChildWhoseStartsFailComesBackOnceTheyWorkAgain) {
    // More refusals than one round of tries at once: only a later round,
    // after a wait, can start it.
    g_starts_to_refuse = 2 * kEditorStartTries + 1;
    with_app([&](App& app) { prepare_editor_process(app, window()); });
    EXPECT_FALSE(with_app([](App& app) { return app.editor.has_value(); })) << "nothing to start it yet";
    EXPECT_EQ(g_starts_asked, kEditorStartTries);

    ASSERT_TRUE(run_until(child_ready)) << "no prepared child after " << g_starts_asked << " starts asked";
    EXPECT_EQ(g_starts_asked, 2 * kEditorStartTries + 2);
    EXPECT_TRUE(sweeper_.answered().empty()) << "a prepared child's failed start shows nothing";
}

TEST_F(EditorStart, ACaptureWhoseColdStartFailsOnceStillOpensAndPreparesTheNext) {
    g_starts_to_refuse = 1;
    ASSERT_TRUE(with_app([&](App& app) { return ask_editor_for_capture(app, window()); }).ok());
    const DWORD cold = with_app([](App& app) { return app.editor ? app.editor->process_id : 0; });
    ASSERT_NE(cold, 0u);
    // The child has read the request: the capture is its own from here on.
    ASSERT_TRUE(run_until([](const App& app) {
        return app.editor && app.editor->link.state == EditorLinkState::Capturing && !app.editor->link.capture_requested;
    }));
    HWND capture = nullptr;
    ASSERT_TRUE(eventually([&] { return IsWindowVisible(capture = app_window_of(cold)); }));

    PostMessageW(capture, WM_KEYDOWN, VK_ESCAPE, 0);
    ASSERT_TRUE(run_until([cold](const App& app) { return child_ready(app) && app.editor->process_id != cold; }));
    EXPECT_TRUE(sweeper_.answered().empty());
}

}  // namespace
}  // namespace glimmerly
