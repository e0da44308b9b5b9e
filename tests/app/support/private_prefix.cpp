#include "tests/app/support/private_prefix.h"

#include <windows.h>

namespace glimmerly::testing_support {

std::wstring private_prefix_variable() {
    wchar_t value[1024] = {};
    const DWORD length = GetEnvironmentVariableW(L"GLIMMERLY_PRIVATE_WINE_PREFIX", value, 1024);
    return length > 0 && length < 1024 ? std::wstring(value, length) : std::wstring();
}

bool in_private_test_prefix() {
    if (private_prefix_variable().empty()) return false;
    HKEY wine = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"Software\\Wine", 0, KEY_READ, &wine) != ERROR_SUCCESS) return false;
    RegCloseKey(wine);
    return true;
}

UserDataLock::UserDataLock() {
    HANDLE mutex = CreateMutexW(nullptr, FALSE, L"Local\\Glimmerly.Tests.UserData");
    // An abandoned lock is a crashed test's: taking it over is right.
    if (mutex && WaitForSingleObject(mutex, INFINITE) != WAIT_FAILED)
        mutex_.reset(mutex);
    else if (mutex)
        CloseHandle(mutex);
}

}  // namespace glimmerly::testing_support
