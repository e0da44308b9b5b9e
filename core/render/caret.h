#pragma once
// The arithmetic of the text box the editor paints in place of its hidden
// edit control: the caret's width and place, its blinking, the horizontal
// scroll that keeps the caret in view, and a label's box. The Direct2D side
// measures and hit-tests the text and passes the numbers in.

#include "core/editor/chrome_state.h"
#include "core/document/scene_object.h"

#include <cstdint>
#include <optional>
#include <string_view>

namespace glimmerly {

inline constexpr Rgb kTextSelectionHighlight{88, 166, 255};
inline constexpr float kTextSelectionOpacity = 0.4f;

// A twelfth of the font size, but at least 2 units so that it shows at
// small sizes.
double caret_width(double font_size, double unit);

// What the scroll was last brought up to date with.
struct TextBoxScroll {
    std::uint32_t start = 0;  // of the selection
    std::uint32_t caret = 0;
    float scroll = 0.0f;  // pixels, at least 0

    friend bool operator==(const TextBoxScroll&, const TextBoxScroll&) = default;
};

// The text index to bring into view for a selection from `start` to `end`
// (the end is the caret): the caret when the selection is empty or the caret
// moved, the start when only the start moved; none when nothing moved.
std::optional<std::uint32_t> scroll_target(std::uint32_t start, std::uint32_t end, const TextBoxScroll& last);

// The scroll after an update: far enough that the target's x (from the hit
// test, none without a target) stands with half a caret before it and one
// and a half after it inside the box, never past the text's end plus one
// and a half carets, never below 0.
float updated_scroll(float scroll, std::optional<double> target_x, double caret_width, double text_width,
                     double box_width);

// Where the caret line stands for the hit-tested x of its index (leading
// edge) in UTF-16 text: before a character, at x, half a caret further right
// at the start of a line so that it does not touch the box's edge; at the
// end of the text or of a line, a caret's width past x.
double caret_line_x(std::u16string_view text, std::uint32_t caret, double hit_x, double caret_width);

// The caret restarts its blink whenever this changes, so typing or moving it
// shows it at once.
struct CaretKey {
    std::uintptr_t box = 0;  // the edit control
    std::uint32_t caret = 0;
    std::uint32_t length = 0;  // of the text, in UTF-16 units

    friend bool operator==(const CaretKey&, const CaretKey&) = default;
};
inline constexpr std::uint32_t kCaretPhaseReset = 0xFFFFFFFFu;
struct CaretBlink {
    std::optional<CaretKey> key;
    ChromeClock::time_point since;
    std::uint32_t phase = kCaretPhaseReset;
};
// Whether the caret shows now: always without a blink period (or with a
// zero one), else in the even half-periods since its key last changed.
bool caret_shown(CaretBlink& blink, const CaretKey& key, ChromeClock::time_point now,
                 std::optional<ChromeClock::duration> period);

// How long until the caret shows or hides by itself; none when it does not
// blink or has not been drawn since its key last changed.
std::optional<ChromeClock::duration> caret_redraw_in(const CaretBlink& blink,
                                                     std::optional<ChromeClock::duration> period,
                                                     ChromeClock::time_point now);

// A label's box around its text frame at `at` of size `frame`: a quarter of
// the font size above and below, four tenths beside, and as round.
struct LabelBox {
    Box box;
    double radius = 0.0;

    friend bool operator==(const LabelBox&, const LabelBox&) = default;
};
LabelBox label_box(Point at, Size frame, double font_size);

// The shift of the drawn text by the scroll, along the object's turned x
// axis.
Point scroll_shift(double scroll, double rotation);

}  // namespace glimmerly
