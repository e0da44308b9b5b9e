#include "app/demo/demo_surface.h"

#include <chrono>

#include "app/render/capture_region.h"
#include "app/render/renderer_resources.h"
#include "app/render/text_formats.h"
#include "app/session/image_save.h"
#include "app/win/failure.h"
#include "app/win/paths.h"
#include "ui/capture/editor_window_part.h"
#include "ui/view/frame_renderer.h"

namespace glimmerly {

Failure demo_gdi_failure(std::string_view what) { return win::self_check_failure(what); }

Result<DemoSurface> make_demo_surface(std::uint32_t width, std::uint32_t height) {
    const auto w = static_cast<std::int32_t>(width), h = static_cast<std::int32_t>(height);
    if (w <= 0 || h <= 0) return invalid_input("Invalid surface dimensions");
    DemoSurface surface;
    SetLastError(0);
    surface.screen = win::WindowDc::of(nullptr);
    if (!surface.screen) return demo_gdi_failure("GetDC");
    surface.memory.reset(CreateCompatibleDC(surface.screen.get()));
    if (!surface.memory) return demo_gdi_failure("CreateCompatibleDC");
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    surface.dib.reset(CreateDIBSection(surface.screen.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!surface.dib || !bits) return demo_gdi_failure("CreateDIBSection");
    surface.selection = win::SelectedObject(surface.memory.get(), surface.dib.get());
    if (!surface.selection.selected()) return demo_gdi_failure("SelectObject");
    surface.bits = static_cast<std::uint8_t*>(bits);
    surface.width = width;
    surface.height = height;
    return surface;
}

BgraImage opaque_copy(const DemoSurface& surface) {
    GdiFlush();
    const std::size_t size = std::size_t{surface.width} * surface.height * 4;
    BgraImage image{std::vector<std::uint8_t>(surface.bits, surface.bits + size), surface.width, surface.height};
    for (std::size_t i = 3; i < size; i += 4) image.pixels[i] = 255;
    return image;
}

namespace {

Status give_made_renderer(EditorState& state, Result<std::unique_ptr<RendererResources>> made) {
    if (!made) return std::move(made).failure();
    GLIM_TRY(set_background_image(**made, state.frozen_frame));
    editor_window_part(state).renderer.resources = std::move(*made);
    return ok_status();
}

}  // namespace

Status give_demo_renderer(EditorState& state) {
    return give_made_renderer(state, create_renderer_resources(false, false));
}

Status give_demo_renderer(EditorState& state, const RendererResources& sharing) {
    return give_made_renderer(state, create_renderer_resources(false, false, sharing));
}

Result<BgraImage> render_view_at(EditorState& state, std::uint32_t width, std::uint32_t height) {
    if (!editor_window_part(state).renderer.resources) GLIM_TRY(give_demo_renderer(state));
    auto surface = make_demo_surface(width, height);
    if (!surface) return std::move(surface).failure();
    GLIM_TRY(render_frame(state, surface->memory.get(), FrameOptions{.now = ChromeClock::now()}));
    return opaque_copy(*surface);
}

Result<BgraImage> render_view_image(EditorState& state) { return render_view_at(state, 1100, 680); }
Result<BgraImage> render_small_view_image(EditorState& state) { return render_view_at(state, 640, 360); }
Result<BgraImage> render_large_view_image(EditorState& state) { return render_view_at(state, 2200, 1360); }

Status draw_demo_captions(RendererResources& resources, std::span<const DemoCaption> captions) {
    for (const DemoCaption& caption : captions) {
        auto format = ui_text_format(resources, caption.size, current_language());
        if (!format) return std::move(format).failure();
        GLIM_TRY(draw_text_in_rect(resources.dc_target.get(), caption.text, caption.rect, format->get(),
                                   TextColour{caption.colour, 1.0f}));
    }
    return ok_status();
}

std::wstring sibling_path(const std::wstring& path, std::wstring_view name) {
    return win::join_path(win::folder_of(path), name);
}

Status save_demo_picture(const BgraImage& picture, const std::wstring& path) {
    return save_image_atomically(picture, path, ImageFormat::Png);
}

}  // namespace glimmerly
