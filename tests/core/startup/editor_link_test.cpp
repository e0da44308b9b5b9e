#include "core/startup/editor_link.h"

#include <gtest/gtest.h>

namespace glimmerly {
namespace {

using State = EditorLinkState;

TEST(EditorLink, TheChildsExitLeadsToTheNextStepByHowItEnded) {
    const struct {
        const char* name;
        EditorLink link;
        std::uint32_t code;
        AfterEditorExit next;
    } rows[] = {
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

TEST(EditorLink, TheCommandLineStartsWithTheQuotedProgramPath) {
    EXPECT_EQ(editor_command_line(u"C:\\Program Files\\g.exe", 4242, true, u""),
              u"\"C:\\Program Files\\g.exe\" --prepared-editor --notification-owner=4242");
    EXPECT_EQ(editor_command_line(u"g.exe", 7, false, u"--first-frame-diagnostic"),
              u"\"g.exe\" --prepared-editor --notification-owner=7 --cold-editor --first-frame-diagnostic");
}

TEST(EditorLink, APackedRectangleNeedsRightOfLeftAndBelowTop) {
    const auto pack = [](std::int16_t l, std::int16_t t, std::int16_t r, std::int16_t b) {
        return std::uint64_t{std::uint16_t(l)} | std::uint64_t{std::uint16_t(t)} << 16 |
               std::uint64_t{std::uint16_t(r)} << 32 | std::uint64_t{std::uint16_t(b)} << 48;
    };
    EXPECT_EQ(unpack_rect(pack(-10, -20, 30, 40)), (PixelRect{-10, -20, 30, 40}));
    EXPECT_EQ(unpack_rect(pack(5, 0, 5, 9)), std::nullopt);
    EXPECT_EQ(unpack_rect(pack(0, 9, 5, 2)), std::nullopt);
    EXPECT_EQ(unpack_rect(0), std::nullopt);
}

}  // namespace
}  // namespace glimmerly
