#pragma once
// Windows the composed loupe cannot show through the compositor's thumbnail
// visuals (the taskbar, and those it refuses) are captured with
// Windows.Graphics.Capture into a composition surface that every band
// shows. Frames are not copied where they arrive: a free-threaded handler
// only posts one message at a time, and the user-interface thread drains
// the pools.

#include <windows.h>
#include <dcomp.h>

#include <array>
#include <memory>
#include <optional>
#include <string>

#include "app/presentation/capture_interfaces.h"
#include "app/win/com.h"
#include "core/base/result.h"

namespace glimmerly {

struct ComposedLoupe;

// One per band of the composed loupe.
inline constexpr std::size_t kLoupeBandCount = 5;

struct LoupeCapture {
    std::array<win::ComPtr<IDCompositionVisual2>, kLoupeBandCount> visuals;
    win::ComPtr<wgc::IGraphicsCaptureItem> item;
    win::ComPtr<wgc::IDirect3DDevice> device;
    win::ComPtr<wgc::IDirect3D11CaptureFramePool> pool;
    win::ComPtr<wgc::IGraphicsCaptureSession> session;
    win::ComPtr<IDCompositionSurface> surface;
    HWND window = nullptr;
    std::optional<wgc::EventRegistrationToken> token;
    // The size the surface and the pool were made for.
    wgc::SizeInt32 frame_size{0, 0};
    // The surface's own size (never below 1 x 1).
    wgc::SizeInt32 surface_size{0, 0};

    LoupeCapture() = default;
    LoupeCapture(const LoupeCapture&) = delete;
    LoupeCapture& operator=(const LoupeCapture&) = delete;
    // The handler unregistered, the session and the pool closed.
    ~LoupeCapture();
};

// Starts capturing `window`, posting frame messages to `event_window`, and
// waits up to 100 ms for its first frame. Nothing is kept on failure.
Result<std::unique_ptr<LoupeCapture>> create_loupe_capture(HWND window, HWND event_window, ID3D11Device& device,
                                                           ID3D11DeviceContext& context,
                                                           IDCompositionDesktopDevice& composition);

// Copies the newest waiting frame into the capture's surface; older frames
// are closed unread. Answers whether a frame was taken.
Result<bool> drain_loupe_frame_pool(LoupeCapture& capture, IDCompositionDesktopDevice& composition,
                                    ID3D11DeviceContext& context);
// Every capture of the loupe drained, then one Commit when anything was taken.
// An error is said once per process and otherwise dropped.
void drain_composed_loupe_frames(ComposedLoupe& composed);

// The FrameArrived handler: answers IUnknown, its delegate interface and
// IAgileObject, and posts WM_APP_LOUPE_FRAME_ARRIVED to `window` when none
// is pending.
win::ComPtr<wgc::IFrameArrivedHandler> make_frame_arrived_handler(HWND window);
// What the handler does on a system thread: set the pending flag, post when
// it was clear, and clear it again when the post fails.
void loupe_frame_arrived(HWND window) noexcept;
// The drains' first step.
void clear_loupe_frame_pending() noexcept;
bool loupe_frame_pending() noexcept;

// "Loupe: a window left out (<text>)" on standard error, the first time in
// the process only.
void report_window_left_out(const std::string& text);

}  // namespace glimmerly
