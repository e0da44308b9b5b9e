// The Windows side of bench/shape_arm.py, which times a temporary shape's
// shortcut from outside the program. It reads commands from standard input,
// one a line, and answers each with one line ("done", "failed" or a word):
//   settings      writes settings with Print Screen as the capture shortcut,
//                 a disc halo, click ripples, a spotlight that waits for its
//                 key (Ctrl+Shift+F9) and shapes that stay three seconds
//   wait          waits until the resident runs its loop
//   effects on    the pointer effects switched on (or "effects off"), as
//                 the tray's switch does, and waits until that is done
//   front         Notepad maximised in front with its keyboard focus (it is
//                 started the first time), as the program being presented
//   calm          waits until Notepad is in front and out of its menu
//   shape         "armed", "drawn" or "none": the shapes layer takes the
//                 mouse, lets it through with a shape in it, or is absent
//   drop          Escape posted to an armed layer, and waits until no layer
//                 is left (the resident's layers are listed when one stays)
//   quit          quits the resident and ends Notepad
// Not part of the product.

#include <windows.h>

#include <cstdio>
#include <iostream>
#include <string>

#include "app/app/messages.h"
#include "app/lib/program_folders.h"
#include "app/lib/settings_store.h"
#include "app/win/owners.h"
#include "core/menu/app_command.h"
#include "tests/app/support/foreground.h"

namespace glimmerly {
namespace {

constexpr AppCommand kPointerEffectsCommand = 101;

bool write_bench_settings() {
    Settings settings;
    settings.capture_shortcut = {0, VK_SNAPSHOT};
    settings.start_with_windows = false;
    settings.pointer.halo_shape = 1;
    settings.pointer.click_animation = 1;
    settings.pointer.spotlight_shape = 1;
    settings.pointer.spotlight_shortcut = Shortcut{kShortcutCtrl | kShortcutShift, VK_F9};
    settings.presentation_duration_ms = 3000;
    auto folder = program_folder_path();
    return folder && save_settings_file(settings, *folder + L"\\settings.txt");
}

// The resident is the program whose application window is a tool window.
HWND resident_window() {
    for (HWND window = nullptr; (window = FindWindowExW(nullptr, window, L"Glimmerly.Window", nullptr));)
        if (GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) return window;
    return nullptr;
}

bool loop_runs(HWND window) {
    DWORD_PTR ignored = 0;
    return window && SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 30000, &ignored);
}

template <class Condition>
bool eventually(Condition condition) {
    for (int wait = 0; wait < 3000; ++wait, Sleep(10))
        if (condition()) return true;
    return false;
}

bool full_screen(HWND window) {
    RECT rect{};
    return GetWindowRect(window, &rect) && rect.left == GetSystemMetrics(SM_XVIRTUALSCREEN) &&
           rect.top == GetSystemMetrics(SM_YVIRTUALSCREEN) &&
           rect.right - rect.left == GetSystemMetrics(SM_CXVIRTUALSCREEN) &&
           rect.bottom - rect.top == GetSystemMetrics(SM_CYVIRTUALSCREEN);
}

class Driver {
public:
    std::string run(const std::string& line) {
        if (line == "settings") return answer(write_bench_settings());
        if (line == "wait") return answer(eventually([] { return resident_window() != nullptr; }) &&
                                          loop_runs(resident_window()));
        if (line == "effects on") return answer(switch_effects(true));
        if (line == "effects off") return answer(switch_effects(false));
        if (line == "front") return answer(front());
        if (line == "calm") return answer(eventually([&] { return notepad_active() && !notepad_in_menu(); }));
        if (line == "shape") return shape_state();
        if (line == "drop") return answer(drop());
        if (line == "quit") return answer(quit());
        return "failed";
    }

private:
    static std::string answer(bool done) { return done ? "done" : "failed"; }

    // The switch is posted as the tray's is, and seen done by its windows:
    // with the effects on, the first frame makes the pointer layer over the
    // monitor, which is remembered so as to tell it from the shapes layer.
    // That frame goes on for a second or more on a loaded machine after the
    // layer shows (a presenter who has had the effects on for a while never
    // waits for it), and no message tells its end: the resident answers
    // sent messages while it makes its drawing resources. So it is given
    // three seconds.
    bool switch_effects(bool on) {
        const HWND window = resident_window();
        if (on != effects_) {
            if (!PostMessageW(window, WM_APP_MENU_COMMAND, kPointerEffectsCommand, 0)) return false;
            effects_ = on;
        }
        pointer_layer_ = nullptr;
        const bool switched = on ? eventually([&] { return (pointer_layer_ = full_screen_layer(nullptr)) != nullptr; })
                                 : eventually([&] { return full_screen_layer(nullptr) == nullptr; });
        Sleep(3000);
        return switched && loop_runs(window);
    }

    HWND full_screen_layer(HWND other) const {
        DWORD resident = 0;
        GetWindowThreadProcessId(resident_window(), &resident);
        for (HWND window = nullptr; (window = FindWindowExW(nullptr, window, L"Glimmerly.Presentation", nullptr));) {
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (owner == resident && window != other && IsWindowVisible(window) && full_screen(window)) return window;
        }
        return nullptr;
    }

    HWND shapes_layer() const { return full_screen_layer(pointer_layer_); }

    std::string shape_state() const {
        const HWND layer = shapes_layer();
        if (!layer) return "none";
        return (GetWindowLongPtrW(layer, GWL_EXSTYLE) & WS_EX_TRANSPARENT) ? "drawn" : "armed";
    }

    bool drop() {
        if (const HWND layer = shapes_layer(); layer && !(GetWindowLongPtrW(layer, GWL_EXSTYLE) & WS_EX_TRANSPARENT))
            PostMessageW(layer, WM_KEYDOWN, VK_ESCAPE, 0);
        if (eventually([&] { return shapes_layer() == nullptr; })) return true;
        DWORD resident = 0;
        GetWindowThreadProcessId(resident_window(), &resident);
        for (HWND window = nullptr; (window = FindWindowExW(nullptr, window, L"Glimmerly.Presentation", nullptr));) {
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            RECT rect{};
            GetWindowRect(window, &rect);
            std::fprintf(stderr, "layer %p owner %lu%s visible %d exstyle %llx rect %ld %ld %ld %ld pointer %p\n",
                         (void*)window, owner, owner == resident ? " (resident)" : "", int(IsWindowVisible(window)),
                         (unsigned long long)GetWindowLongPtrW(window, GWL_EXSTYLE), rect.left, rect.top, rect.right,
                         rect.bottom, (void*)pointer_layer_);
        }
        return false;
    }

    bool front() {
        if (!notepad_window_) {
            std::wstring command = L"notepad.exe";
            STARTUPINFOW startup{.cb = sizeof(STARTUPINFOW)};
            PROCESS_INFORMATION info{};
            if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
                return false;
            CloseHandle(info.hThread);
            notepad_.reset(info.hProcess);
            WaitForInputIdle(notepad_.get(), 30000);
            const DWORD id = info.dwProcessId;
            eventually([&] {
                for (HWND window = nullptr; (window = FindWindowExW(nullptr, window, L"Notepad", nullptr));) {
                    DWORD owner = 0;
                    GetWindowThreadProcessId(window, &owner);
                    if (owner == id) notepad_window_ = window;
                }
                return notepad_window_ != nullptr;
            });
            if (!notepad_window_) return false;
            ShowWindow(notepad_window_, SW_MAXIMIZE);
        }
        SetForegroundWindow(notepad_window_);
        return eventually([&] { return notepad_active(); });
    }

    bool notepad_active() const { return testing_support::active_with_focus(notepad_window_); }
    bool notepad_in_menu() const { return testing_support::in_menu_mode(notepad_window_); }

    bool quit() {
        const HWND window = resident_window();
        DWORD id = 0;
        GetWindowThreadProcessId(window, &id);
        win::UniqueHandle process(OpenProcess(SYNCHRONIZE, FALSE, id));
        if (notepad_) TerminateProcess(notepad_.get(), 0);
        if (!process || !PostMessageW(window, WM_APP_MENU_COMMAND, APP_COMMAND_QUIT, 0)) return false;
        return WaitForSingleObject(process.get(), 30000) == WAIT_OBJECT_0;
    }

    bool effects_ = false;
    HWND pointer_layer_ = nullptr;
    win::UniqueHandle notepad_;
    HWND notepad_window_ = nullptr;
};

}  // namespace
}  // namespace glimmerly

int wmain() {
    glimmerly::Driver driver;
    std::string line;
    while (std::getline(std::cin, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        std::printf("%s\n", driver.run(line).c_str());
        std::fflush(stdout);
    }
    return 0;
}
