#pragma once
// Tests that change the user's own data (HKEY_CURRENT_USER, the local
// application-data folder, the sign-in list) run only inside the throw-away
// Wine prefix of the build tree, so that running the test executable on a
// real Windows machine can never touch a user's settings.

#include <gtest/gtest.h>

#include "app/lib/settings_lock.h"

namespace glimmerly::testing_support {

// The variable scripts/wine-exec exports, or empty.
inline std::wstring private_prefix_variable() {
    wchar_t value[1024] = {};
    const DWORD length = GetEnvironmentVariableW(L"GLIMMERLY_PRIVATE_WINE_PREFIX", value, 1024);
    return length > 0 && length < 1024 ? std::wstring(value, length) : std::wstring();
}

// Both must hold: scripts/wine-exec started this process, and the registry
// is Wine's (HKLM\Software\Wine exists).
inline bool in_private_test_prefix() {
    win::UniqueRegistryKey wine;
    return !private_prefix_variable().empty() &&
           RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"Software\\Wine", 0, KEY_READ, wine.put()) == ERROR_SUCCESS;
}

// ctest runs several test processes side by side in one prefix; tests that
// use the real names (HKCU\Software\Glimmerly, the program folder, the Run
// value) hold this lock so that they never see each other's half-done work.
// An abandoned lock is a crashed test's: taking it over is right.
class UserDataLock {
public:
    UserDataLock() {
        auto held = wait_for_mutex(win::UniqueHandle(CreateMutexW(nullptr, FALSE, L"Local\\Glimmerly.Tests.UserData")),
                                   INFINITE);
        if (held && *held) mutex_ = std::move(**held);
    }

private:
    win::HeldMutex mutex_;
};

}  // namespace glimmerly::testing_support

// Skips a test of user data outside the private prefix. Where scripts/wine-exec
// started the tests the guard must hold, or every such test would skip in silence.
#define GLIM_REQUIRE_PRIVATE_PREFIX()                                                                \
    do {                                                                                             \
        if (!::glimmerly::testing_support::in_private_test_prefix()) {                               \
            ASSERT_TRUE(::glimmerly::testing_support::private_prefix_variable().empty())             \
                << "GLIMMERLY_PRIVATE_WINE_PREFIX is set but HKLM\\Software\\Wine is missing";        \
            GTEST_SKIP() << "changes the user's data: runs only in the private prefix of wine-exec"; \
        }                                                                                            \
    } while (0)
