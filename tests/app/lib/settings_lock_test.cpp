#include "app/lib/settings_lock.h"

#include <gtest/gtest.h>

#include "tests/app/support/child_process.h"
#include "text/app_error.h"

namespace glimmerly {
namespace {

using testing_support::start_child;
using testing_support::unique_name;
using testing_support::wait_for_exit;

// args: mutex name, ready event, release event. Holds the lock until told.
GLIM_TEST_CHILD(HoldSettingsLock) {
    auto lock = lock_settings_write_named(args.at(0).c_str());
    if (!lock) return 2;
    win::UniqueHandle ready(OpenEventW(EVENT_MODIFY_STATE, FALSE, args.at(1).c_str()));
    win::UniqueHandle release(OpenEventW(SYNCHRONIZE, FALSE, args.at(2).c_str()));
    if (!ready || !release) return 3;
    SetEvent(ready.get());
    return WaitForSingleObject(release.get(), 60000) == WAIT_OBJECT_0 ? 0 : 4;
}

// args: mutex name. Ends while holding the lock.
GLIM_TEST_CHILD(AbandonSettingsLock) {
    auto lock = lock_settings_write_named(args.at(0).c_str());
    if (!lock) return 2;
    (void)std::move(lock).value().release();  // never released: the mutex is abandoned at exit
    return 0;
}

struct LanguageScope {
    explicit LanguageScope(Language language) { set_current_language(language); }
    ~LanguageScope() { set_current_language(LANGUAGE_ENGLISH); }
};

TEST(SettingsLock, HeldByAnotherProcessPastTheWaitIsBusyInTheCurrentLanguage) {
    const std::wstring mutex = L"Local\\" + unique_name(L"Glimmerly.Test.SettingsWrite");
    const std::wstring ready_name = unique_name(L"Glimmerly.Test.Ready");
    const std::wstring release_name = unique_name(L"Glimmerly.Test.Release");
    win::UniqueHandle ready(CreateEventW(nullptr, TRUE, FALSE, ready_name.c_str()));
    win::UniqueHandle release(CreateEventW(nullptr, TRUE, FALSE, release_name.c_str()));
    auto child = start_child(L"HoldSettingsLock", {mutex, ready_name, release_name});
    ASSERT_TRUE(child.ok()) << child.failure().message;
    HANDLE waits[] = {ready.get(), child->get()};
    ASSERT_EQ(WaitForMultipleObjects(2, waits, FALSE, 30000), WAIT_OBJECT_0) << "the child did not take the lock";

    {
        LanguageScope german(5);
        auto busy = lock_settings_write_named(mutex.c_str());
        ASSERT_FALSE(busy.ok());
        EXPECT_EQ(busy.failure().code, APP_ERROR_CODE);
        EXPECT_EQ(error_to_text(busy.failure(), current_language()), text_of(5, TextId::error_settings_busy));
    }
    EXPECT_EQ(error_to_text(lock_settings_write_named(mutex.c_str()).failure(), LANGUAGE_ENGLISH),
              "Settings are busy. Please try again.");

    SetEvent(release.get());
    EXPECT_EQ(wait_for_exit(*child), 0);
    EXPECT_TRUE(lock_settings_write_named(mutex.c_str()).ok());
}

TEST(SettingsLock, AHolderThatEndedWithoutReleasingGivesTheLockAtOnce) {
    const std::wstring mutex = L"Local\\" + unique_name(L"Glimmerly.Test.SettingsWrite");
    // Keeps the mutex object alive after the child is gone.
    win::UniqueHandle keep(CreateMutexW(nullptr, FALSE, mutex.c_str()));
    auto child = start_child(L"AbandonSettingsLock", {mutex});
    ASSERT_TRUE(child.ok()) << child.failure().message;
    ASSERT_EQ(wait_for_exit(*child), 0);
    auto lock = lock_settings_write_named(mutex.c_str());
    EXPECT_TRUE(lock.ok()) << lock.failure().message;
}

TEST(SettingsLock, AWaitThatFailsIsAWin32FailureNotBusy) {
    const std::wstring mutex = L"Local\\" + unique_name(L"Glimmerly.Test.SettingsWrite");
    win::UniqueHandle created(CreateMutexW(nullptr, FALSE, mutex.c_str()));
    // Opened without SYNCHRONIZE: the wait itself fails.
    win::UniqueHandle unwaitable(OpenMutexW(MUTEX_MODIFY_STATE, FALSE, mutex.c_str()));
    auto held = wait_for_mutex(std::move(unwaitable), SETTINGS_LOCK_WAIT_MS);
    ASSERT_FALSE(held.ok());
    EXPECT_EQ(held.failure().code, hresult_from_win32(ERROR_ACCESS_DENIED)) << held.failure().message;
}

}  // namespace
}  // namespace glimmerly
