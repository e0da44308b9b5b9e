#pragma once
// The one-time language choice an installer leaves in the program folder.

#include <optional>
#include <string>

#include "core/base/result.h"
#include "core/settings/settings.h"
#include "text/language_choice.h"

namespace glimmerly {

inline constexpr wchar_t INSTALLER_LANGUAGE_FILE[] = L"installer-language.txt";

// What the file asks for: none when there is no file; InstallerLanguageNone
// when it holds no usable choice; else a language or LANGUAGE_AUTO. A file
// that is there but cannot be read is a failure.
Result<std::optional<InstallerLanguage>> read_installer_language(const std::wstring& program_folder);

// Takes over the installer's choice once, at start-up: a choice that differs
// from `settings` is stored there and in the settings file of the program
// folder, and applied. The file is deleted only once its choice is stored
// (or when it holds none), so that a failed read or save leaves it for the
// next start. A failure comes back for the caller to show (a failed save as
// settings_unsaved_error); the language is applied all the same.
Status apply_installer_language(Settings& settings, const std::wstring& program_folder);

}  // namespace glimmerly
