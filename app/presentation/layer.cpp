#include "app/presentation/layer.h"

#include <algorithm>
#include <cmath>
#include <iterator>

#include "app/render/text_formats.h"
#include "app/win/failure.h"
#include "core/presentation/device_placement.h"
#include "text/text_table.h"

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

std::size_t picture_length(const PresentationLayer& layer) {
    return std::size_t(layer.surface.width) * std::size_t(layer.surface.height) * 4;
}

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

// Only `rect` to the window, unless it has no whole picture yet or the
// system refused a partial push before.
Status push_changed_part(PresentationLayer& layer, const PixelRect& rect) {
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

Status flush_gdi() {
    // GdiFlush answers FALSE also when nothing was batched; only a set last
    // error tells a failure.
    SetLastError(0);
    if (!GdiFlush() && GetLastError() != 0) return win::win32_failure("GdiFlush");
    return ok_status();
}

// The whole picture to the window, and to the mirror what this pass and the
// one before it changed.
Status push_picture(PresentationLayer& layer) {
    GLIM_TRY(flush_gdi());
    GLIM_TRY(push_whole(layer));
    const PixelRect region = mirror_region(layer.dirty, layer.previous_dirty, layer.width, layer.height);
    layer.previous_dirty = std::exchange(layer.dirty, std::nullopt);
    mirror_layer_to_broadcast(layer, MirrorPixels{layer.surface.bits, picture_length(layer), region});
    return ok_status();
}

Result<win::ComPtr<IDWriteTextFormat>> create_layer_text_format(RendererResources& resources, float size) {
    auto format = new_ui_text_format(resources, size, DWRITE_FONT_WEIGHT_SEMI_BOLD, current_language());
    if (!format) return format;
    (*format)->SetTextAlignment(DWRITE_TEXT_ALIGNMENT_CENTER);
    (*format)->SetParagraphAlignment(DWRITE_PARAGRAPH_ALIGNMENT_CENTER);
    (*format)->SetWordWrapping(DWRITE_WORD_WRAPPING_NO_WRAP);
    return format;
}

// Draws a figure into a new path geometry; `figure` gets the open sink.
template <class Draw>
Result<win::ComPtr<ID2D1PathGeometry>> build_path(ID2D1Factory* factory, Draw figure) {
    win::ComPtr<ID2D1PathGeometry> path;
    GLIM_TRY(made(factory->CreatePathGeometry(path.put()), path, "CreatePathGeometry"));
    win::ComPtr<ID2D1GeometrySink> sink;
    GLIM_TRY(made(path->Open(sink.put()), sink, "ID2D1PathGeometry::Open"));
    figure(sink.get());
    if (HRESULT hr = sink->Close(); FAILED(hr)) return win::hr_failure(hr, "ID2D1GeometrySink::Close");
    return path;
}

D2D1_POINT_2F scaled(double x, double y, float s) { return D2D1::Point2F(float(x) * s, float(y) * s); }

// The L-shaped ISO Enter, every corner rounded by 1.5 units.
void enter_figure(ID2D1GeometrySink* sink, float s) {
    const D2D1_POINT_2F corners[] = {{251, 53}, {275, 53}, {275, 86}, {255.5f, 86}, {255.5f, 68}, {251, 68}};
    constexpr int n = 6;
    const auto toward = [](D2D1_POINT_2F from, D2D1_POINT_2F to, float by) {
        const float dx = to.x - from.x, dy = to.y - from.y;
        const float length = std::sqrt(dx * dx + dy * dy);
        return D2D1::Point2F(from.x + dx / length * by, from.y + dy / length * by);
    };
    const auto at = [&](D2D1_POINT_2F p) { return scaled(p.x, p.y, s); };
    sink->BeginFigure(at(toward(corners[0], corners[n - 1], 1.5f)), D2D1_FIGURE_BEGIN_FILLED);
    for (int i = 0; i < n; ++i) {
        const D2D1_POINT_2F corner = corners[i];
        const D2D1_POINT_2F before = toward(corner, corners[(i + n - 1) % n], 1.5f);
        const D2D1_POINT_2F after = toward(corner, corners[(i + 1) % n], 1.5f);
        sink->AddLine(at(before));
        sink->AddQuadraticBezier(D2D1::QuadraticBezierSegment(at(corner), at(after)));
    }
    sink->EndFigure(D2D1_FIGURE_END_CLOSED);
}

// A mouse button; the right one is the left mirrored about x = 479.
void button_figure(ID2D1GeometrySink* sink, float s, float offset, bool right) {
    const auto at = [&](double x, double y) { return scaled((right ? 958 - x : x) + offset, y, s); };
    sink->BeginFigure(at(478, 25), D2D1_FIGURE_BEGIN_FILLED);
    sink->AddBezier(D2D1::BezierSegment(at(465, 25), at(456, 35), at(456, 48)));
    sink->AddLine(at(456, 63));
    sink->AddQuadraticBezier(D2D1::QuadraticBezierSegment(at(456, 66), at(459, 66)));
    sink->AddLine(at(473, 66));
    sink->AddQuadraticBezier(D2D1::QuadraticBezierSegment(at(476, 66), at(476, 63)));
    sink->AddLine(at(476, 38));
    sink->AddBezier(D2D1::BezierSegment(at(476, 33), at(478, 33), at(478, 29)));
    sink->EndFigure(D2D1_FIGURE_END_CLOSED);
}

Status build_layer_drawing(PresentationLayer& layer, bool keyboard, bool mouse) {
    LayerDrawing& drawing = layer.drawing;
    RendererResources& resources = *layer.resources;
    ID2D1Factory* factory = resources.d2d_factory.get();
    const float s = static_cast<float>(layer.width / device_base_width(keyboard, mouse));
    drawing.design_scale = s;
    drawing.keyboard = keyboard;
    drawing.mouse = mouse;
    auto large = create_layer_text_format(resources, 11 * s);
    if (!large) return std::move(large).failure();
    drawing.large_text = std::move(*large);
    auto small = create_layer_text_format(resources, 7.5f * s);
    if (!small) return std::move(small).failure();
    drawing.small_text = std::move(*small);
    const float offset = keyboard ? 0.0f : -443.0f;
    auto enter = build_path(factory, [&](ID2D1GeometrySink* sink) { enter_figure(sink, s); });
    if (!enter) return std::move(enter).failure();
    drawing.enter_outline = std::move(*enter);
    auto left = build_path(factory, [&](ID2D1GeometrySink* sink) { button_figure(sink, s, offset, false); });
    if (!left) return std::move(left).failure();
    drawing.left_button = std::move(*left);
    auto right = build_path(factory, [&](ID2D1GeometrySink* sink) { button_figure(sink, s, offset, true); });
    if (!right) return std::move(right).failure();
    drawing.right_button = std::move(*right);
    auto head = build_path(factory, [](ID2D1GeometrySink* sink) {
        sink->BeginFigure(D2D1::Point2F(0, 0), D2D1_FIGURE_BEGIN_FILLED);
        sink->AddLine(D2D1::Point2F(-1, -0.45f));
        sink->AddLine(D2D1::Point2F(-1, 0.45f));
        sink->EndFigure(D2D1_FIGURE_END_CLOSED);
    });
    if (!head) return std::move(head).failure();
    drawing.arrowhead = std::move(*head);
    return made(resources.dc_target->CreateLayer(nullptr, drawing.fade_layer.put()), drawing.fade_layer, "CreateLayer");
}

}  // namespace

Result<LayerPointer> create_presentation_layer(std::int32_t x, std::int32_t y, std::int32_t width,
                                               std::int32_t height, void* state_cell) {
    return create_device_layer(x, y, width, height, true, true, state_cell);
}

Result<LayerPointer> create_device_layer(std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height,
                                         bool keyboard, bool mouse, void* state_cell,
                                         const RendererResources* sharing) {
    auto layer = create_bare_layer(x, y, width, height, state_cell);
    if (!layer) return layer;
    GLIM_TRY(create_layer_drawing(**layer, keyboard, mouse, sharing));
    return layer;
}

Result<LayerPointer> create_bare_layer(std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height,
                                       void* state_cell) {
    GLIM_TRY(register_presentation_class());
    auto layer = std::make_unique<PresentationLayer>();
    layer->window.reset(CreateWindowExW(kPresentationLayerStyle, PRESENTATION_WINDOW_CLASS, PRESENTATION_WINDOW_TITLE,
                                        WS_POPUP, x, y, width, height, nullptr, nullptr, GetModuleHandleW(nullptr),
                                        state_cell));
    if (!layer->window) return win::win32_failure("CreateWindowExW", PRESENTATION_WINDOW_CLASS);
    auto surface = create_dib_surface(static_cast<std::uint32_t>(width), static_cast<std::uint32_t>(height));
    if (!surface) return std::move(surface).failure();
    layer->surface = std::move(*surface);
    layer->width = width;
    layer->height = height;
    return layer;
}

Status create_layer_drawing(PresentationLayer& layer, bool keyboard, bool mouse, const RendererResources* sharing) {
    auto resources =
        sharing ? create_renderer_resources(false, true, *sharing) : create_renderer_resources(false, true);
    if (!resources) return std::move(resources).failure();
    layer.resources = std::move(*resources);
    GLIM_TRY(made(layer.resources->dc_target->CreateSolidColorBrush(D2D1::ColorF(1, 1, 1, 1), layer.brush.put()),
                  layer.brush, "CreateSolidColorBrush"));
    return build_layer_drawing(layer, keyboard, mouse);
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
    return push_picture(layer);
}

Status present_plain_layer(PresentationLayer& layer, std::uint32_t pixel) {
    std::fill_n(reinterpret_cast<std::uint32_t*>(layer.surface.bits), picture_length(layer) / 4, pixel);
    return push_picture(layer);
}

Status push_dirty_rect(PresentationLayer& layer, const PixelRect& rect) {
    if (rect.right <= rect.left || rect.bottom <= rect.top) return ok_status();
    GLIM_TRY(flush_gdi());
    GLIM_TRY(push_changed_part(layer, rect));
    // The mirror's surface keeps the rest: only the changed part goes up,
    // whatever the window itself was given.
    const PixelRect inside{std::max(rect.left, 0), std::max(rect.top, 0), std::min(rect.right, layer.width),
                           std::min(rect.bottom, layer.height)};
    mirror_layer_to_broadcast(layer, MirrorPixels{layer.surface.bits, picture_length(layer), inside});
    return ok_status();
}

Status move_layer(PresentationLayer& layer, PixelPoint position) {
    if (layer.position == position) return ok_status();
    if (!SetWindowPos(layer.window.get(), HWND_TOPMOST, position.x, position.y, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE))
        return win::win32_failure("SetWindowPos", PRESENTATION_WINDOW_CLASS);
    layer.position = position;
    mirror_layer_to_broadcast(layer, std::nullopt);
    return ok_status();
}

void show_layer(PresentationLayer& layer) {
    if (layer.shown) return;
    layer.shown = true;
    ShowWindow(layer.window.get(), SW_SHOWNOACTIVATE);
    mirror_layer_to_broadcast(layer, std::nullopt);
}

}  // namespace glimmerly
