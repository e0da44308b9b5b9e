// Times what the resident's keyboard hook adds to every key typed in another
// program, under Wine. A plain window of this process takes keys typed on
// the X display by xdotool and records how late each WM_KEYDOWN arrives:
// the high-resolution clock when the window gets it, against the message's
// time, which Wine takes from the X server's key event (whole milliseconds,
// on the clock the high-resolution one counts in 100 ns steps). Wine sets
// that time's offset at the first event the process sees and moves it up
// whenever an event would be early, so the figures are delays above the
// quickest key, the same for both cases. In alternating rounds the resident
// runs with Scroll Lock as its instant-screenshot shortcut, which its
// keyboard hook holds, and with a shortcut that the system registers, with
// no hook. Prints the medians and 95th percentiles of both, what the hook
// adds, and the idle resident's anonymous memory as the host counts it (its
// /proc entry, read through Wine's drive Z:) in both.
//   typing_bench.exe [--once] [--program PATH] [--beside PATH]
// Run it on a display, in the tests' private prefix (it writes the
// program's settings file there, and puts back what was there), with busy
// loops beside it for the figures under load:
//   scripts/wine-exec build/win/wineprefix build/win/bench/windows/typing_bench.exe
// --program times another build of glimmerly.exe; --beside adds a third
// case in the same turns, another build's resident with Scroll Lock, for a
// before-and-after that the machine's changing load weighs alike. Not part
// of the product.

#include <windows.h>
#include <tlhelp32.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <optional>
#include <string>
#include <vector>

#include "app/app/messages.h"
#include "app/lib/atomic_write.h"
#include "app/lib/program_folders.h"
#include "app/lib/settings_lock.h"
#include "app/lib/settings_store.h"
#include "app/win/failure.h"
#include "app/win/file_io.h"
#include "app/win/owners.h"
#include "app/win/paths.h"
#include "bench/windows/shown_windows.h"
#include "bench/windows/timing.h"
#include "core/menu/app_command.h"

namespace glimmerly {
namespace {

constexpr UINT kCtrlAltShift = MOD_CONTROL | MOD_ALT | MOD_SHIFT;
constexpr UINT kTypedKey = 'X';
constexpr int kRounds = 8;
constexpr int kPressesPerRound = 25;  // 200 a case in all
constexpr int kWarmUpPresses = 5;
constexpr DWORD kFirstKeyWaitMs = 30000;  // xdotool's own start, on a busy machine
constexpr DWORD kQuietMs = 3000;          // no key for this long: the rest were dropped
constexpr ULONGLONG kWaitMs = 60000;

struct Case {
    std::string name;
    std::wstring program;
    Shortcut instant;
    std::vector<double> delays;
    std::vector<double> idle_mib;
    int dropped = 0;
};

// The window procedure has no context of its own here.
struct Recorder {
    std::vector<double>* delays = nullptr;
    int seen = 0;
};
Recorder g_recorder;

double now_ms() {
    LARGE_INTEGER counter{}, frequency{};
    QueryPerformanceCounter(&counter);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(counter.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

LRESULT CALLBACK typing_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) noexcept {
    if (message == WM_KEYDOWN && wparam == kTypedKey && !(lparam & (1 << 30))) {
        const double now = now_ms();
        // Both wrap at 2^32 ms; their difference does not.
        const auto typed = static_cast<DWORD>(GetMessageTime());
        const double whole = std::floor(now);
        const auto now_whole = static_cast<DWORD>(static_cast<unsigned long long>(whole));
        ++g_recorder.seen;
        if (g_recorder.delays) g_recorder.delays->push_back(static_cast<double>(now_whole - typed) + (now - whole));
        return 0;
    }
    if (message == WM_ERASEBKGND) return 1;
    if (message == WM_PAINT) {
        win::PaintDc paint(window);
        RECT client{};
        GetClientRect(window, &client);
        FillRect(paint.get(), &client, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        return 0;
    }
    return DefWindowProcW(window, message, wparam, lparam);
}

void pump() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

// Waits, handling this thread's messages, until the condition holds or the
// time is up.
template <class Condition>
bool wait_until(Condition condition, ULONGLONG wait_ms = kWaitMs) {
    const ULONGLONG deadline = GetTickCount64() + wait_ms;
    while (!condition()) {
        if (GetTickCount64() >= deadline) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        pump();
    }
    return true;
}

// A program of the host, which Wine runs as it is; it hands back no process
// to wait for, so callers wait for what it brings.
bool run_host_program(std::wstring command) {
    STARTUPINFOW startup{.cb = sizeof(STARTUPINFOW)};
    PROCESS_INFORMATION started{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &started))
        return false;
    CloseHandle(started.hThread);
    CloseHandle(started.hProcess);
    return true;
}

// Types the key `presses` times and waits for their WM_KEYDOWNs; answers how
// many never came (Wine drops a key now and then on a busy display).
int type_keys(int presses) {
    const int before = g_recorder.seen;
    std::wstring command = L"Z:\\usr\\bin\\xdotool key --delay 30";
    for (int i = 0; i < presses; ++i) command += L" x";
    if (!run_host_program(command)) {
        std::fprintf(stderr, "xdotool did not start\n");
        return presses;
    }
    for (int seen = before; seen - before < presses; seen = g_recorder.seen)
        if (!wait_until([&] { return g_recorder.seen != seen; }, seen == before ? kFirstKeyWaitMs : kQuietMs)) break;
    return presses - (g_recorder.seen - before);
}

// The window has the keyboard focus once the display's pointer rests on it
// (with no window manager, the focus follows the pointer).
bool take_focus(HWND window) {
    RECT shown{};
    GetWindowRect(window, &shown);
    const std::wstring command = L"Z:\\usr\\bin\\xdotool mousemove " + std::to_wstring((shown.left + shown.right) / 2) +
                                 L" " + std::to_wstring((shown.top + shown.bottom) / 2);
    if (GetFocus() != window && !run_host_program(command)) return false;
    return wait_until([&] { return GetFocus() == window; });
}

// The resident's running child, once its loop answers: the resident is idle
// from then on.
DWORD running_child(DWORD parent) {
    win::UniqueFileHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    PROCESSENTRY32W entry{.dwSize = sizeof(PROCESSENTRY32W)};
    for (bool more = snapshot && Process32FirstW(snapshot.get(), &entry); more;
         more = Process32NextW(snapshot.get(), &entry)) {
        if (entry.th32ParentProcessID != parent) continue;
        win::UniqueHandle process(OpenProcess(SYNCHRONIZE, FALSE, entry.th32ProcessID));
        if (process && WaitForSingleObject(process.get(), 0) == WAIT_TIMEOUT) return entry.th32ProcessID;
    }
    return 0;
}

using bench::app_window_of;

bool loop_answers(HWND window) {
    DWORD_PTR ignored = 0;
    return window && SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 30000, &ignored);
}

// A file of the host's /proc, which tells no size before it is read.
std::string read_host_file(const std::wstring& path) {
    const win::UniqueFileHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                                 nullptr, OPEN_EXISTING, 0, nullptr));
    std::string bytes;
    char chunk[4096];
    DWORD read = 0;
    while (file && ReadFile(file.get(), chunk, sizeof chunk, &read, nullptr) && read > 0) bytes.append(chunk, read);
    return bytes;
}

// The resident's process as the host sees it: Wine gives it the program's
// path, as it was started, as its whole command line; its children carry
// their options after it, and the command line of this harness may end
// with it.
std::optional<std::wstring> host_process_of(const std::wstring& program) {
    std::string wanted = win::to_utf8(program);
    for (char& c : wanted) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    WIN32_FIND_DATAW found{};
    const win::UniqueFindHandle search(FindFirstFileW(L"Z:\\proc\\*", &found));
    if (!search) return std::nullopt;
    std::optional<std::wstring> match;
    do {
        const std::wstring name = found.cFileName;
        if (name.empty() || name.find_first_not_of(L"0123456789") != std::wstring::npos) continue;
        std::string line = read_host_file(L"Z:\\proc\\" + name + L"\\cmdline");
        for (char& c : line) c = c == '\0' ? ' ' : static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        while (!line.empty() && line.back() == ' ') line.pop_back();
        if (line == wanted) match = name;
    } while (!match && FindNextFileW(search.get(), &found));
    return match;
}

// Anonymous memory as bench/capture_start.py reads it: what Wine keeps
// private for the process.
double anonymous_mib(const std::wstring& host_pid) {
    const std::string rollup = read_host_file(L"Z:\\proc\\" + host_pid + L"\\smaps_rollup");
    const std::size_t at = rollup.find("\nAnonymous:");
    return at == std::string::npos ? NAN : std::strtod(rollup.c_str() + at + 11, nullptr) / 1024.0;
}

// One start of the resident; quits it, or ends it, when dropped.
class Resident {
public:
    Resident(const std::wstring& program) : program_(program) {
        std::wstring command = L"\"" + program + L"\"";
        STARTUPINFOW startup{.cb = sizeof(STARTUPINFOW)};
        PROCESS_INFORMATION started{};
        if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                            &started))
            return;
        CloseHandle(started.hThread);
        process_.reset(started.hProcess);
        id_ = started.dwProcessId;
    }
    Resident(const Resident&) = delete;
    Resident& operator=(const Resident&) = delete;
    ~Resident() {
        if (!process_) return;
        const HWND window = app_window_of(id_);
        if (!window || !PostMessageW(window, WM_APP_MENU_COMMAND, APP_COMMAND_QUIT, 0) ||
            WaitForSingleObject(process_.get(), 30000) != WAIT_OBJECT_0) {
            std::fprintf(stderr, "the resident did not quit; ended\n");
            TerminateProcess(process_.get(), 3);
            WaitForSingleObject(process_.get(), 10000);
        }
    }

    // Up, with its prepared editor child waiting: idle from then on.
    bool wait_until_idle() {
        if (!process_) return false;
        const bool idle = wait_until([&] {
            if (WaitForSingleObject(process_.get(), 0) == WAIT_OBJECT_0) return true;
            const DWORD child = running_child(id_);
            return loop_answers(app_window_of(id_)) && child && loop_answers(app_window_of(child));
        });
        if (idle && WaitForSingleObject(process_.get(), 0) != WAIT_OBJECT_0) return true;
        say_what_it_shows();
        return false;
    }

    double idle_anonymous_mib() const {
        const auto host_pid = host_process_of(program_);
        return host_pid ? anonymous_mib(*host_pid) : NAN;
    }

private:
    // A box would say why it never got idle.
    void say_what_it_shows() const {
        std::fprintf(stderr, "the resident did not get idle%s\n",
                     WaitForSingleObject(process_.get(), 0) == WAIT_OBJECT_0 ? " (it ended)" : "");
        bench::print_shown_windows(id_, L"shown");
    }

    std::wstring program_;
    win::UniqueHandle process_;
    DWORD id_ = 0;
};

// The settings file as it was, put back when the run ends.
class SettingsKept {
public:
    explicit SettingsKept(std::wstring path) : path_(std::move(path)) {
        auto bytes = win::read_file_if_exists(path_, 1 << 20);
        if (bytes) before_ = std::move(*bytes);
    }
    SettingsKept(const SettingsKept&) = delete;
    SettingsKept& operator=(const SettingsKept&) = delete;
    ~SettingsKept() {
        if (before_) (void)replace_file_atomically(*before_, path_, 2000);
        else DeleteFileW(path_.c_str());
    }

private:
    std::wstring path_;
    std::optional<std::string> before_;
};

bool write_settings(const std::wstring& path, const Shortcut& instant) {
    Settings settings;
    settings.capture_shortcut = {kCtrlAltShift, VK_F19};
    settings.instant_capture_shortcut = instant;
    settings.board_shortcut = {kCtrlAltShift, VK_F17};
    settings.start_with_windows = false;
    return save_settings_file(settings, path).ok();
}

bool run_case(const std::wstring& settings_path, HWND window, Case& measured, int presses) {
    if (!write_settings(settings_path, measured.instant)) {
        std::fprintf(stderr, "the settings file could not be written\n");
        return false;
    }
    Resident resident(measured.program);
    if (!resident.wait_until_idle()) return false;
    measured.idle_mib.push_back(resident.idle_anonymous_mib());
    if (!take_focus(window)) {
        std::fprintf(stderr, "the typing window never got the keyboard focus\n");
        return false;
    }
    g_recorder.delays = &measured.delays;
    const int dropped = type_keys(presses);
    g_recorder.delays = nullptr;
    measured.dropped += dropped;
    if (dropped == presses) std::fprintf(stderr, "no key reached the window (%s)\n", measured.name.c_str());
    return dropped < presses;
}

// As bench::report picks them.
double quantile(std::vector<double> samples, double q) {
    if (samples.empty()) return NAN;
    std::sort(samples.begin(), samples.end());
    return samples[static_cast<std::size_t>(q * double(samples.size() - 1))];
}

int run(const std::wstring& program, const std::wstring& beside) {
    // The tests that start the program use the same settings file under
    // this lock (tests/app/support/private_prefix.h): one at a time.
    auto lock = wait_for_mutex(win::UniqueHandle(CreateMutexW(nullptr, FALSE, L"Local\\Glimmerly.Tests.UserData")),
                               INFINITE);
    if (!lock || !*lock) {
        std::fprintf(stderr, "the tests' lock of the user's data could not be taken\n");
        return 1;
    }
    if (FindWindowExW(nullptr, nullptr, L"Glimmerly.Window", nullptr)) {
        std::fprintf(stderr, "a Glimmerly program runs in this prefix already\n");
        return 1;
    }
    auto folder = program_folder_path();
    if (!folder) {
        std::fprintf(stderr, "no program folder: %s\n", folder.failure().message.c_str());
        return 1;
    }
    const std::wstring settings_path = win::join_path(*folder, L"settings.txt");
    const SettingsKept kept(settings_path);

    WNDCLASSW window_class{.lpfnWndProc = typing_proc, .lpszClassName = L"Glimmerly.Bench.Typing"};
    RegisterClassW(&window_class);
    const int width = 600, height = 400;
    const win::UniqueWindow window(CreateWindowExW(
        0, window_class.lpszClassName, L"typing", WS_POPUP | WS_VISIBLE, (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
        (GetSystemMetrics(SM_CYSCREEN) - height) / 2, width, height, nullptr, nullptr, nullptr, nullptr));
    UpdateWindow(window.get());
    SetForegroundWindow(window.get());
    if (!take_focus(window.get())) {
        std::fprintf(stderr, "the typing window never got the keyboard focus\n");
        return 1;
    }
    // Sets Wine's offset of the key events' times before anything counts.
    type_keys(bench::once ? 1 : kWarmUpPresses);

    std::vector<Case> cases{{"hook out (Ctrl+Alt+Shift+F18)", program, {kCtrlAltShift, VK_F18}},
                            {"hook in (Scroll Lock)", program, {0, VK_SCROLL}}};
    if (!beside.empty()) cases.push_back({"hook in, the build beside", beside, {0, VK_SCROLL}});
    const int rounds = bench::runs(kRounds), presses = bench::once ? 3 : kPressesPerRound;
    for (int round = 0; round < rounds; ++round) {
        for (std::size_t turn = 0; turn < cases.size(); ++turn) {
            Case& measured = cases[(round + turn) % cases.size()];
            if (!run_case(settings_path, window.get(), measured, presses)) return 1;
        }
    }
    std::printf("a typed key from the X server's event to WM_KEYDOWN in another program, %d rounds of %d presses "
                "a case, alternated (above the quickest key)\n",
                rounds, presses);
    for (const Case& measured : cases) {
        bench::report(measured.name.c_str(), measured.delays, 0.95);
        if (measured.dropped) std::printf("  %d presses never arrived\n", measured.dropped);
    }
    const Case& out = cases[0];
    const double idle_out = quantile(out.idle_mib, 0.5);
    std::printf("idle resident, anonymous as the host counts it (median of its starts): %s %.2f MiB\n",
                out.name.c_str(), idle_out);
    for (std::size_t i = 1; i < cases.size(); ++i) {
        const double idle_in = quantile(cases[i].idle_mib, 0.5);
        std::printf("%s: adds median %+.3f ms, p95 %+.3f ms; idle %.2f MiB (%+.2f MiB)\n", cases[i].name.c_str(),
                    quantile(cases[i].delays, 0.5) - quantile(out.delays, 0.5),
                    quantile(cases[i].delays, 0.95) - quantile(out.delays, 0.95), idle_in, idle_in - idle_out);
    }
    return 0;
}

}  // namespace
}  // namespace glimmerly

int wmain(int argc, wchar_t** argv) {
    glimmerly::bench::take_once_argument(argc, argv);
    std::wstring program, beside;
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::wstring_view(argv[i]) == L"--program") program = argv[i + 1];
        if (std::wstring_view(argv[i]) == L"--beside") beside = argv[i + 1];
    }
    if (program.empty()) {
        // Built in build/win/bench/windows, the program in build/win.
        wchar_t own[MAX_PATH] = {};
        GetModuleFileNameW(nullptr, own, MAX_PATH);
        using glimmerly::win::folder_of;
        program = glimmerly::win::join_path(folder_of(folder_of(folder_of(own))), L"glimmerly.exe");
    }
    return glimmerly::run(program, beside);
}
