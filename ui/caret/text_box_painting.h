#pragma once
// The in-place text box: while the user types into a hidden EDIT control, the
// editor paints the text itself as the text or label object it will become,
// turned like it, with the label's box, the selection highlight and a
// blinking caret, scrolled sideways so that the caret stays in view.

#include <windows.h>

#include <limits>
#include <optional>

#include "app/render/painting_kit.h"
#include "core/render/caret.h"

namespace glimmerly {

enum class TextBoxKind : std::uint8_t { Label = 0, Text = 2 };

// The open text box as the painter sees it (the typing decisions keep their
// own record, TextBox): what it makes and where; the EDIT control is a child of the
// editor window, which owns and destroys it.
struct TextBoxView {
    HWND edit = nullptr;
    TextBoxKind kind = TextBoxKind::Text;
    Point anchor;  // top-left of the text; frame pixels, or window pixels when `window_space`
    double rotation = 0.0;  // radians, clockwise on screen
    float font_size = 24.0f;
    Rgb colour;                // a text's letters, a label's box
    std::optional<Rgb> ink;    // a label's own letter colour; none: black or white by contrast
    float visible_width = std::numeric_limits<float>::infinity();  // beyond it the text scrolls
    // Typed over the chrome (not over the picture): drawn by the chrome pass
    // without the zoom of the view.
    bool window_space = false;
    TextBoxScroll scroll;  // kept by the painting

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

// Reads the EDIT control's text and selection and draws them. The target's
// transform is put back before it returns, also on failure.
Status draw_text_object(Painter& painter, TextBoxView& box, CaretState& caret, const TextBoxPass& pass);

}  // namespace glimmerly
