#pragma once
// The in-place text box: what the editor decides while the user types a text
// or a label into the hidden edit control. The Windows side owns the control,
// its font and the text measuring; it keeps one `TextBox` beside them and asks
// here what a press opens, which keys end the entry, what the committed text
// becomes in the scene, where a dragged label goes and what a wheel turn
// resizes.
//
// Text measuring can fail. Every decision that needs a measurement takes it
// from the caller as a result, so that a failure leaves the entry open with
// the typed text still in the control.

#include "core/base/result.h"
#include "core/document/scene.h"
#include "core/document/scene_object.h"
#include "core/editor/editor_state.h"
#include "core/editor/text_edits.h"
#include "core/editor/virtual_keys.h"
#include "core/render/caret.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace glimmerly {

// The edit control's own text limit, in UTF-16 units. A UTF-16 unit never
// takes less than one byte of UTF-8, so plain ASCII stops exactly at the
// stored limit and any stored text fits the control when it is edited again;
// other scripts take more bytes per unit and can pass the stored limit,
// which the commit refuses.
inline constexpr std::uint32_t kTextBoxUnitLimit = static_cast<std::uint32_t>(kMaxTextBytes);

struct TextBox {
    // The text object being edited; none for a new text.
    std::optional<ObjectId> target;
    // What the box makes: a plain text (none) or a label that fits or wraps.
    LabelMode label;
    // Top-left corner of the text in frame pixels.
    Point at;
    double rotation = 0.0;  // radians, that of the edited object
    // The height of a label's box as dragged (or as stored), kept while the
    // label is blank so that an empty label keeps the box the user drew.
    double box_height = 0.0;
    float size = 24.0f;  // letter size
    Rgb color;           // a plain text's letters, a label's box
    // A label's letter colour when the user chose one; none: black or white
    // by contrast with the box.
    std::optional<Rgb> ink;
    // The press point while a new label's box is being dragged out; the
    // release clears it.
    std::optional<Point> label_drag;
    // The character index where a mouse selection in the text began, while
    // the left button drags it.
    std::optional<std::uint32_t> select_anchor;
    // What the painter last scrolled to.
    TextBoxScroll scroll;

    bool makes_label() const { return label.is_label(); }

    friend bool operator==(const TextBox&, const TextBox&) = default;
};

// What a press of the text or label tool opens: the box, and the text the
// control starts with (that of the edited object, else empty).
struct TextBoxOpening {
    TextBox box;
    std::string text;  // UTF-8
};

// The text object under the frame point is edited when there is one; else a
// new plain text (text tool) or a new label with its box drag started (label
// tool) at the point, in the state's text size, colour and label ink.
TextBoxOpening open_text_box_at(const EditorState& state, Point at, Tool tool);

// A window coordinate in whole pixels: rounded, clamped to the i32 range,
// NaN as 0.
std::int32_t round_to_i32(double v);

// The edit control's rectangle: at the box's corner, reaching to the frame's
// right and bottom edges, at least 1 x 1, in whole pixels (NaN as 0).
struct EditPlacement {
    std::int32_t x = 0, y = 0, width = 1, height = 1;
    friend bool operator==(const EditPlacement&, const EditPlacement&) = default;
};
EditPlacement text_box_edit_placement(const EditorState& state, const TextBox& box);

// The character height a font is created with for a letter size: the size
// rounded and negated (NaN gives 0, a size past the i32 range its largest).
std::int32_t text_box_font_height(double size);

// Whether a key ends the entry (Ctrl+Enter and Esc both keep the text) or
// goes on to the control (plain Enter starts a new line there). Keys pass on
// while no box is open, the colour picker is open or the eyedropper is armed.
enum class TextBoxKey : std::uint8_t { PassOn, Commit };
TextBoxKey text_box_key(const EditorState& state, bool box_open, VirtualKey key, bool ctrl);

// The control's UTF-16 text as it is stored. Unpaired surrogates become
// U+FFFD and control characters are dropped, except tab, line feed and
// carriage return: they have no glyph, the control shows nothing for them,
// and bytes such as 0x1E and 0x1F would split an error message that quotes
// the text.
std::string text_box_stored_text(std::u16string_view typed);

// Whether typed or pasted text may go into the control: the control's text
// with `inserted` in place of the selection from `start` to `end` must stay
// within the control's unit limit and, as stored, within the stored byte
// limit. The control itself would cut a longer paste short without a word;
// refused here, a paste goes in whole or not at all. E_INVALIDARG with a
// message saying how long the text would be.
Status text_box_accepts_insertion(std::u16string_view text, std::uint32_t start, std::uint32_t end,
                                  std::u16string_view inserted);

// The extent a text takes in the scene from its measured layout: a blank
// label keeps at least a box one letter size wide (its wrap width when
// wrapping) and as high as the box the user drew.
Size committed_text_extent(const TextBox& box, std::string_view text, Size measured);

// What the painter draws the box as: like the committed extent, but a
// wrapping label is always as wide as its wrap width.
Size text_box_frame(const TextBox& box, std::string_view text, Size measured);

enum class TextCommitKind : std::uint8_t {
    Added,      // a new text or label
    Updated,    // the edited object, as one undo step
    Removed,    // an edited plain text left blank, as one undo step
    Dropped,    // a new plain text left blank: nothing added
    Unchanged,  // the edited object vanished or holds a letter size out of range
};
struct TextCommit {
    TextCommitKind kind = TextCommitKind::Unchanged;
    // The object now selected alone (Added, Updated): the editor's own
    // choice, which a later press forgets.
    std::optional<ObjectId> selected;
};

// Ends the entry with the stored text and its measured layout size. Every
// outcome closes the box. A failure leaves the box and the scene as they
// were and the entry stays open: a failed measurement comes back unchanged
// (shown under "error.text_layout"); a text past the stored limit, a scene
// already full and a measurement that is not a usable size are refused with
// E_INVALIDARG and a message saying so.
Result<TextCommit> commit_text_box(EditorState& state, const TextBox& box, std::string text,
                                   const Result<Size>& measured);

// A new label's box while its press point is dragged to `pointer` (frame
// pixels): within 6 interface units of the press the label fits its text at
// the press point, beyond that it wraps inside the dragged rectangle.
struct LabelDragShape {
    Point at;
    LabelMode label;
    double box_height = 0.0;
    friend bool operator==(const LabelDragShape&, const LabelDragShape&) = default;
};
LabelDragShape label_drag_shape(Point press, Point pointer, double size, double scale_over_zoom);
// Gives the box that shape when its label drag runs; false when none runs.
bool drag_label_box(const EditorState& state, TextBox& box, Point pointer);

// A frame point in the coordinates of the box's text layout: turned back by
// the box's rotation about the centre of its frame, from its corner.
Point text_box_layout_point(const TextBox& box, Size frame, Point point);
// The character index of a layout hit test: past the hit character when the
// point lies on its trailing side.
std::uint32_t text_box_hit_index(std::uint32_t position, std::uint32_t length, bool trailing);

// A press in the open box: inside its text it starts a mouse selection from
// the hit character (with Shift, from where the control's selection starts)
// to it; the caller selects that range and captures the mouse. None outside
// the text.
struct TextSelectionRange {
    std::uint32_t anchor = 0;
    std::uint32_t caret = 0;
    friend bool operator==(const TextSelectionRange&, const TextSelectionRange&) = default;
};
std::optional<TextSelectionRange> press_in_text_box(TextBox& box, std::uint32_t hit, bool inside, bool shift,
                                                    std::uint32_t selection_start);
// While the button drags: the range up to the character under the pointer;
// none when no mouse selection runs.
std::optional<TextSelectionRange> drag_text_selection(const TextBox& box, std::uint32_t hit);
// The release; true when a mouse selection ran (the caller releases the
// mouse).
bool end_text_selection(TextBox& box);

// ---- The plain mouse wheel -------------------------------------------------------------

// After the control took the new font: the box and the next texts get it.
void apply_text_box_size(EditorState& state, TextBox& box, float size);

}  // namespace glimmerly
