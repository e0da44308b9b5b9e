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
    win::UniqueHandle ready(OpenEventW(EVENT_MODIFY_STATE, FALSE, args.at(1).c_str()));
    win::UniqueHandle release(OpenEventW(SYNCHRONIZE, FALSE, args.at(2).c_str()));
    if (!lock || !ready || !release) return 2;
    SetEvent(ready.get());
    return WaitForSingleObject(release.get(), 60000) == WAIT_OBJECT_0 ? 0 : 4;
}

// A second process holding a lock of a name of its own, and the events that drive it.
class HeldElsewhere : public ::testing::Test {
protected:
    void SetUp() override {
        auto child = start_child(L"HoldSettingsLock", {mutex_, ready_name_, release_name_});
        ASSERT_TRUE(child.ok()) << child.failure().message;
        child_ = std::move(child).value();
        HANDLE waits[] = {ready_.get(), child_.get()};
        ASSERT_EQ(WaitForMultipleObjects(2, waits, FALSE, 30000), WAIT_OBJECT_0) << "the child did not take the lock";
    }

    const std::wstring mutex_ = L"Local\\" + unique_name(L"Glimmerly.Test.SettingsWrite");
    const std::wstring ready_name_ = unique_name(L"Glimmerly.Test.Ready");
    const std::wstring release_name_ = unique_name(L"Glimmerly.Test.Release");
    win::UniqueHandle ready_{CreateEventW(nullptr, TRUE, FALSE, ready_name_.c_str())};
    win::UniqueHandle release_{CreateEventW(nullptr, TRUE, FALSE, release_name_.c_str())};
    win::UniqueHandle child_;
};

TEST_F(HeldElsewhere, PastTheWaitTheLockIsBusyUntilReleased) {
    auto busy = lock_settings_write_named(mutex_.c_str());
    ASSERT_FALSE(busy.ok());
    EXPECT_EQ(busy.failure(), make_app_error(TextId::error_settings_busy));
    SetEvent(release_.get());
    EXPECT_EQ(wait_for_exit(child_), 0);
    EXPECT_TRUE(lock_settings_write_named(mutex_.c_str()).ok());
}

TEST_F(HeldElsewhere, AHolderThatEndedWithoutReleasingGivesTheLockAtOnce) {
    // Keeps the mutex object alive after the child is gone.
    win::UniqueHandle keep(CreateMutexW(nullptr, FALSE, mutex_.c_str()));
    TerminateProcess(child_.get(), 9);
    ASSERT_EQ(wait_for_exit(child_), 9);
    auto lock = lock_settings_write_named(mutex_.c_str());
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
