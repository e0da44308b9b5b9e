// Times the settings window under Wine.
//   settings_bench.exe           in this process: a Pointer effects frame tick
//                                (the preview's step and the page painted
//                                through the window's own paint path into a
//                                DIB), a layout pass of the page, and the
//                                window's whole measuring and sizing
//   settings_bench.exe drive     the Windows side of bench/settings_open.py:
//                                reads commands from standard input, one a
//                                line: "settings" writes settings with a
//                                capture shortcut, "open" posts command 170
//                                to the resident, "close" posts WM_CLOSE to
//                                the settings window and waits until it is
//                                gone, "quit" quits the resident; each answers
//                                "done" or "failed"
// Not part of the product.

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "app/app/app.h"
#include "app/app/commands.h"
#include "app/app/events.h"
#include "app/app/messages.h"
#include "app/app/popup_paint.h"
#include "app/lib/program_folders.h"
#include "app/lib/settings_store.h"
#include "app/settings/settings_window.h"
#include "bench/windows/timing.h"
#include "core/pointer/pointer_paint.h"
#include "ui/settings_panel/pointer_preview.h"
#include "ui/settings_panel/settings_layout.h"

namespace glimmerly {
namespace {

using bench::Clock;
using bench::ms_since;

int bench_in_process() {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    AppCell cell(AppOptions{.keeps_settings = false});
    // The program's icon is not in this executable: the class without it.
    WNDCLASSW window_class{};
    window_class.lpfnWndProc = app_window_proc;
    window_class.hInstance = instance;
    window_class.lpszClassName = APP_WINDOW_CLASS;
    if (!RegisterClassW(&window_class)) return std::fprintf(stderr, "RegisterClassW failed\n"), 1;
    auto window = create_app_window(&cell, WS_EX_TOOLWINDOW);
    if (!window) return std::fprintf(stderr, "%s\n", window.failure().message.c_str()), 1;
    auto app = cell.try_borrow();
    app->settings.pointer.trail_style = 1;
    app->settings.pointer.click_animation = 3;
    app->settings.pointer.spotlight_shape = 1;
    app->last_settings_page = SettingsPage::PointerEffects;
    if (auto opened = open_settings_window(*app, *window); !opened)
        return std::fprintf(stderr, "%s\n", opened.failure().message.c_str()), 1;
    SettingsWindow& settings = *app->settings_window;
    settings.panel.pointer_effects = true;
    const int width = static_cast<int>(std::ceil(settings.panel.client_width));
    const int height = static_cast<int>(std::ceil(settings.panel.client_height));
    auto canvas = DibCanvas::make(width, height);
    if (!canvas) return std::fprintf(stderr, "%s\n", canvas.failure().message.c_str()), 1;
    std::vector<double> ticks, layouts, measures;
    for (int frame = 0; frame < bench::runs(300); ++frame) {
        const auto start = Clock::now();
        (void)animate_pointer_preview(settings.panel, 2000 + 16 * static_cast<std::uint64_t>(frame));
        if (auto painted = paint_settings_window(settings, canvas->dc(), RECT{0, 0, width, height}); !painted)
            return std::fprintf(stderr, "%s\n", painted.failure().message.c_str()), 1;
        ticks.push_back(ms_since(start));
    }
    // The program's own share of a tick: the preview's step and the picture
    // of its effects, apart from Direct2D drawing them and the page.
    std::vector<double> own;
    PointerPicture picture;
    for (int frame = 0; frame < bench::runs(300); ++frame) {
        const std::uint64_t now = 8000 + 16 * static_cast<std::uint64_t>(frame);
        const auto start = Clock::now();
        (void)animate_pointer_preview(settings.panel, now);
        build_pointer_picture(picture, {0.0, 0.0}, settings.panel.preview, settings.panel.pointer,
                              {0.5, false, settings.panel.presentation_colour}, kPreviewEffectScale, now);
        own.push_back(ms_since(start));
    }
    for (int pass = 0; pass < bench::runs(300); ++pass) {
        const auto start = Clock::now();
        (void)layout_settings_page(settings.panel, false);
        layouts.push_back(ms_since(start));
    }
    for (int pass = 0; pass < bench::runs(20); ++pass) {
        const auto start = Clock::now();
        if (auto laid_out = layout_settings_window(settings); !laid_out)
            return std::fprintf(stderr, "%s\n", laid_out.failure().message.c_str()), 1;
        measures.push_back(ms_since(start));
    }
    std::printf("settings window %d x %d DIPs, Pointer effects page, trail, waves and spotlight\n", width, height);
    bench::report("frame tick (preview step and whole paint)", ticks);
    bench::report("frame tick, own part (step and effects)", own);
    bench::report("layout pass of the page", layouts);
    bench::report("measuring, natural size and placing", measures);
    app.release();
    return 0;
}

// The resident is the program whose application window is a tool window.
HWND resident_window() {
    for (HWND window = nullptr; (window = FindWindowExW(nullptr, window, L"Glimmerly.Window", nullptr));)
        if (GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) return window;
    return nullptr;
}

bool write_bench_settings() {
    Settings settings;
    settings.capture_shortcut = {0, VK_SNAPSHOT};
    settings.start_with_windows = false;
    auto folder = program_folder_path();
    return folder && save_settings_file(settings, *folder + L"\\settings.txt");
}

bool close_settings() {
    HWND window = nullptr;
    for (int wait = 0; wait < 30000 && !(window = FindWindowW(SETTINGS_WINDOW_CLASS, nullptr)); ++wait) Sleep(1);
    if (!window || !PostMessageW(window, WM_CLOSE, 0, 0)) return false;
    for (int wait = 0; wait < 30000 && IsWindow(window); ++wait) Sleep(1);
    return !IsWindow(window);
}

int drive() {
    std::string line;
    while (std::getline(std::cin, line)) {
        bool done = false;
        if (line == "settings") done = write_bench_settings();
        if (line == "open") done = PostMessageW(resident_window(), WM_APP_MENU_COMMAND, APP_COMMAND_SETTINGS, 0);
        if (line == "close") done = close_settings();
        if (line == "quit") done = PostMessageW(resident_window(), WM_APP_MENU_COMMAND, APP_COMMAND_QUIT, 0);
        if (line == "wait") {
            for (int wait = 0; wait < 30000 && !resident_window(); ++wait) Sleep(1);
            DWORD_PTR ignored = 0;
            done = resident_window() &&
                   SendMessageTimeoutW(resident_window(), WM_NULL, 0, 0, SMTO_NORMAL, 30000, &ignored);
        }
        std::printf(done ? "done\n" : "failed\n");
        std::fflush(stdout);
    }
    return 0;
}

}  // namespace
}  // namespace glimmerly

int wmain(int argc, wchar_t** argv) {
    if (argc > 1 && std::wstring(argv[1]) == L"drive") return glimmerly::drive();
    glimmerly::bench::take_once_argument(argc, argv);
    return glimmerly::bench_in_process();
}
