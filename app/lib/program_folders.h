#pragma once
// Where the program keeps its data: a folder under the user's local
// application data. Paths are built on every call; nothing is cached, so a
// test or a migration that moves the folder is seen at once.

#include <string>

#include "core/base/result.h"

namespace glimmerly {

inline constexpr wchar_t PROGRAM_FOLDER_NAME[] = L"Glimmerly";
// The program folder of the product's earlier name, taken over at start-up.
inline constexpr wchar_t EARLIER_PROGRAM_FOLDER_NAME[] = L"Brindlet";
inline constexpr wchar_t SETTINGS_FILE_NAME[] = L"settings.txt";
inline constexpr wchar_t BOARD_FOLDER_NAME[] = L"board";

// The known folder FOLDERID_LocalAppData.
Result<std::wstring> local_app_data_path();
Result<std::wstring> program_folder_path();
Result<std::wstring> settings_file_path();
// "board" beside the settings file.
Result<std::wstring> board_dir_path();
// The board folder, created with its parents when missing.
Result<std::wstring> ensure_board_dir();

}  // namespace glimmerly
