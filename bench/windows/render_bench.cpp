// Times the heavy drawing paths: one frame of a busy scene on the DC render
// target at 1920 x 1080 (with the stroke cache cold and warm), a whole editor
// frame (scene, overlay and toolbar) as the capture window paints it, the
// same frame presented through the capture window's own WM_PAINT, and the
// composition of a 3840 x 2160 capture with 100 objects and 5 blurs. Prints
// the median and the spread of repeated runs. The window paint is timed
// whole and for a small invalid rectangle (what a pointer move over a hover
// outline repaints), beside a stand-in: a plain Direct2D program drawing the
// same picture and shapes through a DC render target of its own into a back
// buffer, blitted to its window in its WM_PAINT; the two are painted in turns
// and their ratio printed. "--window-paint" runs that comparison alone.

#include <windows.h>
#include <d2d1.h>
#include <dwrite.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string_view>
#include <vector>

#include "app/app/editor_session.h"
#include "app/app/events.h"
#include "app/render/capture_region.h"
#include "app/win/failure.h"
#include "app/render/object_drawing.h"
#include "app/win/com.h"
#include "app/win/owners.h"
#include "bench/windows/timing.h"
#include "bench/support/mixed_scene.h"
#include "core/editor/capture_start.h"
#include "core/editor/monitor_views.h"
#include "core/editor/selection_edits.h"
#include "ui/capture/editor_window_part.h"
#include "ui/capture/frame_presenter.h"
#include "ui/view/frame_renderer.h"

namespace glimmerly {
namespace {

constexpr Box kSceneArea{0, 0, 3300, 3300};  // where mixed_scene puts its objects

std::vector<SceneObject> scene_in(std::size_t count, const Box& frame) {
    std::vector<SceneObject> objects = bench::mixed_scene(count);
    for (SceneObject& object : objects) map_object_to_bounds(object, kSceneArea, frame);
    return objects;
}

// Keeps the first `keep` blur objects; the others become rectangles.
void keep_blurs(std::vector<SceneObject>& objects, std::size_t keep) {
    for (SceneObject& object : objects) {
        if (object.kind() != ObjectKind::Blur) continue;
        if (keep > 0) {
            --keep;
            continue;
        }
        object.payload = RectanglePayload{*object_rect(object)};
        object.width = 3.0;
    }
}

BgraImage gradient(std::uint32_t width, std::uint32_t height) {
    BgraImage image{std::vector<std::uint8_t>(std::size_t{width} * height * 4), width, height};
    for (std::uint32_t y = 0; y < height; ++y)
        for (std::uint32_t x = 0; x < width; ++x) {
            std::uint8_t* p = &image.pixels[(std::size_t{y} * width + x) * 4];
            p[0] = static_cast<std::uint8_t>(x);
            p[1] = static_cast<std::uint8_t>(y);
            p[2] = static_cast<std::uint8_t>(x ^ y);
            p[3] = 255;
        }
    return image;
}

// A 60 Hz display shows a frame every 16.7 ms.
constexpr double kFrameBudgetMs = 1000.0 / 60.0;

void report(const char* name, std::vector<double> ms, bool against_budget) {
    std::sort(ms.begin(), ms.end());
    const double median = ms[ms.size() / 2];
    std::printf("%-44s median %8.2f ms   min %8.2f   max %8.2f   (%zu runs)", name, median, ms.front(), ms.back(),
                ms.size());
    if (against_budget) std::printf("   %.2f of a 60 Hz frame", median / kFrameBudgetMs);
    std::printf("\n");
}

// Milliseconds of each run; stops at the first failure.
bool time_runs(const char* name, int runs, const std::function<Status()>& run, bool against_budget = false) {
    std::vector<double> ms;
    for (int i = 0; i < bench::runs(runs); ++i) {
        const auto start = std::chrono::steady_clock::now();
        const Status status = run();
        const auto stop = std::chrono::steady_clock::now();
        if (!status) {
            std::printf("%s failed: 0x%08X %s\n", name, static_cast<unsigned>(status.failure().code),
                        status.failure().message.c_str());
            return false;
        }
        ms.push_back(std::chrono::duration<double, std::milli>(stop - start).count());
    }
    report(name, std::move(ms), against_budget);
    return true;
}

// A capture of the whole 1920 x 1080 screen in the program's own window,
// its procedure and handler, with a committed selection holding `objects`
// objects and the pointer resting on the picture; each run is one WM_PAINT
// sent by RedrawWindow, drawn into the back buffer and blitted.
// The stand-in's own drawing: the picture, each object as the plainest
// Direct2D call of its kind (paths and text made once, as the program caches
// them; a blur as a prepared bitmap), the shade as four rectangles, the
// selection's border and a toolbar-sized rounded panel.
class StandInFrame {
public:
    Status make(const BgraImage& picture, std::vector<SceneObject> objects, const Box& selection, HDC back) {
        objects_ = std::move(objects);
        selection_ = selection;
        back_ = back;
        width_ = picture.width;
        height_ = picture.height;
        GLIM_TRY(made(D2D1CreateFactory(D2D1_FACTORY_TYPE_SINGLE_THREADED, __uuidof(ID2D1Factory),
                                             nullptr, reinterpret_cast<void**>(factory_.put())), factory_,
                           "D2D1CreateFactory"));
        const auto properties = D2D1::RenderTargetProperties(
            D2D1_RENDER_TARGET_TYPE_DEFAULT, D2D1::PixelFormat(DXGI_FORMAT_B8G8R8A8_UNORM, D2D1_ALPHA_MODE_IGNORE));
        GLIM_TRY(made(factory_->CreateDCRenderTarget(&properties, target_.put()), target_,
                           "CreateDCRenderTarget"));
        const D2D1_BITMAP_PROPERTIES bitmap_properties =
            D2D1::BitmapProperties(D2D1::PixelFormat(DXGI_FORMAT_B8G8R8A8_UNORM, D2D1_ALPHA_MODE_IGNORE));
        GLIM_TRY(made(target_->CreateBitmap(D2D1::SizeU(width_, height_), picture.pixels.data(), width_ * 4,
                                                 bitmap_properties, picture_.put()), picture_, "CreateBitmap"));
        GLIM_TRY(made(target_->CreateBitmap(D2D1::SizeU(64, 64), picture.pixels.data(), width_ * 4,
                                                 bitmap_properties, blur_.put()), blur_, "CreateBitmap"));
        GLIM_TRY(made(target_->CreateSolidColorBrush(D2D1::ColorF(0.93f, 0.31f, 0.36f), brush_.put()), brush_,
                           "CreateSolidColorBrush"));
        GLIM_TRY(made(DWriteCreateFactory(DWRITE_FACTORY_TYPE_SHARED, __uuidof(IDWriteFactory),
                                               reinterpret_cast<IUnknown**>(dwrite_.put())), dwrite_,
                           "DWriteCreateFactory"));
        GLIM_TRY(made(dwrite_->CreateTextFormat(L"Roboto", nullptr, DWRITE_FONT_WEIGHT_MEDIUM,
                                                     DWRITE_FONT_STYLE_NORMAL, DWRITE_FONT_STRETCH_NORMAL, 24.0f,
                                                     L"en-us", text_.put()), text_, "CreateTextFormat"));
        for (const SceneObject& object : objects_) {
            const auto* stroke = std::get_if<StrokePayload>(&object.payload);
            if (!stroke) continue;
            win::ComPtr<ID2D1PathGeometry> path;
            win::ComPtr<ID2D1GeometrySink> sink;
            GLIM_TRY(made(factory_->CreatePathGeometry(path.put()), path, "CreatePathGeometry"));
            GLIM_TRY(made(path->Open(sink.put()), sink, "Open"));
            sink->BeginFigure(D2D1::Point2F(static_cast<float>(stroke->points[0].x),
                                            static_cast<float>(stroke->points[0].y)), D2D1_FIGURE_BEGIN_HOLLOW);
            for (const Point& p : stroke->points)
                sink->AddLine(D2D1::Point2F(static_cast<float>(p.x), static_cast<float>(p.y)));
            sink->EndFigure(D2D1_FIGURE_END_OPEN);
            GLIM_TRY(made(sink->Close(), sink, "Close"));
            paths_.push_back(std::move(path));
        }
        return ok_status();
    }

    Status draw() {
        const RECT rect{0, 0, static_cast<LONG>(width_), static_cast<LONG>(height_)};
        if (const HRESULT bound = target_->BindDC(back_, &rect); FAILED(bound)) return win::hr_failure(bound, "BindDC");
        ID2D1RenderTarget* t = target_.get();
        t->BeginDraw();
        t->DrawBitmap(picture_.get(), D2D1::RectF(0, 0, static_cast<float>(width_), static_cast<float>(height_)), 1.0f,
                      D2D1_BITMAP_INTERPOLATION_MODE_NEAREST_NEIGHBOR);
        const auto f = [](double v) { return static_cast<float>(v); };
        const auto box = [&](const Box& b) { return D2D1::RectF(f(b.left), f(b.top), f(b.right), f(b.bottom)); };
        brush_->SetColor(D2D1::ColorF(0.0f, 0.0f, 0.0f, 0.48f));
        const Box& s = selection_;
        const double w = width_, h = height_;
        for (const Box& band : {Box{0, 0, w, s.top}, Box{0, s.bottom, w, h}, Box{0, s.top, s.left, s.bottom},
                                Box{s.right, s.top, w, s.bottom}})
            t->FillRectangle(box(band), brush_.get());
        brush_->SetColor(D2D1::ColorF(0.93f, 0.31f, 0.36f));
        std::size_t next_path = 0;
        for (const SceneObject& object : objects_) {
            const auto width = f(object.width);
            if (const auto* rect = std::get_if<RectanglePayload>(&object.payload)) {
                t->DrawRectangle(box(rect->rect), brush_.get(), width);
            } else if (const auto* ellipse = std::get_if<EllipsePayload>(&object.payload)) {
                const Box& e = ellipse->rect;
                t->DrawEllipse(D2D1::Ellipse(D2D1::Point2F(f((e.left + e.right) / 2), f((e.top + e.bottom) / 2)),
                                             f((e.right - e.left) / 2), f((e.bottom - e.top) / 2)),
                               brush_.get(), width);
            } else if (const auto* line = std::get_if<LinePayload>(&object.payload)) {
                t->DrawLine(D2D1::Point2F(f(line->from.x), f(line->from.y)),
                            D2D1::Point2F(f(line->to.x), f(line->to.y)), brush_.get(), width);
            } else if (std::holds_alternative<StrokePayload>(object.payload)) {
                t->DrawGeometry(paths_[next_path++].get(), brush_.get(), width);
            } else if (const auto* text = std::get_if<TextPayload>(&object.payload)) {
                const D2D1_RECT_F at = D2D1::RectF(f(text->at.x), f(text->at.y), f(text->at.x + 80),
                                                   f(text->at.y + 30));
                t->FillRoundedRectangle(D2D1::RoundedRect(at, 4.0f, 4.0f), brush_.get());
                t->DrawText(L"Label", 5, text_.get(), at, brush_.get());
            } else if (const auto* blur = std::get_if<BlurPayload>(&object.payload)) {
                t->DrawBitmap(blur_.get(), box(blur->rect), 1.0f, D2D1_BITMAP_INTERPOLATION_MODE_NEAREST_NEIGHBOR);
            }
        }
        brush_->SetColor(D2D1::ColorF(0.39f, 0.67f, 1.0f));
        t->DrawRectangle(box(selection_), brush_.get(), 1.0f);
        brush_->SetColor(D2D1::ColorF(0.12f, 0.12f, 0.12f));
        t->FillRoundedRectangle(D2D1::RoundedRect(D2D1::RectF(f(s.left), f(s.bottom + 8), f(s.left + 520),
                                                              f(s.bottom + 52)), 8.0f, 8.0f), brush_.get());
        if (const HRESULT ended = t->EndDraw(); FAILED(ended)) return win::hr_failure(ended, "EndDraw");
        return ok_status();
    }

private:
    std::vector<SceneObject> objects_;
    Box selection_{};
    HDC back_ = nullptr;
    std::uint32_t width_ = 0, height_ = 0;
    win::ComPtr<ID2D1Factory> factory_;
    win::ComPtr<ID2D1DCRenderTarget> target_;
    win::ComPtr<ID2D1Bitmap> picture_;
    win::ComPtr<ID2D1Bitmap> blur_;
    win::ComPtr<ID2D1SolidColorBrush> brush_;
    win::ComPtr<IDWriteFactory> dwrite_;
    win::ComPtr<IDWriteTextFormat> text_;
    std::vector<win::ComPtr<ID2D1PathGeometry>> paths_;
};

struct StandInWindow {
    StandInFrame frame;
    HDC back = nullptr;
    std::uint32_t width = 0, height = 0;
    Status painted = ok_status();
};

LRESULT CALLBACK stand_in_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) noexcept {
    if (message == WM_NCCREATE)
        SetWindowLongPtrW(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lparam)->lpCreateParams));
    auto* self = reinterpret_cast<StandInWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (message != WM_PAINT || !self) return DefWindowProcW(window, message, wparam, lparam);
    const win::PaintDc paint(window);
    self->painted = self->frame.draw();
    if (self->painted && !BitBlt(paint.get(), 0, 0, static_cast<int>(self->width), static_cast<int>(self->height),
                                 self->back, 0, 0, SRCCOPY))
        self->painted = win::win32_failure("BitBlt");
    return 0;
}

// The stand-in's window: its surface and frame, shown over the screen.
struct StandInSetUp {
    StandInWindow self;
    win::UniqueMemoryDc back;
    win::UniqueBitmap dib;
    win::SelectedObject selected;
    win::UniqueWindow window;
};

bool set_up_stand_in(StandInSetUp& s, std::size_t objects) {
    constexpr std::uint32_t kW = 1920, kH = 1080;
    const Box selection{240, 135, 1680, 945};
    s.self.width = kW;
    s.self.height = kH;
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), static_cast<LONG>(kW), -static_cast<LONG>(kH), 1, 32, BI_RGB};
    void* bits = nullptr;
    s.back.reset(CreateCompatibleDC(nullptr));
    s.dib.reset(CreateDIBSection(s.back.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    s.selected = win::SelectedObject(s.back.get(), s.dib.get());
    s.self.back = s.back.get();
    if (const Status made = s.self.frame.make(gradient(kW, kH), scene_in(objects, selection), selection, s.back.get());
        !made) {
        std::printf("stand-in: %s\n", made.failure().message.c_str());
        return false;
    }
    WNDCLASSW window_class{};
    window_class.lpfnWndProc = stand_in_proc;
    window_class.hInstance = GetModuleHandleW(nullptr);
    window_class.lpszClassName = L"Glimmerly.Bench.StandIn";
    RegisterClassW(&window_class);
    s.window.reset(CreateWindowExW(WS_EX_TOOLWINDOW, window_class.lpszClassName, L"", WS_POPUP, 0, 0, 1, 1, nullptr,
                                   nullptr, window_class.hInstance, &s.self));
    if (!s.window) return false;
    SetWindowPos(s.window.get(), HWND_TOPMOST, 0, 0, kW, kH, SWP_SHOWWINDOW);
    return true;
}

double ms_since(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

double median_of(std::vector<double> ms) {
    std::sort(ms.begin(), ms.end());
    return ms[ms.size() / 2];
}

// The program's window paint and the stand-in's, whole and for a small
// invalid rectangle, taken in turns within each round, so that a busy
// machine slows both alike; then the medians and their ratios.
bool time_window_against_stand_in(std::size_t objects, int rounds) {
    constexpr std::uint32_t kW = 1920, kH = 1080;
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSW window_class{};
    window_class.lpfnWndProc = app_window_proc;
    window_class.hInstance = instance;
    window_class.lpszClassName = L"Glimmerly.Bench.Editor";
    RegisterClassW(&window_class);
    AppCell cell(AppOptions{.in_process_editor = true});
    const win::UniqueWindow window(CreateWindowExW(WS_EX_TOOLWINDOW, window_class.lpszClassName, L"", WS_POPUP, 0, 0,
                                                   1, 1, nullptr, nullptr, instance, &cell));
    EditorState editor = new_capture_state(gradient(kW, kH), {{{0, 0, kW, kH}, 1.0}});
    editor.capture_selection = Box{240, 135, 1680, 945};
    editor.selecting = false;
    editor.objects = scene_in(objects, *editor.capture_selection);
    for (const SceneObject& o : editor.objects) editor.last_id = std::max(editor.last_id, o.id);
    auto resources = create_renderer_resources(false, false);
    if (!window || !resources || !set_background_image(**resources, editor.frozen_frame)) return false;
    editor_window_part(editor).renderer.resources = std::move(*resources);
    if (!install_editor_state(*cell.try_borrow(), window.get(), std::move(editor), {0, 0})) return false;
    {
        // Once outside the window, so that a failure is printed rather than
        // shown in a box that would hold the run.
        auto app = cell.try_borrow();
        EditorState& state = open_editor_session(*app)->state();
        state.pointer = {960, 540};
        const win::WindowDc dc = win::WindowDc::of(window.get());
        if (const Status shown = present_editor_frame(state, dc.get(), ChromeClock::now()); !shown) {
            std::printf("window present failed: %s\n", shown.failure().message.c_str());
            return false;
        }
    }
    StandInSetUp stand_in;
    if (!set_up_stand_in(stand_in, objects)) return false;
    // A pointer move that changes a small area: a hover outline's square.
    const RECT small{900, 480, 1020, 600};
    std::vector<double> whole, partly, plain;
    for (int round = 0; round < bench::runs(rounds); ++round) {
        SetWindowPos(window.get(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        auto start = std::chrono::steady_clock::now();
        RedrawWindow(window.get(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        whole.push_back(ms_since(start));
        start = std::chrono::steady_clock::now();
        RedrawWindow(window.get(), &small, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        partly.push_back(ms_since(start));
        SetWindowPos(stand_in.window.get(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        start = std::chrono::steady_clock::now();
        RedrawWindow(stand_in.window.get(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        plain.push_back(ms_since(start));
        if (!stand_in.self.painted) {
            std::printf("stand-in paint failed: %s\n", stand_in.self.painted.failure().message.c_str());
            return false;
        }
    }
    char name[64];
    std::snprintf(name, sizeof name, "window paint 1920x1080, %zu objects", objects);
    report(name, whole, true);
    report("  the same, 120x120 invalid rectangle", partly, true);
    std::snprintf(name, sizeof name, "stand-in window paint, %zu objects", objects);
    report(name, plain, true);
    std::printf("in turns over %d rounds: window paint / stand-in %.2f x, 120x120 / whole window paint %.3f x\n",
                bench::runs(rounds), median_of(whole) / median_of(plain), median_of(partly) / median_of(whole));
    // The same frame without the message and the blit: what presenting adds.
    return time_runs("  the frame into its back buffer alone", 31, [&]() -> Status {
        auto app = cell.try_borrow();
        EditorState& state = open_editor_session(*app)->state();
        return render_frame(state, editor_window_part(state).back_buffer->memory.get(), {ChromeClock::now(), {}});
    }, true);
}

int run(bool window_paint_only) {
    win::ComApartment com;
    if (!com.initialized()) return 1;
    if (window_paint_only) return time_window_against_stand_in(100, 61) ? 0 : 1;
    auto resources = create_renderer_resources(false, false);
    if (!resources) {
        std::printf("renderer resources: %s\n", resources.failure().message.c_str());
        return 1;
    }
    RendererResources& r = **resources;

    // One editor frame: a DIB section as the window's surface.
    constexpr std::uint32_t kW = 1920, kH = 1080;
    const std::vector<SceneObject> frame_scene = scene_in(1000, {0, 0, kW, kH});
    if (const Status set = set_background_image(r, gradient(kW, kH)); !set) return 1;
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), static_cast<LONG>(kW), -static_cast<LONG>(kH), 1, 32, BI_RGB};
    void* bits = nullptr;
    win::UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
    win::UniqueBitmap dib(CreateDIBSection(dc.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    win::SelectedObject selected(dc.get(), dib.get());
    const auto frame = [&]() -> Status {
        GLIM_TRY(begin_dc_frame(r, dc.get(), kW, kH));
        const Status drawn = draw_objects_with_cache(r, r.dc_target.get(), frame_scene);
        const HRESULT ended = r.dc_target->EndDraw();
        if (!drawn) return drawn;
        if (FAILED(ended)) return win::hr_failure(ended, "EndDraw");
        return ok_status();
    };
    const auto cold_frame = [&]() -> Status {
        r.object_cache.borrow()->clear();
        r.outline_cache.borrow()->clear();
        return frame();
    };
    if (!time_runs("frame 1920x1080, 1000 objects, cold cache", 7, cold_frame)) return 1;
    if (!time_runs("frame 1920x1080, 1000 objects, warm cache", 15, frame)) return 1;

    // The capture window's paint: a committed selection, 200 objects in it,
    // the toolbar beside it, the pointer resting on the picture.
    EditorState editor;
    editor.frame_width = kW;
    editor.frame_height = kH;
    editor.frozen_frame = gradient(kW, kH);
    editor.monitor_areas = {{{0, 0, kW, kH}, 1.0}};
    new_monitor_views(editor);
    editor.capture_selection = Box{240, 135, 1680, 945};
    editor.selecting = false;
    editor.objects = scene_in(200, *editor.capture_selection);
    for (const SceneObject& o : editor.objects) editor.last_id = std::max(editor.last_id, o.id);
    editor.pointer = {960, 540};
    auto editor_resources = create_renderer_resources(false, false);
    if (!editor_resources || !set_background_image(**editor_resources, editor.frozen_frame)) return 1;
    editor_window_part(editor).renderer.resources = std::move(*editor_resources);
    const auto editor_frame = [&]() -> Status {
        return render_frame(editor, dc.get(), {ChromeClock::now(), {}});
    };
    if (!editor_frame()) return 1;  // the blurred pieces and stroke outlines are made once
    // What any frame costs before the editor draws anything: bind, clear,
    // the captured picture, EndDraw into the DIB.
    const auto picture_only = [&]() -> Status {
        RendererResources& er = *editor_window_part(editor).renderer.resources;
        GLIM_TRY(begin_dc_frame(er, dc.get(), kW, kH));
        if (const HRESULT ended = er.dc_target->EndDraw(); FAILED(ended)) return win::hr_failure(ended, "EndDraw");
        return ok_status();
    };
    if (!time_runs("picture alone 1920x1080", 15, picture_only, true)) return 1;
    if (!time_runs("editor frame 1920x1080, 200 objects, toolbar", 31, editor_frame, true)) return 1;

    if (!time_window_against_stand_in(100, 31)) return 1;

    // One finished capture.
    constexpr std::uint32_t kCW = 3840, kCH = 2160;
    const BgraImage capture = gradient(kCW, kCH);
    std::vector<SceneObject> capture_scene = scene_in(100, {0, 0, kCW, kCH});
    keep_blurs(capture_scene, 5);
    const auto compose = [&]() -> Status {
        auto image = render_capture_region(r, capture, {}, capture_scene, {0, 0, kCW, kCH});
        if (!image) return std::move(image).failure();
        return ok_status();
    };
    if (!time_runs("capture 3840x2160, 100 objects, 5 blurs", 7, compose)) return 1;
    return 0;
}

}  // namespace
}  // namespace glimmerly

// "--window-paint" times the window paints against the stand-in alone.
int main(int argc, char** argv) {
    glimmerly::bench::take_once_argument(argc, argv);
    return glimmerly::run(argc > 1 && std::string_view(argv[1]) == "--window-paint");
}
