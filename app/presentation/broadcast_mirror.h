#pragma once
// The hidden window recording software captures: an off-screen popup of the
// virtual screen's size whose only content is a DirectComposition tree that
// repeats the presentation layers at their desktop places. It is made on the
// first layer that asks while the OBS mirror setting is on, shared by the
// state and every mirrored layer, and goes with its last holder. Its
// failures never reach the user: once a call fails it stops for good and the
// layers go on alone.

#include <windows.h>
#include <d3d11.h>
#include <dcomp.h>

#include <array>
#include <cstdint>
#include <memory>
#include <optional>

#include "app/app/tray_icon.h"
#include "app/win/com.h"
#include "core/base/pixel_rect.h"
#include "core/base/result.h"
#include "core/presentation/mirror_geometry.h"

namespace glimmerly {

struct PresentationState;
struct PresentationLayer;

inline constexpr wchar_t BROADCAST_WINDOW_CLASS[] = L"Glimmerly.Broadcast";
inline constexpr wchar_t BROADCAST_WINDOW_TITLE[] = L"Glimmerly overlay";

struct MirrorSlot {
    win::ComPtr<IDCompositionSurface> surface;  // absent until the first upload
    HWND owner = nullptr;                       // the layer window whose picture it holds
    std::uint32_t width = 0;
    std::uint32_t height = 0;
};

struct BroadcastMirror {
    win::ComPtr<ID3D11DeviceContext> context;
    win::ComPtr<IDCompositionDevice> device;
    win::ComPtr<IDCompositionTarget> target;
    win::ComPtr<IDCompositionVisual> root;
    std::array<win::ComPtr<IDCompositionVisual>, kMirrorSlotCount> visuals;
    OwnedWindow window;
    // The virtual screen's top-left when the mirror was made.
    std::int32_t origin_x = 0;
    std::int32_t origin_y = 0;
    bool in_use = false;
    std::array<MirrorSlot, kMirrorSlotCount> slots;
    bool failed = false;
    // What went to the GPU: uploads made and the pixels they carried.
    std::uint64_t uploads = 0;
    std::uint64_t uploaded_pixels = 0;

    BroadcastMirror() = default;
    BroadcastMirror(const BroadcastMirror&) = delete;
    BroadcastMirror& operator=(const BroadcastMirror&) = delete;
    ~BroadcastMirror();
};

// A layer's share of the mirror: the mirror and its slot. Dropping it gives
// the slot back (when its surface is this window's) and the reference.
struct MirrorLink {
    std::shared_ptr<BroadcastMirror> mirror;
    std::uint8_t slot = kNoMirrorSlot;
    HWND window = nullptr;

    MirrorLink() = default;
    MirrorLink(const MirrorLink&) = delete;
    MirrorLink& operator=(const MirrorLink&) = delete;
    ~MirrorLink();
    void reset() noexcept;
};

struct MirrorPixels {
    const std::uint8_t* pixels = nullptr;  // the layer's top-down premultiplied BGRA
    std::size_t length = 0;
    PixelRect region;  // layer pixels that changed
};

struct D3DDevice {
    win::ComPtr<ID3D11Device> device;
    win::ComPtr<ID3D11DeviceContext> context;
};

// The hardware device, else WARP, both with BGRA support.
Result<D3DDevice> create_mirror_d3d_device();

// The layer mirrored in `slot` when a mirror exists or can be made (the OBS
// mirror setting on), else slot 255. Never fails.
void attach_broadcast_mirror(PresentationState& state, PresentationLayer& layer, std::uint8_t slot);
// Brings the layer's place and visibility over, and its changed pixels when given.
void mirror_layer_to_broadcast(PresentationLayer& layer, const std::optional<MirrorPixels>& upload);
// The window destroyed, then every composition object released.
void destroy_broadcast_mirror(BroadcastMirror& mirror) noexcept;

}  // namespace glimmerly
