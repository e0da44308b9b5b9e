#include "app/board/board_processes.h"

#include <windows.h>

#include <string>

#include "app/lib/program_folders.h"
#include "app/lib/start_with_windows.h"
#include "app/win/failure.h"
#include "app/win/owners.h"
#include "app/win/paths.h"
#include "core/board/board_names.h"

namespace glimmerly {
namespace {

// The module path both as the application name and quoted in the command
// line: an unquoted path with spaces would be split into another program's
// name and arguments.
Status start_board_child(std::wstring_view option, bool foreground) {
    auto program = running_program_path();
    if (!program) return std::move(program).failure();
    std::wstring command = sign_in_command(*program) + L" " + std::wstring(option);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    if (!CreateProcessW(program->c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &started))
        return win::win32_failure("CreateProcessW", *program);
    win::UniqueHandle process(started.hProcess), thread(started.hThread);
    // The editor's window must come up in front of the window the user was in.
    if (foreground) (void)AllowSetForegroundWindow(GetProcessId(process.get()));
    return ok_status();
}

}  // namespace

Status start_board_editor_process() { return start_board_child(L"--board", true); }
Status start_board_bake_process() { return start_board_child(L"--board-bake", false); }
Status start_board_clear_process() { return start_board_child(L"--board-clear", false); }
Status start_board_restore_process() { return start_board_child(L"--restore-wallpaper", false); }

void reconcile_board_at_start(bool board_shown) {
    if (board_shown) {
        (void)start_board_bake_process();
        return;
    }
    // Most users never showed the board: no process for them.
    auto folder = board_dir_path();
    if (!folder) return;
    const std::wstring base = win::join_path(*folder, win::from_u16(kBaseFileName));
    if (GetFileAttributesW(base.c_str()) == INVALID_FILE_ATTRIBUTES) return;
    (void)start_board_restore_process();
}

}  // namespace glimmerly
