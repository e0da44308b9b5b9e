// Timing of a capture's output on the Windows build, run by hand under Wine
// or on Windows:
//   scripts/wine-exec build/win/wineprefix build/win/output_bench.exe [zlib1.dll]
// A 3840 x 2160 picture goes to the clipboard as CF_DIB, is encoded as PNG
// (in memory, and saved atomically to a file) and as JPEG, and the same rows
// are deflated by zlib at level 6 as the PNG encoder's reference: its cost
// for the same pixels with PNG's row framing and no filtering. zlib is loaded
// at run time when the DLL is found (mingw-w64's zlib1.dll), so the harness
// has no build dependency on it. Then the editor's own words on an open
// 3840 x 2160 capture with 30 objects: "copy image" and "save as" PNG, each
// from the word to the capture's end (composition, encoding, clipboard or
// file, notice). Under Wine, set HKCU\Software\Wine\X11 Driver Managed=N
// first: else hiding the capture's window waits 2 s for a window manager.
// Each figure is the median of seven runs.

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "app/app/app.h"
#include "app/app/events.h"
#include "app/app/session_output.h"
#include "app/image/image_encoder.h"
#include "app/lib/folder_tree.h"
#include "app/session/clipboard.h"
#include "app/session/image_save.h"
#include "app/win/com.h"
#include "app/win/owners.h"
#include "bench/windows/timing.h"
#include "core/paths/save_types.h"

namespace glimmerly {
namespace {

constexpr std::uint32_t kWidth = 3840;
constexpr std::uint32_t kHeight = 2160;
constexpr int kRuns = 7;

// A desktop-like picture: a gradient wallpaper, flat windows, and rows of
// dark "text" runs on white, from a fixed seed.
BgraImage screen_like() {
    BgraImage picture{std::vector<std::uint8_t>(std::size_t{kWidth} * kHeight * 4), kWidth, kHeight};
    auto put = [&](std::uint32_t x, std::uint32_t y, std::uint8_t r, std::uint8_t g, std::uint8_t b) {
        std::uint8_t* p = picture.pixels.data() + (std::size_t{y} * kWidth + x) * 4;
        p[0] = b;
        p[1] = g;
        p[2] = r;
        p[3] = 255;
    };
    for (std::uint32_t y = 0; y < kHeight; ++y)
        for (std::uint32_t x = 0; x < kWidth; ++x)
            put(x, y, static_cast<std::uint8_t>(20 + y / 20), static_cast<std::uint8_t>(60 + x / 40), 140);
    std::mt19937 rng(42);
    for (int window = 0; window < 6; ++window) {
        const std::uint32_t left = rng() % 2400, top = rng() % 1200, width = 800 + rng() % 600, height = 500 + rng() % 400;
        for (std::uint32_t y = top; y < std::min(kHeight, top + height); ++y)
            for (std::uint32_t x = left; x < std::min(kWidth, left + width); ++x) {
                const bool title = y < top + 32;
                const bool ink = !title && (y - top) % 18 < 11 && (rng() % 7 == 0);
                if (title) put(x, y, 45, 45, 48);
                else if (ink) put(x, y, 30, 30, 30);
                else put(x, y, 250, 250, 250);
            }
    }
    return picture;
}

BgraImage noise() {
    BgraImage picture{std::vector<std::uint8_t>(std::size_t{kWidth} * kHeight * 4), kWidth, kHeight};
    std::mt19937 rng(7);
    for (std::size_t i = 0; i < picture.pixels.size(); i += 4) {
        const std::uint32_t v = rng();
        picture.pixels[i] = static_cast<std::uint8_t>(v);
        picture.pixels[i + 1] = static_cast<std::uint8_t>(v >> 8);
        picture.pixels[i + 2] = static_cast<std::uint8_t>(v >> 16);
        picture.pixels[i + 3] = 255;
    }
    return picture;
}

double median_ms(const std::function<bool()>& run) {
    std::vector<double> times;
    for (int i = 0; i < bench::runs(kRuns); ++i) {
        const auto start = std::chrono::steady_clock::now();
        if (!run()) return -1.0;
        times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

using Compress2 = int (*)(unsigned char*, unsigned long*, const unsigned char*, unsigned long, int);
using CompressBound = unsigned long (*)(unsigned long);

struct Zlib {
    HMODULE module = nullptr;
    Compress2 compress2 = nullptr;
    CompressBound bound = nullptr;
};

Zlib load_zlib(const wchar_t* given) {
    Zlib zlib;
    for (const wchar_t* path : {given, L"zlib1.dll", L"Z:\\usr\\x86_64-w64-mingw32\\lib\\zlib1.dll"}) {
        if (path && (zlib.module = LoadLibraryW(path))) break;
    }
    if (!zlib.module) return zlib;
    zlib.compress2 = reinterpret_cast<Compress2>(reinterpret_cast<void*>(GetProcAddress(zlib.module, "compress2")));
    zlib.bound = reinterpret_cast<CompressBound>(reinterpret_cast<void*>(GetProcAddress(zlib.module, "compressBound")));
    return zlib;
}

void measure(const char* name, const BgraImage& picture, HWND owner, const std::wstring& folder, const Zlib& zlib) {
    std::printf("%s, %u x %u (%zu bytes of pixels):\n", name, picture.width, picture.height, picture.pixels.size());
    std::printf("  copy to clipboard (CF_DIB)   %8.1f ms\n",
                median_ms([&] { return put_image_on_clipboard(owner, picture).ok(); }));
    std::size_t png_bytes = 0;
    std::printf("  PNG encode in memory         %8.1f ms\n", median_ms([&] {
                    auto png = encode_image(picture, ImageFormat::Png);
                    png_bytes = png ? png->size() : 0;
                    return png.ok();
                }));
    const std::wstring png_path = folder + L"\\bench.png";
    std::printf("  PNG save (atomic, to disk)   %8.1f ms  (%zu bytes)\n",
                median_ms([&] { return save_image_atomically(picture, png_path, ImageFormat::Png).ok(); }),
                png_bytes);
    const std::wstring jpeg_path = folder + L"\\bench.jpg";
    std::printf("  JPEG save (atomic, to disk)  %8.1f ms\n",
                median_ms([&] { return save_image_atomically(picture, jpeg_path, ImageFormat::Jpeg).ok(); }));
    if (!zlib.compress2 || !zlib.bound) {
        std::printf("  zlib level 6: zlib1.dll not found\n");
        return;
    }
    // PNG's framing of 32-bit rows: a filter byte (0, none) before each row.
    const std::size_t stride = std::size_t{picture.width} * 4;
    std::vector<unsigned char> rows;
    rows.reserve((stride + 1) * picture.height);
    for (std::uint32_t y = 0; y < picture.height; ++y) {
        rows.push_back(0);
        rows.insert(rows.end(), picture.pixels.begin() + y * stride, picture.pixels.begin() + (y + 1) * stride);
    }
    std::vector<unsigned char> out(zlib.bound(static_cast<unsigned long>(rows.size())));
    unsigned long out_size = 0;
    std::printf("  zlib level 6 of the rows     %8.1f ms", median_ms([&] {
                    out_size = static_cast<unsigned long>(out.size());
                    return zlib.compress2(out.data(), &out_size, rows.data(), static_cast<unsigned long>(rows.size()),
                                          6) == 0;
                }));
    std::printf("  (%lu bytes)\n", out_size);
}

std::wstring g_save_path;  // the Save dialog's stand-in answers this

Result<std::optional<SaveDialogChoice>> choose_png(HWND, std::wstring_view, ImageFormat) {
    return std::optional<SaveDialogChoice>(SaveDialogChoice{g_save_path, SAVE_TYPE_PNG});
}

// The words as the editor runs them; each run opens the capture anew, untimed.
void measure_session_words(const BgraImage& frame, const std::wstring& folder) {
    AppOptions options;
    options.keeps_settings = false;
    AppCell cell(std::move(options));
    auto window = register_app_window_class(GetModuleHandleW(nullptr)) ? create_app_window(&cell, WS_EX_TOOLWINDOW)
                                                                       : Result<HWND>(plain_failure("no class"));
    if (!window) {
        std::printf("the editor's words: no application window (%s)\n", window.failure().message.c_str());
        return;
    }
    const OwnedWindow owned(*window);
    attach_app_window(*cell.try_borrow(), *window, nullptr);  // no icon: it is never shown
    cell.try_borrow()->outputs.save_dialog = choose_png;
    g_save_path = folder + L"\\session.png";
    std::vector<SceneObject> objects;
    for (ObjectId id = 1; id <= 30; ++id) {
        const double x = 100.0 * static_cast<double>(id), y = 60.0 * static_cast<double>(id);
        if (id % 3 == 0)
            objects.push_back(SceneObject{id, EllipsePayload{{x, y, x + 300, y + 200}}, Rgb{30, 200, 30}, 4.0, 0.0, {}});
        else
            objects.push_back(SceneObject{id, RectanglePayload{{x, y, x + 400, y + 250}}, Rgb{200, 30, 30}, 3.0, 0.0, {}});
    }
    const auto timed = [&](SessionOutput output) {
        std::vector<double> times;
        for (int i = 0; i < bench::runs(kRuns); ++i) {
            EditorState state;
            state.frozen_frame = frame;
            state.frame_width = frame.width;
            state.frame_height = frame.height;
            state.capture_selection = Box{0, 0, static_cast<double>(frame.width), static_cast<double>(frame.height)};
            state.objects = objects;
            state.last_id = 30;
            auto app = cell.try_borrow();
            if (!install_editor_state(*app, *window, std::move(state), {0, 0})) return -1.0;
            const auto start = std::chrono::steady_clock::now();
            if (!run_session_output(*app, *window, {output, {}})) return -1.0;
            times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
        }
        std::sort(times.begin(), times.end());
        return times[times.size() / 2];
    };
    std::printf("the editor's words on a %u x %u capture with 30 objects:\n", frame.width, frame.height);
    std::printf("  copy image (compose, CF_DIB) %8.1f ms\n", timed(SessionOutput::CopyImage));
    std::printf("  save as PNG (compose, file)  %8.1f ms\n", timed(SessionOutput::SaveAs));
}

int run(const wchar_t* zlib_path) {
    win::ComApartment com;
    if (!com.initialized()) return 1;
    const win::UniqueWindow owner(CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                                  GetModuleHandleW(nullptr), nullptr));
    wchar_t temp[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH + 1, temp);
    const std::wstring folder = std::wstring(temp) + L"glimmerly-output-bench-" + std::to_wstring(GetCurrentProcessId());
    if (!owner || !create_directories(folder)) return 1;
    const Zlib zlib = load_zlib(zlib_path);
    const BgraImage screen = screen_like();
    measure("screen-like picture", screen, owner.get(), folder, zlib);
    measure("noise picture", noise(), owner.get(), folder, zlib);
    measure_session_words(screen, folder);
    (void)remove_tree(folder);
    return 0;
}

}  // namespace
}  // namespace glimmerly

int wmain(int argc, wchar_t** argv) {
    glimmerly::bench::take_once_argument(argc, argv);
    const wchar_t* zlib_path = nullptr;
    for (int i = 1; i < argc; ++i)
        if (std::wstring_view(argv[i]) != L"--once") zlib_path = argv[i];
    return glimmerly::run(zlib_path);
}
