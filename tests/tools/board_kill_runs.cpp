// Kills "glimmerly.exe --board-bake" and "--restore-wallpaper" at random
// moments and checks that nothing of the user's desktop is lost: after each
// kill, what the program does next (the resident's start: a bake when the
// board is shown, a restore when hidden; then the board switched off) must
// give the user's picture, style and tile flag back, and "base.txt" must
// still record them. Runs in the throw-away prefix of bench/board_kills.sh,
// whose desktop and board folder it replaces.
// With "first", every run starts without a board: "Show board" on, its
// first bake killed (every other run just after the bake first changed the
// desktop, the moment the restore has most to do), then "Show board" off.
//   board_kill_runs RUNS SEED [first]
// Prints one line per run that lost something and the count of good runs;
// the exit code is 0 only when every run kept everything.

#include <windows.h>

#include <chrono>
#include <cstdio>
#include <random>
#include <string>

#include "app/board/board_files.h"
#include "app/board/desktop_wallpaper.h"
#include "app/lib/folder_tree.h"
#include "app/lib/program_folders.h"
#include "app/lib/registry_names.h"
#include "app/lib/settings_store.h"
#include "app/session/image_save.h"
#include "app/win/com.h"
#include "app/win/paths.h"
#include "core/base/utf.h"
#include "tests/app/support/dialogs.h"
#include "tests/app/support/program_path.h"

namespace {

using namespace glimmerly;
using Clock = std::chrono::steady_clock;

struct Desktop {
    std::wstring picture, style, tile;
};

std::wstring desktop_value(const wchar_t* name) {
    wchar_t text[MAX_PATH + 1] = {};
    DWORD size = sizeof text - sizeof(wchar_t);
    if (RegGetValueW(HKEY_CURRENT_USER, DESKTOP_KEY, name, RRF_RT_REG_SZ, nullptr, text, &size) != ERROR_SUCCESS)
        return L"?";
    return text;
}

Desktop desktop_now() {
    return {desktop_value(WALLPAPER_VALUE), desktop_value(WALLPAPER_STYLE_VALUE), desktop_value(TILE_WALLPAPER_VALUE)};
}

void set_desktop(const Desktop& desktop) {
    for (const auto& [name, value] : {std::pair{WALLPAPER_STYLE_VALUE, desktop.style}, {TILE_WALLPAPER_VALUE, desktop.tile}})
        RegSetKeyValueW(HKEY_CURRENT_USER, DESKTOP_KEY, name, REG_SZ, value.c_str(),
                        static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    std::wstring picture = desktop.picture;
    SystemParametersInfoW(SPI_SETDESKWALLPAPER, 0, picture.data(), SPIF_UPDATEINIFILE);
}

class Runner {
public:
    Runner(std::wstring program, std::wstring settings) : program_(std::move(program)), settings_(std::move(settings)) {}

    void show_board(bool shown) {
        Settings settings;
        settings.start_with_windows = false;
        settings.board_visible = shown;
        (void)save_settings_file(settings, settings_);
    }

    PROCESS_INFORMATION start(const wchar_t* option) {
        std::wstring command = L"\"" + program_ + L"\" " + option;
        STARTUPINFOW startup{.cb = sizeof(STARTUPINFOW)};
        PROCESS_INFORMATION info{};
        if (CreateProcessW(program_.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                           &info)) {
            CloseHandle(info.hThread);
            sweeper_.watch(info.dwProcessId);
        }
        return info;
    }

    // The exit code, or -1.
    int run(const wchar_t* option) {
        const PROCESS_INFORMATION info = start(option);
        if (!info.hProcess) return -1;
        DWORD code = 0;
        if (WaitForSingleObject(info.hProcess, 120000) != WAIT_OBJECT_0 || !GetExitCodeProcess(info.hProcess, &code))
            code = static_cast<DWORD>(-1);
        CloseHandle(info.hProcess);
        return static_cast<int>(code);
    }

    // The run's milliseconds, for the range of the kill moments.
    double timed(const wchar_t* option) {
        const auto start = Clock::now();
        (void)run(option);
        return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    }

    void kill_after(const wchar_t* option, DWORD ms) {
        const PROCESS_INFORMATION info = start(option);
        if (!info.hProcess) return;
        if (WaitForSingleObject(info.hProcess, ms) == WAIT_TIMEOUT) TerminateProcess(info.hProcess, 9);
        WaitForSingleObject(info.hProcess, 10000);
        CloseHandle(info.hProcess);
    }

    // Killed a moment after the desktop stops showing `shown`.
    void kill_after_change(const wchar_t* option, const std::wstring& shown, DWORD ms) {
        const PROCESS_INFORMATION info = start(option);
        if (!info.hProcess) return;
        for (;;) {
            if (WaitForSingleObject(info.hProcess, 1) != WAIT_TIMEOUT) break;
            wchar_t text[MAX_PATH + 1] = {};
            DWORD size = sizeof text - sizeof(wchar_t);
            RegGetValueW(HKEY_CURRENT_USER, DESKTOP_KEY, WALLPAPER_VALUE, RRF_RT_REG_SZ, nullptr, text, &size);
            if (shown != text) {
                if (WaitForSingleObject(info.hProcess, ms) == WAIT_TIMEOUT) TerminateProcess(info.hProcess, 9);
                break;
            }
        }
        WaitForSingleObject(info.hProcess, 10000);
        CloseHandle(info.hProcess);
    }

    std::size_t boxes() { return sweeper_.answered().size(); }

private:
    std::wstring program_, settings_;
    testing_support::DialogSweeper sweeper_;
};

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 3 && !(argc == 4 && std::wstring(argv[3]) == L"first")) {
        std::fprintf(stderr, "usage: board_kill_runs RUNS SEED [first]\n");
        return 2;
    }
    if (!GetEnvironmentVariableW(L"GLIMMERLY_PRIVATE_WINE_PREFIX", nullptr, 0)) {
        std::fprintf(stderr, "board_kill_runs replaces the desktop and the board: run it in a throw-away prefix\n");
        return 2;
    }
    const int runs = _wtoi(argv[1]);
    std::mt19937 random(static_cast<std::uint32_t>(_wtoi(argv[2])));
    win::ComApartment apartment(COINIT_APARTMENTTHREADED);

    const std::wstring program = testing_support::program_path();
    const std::wstring data = program_folder_path().value_or(L"");
    if (data.empty()) return 1;
    (void)remove_tree(data);
    CreateDirectoryW(data.c_str(), nullptr);
    auto folder = ensure_board_dir();
    if (!folder) return 1;
    const std::wstring own = win::join_path(data, L"Own Picture.png");
    if (!save_image_atomically(BgraImage{std::vector<std::uint8_t>(64 * 64 * 4, 0x60), 64, 64}, own, ImageFormat::Png))
        return 1;
    const Desktop user{own, L"0", L"1"};  // tiled
    set_desktop(user);

    const auto same = [](const std::wstring& a, const std::wstring& b) {
        return same_wallpaper_path(win::to_u16(a), win::to_u16(b), windows_path_rules());
    };
    const auto lost = [&]() -> std::string {
        const Desktop now = desktop_now();
        if (!same(now.picture, user.picture)) return "the desktop shows " + utf16_to_utf8(win::to_u16(now.picture));
        if (now.style != user.style || now.tile != user.tile)
            return "the style is " + utf16_to_utf8(win::to_u16(now.style)) + "/" + utf16_to_utf8(win::to_u16(now.tile));
        auto base = read_board_base(*folder);
        if (!base || !*base) return "no base";
        if ((*base)->position != WallpaperPosition::Tile) return "the base records another position";
        for (const BoardBaseScreen& screen : (*base)->screens)
            if (!screen.image || !same(win::from_u16(*screen.image), own)) return "the base lost the picture";
        return {};
    };

    Runner runner(program, win::join_path(data, SETTINGS_FILE_NAME));
    runner.show_board(true);
    const double bake_ms = runner.timed(L"--board-bake");
    runner.show_board(false);
    const double restore_ms = runner.timed(L"--restore-wallpaper");
    std::printf("a whole bake %.0f ms, a whole restore %.0f ms\n", bake_ms, restore_ms);
    if (const std::string fault = lost(); !fault.empty()) {
        std::printf("before any kill: %s\n", fault.c_str());
        return 1;
    }

    // "first": every run is the board's first bake, killed (every other run
    // just after it first changed the desktop), then "Show board" off.
    if (argc == 4) {
        int kept = 0;
        for (int i = 0; i < runs; ++i) {
            (void)remove_tree(*folder);
            if (!ensure_board_dir()) return 1;
            set_desktop(user);
            runner.show_board(true);
            const bool at_change = i % 2 == 0;
            const DWORD moment =
                static_cast<DWORD>(std::uniform_real_distribution<double>(0, at_change ? 60 : bake_ms)(random));
            if (at_change)
                runner.kill_after_change(L"--board-bake", own, moment);
            else
                runner.kill_after(L"--board-bake", moment);
            runner.show_board(false);
            const int code = runner.run(L"--restore-wallpaper");
            std::string fault = lost();
            // Killed before it wrote "base.txt", the bake left nothing to give back.
            if (fault == "no base") fault.clear();
            if (fault.empty())
                ++kept;
            else
                std::printf("run %d (first bake killed %lu ms after %s; restore exit %d): %s\n", i + 1,
                            static_cast<unsigned long>(moment), at_change ? "its first change" : "its start", code,
                            fault.c_str());
            std::fflush(stdout);
        }
        std::printf("%d of %d first-bake kill runs lost nothing; %zu message boxes answered\n", kept, runs,
                    runner.boxes());
        (void)remove_tree(data);
        return kept == runs ? 0 : 1;
    }

    int kept = 0;
    for (int i = 0; i < runs; ++i) {
        const bool bake = i % 2 == 0;
        // A restore is killed from a desktop that shows the board.
        if (!bake) {
            runner.show_board(true);
            (void)runner.run(L"--board-bake");
        }
        runner.show_board(bake);
        const double range = bake ? bake_ms : restore_ms;
        const DWORD moment = static_cast<DWORD>(std::uniform_real_distribution<double>(0, range)(random));
        runner.kill_after(bake ? L"--board-bake" : L"--restore-wallpaper", moment);
        // The next start: shown, a bake; then the board switched off.
        if (bake) (void)runner.run(L"--board-bake");
        runner.show_board(false);
        (void)runner.run(L"--restore-wallpaper");
        std::string fault = lost();
        if (fault.empty()) {
            runner.show_board(true);
            (void)runner.run(L"--board-bake");
            runner.show_board(false);
            (void)runner.run(L"--restore-wallpaper");
            fault = lost();
            if (!fault.empty()) fault = "after showing and hiding again: " + fault;
        }
        if (fault.empty())
            ++kept;
        else
            std::printf("run %d (%s killed after %lu ms): %s\n", i + 1, bake ? "bake" : "restore",
                        static_cast<unsigned long>(moment), fault.c_str());
        std::fflush(stdout);
    }
    std::printf("%d of %d kill runs lost nothing; %zu message boxes answered\n", kept, runs, runner.boxes());
    (void)remove_tree(data);
    return kept == runs ? 0 : 1;
}
