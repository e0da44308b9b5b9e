#include "app/lib/settings_store.h"

#include <windows.h>

#include "app/lib/atomic_write.h"
#include "app/lib/folder_tree.h"
#include "app/lib/program_folders.h"
#include "app/lib/settings_lock.h"
#include "app/lib/ui_language.h"
#include "app/win/failure.h"
#include "app/win/file_io.h"
#include "app/win/paths.h"
#include "core/settings/settings_checks.h"
#include "core/settings/settings_file.h"
#include "text/app_error.h"

namespace glimmerly {
namespace {

// Far above any file the writer makes (a folder path of 32,767 code units
// included): a bigger file is not a settings file, and is not read whole.
constexpr std::uint64_t kMaxSettingsFileBytes = 1 << 20;

// A backup tool, a virus scanner or an editor saving the file may hold it
// without sharing, or lock a range of it, for a moment. The read, and the
// replace of a save, are tried again for this long before the file counts
// as in use.
constexpr ULONGLONG kInUseWaitMs = 2000;
constexpr DWORD kInUseRetryMs = 50;

bool held_by_another_program(const Failure& failure) {
    return failure.code == hresult_from_win32(ERROR_SHARING_VIOLATION) ||
           failure.code == hresult_from_win32(ERROR_LOCK_VIOLATION);
}

Result<std::optional<std::string>> read_once_free(const std::wstring& path) {
    const ULONGLONG deadline = GetTickCount64() + kInUseWaitMs;
    for (;;) {
        auto bytes = win::read_file_if_exists(path, kMaxSettingsFileBytes);
        if (bytes || !held_by_another_program(bytes.failure()) || GetTickCount64() >= deadline) return bytes;
        Sleep(kInUseRetryMs);
    }
}

// The file is missing, which means defaults, unless a folder on its way is a
// file: nothing could ever be stored then, and running on defaults without
// a word would hide why.
Status check_folders_on_the_way(const std::wstring& path) {
    for (std::wstring folder = win::folder_of(path); !folder.empty();) {
        const DWORD attributes = GetFileAttributesW(folder.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES) {
            if (attributes & FILE_ATTRIBUTE_DIRECTORY) return ok_status();
            return Failure{hresult_from_win32(ERROR_DIRECTORY), win::to_utf8(folder) + " is a file, not a folder"};
        }
        const DWORD error = GetLastError();
        if (error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND) return ok_status();
        std::wstring parent = win::folder_of(folder);
        if (parent.size() >= folder.size()) break;
        folder = std::move(parent);
    }
    return ok_status();
}

bool is_in_use_error(const Failure& failure) {
    const auto parsed = parse_app_error(failure);
    return parsed && parsed->text == TextId::error_settings_in_use;
}

}  // namespace

Result<Settings> read_settings_file(const std::wstring& path) {
    auto bytes = read_once_free(path);
    if (!bytes) {
        if (held_by_another_program(bytes.failure()))
            return make_app_error_with_cause(TextId::error_settings_in_use, bytes.failure(),
                                             {{"path", win::to_utf8(path)}});
        return std::move(bytes).failure();
    }
    if (!bytes->has_value()) {
        GLIM_TRY(check_folders_on_the_way(path));
        return Settings{};
    }
    return parse_settings(**bytes);
}

Result<Settings> load_settings() {
    auto path = settings_file_path();
    if (!path) return std::move(path).failure();
    return read_settings_file(*path);
}

Failure settings_unreadable_error(const Failure& cause) {
    // A file held by another program is not damaged, and says so itself.
    if (is_in_use_error(cause)) return cause;
    return make_app_error_with_cause(TextId::error_settings_unreadable, cause);
}

Result<Settings> load_settings_at_start() {
    auto loaded = load_settings();
    if (!loaded) {
        apply_ui_language(LANGUAGE_AUTO);
        return settings_unreadable_error(loaded.failure());
    }
    return loaded;
}

Status reload_settings(Settings& settings) {
    auto loaded = load_settings();
    if (!loaded) return settings_unreadable_error(loaded.failure());
    settings = std::move(loaded).value();
    apply_ui_language(settings.language);
    return ok_status();
}

Status save_settings_file(const Settings& settings, const std::wstring& path) {
    GLIM_TRY(validate_settings(settings));
    GLIM_TRY(create_directories(win::folder_of(path)));
    // A reader that holds the file (an editor, a backup tool) keeps it from
    // being replaced for a moment, as it keeps it from being read.
    auto written = replace_file_atomically(format_settings(settings), path, kInUseWaitMs);
    if (!written && held_by_another_program(written.failure()))
        return make_app_error_with_cause(TextId::error_settings_in_use, written.failure(),
                                         {{"path", win::to_utf8(path)}});
    if (!written) return std::move(written).failure();
    return ok_status();
}

Status update_settings_file(const std::wstring& path, const SettingsPatch& patch) {
    auto settings = read_settings_file(path);
    if (!settings) return std::move(settings).failure();
    apply_settings_patch(*settings, patch);
    return save_settings_file(*settings, path);
}

Status patch_settings_file(const std::wstring& path, const SettingsPatch& patch) {
    auto lock = lock_settings_write();
    if (!lock) return std::move(lock).failure();
    return update_settings_file(path, patch);
}

Status save_editor_settings(std::uint32_t capture_stroke_width, std::uint32_t capture_eraser_size) {
    Status saved = [&]() -> Status {
        auto path = settings_file_path();
        if (!path) return std::move(path).failure();
        return patch_settings_file(
            *path, SettingsPatch{.capture_stroke_width = capture_stroke_width, .capture_eraser_size = capture_eraser_size});
    }();
    if (!saved) return settings_unsaved_error(saved.failure());
    return ok_status();
}

Status save_session_choices(std::u16string folder, ImageFormat format) {
    auto path = settings_file_path();
    if (!path) return std::move(path).failure();
    return patch_settings_file(*path, SettingsPatch{.save_choice = SaveChoice{std::move(folder), format}});
}

Status commit_settings_change(const Settings& settings) {
    auto path = settings_file_path();
    if (!path) return std::move(path).failure();
    return commit_settings_change_at(*path, settings);
}

Status commit_settings_change_at(const std::wstring& path, const Settings& settings) {
    auto lock = lock_settings_write();
    if (!lock) return std::move(lock).failure();
    auto on_disk = read_settings_file(path);
    if (!on_disk) return std::move(on_disk).failure();
    return save_settings_file(settings_to_commit(settings, *on_disk), path);
}

}  // namespace glimmerly
