// Times presentation mode's pointer layer under Wine.
//   pointer_bench.exe            one busy frame at 1920 x 1080 (a long line
//                                trail, twelve click marks, a soft halo): the
//                                program's own picture apart from Direct2D's
//                                drawing and the push to the window
//   pointer_bench.exe ticks N    N seconds of the real frame timer with the
//                                pointer effects on (trail and waves) while
//                                bench/pointer_ticks.sh moves the pointer:
//                                the intervals between ticks and the time
//                                each tick spent in the program
// Prints medians, the 99th percentile and the worst.

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "app/app/messages.h"
#include "app/presentation/events.h"
#include "app/presentation/pointer_effects.h"
#include "app/win/com.h"
#include "app/win/owners.h"
#include "bench/windows/timing.h"
#include "bench/support/pointer_scene.h"

namespace glimmerly {
namespace {

using bench::Clock;
using bench::ms_since;

int bench_frame() {
    auto made = create_presentation_layer(0, 0, 1920, 1080, nullptr);
    if (!made) return std::fprintf(stderr, "%s\n", made.failure().message.c_str()), 1;
    PresentationLayer& layer = **made;
    const PointerState pointer = bench::busy_pointer_state();
    const PointerSettings settings = bench::busy_pointer_settings();
    PointerPicture picture;
    std::vector<double> own, direct2d, push;
    for (int run = 0; run < bench::runs(60); ++run) {
        auto start = Clock::now();
        build_pointer_picture(picture, {0, 0}, pointer, settings, {0.5, false, {255, 211, 64}}, 1.0,
                              bench::kPointerNow);
        own.push_back(ms_since(start));
        start = Clock::now();
        if (!begin_layer_draw(layer)) return 1;
        auto painter = make_painter(*layer.resources, layer.resources->dc_target.get());
        if (!painter || !draw_pointer_effects(*painter, picture)) return 1;
        if (FAILED(layer.resources->dc_target->EndDraw())) return 1;
        direct2d.push_back(ms_since(start));
        start = Clock::now();
        if (!push_dirty_rect(layer, {0, 0, 1920, 1080})) return 1;
        push.push_back(ms_since(start));
    }
    std::printf("busy frame: %zu primitives, %zu polygon points; pushes of the changed part %s\n",
                picture.primitives.size(), picture.points.size(),
                layer.whole_pushes ? "refused (whole pictures pushed)" : "taken");
    // A frame as the updates draw it: only a 300 x 300 changed part.
    std::vector<double> clipped, clipped_push;
    for (int run = 0; run < bench::runs(30); ++run) {
        auto start = Clock::now();
        if (!begin_layer_draw(layer)) return 1;
        ID2D1DCRenderTarget* target = layer.resources->dc_target.get();
        target->PushAxisAlignedClip(D2D1::RectF(800, 400, 1100, 700), D2D1_ANTIALIAS_MODE_ALIASED);
        auto painter = make_painter(*layer.resources, target);
        if (!painter || !draw_pointer_effects(*painter, picture)) return 1;
        target->PopAxisAlignedClip();
        if (FAILED(target->EndDraw())) return 1;
        clipped.push_back(ms_since(start));
        start = Clock::now();
        if (!push_dirty_rect(layer, {800, 400, 1100, 700})) return 1;
        clipped_push.push_back(ms_since(start));
    }
    bench::report("program's own work (the picture)", own);
    bench::report("Direct2D drawing and EndDraw (Wine)", direct2d);
    bench::report("push of the whole layer", push);
    bench::report("Direct2D clipped to 300 x 300 (Wine)", clipped);
    bench::report("push of 300 x 300", clipped_push);
    return 0;
}

struct TickLog {
    PresentationCell* cell = nullptr;
    std::vector<double> tick_intervals, frame_intervals, work, own;
    Clock::time_point last_tick{}, last_frame{};
    std::uint64_t raw_events = 0;
    PointerPicture picture;
};
// A window procedure has no context argument: the one log of this run.
TickLog* g_log = nullptr;

void note_interval(std::vector<double>& intervals, Clock::time_point& last, Clock::time_point now) {
    if (last != Clock::time_point{}) intervals.push_back(std::chrono::duration<double, std::milli>(now - last).count());
    last = now;
}

// One message for the presentation, timed; a frame drawn is noted with the
// program's own share of it: the same picture again, without Direct2D.
template <class Handle>
void timed(Handle handle) {
    auto state = g_log->cell->try_borrow();
    if (!state) return;
    const auto previous = state->last_effects_update;
    const auto start = Clock::now();
    handle(*state);
    g_log->work.push_back(ms_since(start));
    if (state->last_effects_update == previous) return;
    note_interval(g_log->frame_intervals, g_log->last_frame, start);
    const auto own = Clock::now();
    build_pointer_picture(g_log->picture, {0, 0}, state->pointer, effective_settings(*state), {}, state->scale,
                          presentation_now(*state));
    g_log->own.push_back(ms_since(own));
}

LRESULT CALLBACK owner_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) noexcept {
    if (!g_log || !g_log->cell) return DefWindowProcW(window, message, wparam, lparam);
    if (message == WM_TIMER && wparam == TIMER_PRESENTATION_FRAME) {
        note_interval(g_log->tick_intervals, g_log->last_tick, Clock::now());
        timed([](PresentationState& state) { (void)tick_presentation(state); });
        return 0;
    }
    if (message == WM_INPUT) {
        RAWINPUT input{};
        UINT size = sizeof input;
        const UINT read = GetRawInputData(reinterpret_cast<HRAWINPUT>(lparam), RID_INPUT, &input, &size,
                                          sizeof(RAWINPUTHEADER));
        ++g_log->raw_events;
        if (read != UINT(-1))
            if (auto checked = checked_raw_input(input, read))
                timed([&](PresentationState& state) { (void)handle_raw_input(state, **checked); });
    }
    return DefWindowProcW(window, message, wparam, lparam);
}

int bench_ticks(int seconds) {
    WNDCLASSW window_class{.lpfnWndProc = owner_proc, .lpszClassName = L"Glimmerly.Bench.PresentationOwner"};
    RegisterClassW(&window_class);
    const win::UniqueWindow owner(CreateWindowExW(WS_EX_TOOLWINDOW, window_class.lpszClassName, L"", WS_POPUP, 0, 0, 10,
                                                  10, nullptr, nullptr, nullptr, nullptr));
    Settings settings;
    settings.pointer = bench::busy_pointer_settings();
    auto attached = attach_presentation_state(owner.get(), settings);
    if (!attached) return 1;
    TickLog log;
    log.cell = attached->get();
    g_log = &log;
    if (auto state = log.cell->try_borrow(); !apply_presentation_features(*state, {.pointer_effects = true})) return 1;
    const ULONGLONG end = GetTickCount64() + 1000ull * static_cast<ULONGLONG>(seconds);
    for (MSG message; GetTickCount64() < end;) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    }
    g_log = nullptr;
    std::printf("raw mouse events: %llu\n", static_cast<unsigned long long>(log.raw_events));
    bench::report("interval between timer ticks", log.tick_intervals);
    bench::report("interval between frames (tick or input)", log.frame_intervals);
    bench::report("whole tick or raw event (Direct2D included)", log.work);
    bench::report("program's own picture per frame", log.own);
    const auto late = std::count_if(log.own.begin(), log.own.end(), [](double ms) { return ms > 16.0; });
    std::printf("frames whose own picture took over 16 ms: %ld of %zu\n", static_cast<long>(late), log.own.size());
    destroy_presentation_state(std::move(*attached));
    return 0;
}

}  // namespace
}  // namespace glimmerly

int main(int argc, char** argv) {
    const glimmerly::win::ComApartment com;
    if (argc >= 2 && std::string_view(argv[1]) == "ticks")
        return glimmerly::bench_ticks(argc >= 3 ? std::atoi(argv[2]) : 60);
    glimmerly::bench::take_once_argument(argc, argv);
    return glimmerly::bench_frame();
}
