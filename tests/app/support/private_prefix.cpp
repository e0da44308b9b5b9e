#include "tests/app/support/private_prefix.h"

#include "app/lib/settings_lock.h"

namespace glimmerly::testing_support {

std::wstring private_prefix_variable() {
    wchar_t value[1024] = {};
    const DWORD length = GetEnvironmentVariableW(L"GLIMMERLY_PRIVATE_WINE_PREFIX", value, 1024);
    return length > 0 && length < 1024 ? std::wstring(value, length) : std::wstring();
}

bool in_private_test_prefix() {
    if (private_prefix_variable().empty()) return false;
    win::UniqueRegistryKey wine;
    return RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"Software\\Wine", 0, KEY_READ, wine.put()) == ERROR_SUCCESS;
}

UserDataLock::UserDataLock() {
    // An abandoned lock is a crashed test's: taking it over is right.
    win::UniqueHandle mutex(CreateMutexW(nullptr, FALSE, L"Local\\Glimmerly.Tests.UserData"));
    auto held = wait_for_mutex(std::move(mutex), INFINITE);
    if (held && *held) mutex_ = std::move(**held);
}

}  // namespace glimmerly::testing_support
