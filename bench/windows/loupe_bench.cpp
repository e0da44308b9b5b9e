// Times the magnifier's placement under Wine, with 10 windows of this
// process beneath a loupe of 240 (each covering the square it reads, so
// every strip has a piece in each).
//   loupe_bench.exe   a changed placement whole (the pointer stepping one
//                     pixel: squares, the windows beneath, strips, pieces,
//                     thumbnails and the window's move); the program's own
//                     part of it (the same steps without the window and
//                     compositor calls); an unchanged placement; and the
//                     listing of the windows that a window event costs
// at zoom 2 and 8. Prints medians, the 95th percentile and the worst.
// Wine's compositor has no thumbnails: their registrations fail once and
// no property update follows, so on Windows the whole placement costs more
// by those calls; the program's own part is the same.

#include <windows.h>

#include <cstdio>
#include <vector>

#include "app/presentation/loupe.h"
#include "app/win/owners.h"
#include "bench/windows/timing.h"

namespace glimmerly {
namespace {

using bench::Clock;
using bench::ms_since;
using bench::report;

constexpr int kWindows = 10;
constexpr int kRounds = 2000;
// Keeps the comparison that the unchanged test makes from being left out.
volatile int g_sink = 0;

int run() {
    WNDCLASSW window_class{.lpfnWndProc = DefWindowProcW, .lpszClassName = L"Glimmerly.LoupeBench"};
    window_class.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
    RegisterClassW(&window_class);
    std::vector<win::UniqueWindow> beneath;
    for (int i = 0; i < kWindows; ++i) {
        beneath.emplace_back(CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, window_class.lpszClassName, L"",
                                             WS_POPUP, 300 + 10 * i, 200 + 10 * i, 500 - 20 * i, 400 - 20 * i, nullptr,
                                             nullptr, nullptr, nullptr));
        ShowWindow(beneath.back().get(), SW_SHOWNOACTIVATE);
    }
    win::UniqueWindow owner(CreateWindowExW(WS_EX_TOOLWINDOW, window_class.lpszClassName, L"", WS_POPUP, 0, 0, 10, 10,
                                            nullptr, nullptr, nullptr, nullptr));
    auto made = create_loupe(owner.get());
    if (!made) {
        std::fprintf(stderr, "%s\n", made.failure().message.c_str());
        return 1;
    }
    Loupe& loupe = **made;
    const std::int32_t diameter = 240;
    for (const std::uint32_t zoom : {2u, 8u}) {
        // Placed once first: the window shown and its round region set.
        if (!update_loupe_view(loupe, 500, 400, diameter, zoom, std::nullopt, {})) return 1;
        std::printf("zoom %u: %zu windows beneath\n", zoom, loupe.last_beneath.size());
        std::vector<double> whole, own, unchanged;
        std::size_t pieces = 0;
        for (int i = 0; i < kRounds; ++i) {
            const std::int32_t x = 500 + (i % 2 ? 1 : 0);
            auto start = Clock::now();
            if (!update_loupe_view(loupe, x, 400, diameter, zoom, std::nullopt, {})) return 1;
            whole.push_back(ms_since(start));

            start = Clock::now();
            if (!update_loupe_view(loupe, x, 400, diameter, zoom, std::nullopt, {})) return 1;
            unchanged.push_back(ms_since(start));

            start = Clock::now();
            const LoupeSquares squares = loupe_squares(x, 400, diameter, zoom);
            const auto under = next_window_beneath(*loupe.candidates, squares.source, {loupe.window});
            const bool same = under == loupe.last_beneath;
            const auto strips = loupe_strips(squares.source, squares.destination, squares.zoom);
            const auto placed = loupe_placements(squares.source, squares.zoom, strips, under);
            own.push_back(ms_since(start));
            pieces = placed.size();
            g_sink = g_sink + (same ? 1 : 0);
        }
        std::printf("zoom %u: %zu pieces per placement\n", zoom, pieces);
        report("placement, changed, whole", whole, 0.95);
        report("placement, changed, the program's own part", own, 0.95);
        report("placement, unchanged", unchanged, 0.95);
    }
    std::vector<double> listed;
    for (int i = 0; i < 500; ++i) {
        const auto start = Clock::now();
        const auto candidates = list_loupe_candidates();
        listed.push_back(ms_since(start));
    }
    report("windows listed again (one window event)", listed, 0.95);
    destroy_loupe(std::move(*made));
    return 0;
}

}  // namespace
}  // namespace glimmerly

int main() { return glimmerly::run(); }
