#pragma once
// The capture editor's mouse cursors as handles: the system's own, shared
// and never destroyed, and the ones the editor draws (crosshairs, the
// text-insertion I-beam), made once per kind and size and owned here until
// the capture ends. A cursor moves with every pointer message; building one
// each time would cost a DIB section and an icon per move.

#include <windows.h>

#include <cstdint>
#include <map>
#include <utility>

#include "app/win/owners.h"
#include "core/base/result.h"
#include "core/editor/cursor_choice.h"

namespace glimmerly {

class CursorCache {
public:
    // The cursor for the choice, a drawn one `size` pixels square.
    Result<HCURSOR> cursor(CursorId id, std::uint32_t size);

private:
    std::map<std::pair<CursorImageKind, std::uint32_t>, win::UniqueCursor> made_;
};

// The size the system draws cursors at on the window's monitor.
std::uint32_t cursor_size_for(HWND window);

}  // namespace glimmerly
