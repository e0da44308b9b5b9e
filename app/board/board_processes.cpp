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
Status start_board_child(const std::wstring& named, std::wstring_view option, bool foreground) {
    auto program = named.empty() ? running_program_path() : Result<std::wstring>(named);
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

Status start_board_editor_process(const std::wstring& program) { return start_board_child(program, L"--board", true); }
Status start_board_bake_process(const std::wstring& program) {
    return start_board_child(program, L"--board-bake", false);
}
Status start_board_clear_process(const std::wstring& program) {
    return start_board_child(program, L"--board-clear", false);
}
Status start_board_restore_process(const std::wstring& program) {
    return start_board_child(program, L"--restore-wallpaper", false);
}

void reconcile_board_at_start(bool board_shown, const std::wstring& program) {
    if (board_shown) {
        (void)start_board_bake_process(program);
        return;
    }
    // Most users never showed the board: no process for them.
    auto folder = board_dir_path();
    if (!folder) return;
    const std::wstring base = win::join_path(*folder, win::from_u16(kBaseFileName));
    if (GetFileAttributesW(base.c_str()) == INVALID_FILE_ATTRIBUTES) return;
    (void)start_board_restore_process(program);
}

}  // namespace glimmerly
