#include "app/lib/installer_language.h"

#include <windows.h>

#include "app/lib/program_folders.h"
#include "app/lib/settings_store.h"
#include "app/lib/ui_language.h"
#include "app/win/file_io.h"
#include "app/win/paths.h"
#include "text/app_error.h"

namespace glimmerly {
namespace {

// An installer writes one code; anything this large is not ours.
constexpr std::uint64_t kMaxInstallerLanguageBytes = 4096;

std::wstring file_path(const std::wstring& folder) { return win::join_path(folder, INSTALLER_LANGUAGE_FILE); }

}  // namespace

Result<std::optional<InstallerLanguage>> read_installer_language(const std::wstring& program_folder) {
    auto content = win::read_file_if_exists(file_path(program_folder), kMaxInstallerLanguageBytes);
    if (!content) {
        // Refused for its size before anything was read: not an installer's file.
        if (content.failure().code == win::FILE_TOO_LARGE_CODE)
            return std::optional<InstallerLanguage>(InstallerLanguageNone{});
        return std::move(content).failure();
    }
    if (!content->has_value()) return std::optional<InstallerLanguage>();
    return std::optional<InstallerLanguage>(parse_installer_language(**content));
}

Status apply_installer_language(Settings& settings, const std::wstring& program_folder) {
    auto found = read_installer_language(program_folder);
    if (!found) return std::move(found).failure();
    if (!*found) return ok_status();
    Status saved;
    if (const Language* choice = std::get_if<Language>(&**found); choice && *choice != settings.language) {
        settings.language = *choice;
        saved = commit_settings_change_at(win::join_path(program_folder, SETTINGS_FILE_NAME), settings);
        apply_ui_language(*choice);
    }
    if (!saved) return settings_unsaved_error(saved.failure());
    // A failed deletion is ignored: the next start finds the choice already stored.
    DeleteFileW(file_path(program_folder).c_str());
    return ok_status();
}

}  // namespace glimmerly
