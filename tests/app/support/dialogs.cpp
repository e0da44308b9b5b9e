#include "tests/app/support/dialogs.h"

#include <tlhelp32.h>

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

// The icon shown by a message box, or null.
HICON message_box_icon(HWND dialog) {
    HICON icon = nullptr;
    EnumChildWindows(dialog, dialogs_detail::find_icon, reinterpret_cast<LPARAM>(&icon));
    return icon;
}

DWORD parent_process_id(DWORD process) {
    win::UniqueFileHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    PROCESSENTRY32W entry{.dwSize = sizeof(PROCESSENTRY32W)};
    for (bool more = snapshot && Process32FirstW(snapshot.get(), &entry); more;
         more = Process32NextW(snapshot.get(), &entry))
        if (entry.th32ProcessID == process) return entry.th32ParentProcessID;
    return 0;
}

}  // namespace

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

void DialogSweeper::leave_alone(std::wstring title) {
    std::lock_guard lock(mutex_);
    left_alone_.insert(std::move(title));
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
            if (!watched_.count(process) && watched_.count(parent_process_id(process))) watched_.insert(process);
            const std::wstring title = dialogs_detail::window_text(dialog);
            // Remembered, so that it is not taken for an untitled box as it
            // closes, when its title can no longer be read.
            if (left_alone_.count(title)) seen_.insert(dialog);
            // A box already answered may still be on screen for a moment; one
            // gone since it was found is nobody's to answer.
            if (!watched_.count(process) || !seen_.insert(dialog).second || !IsWindow(dialog)) continue;
            answered_.push_back(
                {title, dialogs_detail::window_text(GetDlgItem(dialog, 0xFFFF)), message_box_icon(dialog)});
            PostMessageW(dialog, WM_COMMAND, IDOK, 0);
            SetEvent(answered_event_.get());
        }
    }
}

}  // namespace glimmerly::testing_support
