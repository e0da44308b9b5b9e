#include "tests/app/support/dialogs.h"

#include <thread>

namespace glimmerly::testing_support {
namespace {

BOOL CALLBACK find_dialog(HWND window, LPARAM out) noexcept {
    wchar_t name[16] = {};
    GetClassNameW(window, name, 16);
    if (std::wstring_view(name) == L"#32770" && IsWindowVisible(window)) {
        *reinterpret_cast<HWND*>(out) = window;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK find_icon(HWND child, LPARAM out) noexcept {
    if (HICON icon = reinterpret_cast<HICON>(SendMessageW(child, STM_GETICON, 0, 0))) {
        *reinterpret_cast<HICON*>(out) = icon;
        return FALSE;
    }
    return TRUE;
}

// The first dialog (#32770) of the thread, waited for up to `timeout_ms` or
// until `finished` is set; null when none came.
HWND wait_for_dialog(DWORD thread_id, HANDLE finished, unsigned timeout_ms = 10000) {
    const ULONGLONG deadline = GetTickCount64() + timeout_ms;
    for (;;) {
        HWND found = nullptr;
        EnumThreadWindows(thread_id, find_dialog, reinterpret_cast<LPARAM>(&found));
        if (found || GetTickCount64() > deadline) return found;
        // The box appears on another thread; there is no event to wait for.
        if (WaitForSingleObject(finished, 10) == WAIT_OBJECT_0) return nullptr;
    }
}

std::wstring window_text(HWND window) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

// The icon shown by a message box, or null.
HICON message_box_icon(HWND dialog) {
    HICON icon = nullptr;
    EnumChildWindows(dialog, find_icon, reinterpret_cast<LPARAM>(&icon));
    return icon;
}

}  // namespace

AnsweredBox answer_message_box(const std::function<void()>& action) {
    AnsweredBox shown;
    DWORD thread_id = 0;
    HANDLE ready = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE finished = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::thread worker([&] {
        thread_id = GetCurrentThreadId();
        SetEvent(ready);
        action();
        SetEvent(finished);
    });
    WaitForSingleObject(ready, INFINITE);
    CloseHandle(ready);
    if (HWND dialog = wait_for_dialog(thread_id, finished)) {
        shown.title = window_text(dialog);
        shown.text = window_text(GetDlgItem(dialog, 0xFFFF));
        shown.icon = message_box_icon(dialog);
        PostMessageW(dialog, WM_COMMAND, IDOK, 0);
    }
    worker.join();
    CloseHandle(finished);
    return shown;
}

DialogSweeper::DialogSweeper()
    : stop_(CreateEventW(nullptr, TRUE, FALSE, nullptr)),
      answered_event_(CreateEventW(nullptr, FALSE, FALSE, nullptr)),
      thread_([this] { sweep(); }) {}

DialogSweeper::~DialogSweeper() {
    SetEvent(stop_.get());
    thread_.join();
}

void DialogSweeper::watch(DWORD process_id) {
    std::lock_guard lock(mutex_);
    watched_.insert(process_id);
}

std::vector<AnsweredBox> DialogSweeper::answered() {
    std::lock_guard lock(mutex_);
    return answered_;
}

bool DialogSweeper::wait_for_text(const std::wstring& text, unsigned timeout_ms) {
    const ULONGLONG deadline = GetTickCount64() + timeout_ms;
    for (ULONGLONG now = GetTickCount64();; now = GetTickCount64()) {
        for (const auto& box : answered())
            if (box.text == text) return true;
        if (now >= deadline) return false;
        WaitForSingleObject(answered_event_.get(), static_cast<DWORD>(deadline - now));
    }
}

void DialogSweeper::sweep() {
    // Boxes of other processes come and go with no event to wait on: look
    // every 20 ms until told to stop.
    while (WaitForSingleObject(stop_.get(), 20) == WAIT_TIMEOUT) {
        std::vector<HWND> dialogs;
        EnumWindows(
            [](HWND window, LPARAM out) noexcept -> BOOL {
                HWND found = nullptr;
                find_dialog(window, reinterpret_cast<LPARAM>(&found));
                if (found) reinterpret_cast<std::vector<HWND>*>(out)->push_back(found);
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&dialogs));
        for (HWND dialog : dialogs) {
            DWORD process = 0;
            GetWindowThreadProcessId(dialog, &process);
            std::lock_guard lock(mutex_);
            // A box already answered may still be on screen for a moment.
            if (!watched_.count(process) || !seen_.insert(dialog).second) continue;
            answered_.push_back(
                {window_text(dialog), window_text(GetDlgItem(dialog, 0xFFFF)), message_box_icon(dialog)});
            PostMessageW(dialog, WM_COMMAND, IDOK, 0);
            SetEvent(answered_event_.get());
        }
    }
}

}  // namespace glimmerly::testing_support
