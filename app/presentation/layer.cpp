#include "app/presentation/layer.h"

#include "app/win/failure.h"

namespace glimmerly {
namespace {

Status register_presentation_class() {
    WNDCLASSW window_class{};
    window_class.lpfnWndProc = presentation_window_proc;
    window_class.hInstance = GetModuleHandleW(nullptr);
    window_class.hCursor = LoadCursorW(nullptr, IDC_CROSS);
    window_class.lpszClassName = PRESENTATION_WINDOW_CLASS;
    if (!RegisterClassW(&window_class) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
        return win::win32_failure("RegisterClassW", PRESENTATION_WINDOW_CLASS);
    return ok_status();
}

BLENDFUNCTION layer_blend() { return {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA}; }

Status push_whole(PresentationLayer& layer) {
    SIZE size{layer.width, layer.height};
    POINT source{0, 0};
    BLENDFUNCTION blend = layer_blend();
    if (!UpdateLayeredWindow(layer.window.get(), layer.surface.screen.get(), nullptr, &size,
                             layer.surface.memory.get(), &source, 0, &blend, ULW_ALPHA))
        return win::win32_failure("UpdateLayeredWindow");
    layer.pushed = true;
    return ok_status();
}

Status flush_gdi() {
    // GdiFlush answers FALSE also when nothing was batched; only a set last
    // error tells a failure.
    SetLastError(0);
    if (!GdiFlush() && GetLastError() != 0) return win::win32_failure("GdiFlush");
    return ok_status();
}

}  // namespace

Result<LayerPointer> create_presentation_layer(std::int32_t x, std::int32_t y, std::int32_t width,
                                               std::int32_t height, void* state_cell) {
    GLIM_TRY(register_presentation_class());
    auto layer = std::make_unique<PresentationLayer>();
    layer->window.reset(CreateWindowExW(kPresentationLayerStyle, PRESENTATION_WINDOW_CLASS, PRESENTATION_WINDOW_TITLE,
                                        WS_POPUP, x, y, width, height, nullptr, nullptr, GetModuleHandleW(nullptr),
                                        state_cell));
    if (!layer->window) return win::win32_failure("CreateWindowExW", PRESENTATION_WINDOW_CLASS);
    auto resources = create_renderer_resources(false, true);
    if (!resources) return std::move(resources).failure();
    layer->resources = std::move(*resources);
    GLIM_TRY(made(layer->resources->dc_target->CreateSolidColorBrush(D2D1::ColorF(1, 1, 1, 1), layer->brush.put()),
                  layer->brush, "CreateSolidColorBrush"));
    auto surface = create_dib_surface(static_cast<std::uint32_t>(width), static_cast<std::uint32_t>(height));
    if (!surface) return std::move(surface).failure();
    layer->surface = std::move(*surface);
    layer->width = width;
    layer->height = height;
    return layer;
}

Status begin_layer_draw(PresentationLayer& layer, D2D1_COLOR_F clear) {
    ID2D1DCRenderTarget* target = layer.resources->dc_target.get();
    const RECT whole{0, 0, layer.width, layer.height};
    if (HRESULT hr = target->BindDC(layer.surface.memory.get(), &whole); FAILED(hr)) return win::hr_failure(hr, "BindDC");
    target->BeginDraw();
    target->SetTransform(D2D1::Matrix3x2F::Identity());
    target->Clear(clear);
    return ok_status();
}

Status present_layer(PresentationLayer& layer) {
    if (HRESULT hr = layer.resources->dc_target->EndDraw(); FAILED(hr)) return win::hr_failure(hr, "EndDraw");
    GLIM_TRY(flush_gdi());
    GLIM_TRY(push_whole(layer));
    layer.previous_dirty = std::exchange(layer.dirty, std::nullopt);
    return ok_status();
}

Status push_dirty_rect(PresentationLayer& layer, const PixelRect& rect) {
    if (rect.right <= rect.left || rect.bottom <= rect.top) return ok_status();
    GLIM_TRY(flush_gdi());
    if (layer.whole_pushes || !layer.pushed) return push_whole(layer);
    SIZE size{layer.width, layer.height};
    POINT source{0, 0};
    BLENDFUNCTION blend = layer_blend();
    const RECT dirty{rect.left, rect.top, rect.right, rect.bottom};
    UPDATELAYEREDWINDOWINFO info{sizeof info, layer.surface.screen.get(), nullptr, &size, layer.surface.memory.get(),
                                 &source, 0, &blend, ULW_ALPHA, &dirty};
    if (UpdateLayeredWindowIndirect(layer.window.get(), &info)) return ok_status();
    layer.whole_pushes = true;
    return push_whole(layer);
}

Status move_layer(PresentationLayer& layer, PixelPoint position) {
    if (layer.position == position) return ok_status();
    if (!SetWindowPos(layer.window.get(), HWND_TOPMOST, position.x, position.y, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE))
        return win::win32_failure("SetWindowPos", PRESENTATION_WINDOW_CLASS);
    layer.position = position;
    return ok_status();
}

void show_layer(PresentationLayer& layer) {
    if (layer.shown) return;
    layer.shown = true;
    ShowWindow(layer.window.get(), SW_SHOWNOACTIVATE);
}

}  // namespace glimmerly
