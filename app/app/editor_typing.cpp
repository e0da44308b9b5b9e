#include "app/app/editor_typing.h"

#include <utility>

#include "app/app/editor_session.h"
#include "app/app/error_box.h"
#include "app/app/messages.h"

namespace glimmerly {

EditorTyping::EditorTyping(HWND window, EditorState& state)
    : window_(window),
      state_(state),
      text_(window, state, [this](const Failure& refused) { keep_refusal(refused); }),
      fields_(window, state) {}

bool EditorTyping::text_box_mouse_selecting() const {
    const TextBox* box = text_.box();
    return box && box->select_anchor;
}

bool EditorTyping::label_drag_running() const {
    const TextBox* box = text_.box();
    return box && box->label_drag;
}

bool EditorTyping::text_box_text_at(Point point) const {
    const auto hit = text_.hit(point);
    return hit && hit->inside;
}

Result<bool> EditorTyping::press_in_text_box(Point point, PointerModifiers modifiers) {
    return text_.press(point, modifiers);
}

double EditorTyping::text_box_size() const {
    const TextBox* box = text_.box();
    return box ? box->size : 0.0;
}

void EditorTyping::commit_text_box() {
    if (!text_.open()) return;
    TypedText typed = text_.typed();
    if (!typed.measured) {
        show_error_box(window_, typed.measured.failure(), TextId::error_text_layout);
        return;
    }
    const auto done = text_.commit(std::move(typed));
    if (!done) show_error_box(window_, done.failure());
}

Status EditorTyping::open_dimension_fields() {
    if (!state_.capture_selection) return ok_status();
    commit_text_box();
    if (text_.open()) return ok_status();
    return fields_.open_fields();
}

bool EditorTyping::take_key(std::uint32_t key, bool ctrl_down) {
    if (fields_.take_key(key)) return true;
    if (text_box_key(state_, text_.open(), key, ctrl_down) != TextBoxKey::Commit) return false;
    commit_text_box();
    return true;
}

HWND EditorTyping::focus_window() const { return fields_.open() ? fields_.focus_field() : text_.edit(); }

void EditorTyping::keep_refusal(const Failure& refused) {
    refusal_ = refused;
    // Every refusal posts: a message that finds the App busy goes unanswered,
    // and the next one's shows the latest refusal.
    PostMessageW(window_, WM_APP_TYPING_REFUSED, 0, 0);
}

void EditorTyping::show_refusal() {
    if (auto refused = std::exchange(refusal_, std::nullopt)) show_error_box(window_, *refused);
}

Status show_typing_refusal(App& app) {
    if (EditorSession* session = open_editor_session(app)) session->typing().show_refusal();
    return ok_status();
}

}  // namespace glimmerly
