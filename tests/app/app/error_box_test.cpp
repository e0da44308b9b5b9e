#include "app/app/error_box.h"

#include <gtest/gtest.h>

#include <thread>

#include "app/win/failure.h"
#include "tests/app/support/dialogs.h"
#include "text/app_error.h"

namespace glimmerly {
namespace {

struct ShownBox {
    std::wstring title;
    std::wstring text;
    HICON icon = nullptr;
};

ShownBox show_and_read(const Failure& error) {
    ShownBox shown;
    DWORD thread_id = 0;
    HANDLE ready = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::thread box([&] {
        thread_id = GetCurrentThreadId();
        SetEvent(ready);
        show_error_box(nullptr, error);
    });
    WaitForSingleObject(ready, INFINITE);
    CloseHandle(ready);
    if (HWND dialog = testing_support::wait_for_dialog(thread_id)) {
        shown.title = testing_support::window_text(dialog);
        shown.text = testing_support::window_text(GetDlgItem(dialog, 0xFFFF));
        shown.icon = testing_support::message_box_icon(dialog);
        PostMessageW(dialog, WM_COMMAND, IDOK, 0);
    }
    box.join();
    return shown;
}

TEST(ErrorBox, ShowsTheLocalisedTextTitledGlimmerlyWithTheInformationIcon) {
    const ShownBox shown = show_and_read(make_app_error(TextId::error_settings_busy));
    EXPECT_EQ(shown.title, L"Glimmerly");
    EXPECT_EQ(shown.text, L"Settings are busy. Please try again.");
    EXPECT_EQ(shown.icon, LoadIconW(nullptr, IDI_INFORMATION));
}

TEST(ErrorBox, ShowsForeignErrorsAsTheirOwnMessage) {
    EXPECT_EQ(show_and_read(plain_failure("Disk full")).text, L"Disk full");
    // Without a message the system's words for the code stand in.
    EXPECT_EQ(error_box_text(Failure{static_cast<std::int32_t>(0x80070005u), ""}),
              win::to_wide(win::system_message(static_cast<std::int32_t>(0x80070005u))));
}

}  // namespace
}  // namespace glimmerly
