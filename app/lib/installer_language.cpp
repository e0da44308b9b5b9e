#include "app/lib/installer_language.h"

#include <windows.h>

#include "app/win/file_io.h"

namespace glimmerly {
namespace {

// An installer writes one code; anything this large is not ours.
constexpr std::uint64_t kMaxInstallerLanguageBytes = 4096;

std::wstring file_path(const std::wstring& folder) {
    std::wstring path = folder;
    if (!path.empty() && path.back() != L'\\' && path.back() != L'/') path += L'\\';
    return path + INSTALLER_LANGUAGE_FILE;
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

}  // namespace glimmerly
