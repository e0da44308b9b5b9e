// Times the site-preview film frame writer at 1100 x 680 over the capture
// scene: whole frames (render, opaque copy, PNG save as the films write
// them) and the parts alone (the view rendered and copied; the PNG encoded
// in memory). Prints the median of repeated frames and the frames per
// second they give. Run by hand under Wine:
//   scripts/wine-exec build/win/wineprefix build/win/bench/windows/film_bench.exe

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

#include "app/image/image_encoder.h"
#include "app/lib/folder_tree.h"
#include "app/site_previews/capture_films.h"
#include "app/site_previews/film.h"
#include "app/site_previews/scripted_input.h"
#include "app/win/com.h"
#include "bench/windows/timing.h"
#include "core/demo/demo_scenes.h"

namespace glimmerly {
namespace {

constexpr int kFrames = 60;

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Milliseconds of each call; false as soon as one fails.
bool time_each(std::vector<double>& times, const std::function<bool()>& step) {
    for (int i = 0; i < bench::runs(kFrames); ++i) {
        const auto start = bench::Clock::now();
        if (!step()) return false;
        times.push_back(bench::ms_since(start));
    }
    return true;
}

void report(const char* what, const std::vector<double>& times) {
    const double ms = median(times);
    std::printf("%-34s %6.1f ms  %5.1f per second\n", what, ms, 1000.0 / ms);
}

}  // namespace
}  // namespace glimmerly

int main(int argc, char** argv) {
    using namespace glimmerly;
    bench::take_once_argument(argc, argv);
    win::ComApartment apartment(COINIT_APARTMENTTHREADED);
    wchar_t temp[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH + 1, temp);
    const std::wstring folder = std::wstring(temp) + L"glimmerly-film-bench-" + std::to_wstring(GetCurrentProcessId());

    BgraImage capture = demo_base_frame();
    auto scene = build_capture_scene(capture);
    if (!scene) {
        std::fprintf(stderr, "capture scene: %s\n", scene.failure().message.c_str());
        return 1;
    }
    if (!create_frames_folder(folder)) return 1;
    std::vector<double> whole, rendered, encoded;
    {
        Film film(std::move(*scene), folder, nullptr, false);
        double x = 300;
        // The first frame builds the renderer's caches: not counted.
        if (!render_view_to_dib(film, x, 300)) return 1;
        const bool ok =
            time_each(whole, [&] { return render_view_to_dib(film, x += 3, 300).ok(); }) &&
            time_each(rendered, [&] { return render_state_picture(1100, 680, film.state).ok(); });
        auto picture = render_state_picture(1100, 680, film.state);
        if (!ok || !picture || !time_each(encoded, [&] { return encode_png(*picture).ok(); })) {
            std::fprintf(stderr, "a frame failed\n");
            return 1;
        }
    }
    std::printf("film frames at 1100 x 680, median of %d:\n", kFrames);
    report("whole frame (render, copy, save)", whole);
    report("render and opaque copy", rendered);
    report("PNG encode in memory", encoded);
    (void)remove_tree(folder);
    return 0;
}
