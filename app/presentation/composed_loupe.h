#pragma once
// The loupe drawn by the compositor with a soft round edge: five concentric
// bands, each showing the same live pictures of the windows beneath (the
// compositor's thumbnail visuals, or captured frames where it refuses),
// clipped to a circle one pixel wider than the band inside it and more
// transparent, so the edge fades out over four pixels.

#include <windows.h>
#include <d3d11.h>
#include <dcomp.h>
#include <dwmapi.h>

#include <memory>
#include <vector>

#include "app/presentation/loupe_capture.h"
#include "app/win/com.h"
#include "core/base/result.h"
#include "core/presentation/loupe_bands.h"
#include "core/presentation/loupe_geometry.h"

namespace glimmerly {

struct LoupeSourceEntry {
    LoupeEntryKind kind = LoupeEntryKind::Nothing;
    HTHUMBNAIL thumbnail = 0;  // a thumbnail visual's handle
    win::ComPtr<IDCompositionVisual> visual;
    HWND window = nullptr;
};

struct LoupeBand {
    // Bottom-most window first: position k matches placement k.
    std::vector<LoupeSourceEntry> entries;
    // Thumbnail entries of windows that left, oldest first.
    std::vector<LoupeSourceEntry> retired;
    win::ComPtr<IDCompositionVisual2> band_visual;     // carries the round clip
    win::ComPtr<IDCompositionVisual2> content_visual;  // carries the opacity
    win::ComPtr<IDCompositionRectangleClip> clip;
};

struct ComposedLoupe {
    std::vector<LoupeBand> bands;
    std::vector<std::unique_ptr<LoupeCapture>> captures;
    std::vector<HWND> refused;
    FARPROC thumbnail_visual_export = nullptr;
    win::ComPtr<ID3D11Device> device;
    win::ComPtr<ID3D11DeviceContext> context;
    win::ComPtr<IDCompositionDesktopDevice> composition;
    win::ComPtr<IDCompositionTarget> target;
    win::ComPtr<IDCompositionVisual2> root;
    HWND window = nullptr;
    // Where captured frames are announced: the loupe's event window.
    HWND event_window = nullptr;
    std::uint32_t drawn_diameter = 0;

    ComposedLoupe() = default;
    ComposedLoupe(const ComposedLoupe&) = delete;
    ComposedLoupe& operator=(const ComposedLoupe&) = delete;
    ~ComposedLoupe();
};

// The tree on a window made without a redirection bitmap.
Result<std::unique_ptr<ComposedLoupe>> build_composed_loupe(HWND window, HWND event_window, FARPROC export_147);

// Shows the windows beneath for the destination and source squares. A
// failure means the composed drawing cannot go on: the loupe draws in bands.
Status update_composed_loupe(ComposedLoupe& composed, const PixelRect& destination, const PixelRect& source,
                             std::int32_t zoom, const std::vector<LoupeCandidate>& beneath);

}  // namespace glimmerly
