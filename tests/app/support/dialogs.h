#pragma once
// Reading and answering the message boxes a test provokes, so that an
// unattended run never hangs on one.

#include <windows.h>

#include <functional>
#include <mutex>
#include <set>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "app/win/owners.h"

namespace glimmerly::testing_support {

// What a message box showed.
struct AnsweredBox {
    std::wstring title;
    std::wstring text;
    HICON icon = nullptr;
};

namespace dialogs_detail {

// A hook has no context argument: the boxes being waited for are noted
// here, by one thread at a time, the thread that shows them.
inline std::vector<AnsweredBox>* waiting = nullptr;

inline std::wstring window_text(HWND window) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

inline BOOL CALLBACK find_icon(HWND child, LPARAM out) noexcept {
    *reinterpret_cast<HICON*>(out) = reinterpret_cast<HICON>(SendMessageW(child, STM_GETICON, 0, 0));
    return *reinterpret_cast<HICON*>(out) == nullptr;
}

// Boxes already read and answered: each is read once, by whichever of the
// two ways below comes first.
inline std::set<HWND>* answered_boxes = nullptr;

inline void answer_box(HWND box) {
    if (!waiting || !answered_boxes || !IsWindow(box) || !answered_boxes->insert(box).second) return;
    AnsweredBox& shown = waiting->emplace_back(window_text(box), window_text(GetDlgItem(box, 0xFFFF)));
    EnumChildWindows(box, find_icon, reinterpret_cast<LPARAM>(&shown.icon));
    PostMessageW(box, WM_COMMAND, IDOK, 0);
}

// A box that a busy display never activates is answered all the same, from
// a timer of its own thread that its modal loop dispatches.
inline void CALLBACK answer_unactivated_boxes(HWND, UINT, UINT_PTR timer, DWORD) noexcept {
    KillTimer(nullptr, timer);
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM) noexcept -> BOOL {
            wchar_t name[16] = {};
            if (GetClassNameW(window, name, 16) && std::wstring_view(name) == L"#32770" && IsWindowVisible(window))
                answer_box(window);
            return TRUE;
        },
        0);
}

// A box is complete when it is first activated: its dialog has filled it.
// Other windows of the thread activated meanwhile are no boxes.
inline LRESULT CALLBACK on_window_event(int code, WPARAM w, LPARAM l) noexcept {
    const HWND box = reinterpret_cast<HWND>(w);
    wchar_t name[16] = {};
    if (waiting && (code == HCBT_ACTIVATE || code == HCBT_CREATEWND) && GetClassNameW(box, name, 16) &&
        std::wstring_view(name) == L"#32770") {
        if (code == HCBT_ACTIVATE)
            answer_box(box);
        else
            SetTimer(nullptr, 0, 3000, answer_unactivated_boxes);
    }
    return CallNextHookEx(nullptr, code, w, l);
}

}  // namespace dialogs_detail

// Runs `action`, reads every message box it shows on this thread and
// answers each with OK, oldest first.
inline std::vector<AnsweredBox> answer_message_boxes(const std::function<void()>& action) {
    std::vector<AnsweredBox> shown;
    std::set<HWND> answered;
    dialogs_detail::waiting = &shown;
    dialogs_detail::answered_boxes = &answered;
    const HHOOK hook = SetWindowsHookExW(WH_CBT, dialogs_detail::on_window_event, nullptr, GetCurrentThreadId());
    action();
    UnhookWindowsHookEx(hook);
    dialogs_detail::waiting = nullptr;
    dialogs_detail::answered_boxes = nullptr;
    return shown;
}

// The first of them; all empty when no box came.
inline AnsweredBox answer_message_box(const std::function<void()>& action) {
    std::vector<AnsweredBox> shown = answer_message_boxes(action);
    return shown.empty() ? AnsweredBox{} : shown.front();
}

// Answers, with OK, every dialog (#32770) that the watched processes or
// the processes they started show, for as long as it lives, and keeps what
// each showed. Programs started by a
// test may show a box at any moment; none of them can block the run.
class DialogSweeper {
public:
    DialogSweeper();
    DialogSweeper(const DialogSweeper&) = delete;
    DialogSweeper& operator=(const DialogSweeper&) = delete;
    ~DialogSweeper();

    void watch(DWORD process_id);
    // Dialogs with this title are the test's own to answer (a Save dialog
    // it types into): left alone and not kept.
    void leave_alone(std::wstring title);
    // The boxes answered so far, oldest first.
    std::vector<AnsweredBox> answered();
    // Waits up to `timeout_ms` for a box whose text is `text`.
    bool wait_for_text(const std::wstring& text, unsigned timeout_ms = 20000);

private:
    void sweep();

    std::mutex mutex_;
    std::set<DWORD> watched_;
    std::set<std::wstring> left_alone_;
    std::vector<AnsweredBox> answered_;
    std::set<HWND> seen_;  // the sweeping thread's own
    win::UniqueHandle stop_;
    win::UniqueHandle answered_event_;
    std::thread thread_;
};

}  // namespace glimmerly::testing_support
