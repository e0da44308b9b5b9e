#pragma once
// A grab of one monitor by DXGI desktop duplication: the desktop image as
// the compositor presents it, without the GDI read-back, on a worker thread.

#include <windows.h>
#include <d3d11.h>

#include <chrono>

#include "core/base/result.h"
#include "core/image/bgra_image.h"

namespace glimmerly {

inline constexpr std::int32_t DXGI_NOT_FOUND_CODE = static_cast<std::int32_t>(0x887A0002u);
inline constexpr std::int32_t DXGI_UNSUPPORTED_CODE = static_cast<std::int32_t>(0x887A0004u);
inline constexpr std::int32_t DXGI_WAS_STILL_DRAWING_CODE = static_cast<std::int32_t>(0x887A000Au);
inline constexpr std::int32_t DXGI_NOT_CURRENTLY_AVAILABLE_CODE = static_cast<std::int32_t>(0x887A0022u);
inline constexpr std::int32_t DXGI_WAIT_TIMEOUT_CODE = static_cast<std::int32_t>(0x887A0027u);

// How long a grab waits for the compositor to present a frame.
inline constexpr std::chrono::milliseconds DUPLICATION_DEADLINE{500};

// The failures by which duplication says it cannot run here at all (not
// implemented, unsupported by the driver, a remote or locked session), as
// opposed to a grab that failed: the caller may take another way.
bool duplication_unavailable(std::int32_t code);

// The monitor's picture, upright. The DXGI and Direct3D entry points are
// looked up at run time; a system without them answers E_NOTIMPL, which
// counts as unavailable. The monitor must be attached to the desktop; when no output shows it any more the
// failure is DXGI_ERROR_NOT_FOUND "The game monitor is no longer available".
Result<BgraImage> grab_monitor_by_duplication(HMONITOR monitor);

// One acquired frame copied through a CPU-readable staging texture, rotated
// upright. Waits for the copy at most until `deadline`.
Result<BgraImage> copy_duplicated_frame(ID3D11Device& device, ID3D11DeviceContext& context,
                                        ID3D11Texture2D& frame, UINT rotation,
                                        std::chrono::steady_clock::time_point deadline);

}  // namespace glimmerly
