#include "core/editor/toolbar_hints.h"

#include <gtest/gtest.h>

namespace glimmerly {
namespace {

using Code = EditorActionCode;

TEST(ToolbarHints, NameTheItemAndItsShortcuts) {
    const struct { const char* name; EditorAction item; TextId text; const char* hint; } rows[] = {
        {"a tool that scrolls", tool_action(Tool::Rectangle), TextId::toolbar_rectangle,
         "Rectangle · R · Scroll to resize"},
        {"the eraser scrolls too", tool_action(Tool::Eraser), TextId::toolbar_eraser, "Eraser · E · Scroll to resize"},
        {"blur does not", tool_action(Tool::Blur), TextId::toolbar_blur, "Blur · X"},
        {"the ellipse has its own template", tool_action(Tool::Ellipse), TextId::toolbar_ellipse,
         "Ellipse · C · Drawn from its centre, Alt to stretch it · Scroll to resize"},
        {"redo lists both keys", pack_editor_action(Code::Redo), TextId::toolbar_redo, "Redo · Ctrl+Y / Ctrl+Shift+Z"},
        {"live capture on", pack_editor_action(Code::LiveCapture), TextId::capture_live_on,
         "Live capture on · F2 to freeze"},
        {"live capture for new captures", pack_editor_action(Code::LiveCapture), TextId::capture_live_for_new_captures,
         "Live capture is for new captures"},
        {"copy names plain Ctrl+C", pack_editor_action(Code::CopyImage), TextId::toolbar_copy_image,
         "Copy image · Ctrl+C"},
        {"clear board restores with undo", pack_editor_action(Code::ClearOrRestoreBoard), TextId::toolbar_clear_board,
         "Clear board · Ctrl+Z restores"},
        {"full screen", pack_editor_action(Code::FullScreenOrPrevious), TextId::capture_full_screen, "Full screen · F"},
        {"no shortcut, the text as it stands", pack_editor_action(Code::NoEffect), TextId::capture_edit_dimensions,
         "Edit dimensions · expressions: 800+20, 1920/2"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(toolbar_hint_text(row.item, row.text, LANGUAGE_ENGLISH), row.hint);
    }
    EXPECT_EQ(key_name(0x2C, LANGUAGE_ENGLISH), "0x2C");
    EXPECT_EQ(stroke_width_label(LANGUAGE_ENGLISH, 12), "12 px");
    EXPECT_EQ(custom_colour_hint(LANGUAGE_ENGLISH).hint, "Click outside to apply · Esc to cancel");
    EXPECT_EQ(magnifier_pick_hint(LANGUAGE_ENGLISH), "Click to pick · Esc");
}

TEST(ToolbarHints, BoxesStayInsideTheArea) {
    const Box area{0, 0, 1000, 800};
    const struct { const char* name; Point pointer; double scale; Box box; } rows[] = {
        {"beside the pointer", {100, 100}, 1.0, {120, 120, 320, 150}},
        {"near the right edge: left of the pointer", {990, 100}, 1.0, {770, 120, 970, 150}},
        {"near the right and bottom: up and left", {990, 790}, 2.0, {750, 720, 950, 750}},
        {"pushed in from the left", {-100, 100}, 1.0, {4, 120, 204, 150}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(place_hint_box(row.pointer, area, 200, 30, row.scale), row.box);
    }
    EXPECT_EQ(place_label_box({100, 100, 300, 150}, area, 120, 40, 1.0), (Box{200, 156, 320, 196}));
    EXPECT_EQ(place_label_box({100, 700, 300, 790}, area, 120, 40, 1.0), (Box{200, 654, 320, 694})) << "above";
    EXPECT_EQ(place_label_box({100, 100, 300, 150}, area, 5000, 40, 2.0), (Box{8, 162, 992, 202}))
        << "cut to the area less 8 x scale";
}

}  // namespace
}  // namespace glimmerly
