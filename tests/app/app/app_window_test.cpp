// The application window's answers: what it keeps while the App is in use,
// what it shows when a handler fails, and where presentation messages go.

#include "app/app/events.h"

#include <gtest/gtest.h>

#include <thread>

#include "app/app/messages.h"
#include "app/win/failure.h"
#include "core/menu/app_command.h"
#include "tests/app/support/app_window.h"
#include "tests/app/support/child_process.h"
#include "tests/app/support/dialogs.h"
#include "text/app_error.h"

namespace glimmerly {
namespace {

using namespace testing_support;

TEST(AppWindow, KeepsOnlyTheLastOfARunOfDisplayChangesWhileTheAppIsInUse) {
    TestAppWindow test;
    auto busy = test.cell().try_borrow();
    for (LPARAM size : {1, 2, 3}) SendMessageW(test.window(), WM_DISPLAYCHANGE, 32, size);
    SendMessageW(test.window(), WM_APP_EDITOR_READY, 7, 8);
    SendMessageW(test.window(), WM_DISPLAYCHANGE, 32, 4);
    EXPECT_FALSE(busy->display_changed);

    std::vector<std::pair<UINT, LPARAM>> kept;
    for (const DeferredMessage& e : take_deferred_messages(test.window())) kept.emplace_back(e.message, e.lparam);
    EXPECT_EQ(kept, (decltype(kept){{WM_DISPLAYCHANGE, 3}, {WM_APP_EDITOR_READY, 8}, {WM_DISPLAYCHANGE, 4}}));
}

TEST(AppWindow, AMessageArrivingOnceTheAppIsFreeWaitsBehindThoseKeptBeforeIt) {
    TestAppWindow test;
    auto busy = test.cell().try_borrow();
    SendMessageW(test.window(), WM_APP_EDITOR_READY, 7, 8);
    busy.release();
    SendMessageW(test.window(), WM_APP_EDITOR_EXITED, 7, 1);

    std::vector<UINT> kept;
    for (const DeferredMessage& e : take_deferred_messages(test.window())) kept.push_back(e.message);
    EXPECT_EQ(kept, (std::vector<UINT>{WM_APP_EDITOR_READY, WM_APP_EDITOR_EXITED}));
}

TEST(AppWindow, ReplaysWhatArrivedWhileInUseOnceTheAppIsFree) {
    TestAppWindow test;
    auto busy = test.cell().try_borrow();
    SendMessageW(test.window(), WM_DISPLAYCHANGE, 32, 0);
    // A close waits too: the default answer would destroy the window under
    // the handler that holds the App.
    SendMessageW(test.window(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(IsWindow(test.window()));
    busy.release();

    EXPECT_TRUE(run_message_loop_bounded(test.cell(), test.window()).ok());
    EXPECT_TRUE(test.cell().try_borrow()->display_changed);
}

// A thread whose window still keeps messages when the thread ends.
GLIM_TEST_CHILD(KeepMessagesOnAThread) {
    std::thread([] {
        TestAppWindow test;
        auto busy = test.cell().try_borrow();
        SendMessageW(test.window(), WM_DISPLAYCHANGE, 32, 1);
        SendMessageW(test.window(), WM_APP_EDITOR_READY, 7, 8);
    }).join();
    return 0;
}

TEST(AppWindow, MessagesKeptOnAThreadGoWithIt) {
    auto child = start_child(L"KeepMessagesOnAThread", {}, {kCheckFreedMemory});
    ASSERT_TRUE(child.ok());
    EXPECT_EQ(wait_for_exit(*child, 60000), 0);
}

Result<LayerPointer> refusing_layer_maker(std::int32_t, std::int32_t, std::int32_t, std::int32_t, void*) {
    return plain_failure("Layer refused by the test");
}

TEST(AppWindow, AFailedMessageIsShownAndEndsOnlyAnEditorChildWithoutACapture) {
    for (const bool editor_child : {false, true}) {
        SCOPED_TRACE(editor_child ? "editor child" : "resident");
        std::string loop_end = "not run";
        const AnsweredBox box = answer_message_box([&] {
            TestAppWindow test(AppOptions{.in_process_editor = editor_child});
            // Pointer effects whose layer cannot be made: the command fails.
            test.cell().try_borrow()->presentation = attach_presentation_state(test.window(), Settings{}).value();
            test.cell().try_borrow()->presentation->try_borrow()->make_layer = refusing_layer_maker;
            PostMessageW(test.window(), WM_APP_MENU_COMMAND, CMD_PRESENTATION_POINTER_EFFECTS, 0);
            // The resident ends by a close, which waits for the box.
            if (!editor_child) PostMessageW(test.window(), WM_CLOSE, 0, 0);
            const Status ended = run_message_loop_bounded(test.cell(), test.window());
            loop_end = ended ? "" : error_to_text(ended.failure(), LANGUAGE_ENGLISH);
        });
        // What the user is told is that the mode stopped, not the failure behind it.
        EXPECT_TRUE(box.text.starts_with(L"Presentation stopped after an error.")) << win::to_utf8(box.text);
        EXPECT_EQ(loop_end, editor_child ? "Unexpected internal failure. Glimmerly has stopped." : "");
    }
}

TEST(AppWindow, APresentationFailureIsToldOnlyWhenTheWindowHasPresentation) {
    for (const bool attached : {true, false}) {
        SCOPED_TRACE(attached ? "attached" : "none");
        const AnsweredBox box = answer_message_box([&] {
            TestAppWindow test;
            std::unique_ptr<PresentationCell> presentation;
            if (attached) presentation = attach_presentation_state(test.window(), Settings{}).value();
            SendMessageW(test.window(), WM_APP_PRESENTATION_FAILED, 0, 0);
            destroy_presentation_state(std::move(presentation));
        });
        EXPECT_EQ(box.text.starts_with(L"Presentation stopped after an error."), attached);
    }
}

}  // namespace
}  // namespace glimmerly
