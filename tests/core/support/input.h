#pragma once
// The capture editor as the input tests meet it: a 1000 x 800 capture with
// its region chosen (the toolbar stands right of and below it, clear of the
// presses), and a text box whose text lies in a box and whose commit adds a
// plain text object, and dimension fields, both without a window.

#include "core/editor/chrome_math.h"
#include "core/editor/text_edits.h"
#include "core/editor/typing_controls.h"
#include "tests/core/support/editor.h"

namespace glimmerly::testing {

inline constexpr Box kRegion{100, 100, 700, 600};

inline EditorState canvas(Tool tool, std::vector<SceneObject> objects = {}, std::vector<ObjectId> selection = {}) {
    EditorState s = editor_with(std::move(objects), std::move(selection), tool);
    s.frame_width = 1000, s.frame_height = 800;
    s.capture_selection = kRegion;
    s.selecting = false;
    return s;
}

struct FakeTyping : TypingControls {
    EditorState* state = nullptr;  // where a commit adds the text
    bool open = false, selecting = false, fields = false;
    Box text{150, 150, 250, 180};

    bool text_box_open() const override { return open; }
    bool text_box_mouse_selecting() const override { return selecting; }
    bool text_box_text_at(Point p) const override { return open && box_contains(text, p); }
    Result<bool> press_in_text_box(Point p, PointerModifiers) override { return selecting = box_contains(text, p); }
    void end_text_mouse_selection() override { selecting = false; }
    void commit_text_box() override {
        open = false;
        if (state) add_sized_text_object(*state, {text.left, text.top}, "typed");
    }
    bool dimension_fields_open() const override { return fields; }
};

}  // namespace glimmerly::testing
