// Times the keys-and-mouse display under Wine on a display with xdotool:
//   device_layer_bench.exe   200 key presses typed by xdotool, each timed from
//                            the moment its raw input or its hook report is
//                            handed to the application window's handler to the
//                            end of the device layer's push, at size 200 %;
//                            and one spotlight frame at the pointer's monitor
//                            (the pushes included), moved and after a
//                            darkness change
// Prints medians, the 95th percentile and the worst.

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "app/app/messages.h"
#include "app/presentation/devices.h"
#include "app/presentation/events.h"
#include "app/presentation/spotlight.h"
#include "app/win/com.h"
#include "app/win/owners.h"
#include "bench/windows/timing.h"

namespace glimmerly {
namespace {

using bench::Clock;
using bench::ms_since;

struct Bench {
    PresentationCell* cell = nullptr;
    std::vector<double> presses;
};
Bench* g_bench = nullptr;  // the window procedure has no context of its own here

LRESULT CALLBACK bench_proc(HWND window, UINT message, WPARAM w, LPARAM l) noexcept {
    if ((message == WM_INPUT || message == WM_APP_KEY_REPORT) && g_bench) {
        const auto start = Clock::now();
        auto state = g_bench->cell->try_borrow();
        if (!state) return DefWindowProcW(window, message, w, l);
        bool press = false;
        if (message == WM_APP_KEY_REPORT) {
            press = !(l & 0x10000);
            (void)record_key_report(*state, w, l);
        } else {
            RAWINPUT input{};
            UINT size = sizeof input;
            const UINT read =
                GetRawInputData(reinterpret_cast<HRAWINPUT>(l), RID_INPUT, &input, &size, sizeof(RAWINPUTHEADER));
            if (read != UINT(-1))
                if (auto checked = checked_raw_input(input, read)) {
                    press = (*checked)->header.dwType == RIM_TYPEKEYBOARD &&
                            !((*checked)->data.keyboard.Flags & RI_KEY_BREAK) && !state->listener.running();
                    (void)handle_raw_input(*state, **checked);
                }
        }
        if (press) g_bench->presses.push_back(ms_since(start));
        if (message == WM_INPUT) return DefWindowProcW(window, message, w, l);
        return 0;
    }
    return DefWindowProcW(window, message, w, l);
}

int run_xdotool(std::wstring arguments) {
    std::wstring command = L"Z:\\usr\\bin\\xdotool " + arguments;
    STARTUPINFOW startup{.cb = sizeof(STARTUPINFOW)};
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
        return -1;
    CloseHandle(info.hThread);
    const win::UniqueHandle process(info.hProcess);
    // The keys arrive while xdotool types: the loop keeps handling them.
    for (MSG message; MsgWaitForMultipleObjects(1, &info.hProcess, FALSE, 60000, QS_ALLINPUT) == WAIT_OBJECT_0 + 1;)
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    return 0;
}

void time_spotlight() {
    auto made = create_spotlight_window();
    if (!made) return;
    PointerSettings settings;
    settings.spotlight_shape = 1;
    settings.spotlight_size = 240;
    std::vector<double> moved, refilled;
    (void)draw_spotlight(**made, true, 900, 540, settings, 1.0);
    for (int i = 0; i < bench::runs(200); ++i) {
        const auto start = Clock::now();
        (void)draw_spotlight(**made, true, 900 + (i % 2) * 12, 540, settings, 1.0);
        moved.push_back(ms_since(start));
    }
    for (int i = 0; i < bench::runs(40); ++i) {
        settings.spotlight_darkness = 60 + i % 2;
        const auto start = Clock::now();
        (void)draw_spotlight(**made, true, 900, 540, settings, 1.0);
        refilled.push_back(ms_since(start));
    }
    bench::report("spotlight frame, pointer moved", moved, 0.95);
    bench::report("spotlight frame, darkness changed", refilled, 0.95);
}

int run() {
    win::ComApartment com;
    WNDCLASSW window_class{.lpfnWndProc = bench_proc, .lpszClassName = L"Glimmerly.DeviceLayerBench"};
    window_class.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
    RegisterClassW(&window_class);
    // Covers the screen: X hands keys to Wine only while the pointer is over one of its windows.
    win::UniqueWindow window(CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, window_class.lpszClassName, L"",
                                             WS_POPUP, 0, 0, GetSystemMetrics(SM_CXSCREEN),
                                             GetSystemMetrics(SM_CYSCREEN), nullptr, nullptr, nullptr, nullptr));
    ShowWindow(window.get(), SW_SHOWNOACTIVATE);
    Settings settings;
    settings.input_display_size = 200;
    auto cell = attach_presentation_state(window.get(), settings);
    if (!cell) return std::fprintf(stderr, "%s\n", cell.failure().message.c_str()), 1;
    {
        auto state = (*cell)->try_borrow();
        const Status applied = apply_presentation_features(*state, {.keyboard = true, .mouse = true});
        if (!applied) return std::fprintf(stderr, "%s\n", applied.failure().message.c_str()), 1;
        std::printf("device layer %d x %d\n", state->device_layer->width, state->device_layer->height);
    }
    Bench bench{cell->get()};
    g_bench = &bench;
    std::wstring keys = L"mousemove 700 500 key --delay 25";
    const wchar_t* letters[] = {L"a", L"s", L"d", L"f", L"j", L"k", L"l", L"e"};
    for (int i = 0; i < bench::runs(200); ++i) keys += std::wstring(L" ") + letters[i % 8];
    if (run_xdotool(keys) != 0) std::printf("xdotool could not be started\n");
    g_bench = nullptr;
    bench::report("key press, handler to device-layer push", bench.presses, 0.95);
    {
        auto state = (*cell)->try_borrow();
        std::vector<double> passes;
        for (int i = 0; i < bench::runs(100); ++i) {
            const auto start = Clock::now();
            (void)render_device_layer(*state, presentation_now(*state));
            passes.push_back(ms_since(start));
        }
        bench::report("device-layer pass alone (draw and push)", passes, 0.95);
        // Its parts: an empty draw (bind, clear, end) and the push by itself.
        PresentationLayer& layer = *state->device_layer;
        std::vector<double> empty, pushes;
        for (int i = 0; i < bench::runs(100); ++i) {
            auto start = Clock::now();
            (void)begin_layer_draw(layer);
            (void)layer.resources->dc_target->EndDraw();
            empty.push_back(ms_since(start));
            start = Clock::now();
            SIZE size{layer.width, layer.height};
            POINT source{0, 0};
            BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
            UpdateLayeredWindow(layer.window.get(), layer.surface.screen.get(), nullptr, &size,
                                layer.surface.memory.get(), &source, 0, &blend, ULW_ALPHA);
            pushes.push_back(ms_since(start));
        }
        bench::report("  of which an empty draw", empty, 0.95);
        bench::report("  of which the push", pushes, 0.95);
    }
    destroy_presentation_state(std::move(*cell));
    time_spotlight();
    return 0;
}

}  // namespace
}  // namespace glimmerly

int main(int argc, char** argv) {
    glimmerly::bench::take_once_argument(argc, argv);
    return glimmerly::run();
}
