#pragma once
// What every demonstration picture shares: the off-screen surface it is
// drawn on (a top-down 32-bit DIB section in a memory DC compatible with the
// screen), the copy out of it made opaque, the editor view rendered through
// the editor's own frame renderer, and the save into the "target" folder.

#include <windows.h>

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "app/render/renderer_resources.h"
#include "app/win/owners.h"
#include "core/base/result.h"
#include "core/editor/editor_state.h"
#include "core/image/bgra_image.h"

namespace glimmerly {

// A GDI call that failed with the last error as an HRESULT. GDI does not
// always set an error: a last error of 0 still gives a failure, coded
// 0x535F4F4B so that a report shows it was not the system's.
inline constexpr std::int32_t kGdiNoErrorCode = 0x535F4F4B;  // win::kNoSystemErrorCode
Failure demo_gdi_failure(std::string_view what);

// Members in creation order, released in reverse: the DIB selected out and
// deleted, then the memory DC, then the screen DC.
struct DemoSurface {
    win::WindowDc screen;
    win::UniqueMemoryDc memory;
    win::UniqueBitmap dib;
    win::SelectedObject selection;
    std::uint8_t* bits = nullptr;
    std::uint32_t width = 0;
    std::uint32_t height = 0;
};

// The DIB's memory starts zeroed.
Result<DemoSurface> make_demo_surface(std::uint32_t width, std::uint32_t height);

// GdiFlush, then the pixels with every alpha byte 255: the renderers leave
// parts transparent that a picture file must not.
BgraImage opaque_copy(const DemoSurface& surface);

// Fresh renderer resources for an editor (no software rendering, no
// premultiplied alpha) with its frozen frame as the background.
Status give_demo_renderer(EditorState& state);
// The same through the factories of `sharing`.
Status give_demo_renderer(EditorState& state, const RendererResources& sharing);

// The editor's frame rendered off screen at a fixed size, every pixel opaque;
// an editor without renderer resources is given fresh ones first.
Result<BgraImage> render_view_at(EditorState& state, std::uint32_t width, std::uint32_t height);
Result<BgraImage> render_view_image(EditorState& state);        // 1100 x 680
Result<BgraImage> render_small_view_image(EditorState& state);  // 640 x 360
Result<BgraImage> render_large_view_image(EditorState& state);  // 2200 x 1360

// A caption of a picture, in the interface font (not the annotation font):
// it labels the picture, it is not an annotation.
struct DemoCaption {
    std::string_view text;
    float size;
    Rgb colour;
    Box rect;
};
// Into the resources' target, whose draw has begun, fully opaque.
Status draw_demo_captions(RendererResources& resources, std::span<const DemoCaption> captions);

// Another file of the folder that `path` names a file in.
std::wstring sibling_path(const std::wstring& path, std::wstring_view name);

// As PNG, replacing an earlier file.
Status save_demo_picture(const BgraImage& picture, const std::wstring& path);

}  // namespace glimmerly
