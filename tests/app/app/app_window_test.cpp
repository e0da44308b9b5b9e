// The application window's answers: what it keeps while the App is in use,
// what it shows when a handler fails, and where presentation messages go.

#include "app/app/events.h"

#include <gtest/gtest.h>

#include "app/app/messages.h"
#include "tests/app/support/app_window.h"
#include "tests/app/support/dialogs.h"
#include "text/app_error.h"

namespace glimmerly {
namespace {

using namespace testing_support;

bool display_changed(AppCell& cell) {
    auto app = cell.try_borrow();
    return app && app->display_changed;
}

TEST(AppWindow, KeepsOnlyTheLastOfARunOfDisplayChangesWhileTheAppIsInUse) {
    TestAppWindow test;
    ASSERT_TRUE(test.window());
    auto busy = test.cell().try_borrow();
    for (LPARAM size : {1, 2, 3}) SendMessageW(test.window(), WM_DISPLAYCHANGE, 32, size);
    SendMessageW(test.window(), WM_APP_EDITOR_READY, 7, 8);
    SendMessageW(test.window(), WM_DISPLAYCHANGE, 32, 4);
    EXPECT_FALSE(busy->display_changed);

    const auto kept = take_deferred_messages(test.window());
    ASSERT_EQ(kept.size(), 3u);
    EXPECT_EQ(kept[0].message, static_cast<UINT>(WM_DISPLAYCHANGE));
    EXPECT_EQ(kept[0].lparam, 3);
    EXPECT_EQ(kept[1].message, WM_APP_EDITOR_READY);
    EXPECT_EQ(kept[2].lparam, 4);
}

TEST(AppWindow, ReplaysWhatArrivedWhileInUseOnceTheAppIsFree) {
    TestAppWindow test;
    ASSERT_TRUE(test.window());
    auto busy = test.cell().try_borrow();
    SendMessageW(test.window(), WM_DISPLAYCHANGE, 32, 0);
    // A close must wait too: the default answer would destroy the window
    // under the handler that holds the App.
    SendMessageW(test.window(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(IsWindow(test.window()));
    busy.release();

    std::optional<WPARAM> quit;
    EXPECT_TRUE(pump_until([&] { return display_changed(test.cell()) && quit.has_value(); }, 5000, &quit));
    EXPECT_EQ(quit, std::optional<WPARAM>(0));
}

TEST(AppWindow, AFailedMessageIsShownAndEndsOnlyAnEditorChildWithoutACapture) {
    struct Row {
        const char* name;
        bool in_process_editor;
        std::string loop_end;
    };
    const Row rows[] = {
        {"resident goes on", false, ""},
        {"editor child stops", true, "Unexpected internal failure. Glimmerly has stopped."},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        std::string loop_end = "not run";
        bool timed_out = true;
        const AnsweredBox box = answer_message_box([&] {
            AppOptions options;
            options.in_process_editor = row.in_process_editor;
            TestAppWindow test(std::move(options));
            PostMessageW(test.window(), WM_APP_START_CAPTURE, 0, 0);
            // The resident ends by a close, which waits for the box.
            if (!row.in_process_editor) PostMessageW(test.window(), WM_CLOSE, 0, 0);
            const Status ended = run_message_loop_bounded(test.cell(), test.window(), timed_out);
            loop_end = ended ? "" : error_to_text(ended.failure(), LANGUAGE_ENGLISH);
        });
        EXPECT_EQ(box.text, L"Capturing the screen is not available in this version of Glimmerly.");
        EXPECT_EQ(loop_end, row.loop_end);
        EXPECT_FALSE(timed_out);
    }
}

// The window's state, attached as presentation mode attaches it.
std::unique_ptr<PresentationCell> attach_presentation(HWND window) {
    auto attached = attach_presentation_state(window, Settings{});
    return attached ? std::move(attached).value() : nullptr;
}

TEST(AppWindow, AKeyReportThatFindsPresentationBusyIsPostedAgain) {
    TestAppWindow test;
    auto presentation = attach_presentation(test.window());
    ASSERT_TRUE(presentation);
    {
        auto busy = presentation->try_borrow();
        SendMessageW(test.window(), WM_APP_KEY_REPORT, 'A', 0x1E);
    }
    MSG message;
    ASSERT_TRUE(PeekMessageW(&message, test.window(), WM_APP_KEY_REPORT, WM_APP_KEY_REPORT, PM_REMOVE));
    EXPECT_EQ(message.wParam, static_cast<WPARAM>('A'));
    EXPECT_EQ(message.lParam, 0x1E);
    destroy_presentation_state(std::move(presentation));
}

TEST(AppWindow, APresentationFailureIsToldOnlyWhenTheWindowHasPresentation) {
    for (const bool attached : {true, false}) {
        SCOPED_TRACE(attached ? "attached" : "none");
        const AnsweredBox box = answer_message_box([&] {
            TestAppWindow test;
            auto presentation = attached ? attach_presentation(test.window()) : nullptr;
            SendMessageW(test.window(), WM_APP_PRESENTATION_FAILED, 0, 0);
            destroy_presentation_state(std::move(presentation));
        });
        EXPECT_EQ(box.text, attached ? L"Presentation stopped after an error. You can enable it again from the "
                                       L"Glimmerly menu."
                                     : L"");
    }
}

}  // namespace
}  // namespace glimmerly
