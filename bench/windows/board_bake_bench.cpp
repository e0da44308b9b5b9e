// Timing of the bake, run by hand under Wine (or on Windows):
//   scripts/wine-exec build/win/wineprefix build/win/bench/windows/board_bake_bench.exe
// Three screens of 3840 x 2160 side by side, each with a wallpaper file of
// its own (1920 x 1080, scaled to fill) and 20 notes, on a fake desktop so
// that the real one is never changed. Prints the whole bake and its parts
// (compose, render, PNG save) and the bake command's up-to-date check, each
// the median of a few runs. Targets: bake under 3 s, check under 50 ms.

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "app/board/bake/bake.h"
#include "app/board/board_bake.h"
#include "app/board/board_files.h"
#include "app/lib/folder_tree.h"
#include "app/session/image_save.h"
#include "app/win/com.h"
#include "app/win/paths.h"
#include "bench/windows/timing.h"
#include "core/board/board_file.h"
#include "tests/core/board/fake_wallpaper.h"
#include "tests/core/support/objects.h"
#include "tests/core/support/scenes.h"

using namespace glimmerly;

namespace {

constexpr int kRuns = 5;
constexpr std::uint32_t kWidth = 3840, kHeight = 2160;

BgraImage gradient(std::uint32_t width, std::uint32_t height, std::uint8_t tint) {
    BgraImage image{std::vector<std::uint8_t>(std::size_t{width} * height * 4), width, height};
    for (std::uint32_t y = 0; y < height; ++y)
        for (std::uint32_t x = 0; x < width; ++x) {
            std::uint8_t* p = &image.pixels[(std::size_t{y} * width + x) * 4];
            p[0] = static_cast<std::uint8_t>(x / 8);
            p[1] = static_cast<std::uint8_t>(y / 5);
            p[2] = tint;
            p[3] = 255;
        }
    return image;
}

Scene twenty_notes() {
    Scene scene = testing::empty_scene(kWidth, kHeight);
    for (ObjectId id = 1; id <= 20; ++id) {
        const double x = 100.0 + (id % 5) * 700.0, y = 100.0 + (id / 5) * 450.0;
        scene.objects.push_back(id % 2 ? testing::rectangle(id, {x, y, x + 500, y + 300})
                                       : testing::ellipse(id, {x, y, x + 500, y + 300}));
    }
    scene.last = 20;
    return scene;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    bench::take_once_argument(argc, argv);
    win::ComApartment apartment(COINIT_APARTMENTTHREADED);
    wchar_t temp[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH + 1, temp);
    const std::wstring folder = std::wstring(temp) + L"glimmerly-bake-bench-" + std::to_wstring(GetCurrentProcessId());
    CreateDirectoryW(folder.c_str(), nullptr);

    testing::FakeWallpaper desktop;
    BoardFile board;
    for (std::uint32_t i = 0; i < 3; ++i) {
        const std::string id = "\\\\?\\DISPLAY#BENCH#" + std::to_string(i);
        const std::wstring own = folder + L"\\own-" + std::to_wstring(i) + L".png";
        if (!save_image_atomically(gradient(1920, 1080, static_cast<std::uint8_t>(80 * i)), own, ImageFormat::Png)) {
            std::fprintf(stderr, "could not write the wallpaper files\n");
            return 1;
        }
        desktop.add_monitor(id, {double(i * kWidth), 0, double((i + 1) * kWidth), double(kHeight)}, win::to_u16(own));
        board.entries.push_back({id, twenty_notes()});
    }
    const auto page = write_board_file(board);
    if (!page || !write_whole_file(folder + L"\\page-1.txt", *page)) return 1;

    std::vector<double> total, compose, render, save, check;
    for (int run = 0; run < bench::runs(kRuns); ++run) {
        BakeTimings timings;
        const auto start = std::chrono::steady_clock::now();
        const auto baked = bake_board(folder, desktop, windows_path_rules(), &timings);
        total.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
        if (!baked) {
            std::fprintf(stderr, "bake failed: %s\n", baked.failure().message.c_str());
            return 1;
        }
        compose.push_back(timings.compose_ms);
        render.push_back(timings.render_ms);
        save.push_back(timings.save_ms);

        const auto checked_at = std::chrono::steady_clock::now();
        const auto up_to_date = board_bake_up_to_date(folder, desktop, windows_path_rules());
        check.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - checked_at).count());
        if (!up_to_date || !*up_to_date) {
            std::fprintf(stderr, "the check did not find the bake up to date\n");
            return 1;
        }
    }
    std::printf("bake_board, 3 x 3840x2160, 20 notes each (median of %d): total %.0f ms (compose %.0f, render %.0f, PNG save %.0f)\n",
                kRuns, median(total), median(compose), median(render), median(save));
    std::printf("up-to-date check: %.2f ms\n", median(check));
    (void)remove_tree(folder);
    return 0;
}
