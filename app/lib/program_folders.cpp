#include "app/lib/program_folders.h"

#include <windows.h>

#include <shlobj.h>

#include "app/lib/folder_tree.h"
#include "app/win/failure.h"
#include "app/win/paths.h"

namespace glimmerly {

Result<std::wstring> local_app_data_path() {
    PWSTR raw = nullptr;
    const HRESULT hr = SHGetKnownFolderPath(FOLDERID_LocalAppData, 0, nullptr, &raw);
    std::wstring path = SUCCEEDED(hr) && raw ? std::wstring(raw) : std::wstring();
    CoTaskMemFree(raw);  // also on failure: the platform may hand back a buffer either way
    if (FAILED(hr)) return win::hr_failure(hr, "SHGetKnownFolderPath");
    return path;
}

Result<std::wstring> program_folder_path() {
    auto base = local_app_data_path();
    if (!base) return std::move(base).failure();
    return win::join_path(*base, PROGRAM_FOLDER_NAME);
}

Result<std::wstring> settings_file_path() {
    auto folder = program_folder_path();
    if (!folder) return std::move(folder).failure();
    return win::join_path(*folder, SETTINGS_FILE_NAME);
}

Result<std::wstring> board_dir_path() {
    auto settings = settings_file_path();
    if (!settings) return std::move(settings).failure();
    return win::join_path(win::folder_of(*settings), BOARD_FOLDER_NAME);
}

Result<std::wstring> ensure_board_dir() {
    auto board = board_dir_path();
    if (!board) return std::move(board).failure();
    GLIM_TRY(create_directories(*board));
    return board;
}

}  // namespace glimmerly
