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

namespace {

Result<win::UniqueRegistryKey> create_run_key() {
    win::UniqueRegistryKey run;
    const LSTATUS status =
        RegCreateKeyExW(HKEY_CURRENT_USER, RUN_KEY, 0, nullptr, 0, KEY_SET_VALUE, nullptr, run.put(), nullptr);
    if (status != ERROR_SUCCESS) return win::win32_failure_code(static_cast<DWORD>(status), "RegCreateKeyExW", RUN_KEY);
    return run;
}

Status write_run_value(HKEY run, DWORD type, const BYTE* data, DWORD size) {
    const LSTATUS status = RegSetValueExW(run, RUN_VALUE, 0, type, data, size);
    if (status != ERROR_SUCCESS) return win::win32_failure_code(static_cast<DWORD>(status), "RegSetValueExW", RUN_VALUE);
    return ok_status();
}

Status delete_run_value(HKEY run) {
    const LSTATUS status = RegDeleteValueW(run, RUN_VALUE);
    if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND)
        return win::win32_failure_code(static_cast<DWORD>(status), "RegDeleteValueW", RUN_VALUE);
    return ok_status();
}

}  // namespace

Status set_start_with_windows(bool enabled) {
    auto program = running_program_path();
    if (!program) return std::move(program).failure();
    auto run = create_run_key();
    if (!run) return std::move(run).failure();
    if (!enabled) return delete_run_value(run->get());
    const std::wstring command = sign_in_command(*program);
    return write_run_value(run->get(), REG_SZ, reinterpret_cast<const BYTE*>(command.c_str()),
                           static_cast<DWORD>((command.size() + 1) * sizeof(wchar_t)));
}

Result<SignInValue> read_sign_in_value() {
    win::UniqueRegistryKey run;
    LSTATUS status = RegOpenKeyExW(HKEY_CURRENT_USER, RUN_KEY, 0, KEY_QUERY_VALUE, run.put());
    if (status == ERROR_FILE_NOT_FOUND) return SignInValue{};
    if (status != ERROR_SUCCESS) return win::win32_failure_code(static_cast<DWORD>(status), "RegOpenKeyExW", RUN_KEY);
    // Read raw: RegGetValueW would add a terminator the stored bytes may lack.
    SignInValue value;
    DWORD type = REG_NONE;
    DWORD size = 0;
    status = RegQueryValueExW(run.get(), RUN_VALUE, nullptr, &type, nullptr, &size);
    // Another program may lengthen it between asking the size and reading.
    while (status == ERROR_SUCCESS || status == ERROR_MORE_DATA) {
        value.data.resize(size);
        status = RegQueryValueExW(run.get(), RUN_VALUE, nullptr, &type, value.data.data(), &size);
        if (status == ERROR_SUCCESS) {
            value.data.resize(size);
            value.present = true;
            value.type = type;
            return value;
        }
    }
    if (status == ERROR_FILE_NOT_FOUND) return SignInValue{};
    return win::win32_failure_code(static_cast<DWORD>(status), "RegQueryValueExW", RUN_VALUE);
}

Status restore_sign_in_value(const SignInValue& value) {
    auto run = create_run_key();
    if (!run) return std::move(run).failure();
    if (!value.present) return delete_run_value(run->get());
    return write_run_value(run->get(), value.type, value.data.data(), static_cast<DWORD>(value.data.size()));
}

}  // namespace glimmerly
