#pragma once
// The cross-process write lock of the settings file. Every write, in every
// process of the program, holds it from reading the current file to
// replacing it, so that writers of different fields never lose each other's
// changes.

#include <windows.h>

#include <optional>

#include "app/win/owners.h"
#include "core/base/result.h"

namespace glimmerly {

inline constexpr DWORD SETTINGS_LOCK_WAIT_MS = 2000;

// Waits up to SETTINGS_LOCK_WAIT_MS. A mutex whose holder ended without
// releasing it is taken at once. A lock still held elsewhere gives the
// application error "error.settings_busy"; a wait that failed gives its
// Win32 failure.
Result<win::HeldMutex> lock_settings_write();

// The same with another mutex: tests hold a lock of their own past the wait,
// where the real one would stall the other test processes writing settings.
Result<win::HeldMutex> lock_settings_write_named(const wchar_t* mutex_name);

// A bounded wait for a mutex already opened: held (also when its holder
// ended without releasing it), none when another holder kept it past the
// wait, or the failure of the wait itself.
Result<std::optional<win::HeldMutex>> wait_for_mutex(win::UniqueHandle mutex, DWORD wait_ms);

}  // namespace glimmerly
