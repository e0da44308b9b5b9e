#include "core/startup/editor_link.h"

namespace glimmerly {

std::u16string editor_command_line(std::u16string_view program, std::uint64_t owner_window, bool prepared,
                                   std::u16string_view extra) {
    std::u16string line = u"\"";
    line += program;
    line += u"\" --prepared-editor --notification-owner=";
    for (const char c : std::to_string(owner_window)) line += static_cast<char16_t>(c);
    if (!prepared) line += u" --cold-editor";
    if (!extra.empty()) {
        line += u' ';
        line += extra;
    }
    return line;
}

CaptureAsk ask_for_capture(EditorLink& link) {
    switch (link.state) {
        case EditorLinkState::Started: link.capture_requested = true; return CaptureAsk::WaitForReady;
        case EditorLinkState::Ready:
            link.state = EditorLinkState::Capturing;
            link.capture_requested = true;
            return CaptureAsk::Post;
        case EditorLinkState::Capturing: break;
    }
    return CaptureAsk::BringForward;
}

bool link_ready_child(EditorLink& link) {
    if (link.restart_after_exit || link.state != EditorLinkState::Started) return false;
    link.state = EditorLinkState::Ready;
    if (!link.capture_requested) return false;
    link.state = EditorLinkState::Capturing;
    return true;
}

bool acknowledge_capture(EditorLink& link) {
    if (link.state != EditorLinkState::Capturing || !link.capture_requested) return false;
    link.capture_requested = false;
    return true;
}

AfterEditorExit after_editor_exit(const EditorLink& link, std::uint32_t exit_code) {
    const bool clean = (link.state == EditorLinkState::Capturing && !link.capture_requested && exit_code == 0) ||
                       link.restart_after_exit;
    if (link.capture_requested && link.prepared) return AfterEditorExit::CaptureAgain;
    if (clean) return AfterEditorExit::PrepareNext;
    if (link.capture_requested) return AfterEditorExit::ReportStartFailure;
    return AfterEditorExit::Nothing;
}

std::uint32_t next_prepare_retry_ms(std::uint32_t last_ms) {
    constexpr std::uint32_t kFirst = 1000, kLongest = 60000;
    if (last_ms < kFirst) return kFirst;
    return last_ms >= kLongest / 2 ? kLongest : last_ms * 2;
}

}  // namespace glimmerly
