#include "app/lib/ui_language.h"

#include <windows.h>

#include <string>

#include "app/win/failure.h"
#include "text/language_choice.h"

namespace glimmerly {
namespace {

Language preferred_system_language() {
    ULONG count = 0;
    ULONG size = 0;
    if (!GetUserPreferredUILanguages(MUI_LANGUAGE_NAME, &count, nullptr, &size) || size == 0)
        return LANGUAGE_ENGLISH;
    std::wstring names(size, L'\0');
    if (!GetUserPreferredUILanguages(MUI_LANGUAGE_NAME, &count, names.data(), &size) || count == 0)
        return LANGUAGE_ENGLISH;
    // A double-zero-terminated list; only the first name counts.
    const std::wstring first(names.c_str());
    if (first.empty()) return LANGUAGE_ENGLISH;
    return language_from_ui_tag(win::to_utf8(first));
}

}  // namespace

void apply_ui_language(std::uint8_t choice) {
    set_current_language(choice == LANGUAGE_AUTO ? preferred_system_language() : choice);
}

}  // namespace glimmerly
