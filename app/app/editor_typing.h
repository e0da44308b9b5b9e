#pragma once
// The editor window's typing controls: the text box and the selection's size
// fields, both hidden EDIT controls on the window, behind the interface the
// input decisions and the message loop call. Refusals and failures the user
// has to know about are shown here, in message boxes on the editor window;
// the entry they concern stays open with what was typed.
//
// A refused insertion is found inside the control's own message handling,
// where a message box would pump the App's messages outside its guard: it
// is kept and posted, and the App shows it under its guard.

#include <windows.h>

#include <cstdint>
#include <optional>

#include "core/editor/editor_state.h"
#include "ui/capture/dimension_fields_window.h"
#include "ui/capture/text_entry_window.h"
#include "ui/capture/window_typing.h"

namespace glimmerly {

class EditorTyping final : public WindowTyping {
public:
    // For the editor window and the state it shows; both outlive this.
    EditorTyping(HWND window, EditorState& state);

    bool text_box_open() const override { return text_.open(); }
    bool text_box_mouse_selecting() const override;
    bool label_drag_running() const override;
    bool text_box_text_at(Point point) const override;
    Result<bool> press_in_text_box(Point point, PointerModifiers modifiers) override;
    void select_text_to(Point point) override { text_.select_to(point); }
    void end_text_mouse_selection() override { text_.end_selection(); }
    void drag_label_to(Point point) override { text_.drag_label_to(point); }
    void end_label_drag() override { text_.end_label_drag(); }
    // A failed measurement shows "Text layout failed"; a refused text (past
    // the stored limit, a full scene) shows why. Either way the entry stays.
    void commit_text_box() override;
    void set_text_box_colour(Rgb colour) override { text_.set_colour(colour); }
    void set_text_box_ink(std::optional<Rgb> ink) override { text_.set_ink(ink); }
    double text_box_size() const override;
    Status set_text_box_size(double size) override { return text_.set_size(size); }
    Result<Size> measure_text(const SceneObject& object, double size) override { return text_.measure(object, size); }

    bool dimension_fields_open() const override { return fields_.open(); }
    bool dimension_field_key(VirtualKey key) override { return fields_.take_key(key); }
    void press_dimension_field(bool height, Point point) override { fields_.press(height, point); }
    void drag_dimension_selection(Point point) override { fields_.drag_selection(point); }
    bool end_dimension_selection() override { return fields_.end_selection(); }
    bool commit_dimension_fields() override { return fields_.commit(true); }

    Status open_text_entry(const TextEntryStart& start) override { return text_.open_at(start); }
    // A text box still open is committed first; while it stays open (its
    // commit was refused) the fields do not open.
    Status open_dimension_fields() override;
    bool take_key(std::uint32_t key, bool ctrl_down) override;
    HWND focus_window() const override;
    void show_refusal() override;

private:
    void keep_refusal(const Failure& refused);

    HWND window_;
    EditorState& state_;
    std::optional<Failure> refusal_;  // the latest, until shown
    TextEntry text_;
    DimensionFieldsWindow fields_;
};

struct App;
// The open capture's kept refusal, for WM_APP_TYPING_REFUSED.
Status show_typing_refusal(App& app);

}  // namespace glimmerly
