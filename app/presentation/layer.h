#pragma once
// The click-through layered windows presentation mode paints over the
// desktop: each owns a premultiplied 32-bit picture and a Direct2D target
// bound to it, and is pushed to the screen whole or by its changed part.

#include <windows.h>
#include <d2d1.h>
#include <dwrite.h>

#include <cstdint>
#include <memory>
#include <optional>

#include "app/app/tray_icon.h"
#include "app/presentation/broadcast_mirror.h"
#include "app/image/screen_grab.h"
#include "app/render/renderer_resources.h"
#include "core/base/pixel_rect.h"
#include "core/base/result.h"
#include "core/document/scene_object.h"

namespace glimmerly {

inline constexpr wchar_t PRESENTATION_WINDOW_CLASS[] = L"Glimmerly.Presentation";
inline constexpr wchar_t PRESENTATION_WINDOW_TITLE[] = L"Glimmerly presentation";
// Layered, click-through, topmost, out of the taskbar, never activated.
inline constexpr DWORD kPresentationLayerStyle =
    WS_EX_LAYERED | WS_EX_TRANSPARENT | WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE;

// What the shapes and the keys-and-mouse display draw with, made once per
// layer so that a pass creates nothing. Coordinates of the device outlines
// are design units times the design scale.
struct LayerDrawing {
    win::ComPtr<ID2D1PathGeometry> enter_outline;
    win::ComPtr<ID2D1PathGeometry> left_button;
    win::ComPtr<ID2D1PathGeometry> right_button;
    float design_scale = 1.0f;
    bool keyboard = true;
    bool mouse = true;
    win::ComPtr<IDWriteTextFormat> large_text;
    win::ComPtr<IDWriteTextFormat> small_text;
    // The unit triangle (0, 0), (-1, -0.45), (-1, 0.45): tip at the origin, pointing along +x.
    win::ComPtr<ID2D1PathGeometry> arrowhead;
    // Draws a translucent arrow in one piece, so that shaft and head never overlap darker.
    win::ComPtr<ID2D1Layer> fade_layer;
};

// The window goes first and the Direct2D objects last, against the order
// they are made in: the window must stop reaching its state before the
// picture it shows is taken apart.
struct PresentationLayer {
    std::unique_ptr<RendererResources> resources;
    win::ComPtr<ID2D1SolidColorBrush> brush;
    LayerDrawing drawing;
    DibSurface surface;
    OwnedWindow window;
    // What the current pass changed, and the previous pass, in layer pixels.
    std::optional<Box> dirty;
    std::optional<Box> previous_dirty;
    std::int32_t width = 0;
    std::int32_t height = 0;
    // The last position given to SetWindowPos: a move to it is skipped.
    std::optional<PixelPoint> position;
    bool shown = false;
    // A layered window shows nothing before its first whole picture.
    bool pushed = false;
    // The system refused a push of only the changed part; whole pictures
    // from then on (the same pixels, more of them).
    bool whole_pushes = false;
    // Last, so that it goes first: the slot is given back while the window
    // it names still exists.
    MirrorLink mirror;
};

using LayerPointer = std::unique_ptr<PresentationLayer>;

// The presentation windows' procedure; `state_cell` is their creation
// parameter and lives in GWLP_USERDATA.
LRESULT CALLBACK presentation_window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) noexcept;

// A hidden layer window at (x, y) with its picture and drawing objects; on
// any failure nothing is kept.
Result<LayerPointer> create_presentation_layer(std::int32_t x, std::int32_t y, std::int32_t width,
                                               std::int32_t height, void* state_cell);
// The same for the keys-and-mouse display, whose outlines and texts follow
// what it shows. Its drawing objects come from the factories of `sharing`
// when given (see create_renderer_resources).
Result<LayerPointer> create_device_layer(std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height,
                                         bool keyboard, bool mouse, void* state_cell,
                                         const RendererResources* sharing = nullptr);
// Its two halves. The window and its picture alone can already be shown
// (`present_plain_layer`); making the Direct2D objects is the slow half.
Result<LayerPointer> create_bare_layer(std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height,
                                       void* state_cell);
Status create_layer_drawing(PresentationLayer& layer, bool keyboard, bool mouse,
                            const RendererResources* sharing = nullptr);

// The target bound to the whole picture, drawing begun and cleared.
Status begin_layer_draw(PresentationLayer& layer, D2D1_COLOR_F clear = D2D1::ColorF(0, 0, 0, 0));
// Ends the draw and pushes the whole picture to the window.
Status present_layer(PresentationLayer& layer);
// Every pixel of the picture set to `pixel` (premultiplied BGRA, blue in the
// low byte) and pushed as `present_layer` pushes it; Direct2D is not used.
Status present_plain_layer(PresentationLayer& layer, std::uint32_t pixel);
// Pushes only `rect` of the picture (layer pixels); nothing for an empty one.
Status push_dirty_rect(PresentationLayer& layer, const PixelRect& rect);

// Moves the window when the position differs from the last one given.
Status move_layer(PresentationLayer& layer, PixelPoint position);
// Shows the window once, without activating it.
void show_layer(PresentationLayer& layer);

}  // namespace glimmerly
