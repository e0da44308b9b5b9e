#pragma once
// The in-place text box: while the user types into a hidden EDIT control, the
// editor paints the text itself as the text or label object it will become,
// turned like it, with the label's box, the selection highlight and a
// blinking caret, scrolled sideways so that the caret stays in view; and
// finds the character under the pointer in that same layout.

#include <windows.h>

#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

#include "app/render/painting_kit.h"
#include "core/editor/text_box.h"
#include "core/render/caret.h"

namespace glimmerly {

// The open text box as the painter sees it: the EDIT control, a child of the
// editor window owned by the typing controls, with the one record of the
// typing (what the box makes, where, its letters and the scroll the painting
// keeps up to date).
struct TextBoxView {
    HWND edit = nullptr;
    TextBox box;
    float visible_width = std::numeric_limits<float>::infinity();  // beyond it the text scrolls
    // A size field typed over the chrome (not over the picture): drawn by the
    // chrome pass without the zoom of the view, in the interface font, and
    // placed in window pixels.
    bool window_space = false;

    friend bool operator==(const TextBoxView&, const TextBoxView&) = default;
};

// The caret's blink, kept by the editor window across frames.
struct CaretState {
    CaretBlink blink;
    // None when the system does not blink the caret.
    std::optional<ChromeClock::duration> period;
};
// The system's caret blink time; none when it is set to not blink.
std::optional<ChromeClock::duration> system_caret_period();

struct TextBoxPass {
    bool draw_caret = true;
    bool update_scroll = true;
    double unit = 1.0;  // interface units to drawing units
    ChromeClock::time_point now;
};

// The EDIT control's text.
std::u16string read_edit_text(HWND edit);

// The box's text as laid out (a label's lines broken and centred as the
// committed label draws them): its width with trailing white space and its
// height. What the box shows is `text_box_frame` of it.
Result<Size> measure_text_box(RendererResources& resources, const TextBoxView& box, std::u16string_view text);

// The character under a point (frame pixels; window pixels for a field):
// its index in UTF-16 units, past it when the point lies on its trailing
// half, and whether the point lies on the text at all. The point is turned
// back by the box's rotation and shifted by its scroll, as the text is drawn.
struct TextBoxHit {
    std::uint32_t index = 0;
    bool inside = false;

    friend bool operator==(const TextBoxHit&, const TextBoxHit&) = default;
};
Result<TextBoxHit> text_box_hit_test(RendererResources& resources, const TextBoxView& box, Point point);

// Reads the EDIT control's text and selection and draws them. The target's
// transform is put back before it returns, also on failure.
Status draw_text_object(Painter& painter, TextBoxView& box, CaretState& caret, const TextBoxPass& pass);

}  // namespace glimmerly
