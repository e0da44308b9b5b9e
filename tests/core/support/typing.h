#pragma once
// A text box and dimension fields without a window, for the input tests: the
// text lies in a box, committing adds it as a plain text object, and letters
// measure 10 x 12 per unit of size over 24.

#include "core/editor/chrome_math.h"
#include "core/editor/text_edits.h"
#include "core/editor/typing_controls.h"

namespace glimmerly::testing {

struct FakeTyping : TypingControls {
    EditorState* state = nullptr;  // where a commit adds the text
    bool open = false, selecting = false, fields = false;
    Box text{150, 150, 250, 180};
    double size = 24.0;
    int commits = 0;

    bool text_box_open() const override { return open; }
    bool text_box_mouse_selecting() const override { return selecting; }
    bool text_box_text_at(Point p) const override { return open && box_contains(text, p); }
    Result<bool> press_in_text_box(Point p, PointerModifiers) override { return selecting = box_contains(text, p); }
    void end_text_mouse_selection() override { selecting = false; }
    void commit_text_box() override {
        open = false;
        ++commits;
        if (state) add_sized_text_object(*state, {text.left, text.top}, "typed");
    }
    double text_box_size() const override { return size; }
    Status set_text_box_size(double s) override { return size = s, ok_status(); }
    Result<Size> measure_text(const SceneObject&, double s) override { return Size{10.0 * s / 24.0, 12.0 * s / 24.0}; }
    bool dimension_fields_open() const override { return fields; }
};

}  // namespace glimmerly::testing
