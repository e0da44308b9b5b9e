#include "app/app/print_screen.h"

#include <windows.h>

#include <optional>

#include "app/lib/registry_names.h"
#include "app/win/failure.h"

namespace glimmerly {
namespace {

constexpr DWORD kNoSystemValue = 0xFFFFFFFF;

// None when the value does not exist.
Result<std::optional<DWORD>> read_dword(const wchar_t* key, const wchar_t* name) {
    DWORD value = 0;
    DWORD size = sizeof value;
    const LSTATUS status = RegGetValueW(HKEY_CURRENT_USER, key, name, RRF_RT_REG_DWORD, nullptr, &value, &size);
    if (status == ERROR_FILE_NOT_FOUND) return std::optional<DWORD>();
    if (status != ERROR_SUCCESS)
        return win::win32_failure_code(static_cast<DWORD>(status), "RegGetValueW", name);
    return std::optional<DWORD>(value);
}

Status write_dword(const wchar_t* key, const wchar_t* name, DWORD value) {
    const LSTATUS status = RegSetKeyValueW(HKEY_CURRENT_USER, key, name, REG_DWORD, &value, sizeof value);
    if (status != ERROR_SUCCESS)
        return win::win32_failure_code(static_cast<DWORD>(status), "RegSetKeyValueW", name);
    return ok_status();
}

Status delete_value(const wchar_t* key, const wchar_t* name) {
    const LSTATUS status = RegDeleteKeyValueW(HKEY_CURRENT_USER, key, name);
    if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND)
        return win::win32_failure_code(static_cast<DWORD>(status), "RegDeleteKeyValueW", name);
    return ok_status();
}

}  // namespace

Result<bool> take_over_print_screen_key() {
    const auto& names = PRINT_SCREEN_TAKEOVER;
    auto system = read_dword(names.system_key, names.system_value);
    if (!system) return std::move(system).failure();
    if (*system == std::optional<DWORD>(0)) return false;
    auto saved = read_dword(names.saved_key, names.saved_value);
    if (!saved) return std::move(saved).failure();
    // Only the first takeover's finding is the user's own value.
    if (!*saved) GLIM_TRY(write_dword(names.saved_key, names.saved_value, system->value_or(kNoSystemValue)));
    GLIM_TRY(write_dword(names.system_key, names.system_value, 0));
    return true;
}

Status restore_print_screen_key() {
    const auto& names = PRINT_SCREEN_TAKEOVER;
    auto saved = read_dword(names.saved_key, names.saved_value);
    if (!saved) return std::move(saved).failure();
    if (!*saved) return ok_status();
    auto system = read_dword(names.system_key, names.system_value);
    if (!system) return std::move(system).failure();
    if (*system == std::optional<DWORD>(0)) {
        if (**saved == kNoSystemValue)
            GLIM_TRY(delete_value(names.system_key, names.system_value));
        else
            GLIM_TRY(write_dword(names.system_key, names.system_value, **saved));
    }
    return delete_value(names.saved_key, names.saved_value);
}

}  // namespace glimmerly
