#include "core/startup/editor_link.h"

#include <gtest/gtest.h>

#include <vector>

namespace glimmerly {
namespace {

using State = EditorLinkState;
using Next = AfterEditorExit;

TEST(EditorLink, TheChildsExitLeadsToTheNextStepByHowItEnded) {
    const struct { const char* name; EditorLink link; std::uint32_t code; AfterEditorExit next; } rows[] = {
        {"a capture ended cleanly", {State::Capturing, false, false, true}, 0, Next::PrepareNext},
        {"a capture failed", {State::Capturing, false, false, true}, 1, Next::Nothing},
        {"a prepared child ended by itself", {State::Ready, false, false, true}, 0, Next::Nothing},
        {"a replaced child", {State::Ready, false, true, true}, 1, Next::PrepareNext},
        {"a prepared child died under a capture", {State::Started, true, false, true}, 1, Next::CaptureAgain},
        {"a cold child died under a capture", {State::Started, true, false, false}, 1, Next::ReportStartFailure},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(after_editor_exit(row.link, row.code), row.next);
    }
}

enum class Event { Ask, Ready, Acknowledge };

// The link from a child's start through what happened to it, as the
// resident sees it.
EditorLink run(bool prepared, const std::vector<Event>& events) {
    EditorLink link{State::Started, false, false, prepared};
    for (const Event event : events) {
        switch (event) {
            case Event::Ask: (void)ask_for_capture(link); break;
            case Event::Ready: (void)link_ready_child(link); break;
            case Event::Acknowledge: (void)acknowledge_capture(link); break;
        }
    }
    return link;
}

TEST(EditorLink, ACaptureIsLostWithTheChildOnlyOnceTheChildAcknowledgedIt) {
    using E = Event;
    const struct {
        const char* name;
        bool prepared;
        std::vector<Event> events;
        std::uint32_t code;
        AfterEditorExit next;
    } rows[] = {
        {"a prepared child killed after the request was posted", true, {E::Ready, E::Ask}, 1, Next::CaptureAgain},
        {"a prepared child that quit before it read the request", true, {E::Ready, E::Ask}, 0, Next::CaptureAgain},
        {"a prepared child killed before it was ready", true, {E::Ask}, 1, Next::CaptureAgain},
        {"a second press before the child took the first", true, {E::Ready, E::Ask, E::Ask}, 1, Next::CaptureAgain},
        {"a prepared child killed under its capture", true, {E::Ready, E::Ask, E::Acknowledge}, 1, Next::Nothing},
        {"a capture that ended cleanly", true, {E::Ready, E::Ask, E::Acknowledge}, 0, Next::PrepareNext},
        {"a second press after the capture opened", true, {E::Ready, E::Ask, E::Acknowledge, E::Ask}, 0,
         Next::PrepareNext},
        {"a cold child that died before it took the request", false, {E::Ask, E::Ready}, 1,
         Next::ReportStartFailure},
        {"a cold child's capture that ended cleanly", false, {E::Ask, E::Ready, E::Acknowledge}, 0,
         Next::PrepareNext},
        {"an acknowledgement that nothing asked for", true, {E::Ready, E::Acknowledge}, 0, Next::Nothing},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(after_editor_exit(run(row.prepared, row.events), row.code), row.next);
    }
}

TEST(EditorLink, APressPostsTheRequestOnlyToAReadyChildAndAgainOnlyToBringTheCaptureForward) {
    const struct {
        const char* name;
        std::vector<Event> before;
        CaptureAsk ask;
        State state;
        bool outstanding;  // only an acknowledgement settles a request
    } rows[] = {
        {"starting", {}, CaptureAsk::WaitForReady, State::Started, true},
        {"ready", {Event::Ready}, CaptureAsk::Post, State::Capturing, true},
        {"asked", {Event::Ready, Event::Ask}, CaptureAsk::BringForward, State::Capturing, true},
        {"capturing", {Event::Ready, Event::Ask, Event::Acknowledge}, CaptureAsk::BringForward, State::Capturing,
         false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EditorLink link = run(true, row.before);
        EXPECT_EQ(ask_for_capture(link), row.ask);
        EXPECT_EQ(link.state, row.state);
        EXPECT_EQ(link.capture_requested, row.outstanding);
    }
}

TEST(EditorLink, AReadyReportTakesTheWaitingCaptureOnceAndOnlyFromAStartingChild) {
    EditorLink link{State::Started, true, false, false};
    EXPECT_TRUE(link_ready_child(link));
    EXPECT_EQ(link.state, State::Capturing);
    EXPECT_TRUE(link.capture_requested) << "still the child's to acknowledge";
    EXPECT_FALSE(link_ready_child(link)) << "a repeated report";
    EXPECT_TRUE(acknowledge_capture(link));
    EXPECT_FALSE(acknowledge_capture(link)) << "a repeated acknowledgement";
    EditorLink idle{State::Started, false, false, true};
    EXPECT_FALSE(link_ready_child(idle));
    EXPECT_EQ(idle.state, State::Ready);
    EditorLink replaced{State::Started, true, true, true};
    EXPECT_FALSE(link_ready_child(replaced));
    EXPECT_EQ(replaced.state, State::Started);
}

TEST(EditorLink, APreparedStartThatKeepsFailingWaitsLongerEachTimeButNeverPastAMinute) {
    std::vector<std::uint32_t> waits;
    for (std::uint32_t last = 0; waits.size() < 9; last = waits.back()) waits.push_back(next_prepare_retry_ms(last));
    EXPECT_EQ(waits, (std::vector<std::uint32_t>{1000, 2000, 4000, 8000, 16000, 32000, 60000, 60000, 60000}));
    EXPECT_EQ(next_prepare_retry_ms(45000), 60000u);
    EXPECT_EQ(next_prepare_retry_ms(UINT32_MAX), 60000u) << "no overflow back to a short wait";
}

}  // namespace
}  // namespace glimmerly
