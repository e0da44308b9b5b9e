#include "app/lib/settings_lock.h"

#include "app/lib/mutex_names.h"
#include "app/win/failure.h"
#include "text/app_error.h"

namespace glimmerly {

Result<win::HeldMutex> lock_settings_write() { return lock_settings_write_named(SETTINGS_WRITE_MUTEX); }

Result<win::HeldMutex> lock_settings_write_named(const wchar_t* mutex_name) {
    win::UniqueHandle mutex(CreateMutexW(nullptr, FALSE, mutex_name));
    if (!mutex) return win::win32_failure("CreateMutexW", mutex_name);
    const DWORD wait = WaitForSingleObject(mutex.get(), SETTINGS_LOCK_WAIT_MS);
    if (wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED) return win::HeldMutex(mutex.release());
    return make_app_error(TextId::error_settings_busy);
}

}  // namespace glimmerly
