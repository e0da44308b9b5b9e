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
// when it holds no usable choice; else a language or LANGUAGE_AUTO.
std::optional<InstallerLanguage> read_installer_language(const std::wstring& program_folder);

// Deletes the file so that the choice is taken over exactly once; a failure
// is ignored (the next start reads the same choice again).
void delete_installer_language(const std::wstring& program_folder);

// Takes over the installer's choice once, at start-up: stores it in
// `settings` and in the settings file of the program folder when it differs,
// deletes the file in every case, and applies the language. A failed write
// is shown in a message box; the language is applied all the same.
void apply_installer_language(Settings& settings, const std::wstring& program_folder);

}  // namespace glimmerly
