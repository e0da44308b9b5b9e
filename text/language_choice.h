#pragma once
// Turning the system's preferred interface language, or the installer's
// one-time choice, into a Language.

#include <string_view>
#include <variant>

#include "text/text_table.h"

namespace glimmerly {

// The language for the first of the user's preferred UI language names (a BCP 47
// tag such as "de-CH" or "zh-Hant-HK"): its primary subtag, and for Chinese its
// script or region. Anything unknown is English.
Language language_from_ui_tag(std::string_view tag);

// What "installer-language.txt" asks for: automatic (LANGUAGE_AUTO), a language,
// or nothing usable (none), from the file's raw bytes.
struct InstallerLanguageNone {
    friend bool operator==(InstallerLanguageNone, InstallerLanguageNone) = default;
};
using InstallerLanguage = std::variant<InstallerLanguageNone, Language>;
InstallerLanguage parse_installer_language(std::string_view content);

}  // namespace glimmerly
