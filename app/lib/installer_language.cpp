#include "app/lib/installer_language.h"

#include <windows.h>

#include "app/app/error_box.h"
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

std::wstring file_path(const std::wstring& folder) {
    return win::join_path(folder, INSTALLER_LANGUAGE_FILE);
}

}  // namespace

std::optional<InstallerLanguage> read_installer_language(const std::wstring& program_folder) {
    auto content = win::read_file_if_exists(file_path(program_folder), kMaxInstallerLanguageBytes);
    if (!content.ok()) return InstallerLanguage{InstallerLanguageNone{}};
    if (!content->has_value()) return std::nullopt;
    return parse_installer_language(**content);
}

void delete_installer_language(const std::wstring& program_folder) {
    DeleteFileW(file_path(program_folder).c_str());
}

void apply_installer_language(Settings& settings, const std::wstring& program_folder) {
    const auto found = read_installer_language(program_folder);
    if (!found) return;
    if (!std::holds_alternative<Language>(*found)) {
        delete_installer_language(program_folder);
        return;
    }
    const Language choice = std::get<Language>(*found);
    const Language before = settings.language;
    Status written;
    if (choice != before) {
        settings.language = choice;
        written = commit_settings_change_at(win::join_path(program_folder, SETTINGS_FILE_NAME), settings);
    }
    delete_installer_language(program_folder);
    if (choice != before) apply_ui_language(choice);
    if (!written) show_error_box(nullptr, settings_unsaved_error(settings_failure_text(written.failure())));
}

}  // namespace glimmerly
