#pragma once
// Finding and answering the message boxes a test provokes, so that an
// unattended run never hangs on one.

#include <windows.h>

#include <functional>
#include <mutex>
#include <set>
#include <string>
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

// Runs `action` on a thread of its own, reads the first message box it shows
// and answers it with OK; all empty when no box came.
AnsweredBox answer_message_box(const std::function<void()>& action);

// Answers, with OK, every dialog (#32770) that the watched processes show,
// for as long as it lives, and keeps what each showed. Programs started by a
// test may show a box at any moment; none of them can block the run.
class DialogSweeper {
public:
    DialogSweeper();
    DialogSweeper(const DialogSweeper&) = delete;
    DialogSweeper& operator=(const DialogSweeper&) = delete;
    ~DialogSweeper();

    void watch(DWORD process_id);
    // The boxes answered so far, oldest first.
    std::vector<AnsweredBox> answered();
    // Waits up to `timeout_ms` for a box whose text is `text`.
    bool wait_for_text(const std::wstring& text, unsigned timeout_ms = 20000);

private:
    void sweep();

    std::mutex mutex_;
    std::set<DWORD> watched_;
    std::vector<AnsweredBox> answered_;
    std::set<HWND> seen_;  // the sweeping thread's own
    win::UniqueHandle stop_;
    win::UniqueHandle answered_event_;
    std::thread thread_;
};

}  // namespace glimmerly::testing_support
