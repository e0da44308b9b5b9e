#pragma once
// The resident's link to its editor child, as far as its decisions go: how
// the child is started, what a capture request, a ready report and the
// child's acknowledgement change, and what follows the child's exit. The
// processes, the job and the windows stay with the Windows side.

#include <cstdint>
#include <string>
#include <string_view>


namespace glimmerly {

enum class EditorLinkState : std::uint8_t {
    Started = 0,    // the child has not reported ready
    Ready = 1,      // its window is known, no capture asked of it
    Capturing = 2,  // a start-a-capture message was posted to it
};

struct EditorLink {
    EditorLinkState state = EditorLinkState::Started;
    // A capture was asked for and no child has acknowledged it yet. A posted
    // request is not yet a taken one: a child that has just died still has
    // a window for a moment, the post succeeds and the request dies with it.
    bool capture_requested = false;
    // The child is being replaced: its ready report is refused, and a new
    // prepared child follows its exit.
    bool restart_after_exit = false;
    // Started ahead of time, without "--cold-editor".
    bool prepared = false;
};

// The command line of an editor child: the program's path in quotation
// marks first (the child reads its arguments from it), then its options.
// `extra` follows when it is not empty.
std::u16string editor_command_line(std::u16string_view program, std::uint64_t owner_window, bool prepared,
                                   std::u16string_view extra);

// What a capture shortcut asks of the linked child.
enum class CaptureAsk : std::uint8_t {
    WaitForReady,  // still starting: the request goes out with its ready report
    Post,          // ready: the start-a-capture message goes out now
    BringForward,  // already asked: the message again brings its capture to the front
};
CaptureAsk ask_for_capture(EditorLink& link);

// A ready report of the linked child (its window named by the child's own
// process, which still runs). Answers whether a capture waits for it; the
// request stays outstanding until the child acknowledges it.
bool link_ready_child(EditorLink& link);

// The child has read the start-a-capture message: from now on the capture
// lives and ends with it. Answers whether a request was outstanding.
bool acknowledge_capture(EditorLink& link);

// What the resident does once the linked child has exited with `exit_code`.
enum class AfterEditorExit : std::uint8_t {
    CaptureAgain,        // a capture waited for a prepared child: ask a cold one
    PrepareNext,         // a capture ended cleanly: the next child starts ahead
    ReportStartFailure,  // a cold child died before it took its capture
    Nothing,             // a failed capture, or a child that ended by itself
};
AfterEditorExit after_editor_exit(const EditorLink& link, std::uint32_t exit_code);

// How often one start of a child is tried at once before it counts as
// failed: on a busy machine Wine now and then ends a new process before its
// start-up has finished (ERROR_INTERNAL_ERROR, about one start in 3,000),
// and the next start goes through.
inline constexpr int kEditorStartTries = 3;

// The wait before a prepared child whose start failed is started again,
// given the last such wait (0 when none): one second, doubling, at most a
// minute. A child that starts ends the waits.
std::uint32_t next_prepare_retry_ms(std::uint32_t last_ms);

}  // namespace glimmerly
