#pragma once
// The common controls' window-subclassing calls, found in the library when a
// control first needs them instead of imported by the program. Importing
// the library loads it into every process at start, the resident included,
// and Wine's copy then draws its three tooltip icons at 256 x 256: 0.75 MiB
// of an idle resident that never subclasses a window.

#include <windows.h>
#include <commctrl.h>

#include "core/base/result.h"

namespace glimmerly::win {

struct SubclassCalls {
    BOOL(WINAPI* set)(HWND, SUBCLASSPROC, UINT_PTR, DWORD_PTR) = nullptr;
    BOOL(WINAPI* remove)(HWND, SUBCLASSPROC, UINT_PTR) = nullptr;
    LRESULT(WINAPI* call_next)(HWND, UINT, WPARAM, LPARAM) = nullptr;
};

// Loads the library once per process and keeps it to the end, so that the
// calls stay valid for as long as anything holds them.
Result<SubclassCalls> load_subclass_calls();

}  // namespace glimmerly::win
