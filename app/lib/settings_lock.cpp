#include "app/lib/settings_lock.h"

#include "app/lib/mutex_names.h"
#include "app/win/failure.h"
#include "text/app_error.h"

namespace glimmerly {

Result<win::HeldMutex> lock_settings_write() { return lock_settings_write_named(SETTINGS_WRITE_MUTEX); }

Result<win::HeldMutex> lock_settings_write_named(const wchar_t* mutex_name) {
    win::UniqueHandle mutex(CreateMutexW(nullptr, FALSE, mutex_name));
    if (!mutex) return win::win32_failure("CreateMutexW", mutex_name);
    auto held = wait_for_mutex(std::move(mutex), SETTINGS_LOCK_WAIT_MS);
    if (!held) return std::move(held).failure();
    if (!*held) return make_app_error(TextId::error_settings_busy);
    return std::move(**held);
}

Result<std::optional<win::HeldMutex>> wait_for_mutex(win::UniqueHandle mutex, DWORD wait_ms) {
    switch (WaitForSingleObject(mutex.get(), wait_ms)) {
        case WAIT_OBJECT_0:
        case WAIT_ABANDONED:
            return std::optional<win::HeldMutex>(win::HeldMutex(mutex.release()));
        case WAIT_TIMEOUT:
            return std::optional<win::HeldMutex>();
        default:
            return win::win32_failure("WaitForSingleObject");
    }
}

}  // namespace glimmerly
