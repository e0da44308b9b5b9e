#include "core/startup/editor_link.h"

#include <gtest/gtest.h>

namespace glimmerly {
namespace {

using State = EditorLinkState;

TEST(EditorLink, TheChildsExitLeadsToTheNextStepByHowItEnded) {
    const struct { const char* name; EditorLink link; std::uint32_t code; AfterEditorExit next; } rows[] = {
        {"a capture ended cleanly", {State::Capturing, false, false, true}, 0, AfterEditorExit::PrepareNext},
        {"a capture failed", {State::Capturing, false, false, true}, 1, AfterEditorExit::Nothing},
        {"a prepared child ended by itself", {State::Ready, false, false, true}, 0, AfterEditorExit::Nothing},
        {"a replaced child", {State::Ready, false, true, true}, 1, AfterEditorExit::PrepareNext},
        {"a prepared child died under a capture", {State::Started, true, false, true}, 1,
         AfterEditorExit::CaptureAgain},
        {"a cold child died under a capture", {State::Started, true, false, false}, 1,
         AfterEditorExit::ReportStartFailure},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(after_editor_exit(row.link, row.code), row.next);
    }
}

TEST(EditorLink, AReadyReportTakesTheWaitingCaptureOnceAndOnlyFromAStartingChild) {
    EditorLink link{State::Started, true, false, false};
    EXPECT_TRUE(link_ready_child(link));
    EXPECT_EQ(link.state, State::Capturing);
    EXPECT_FALSE(link.capture_requested);
    EXPECT_FALSE(link_ready_child(link)) << "a repeated report";
    EditorLink idle{State::Started, false, false, true};
    EXPECT_FALSE(link_ready_child(idle));
    EXPECT_EQ(idle.state, State::Ready);
    EditorLink replaced{State::Started, true, true, true};
    EXPECT_FALSE(link_ready_child(replaced));
    EXPECT_EQ(replaced.state, State::Started);
}

}  // namespace
}  // namespace glimmerly
