#pragma once
// "--loupe-diagnostic": the presentation mode's loupe on the real desktop,
// judged by screen grabs against probe windows of a known picture. Whether
// it shows exactly the magnified pixels at zooms 2, 3 and 4 in the middle
// and at the right edge of a monitor, leaves out the windows it is told to
// and those kept from captures, fades softly at its rim, shows a framed
// window and the taskbar, leaves no window behind, follows a moving point
// about as fast as a plain window, and costs little while it stands still.
// Writes "target/loupe-diagnostics.txt" and "target/loupe-edge-zoom.png",
// prints the report, and fails with the list of what was wrong.

#include "core/base/result.h"

namespace glimmerly {

inline constexpr wchar_t LOUPE_REPORT[] = L"target\\loupe-diagnostics.txt";
inline constexpr wchar_t LOUPE_EDGE_PICTURE[] = L"target\\loupe-edge-zoom.png";

Status run_loupe_diagnostic();

}  // namespace glimmerly
