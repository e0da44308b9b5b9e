#pragma once
// The real program from outside: the resident (glimmerly.exe, built beside
// the tests) started with a settings file written by the program's own
// writer, the editor children it starts in its job, and every box that any
// of them shows answered and kept.

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/win/owners.h"
#include "core/settings/settings.h"
#include "tests/app/support/dialogs.h"
#include "tests/app/support/private_prefix.h"

namespace glimmerly::testing_support {

// Other processes' windows change with no event to wait on: looks again
// every 10 ms, pumping this thread's windows meanwhile, until the deadline.
bool eventually(const std::function<bool()>& condition);

// The process's first top-level window of the class, or null.
HWND window_of(DWORD process, const wchar_t* window_class);

// The process's application window, or null.
inline HWND app_window_of(DWORD process) { return window_of(process, L"Glimmerly.Window"); }

// Whether the window's loop answers a sent message.
bool loop_runs(HWND window);

struct Process {
    win::UniqueHandle handle;
    DWORD id = 0;
};

// A command line run to its end (at most 30 s); its exit code, or -1 when it
// could not start. xdotool (Z:\usr\bin\xdotool) is the exception: Wine runs
// a host program on beside the test, so its run only starts here, once the
// previous xdotool run of this process has done all its actions (-1 when
// that one never finished).
int run_to_end(std::wstring command);

// Waits (at most 30 s, pumping this thread's windows) until the last
// xdotool run has done all its actions; false when it never did.
bool wait_for_xdotool();

// The quoted path of a program built beside the tests.
std::wstring beside_tests(const wchar_t* name);

// One run of glimmerly.exe with `args` from `folder` (the tests' own when
// empty), its boxes answered by
// `sweeper`, ended when it has not finished within `timeout_ms`.
struct ProgramRun {
    int exit_code = -1;  // -1: still running at the deadline, then ended
    std::string standard_error;
};
ProgramRun run_program(const std::vector<std::wstring>& args, const std::wstring& folder, DialogSweeper& sweeper,
                       DWORD timeout_ms);

class ResidentTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // The remembered save folder too, when one is given.
    void write_settings(bool live_capture, const std::wstring& save_folder = {});
    // Those settings (live capture off) changed by `change` before they are written.
    void write_settings_with(const std::function<void(Settings&)>& change);
    // What the resident finds at its start: by default, settings whose
    // shortcuts no other test uses.
    virtual void write_start_settings() { write_settings(false); }
    // Where the resident's standard error goes: an inheritable handle, or
    // null for none.
    virtual HANDLE resident_standard_error() { return nullptr; }
    // The resident's running child other than `other`, once its loop runs
    // (a prepared child is warm and has reported ready by then).
    Process wait_for_child(DWORD other = 0);
    std::string boxes_said();
    void press_capture_shortcut();
    // A tray-menu command (the menu's id) posted to the resident's
    // application window from another process, as a click on the menu sends it.
    void post_menu_command(unsigned id);
    // The child's window once it covers the whole virtual screen above every
    // other window, done with the message that opened it (and painted), and
    // holding the keyboard focus, so that keys sent from then on reach it.
    HWND wait_for_capture(const Process& child);

    std::optional<UserDataLock> lock_;
    std::wstring folder_;
    DialogSweeper sweeper_;
    Process resident_;
    HWND resident_window_ = nullptr;
};

}  // namespace glimmerly::testing_support
