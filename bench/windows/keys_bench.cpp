// Times presentation mode's keys under Wine.
//   keys_bench.exe   a key report from its post to its slot in the keys
//                    display (the window's own message loop in between, as
//                    the hook thread's post takes it), 2000 reports; the
//                    click sounds' synthesis, and a click-sound call once
//                    the images exist (with and without the lookup of the
//                    custom file)
// Prints medians, the 95th percentile and the worst.

#include <windows.h>
#include <mmsystem.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "app/app/messages.h"
#include "app/presentation/events.h"
#include "app/presentation/sound.h"
#include "app/win/com.h"
#include "app/win/owners.h"
#include "bench/windows/timing.h"
#include "core/presentation/click_sounds.h"

namespace glimmerly {
namespace {

using bench::Clock;
using bench::ms_since;

struct Bench {
    PresentationState* state = nullptr;
    Clock::time_point posted;
    std::vector<double> samples;
};
Bench* g_bench = nullptr;

// The program's own part of a call, without the system's player.
BOOL WINAPI silent_player(LPCWSTR, HMODULE, DWORD) { return TRUE; }  // the window procedure has no context of its own here

LRESULT CALLBACK bench_proc(HWND window, UINT message, WPARAM w, LPARAM l) noexcept {
    if (message == WM_APP_KEY_REPORT && g_bench) {
        (void)record_key_report(*g_bench->state, w, l);
        g_bench->samples.push_back(ms_since(g_bench->posted));
        return 0;
    }
    return DefWindowProcW(window, message, w, l);
}

int run() {
    win::ComApartment com;
    WNDCLASSW window_class{.lpfnWndProc = bench_proc, .lpszClassName = L"Glimmerly.KeysBench"};
    RegisterClassW(&window_class);
    win::UniqueWindow window(CreateWindowExW(WS_EX_TOOLWINDOW, window_class.lpszClassName, L"", WS_POPUP, 0, 0, 10, 10,
                                             nullptr, nullptr, nullptr, nullptr));
    auto cell = attach_presentation_state(window.get(), Settings{});
    if (!cell) return 1;
    {
        auto state = (*cell)->try_borrow();
        state->features.keyboard = true;  // recorded, with no hook thread of its own
        Bench bench{&*state};
        g_bench = &bench;
        MSG message;
        for (int i = 0; i < 2000; ++i) {
            const LPARAM flags = 0x1E | (i % 2 ? 0x10000 : 0);
            bench.posted = Clock::now();
            PostMessageW(window.get(), WM_APP_KEY_REPORT, 'A', flags);
            while (GetMessageW(&message, nullptr, 0, 0) > 0) {
                DispatchMessageW(&message);
                if (message.message == WM_APP_KEY_REPORT) break;
            }
        }
        g_bench = nullptr;
        bench::report("key report, post to slot", bench.samples, 0.95);
        state->features = {};
    }
    destroy_presentation_state(std::move(*cell));

    std::vector<double> made;
    for (int i = 0; i < 20; ++i) {
        const auto start = Clock::now();
        const auto sounds = make_click_sounds();
        made.push_back(ms_since(start));
    }
    bench::report("click sounds, synthesis of the six", made, 0.95);
    const auto first = Clock::now();
    (void)play_click_sound_from(2, 1, std::nullopt, PlaySoundW);
    std::printf("%-44s %.4f ms\n", "first click-sound call (synthesis)", ms_since(first));
    {
        std::vector<double> calls;
        for (int i = 0; i < 500; ++i) {
            const auto start = Clock::now();
            (void)play_click_sound_from(1 + i % 2, i % 3, std::nullopt, silent_player);
            calls.push_back(ms_since(start));
        }
        bench::report("click-sound call, player left out", calls, 0.95);
    }
    for (const bool lookup : {false, true}) {
        std::vector<double> calls;
        for (int i = 0; i < 500; ++i) {
            const auto start = Clock::now();
            if (lookup)
                play_click_sound(1 + i % 2, i % 3);
            else
                (void)play_click_sound_from(1 + i % 2, i % 3, std::nullopt, PlaySoundW);
            calls.push_back(ms_since(start));
        }
        bench::report(lookup ? "click-sound call with the custom-file lookup" : "click-sound call, built-in", calls,
                      0.95);
    }
    return 0;
}

}  // namespace
}  // namespace glimmerly

int main() { return glimmerly::run(); }
