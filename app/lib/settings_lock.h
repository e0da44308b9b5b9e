#pragma once
// The cross-process write lock of the settings file. Every write, in every
// process of the program, holds it from reading the current file to
// replacing it, so that writers of different fields never lose each other's
// changes.

#include <windows.h>

#include "app/win/owners.h"
#include "core/base/result.h"

namespace glimmerly {

inline constexpr DWORD SETTINGS_LOCK_WAIT_MS = 2000;

// Waits up to SETTINGS_LOCK_WAIT_MS. A mutex whose holder ended without
// releasing it is taken at once. A lock still held elsewhere gives the
// application error "error.settings_busy".
Result<win::HeldMutex> lock_settings_write();

// The same with another mutex: tests hold a lock of their own past the wait,
// where the real one would stall the other test processes writing settings.
Result<win::HeldMutex> lock_settings_write_named(const wchar_t* mutex_name);

}  // namespace glimmerly
