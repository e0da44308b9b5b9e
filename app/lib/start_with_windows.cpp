#include "app/lib/start_with_windows.h"

#include <windows.h>

#include "app/lib/registry_names.h"
#include "app/win/failure.h"
#include "app/win/owners.h"

namespace glimmerly {

Result<std::wstring> running_program_path() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return win::win32_failure("GetModuleFileNameW");
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        // Truncated: the path is longer than the buffer.
        if (path.size() >= 32768) return plain_failure("The program's path is too long");
        path.resize(path.size() * 2);
    }
}

std::wstring sign_in_command(const std::wstring& program_path) { return L"\"" + program_path + L"\""; }

Status set_start_with_windows(bool enabled) {
    auto program = running_program_path();
    if (!program) return std::move(program).failure();

    win::UniqueRegistryKey run;
    LSTATUS status = RegCreateKeyExW(HKEY_CURRENT_USER, RUN_KEY, 0, nullptr, 0, KEY_SET_VALUE, nullptr, run.put(), nullptr);
    if (status != ERROR_SUCCESS) return win::win32_failure_code(static_cast<DWORD>(status), "RegCreateKeyExW", RUN_KEY);

    if (enabled) {
        const std::wstring command = sign_in_command(*program);
        status = RegSetValueExW(run.get(), RUN_VALUE, 0, REG_SZ, reinterpret_cast<const BYTE*>(command.c_str()),
                                static_cast<DWORD>((command.size() + 1) * sizeof(wchar_t)));
        if (status != ERROR_SUCCESS) return win::win32_failure_code(static_cast<DWORD>(status), "RegSetValueExW", RUN_VALUE);
        return ok_status();
    }
    status = RegDeleteValueW(run.get(), RUN_VALUE);
    if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND)
        return win::win32_failure_code(static_cast<DWORD>(status), "RegDeleteValueW", RUN_VALUE);
    return ok_status();
}

}  // namespace glimmerly
