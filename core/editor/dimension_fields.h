#pragma once
// The selection's size panel shows "width × height"; pressing it turns the
// label into two fields where the user types whole pixels or a small sum
// such as 800+20. Enter resizes the selection from its top-left corner, Tab
// moves between the fields, Esc closes them unchanged. A value that is not a
// whole size of at least 2, or a size that would leave the frame, keeps the
// fields open with a hint.
//
// The fields are edit controls of the editor window that never paint; the
// Windows side owns them and their font and measures their texts. It keeps
// one `DimensionFields` beside the two controls and asks here what they
// start with, what to measure, where they go and what a key or Enter does.

#include "core/base/result.h"
#include "core/document/scene_object.h"
#include "core/editor/editor_state.h"
#include "core/editor/selection_geometry.h"
#include "core/editor/virtual_keys.h"
#include "text/text_table.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

namespace glimmerly {

// What a field takes: typing stops at this many UTF-16 units, and a text
// longer than this many bytes of UTF-8 is refused.
inline constexpr std::uint32_t kDimensionFieldLimit = 128;
// Interface units of the label's and the fields' letters.
inline constexpr double kSizeLabelTextSize = 13.0;
inline constexpr double kDimensionFieldTextSize = 14.0;

struct DimensionFields {
    float font_size = 14.0f;  // pixels, of both fields
    // Top-left corners of the fields' rectangles as last placed (window pixels).
    Point width_corner;
    Point height_corner;
    // Shown under the fields after a refused Enter: "crop.invalid" or
    // "crop.outside"; none while nothing was refused since they opened.
    std::optional<TextId> hint;

    friend bool operator==(const DimensionFields&, const DimensionFields&) = default;
};

// A field's starting length in whole pixels: rounded to the nearest whole
// number with ties to even, limited to the i32 range (NaN as 0).
std::string whole_pixels_text(double value);
// "1920 × 1080" for the selection's width and height, each truncated toward
// zero (not rounded like the fields), limited to the i32 range (NaN as 0).
std::string selection_size_label(const Box& selection);

// What the fields start with: both texts and the letter size at the
// interface scale. None without a selection. A running gesture is ended
// first; the caller commits an open text box before and gives up when it
// stays open.
struct DimensionFieldsOpening {
    DimensionFields fields;
    std::string width_text;
    std::string height_text;
};
std::optional<DimensionFieldsOpening> open_dimension_fields(EditorState& state);

// What the panel needs measured before a paint: the label (fields closed,
// with a selection), the two typed texts (fields open), or nothing.
struct MeasureSizeLabel {
    std::string text;
    double font_size = 0.0;
};
struct MeasureFieldTexts {
    double font_size = 0.0;
};
using DimensionMeasurement = std::variant<std::monostate, MeasureSizeLabel, MeasureFieldTexts>;
DimensionMeasurement dimension_measurement(const EditorState& state, bool fields_open);

// Keeps the measured widths for the size panel (nothing, the label's width,
// or the two fields' widths) and, while the fields are open, remembers where
// the panel puts them. The field rectangles come back for placing the
// controls. A failed measurement is not stored: the panel keeps its last
// layout.
std::optional<SizeFieldRects> store_dimension_layout(EditorState& state, DimensionFields* fields,
                                                     SizePanelWidths measured);

// Which field holds the keyboard focus.
enum class DimensionFocus : std::uint8_t { Width, Height, Elsewhere };
enum class DimensionKey : std::uint8_t {
    PassOn,       // the control gets the key
    FocusWidth,   // focus it and select its whole text
    FocusHeight,  // likewise
    Close,        // Esc: close unchanged, focus back to the editor window
    Commit,       // Enter: commit with apply, whatever the outcome
};
// Tab goes to the other field (Shift+Tab the same way), from outside both to
// the width field.
DimensionKey dimension_field_key(bool fields_open, VirtualKey key, DimensionFocus focus);

// One field's text as a size: an expression of the evaluator followed only by
// white space, whose value is finite, within 1e-9 of a whole number and in
// 2..4294967295. Refusals are the application error "crop.invalid".
Result<std::uint32_t> parse_dimension_value(std::string_view text);

enum class DimensionCommitOutcome : std::uint8_t {
    NotOpen,    // nothing to close
    Applied,    // the selection took the size: close, focus the editor window
    Discarded,  // close unchanged, focus the editor window
    Refused,    // stay open with the hint (none without a selection)
};
struct DimensionCommit {
    DimensionCommitOutcome outcome = DimensionCommitOutcome::NotOpen;
    // A refusal with the focus outside both fields brings it to the width one.
    bool focus_width = false;

    bool closed() const { return outcome != DimensionCommitOutcome::Refused; }
};
// Ends the fields with their texts (as read, at most the limit in UTF-16
// units). With `apply` false they close unchanged. Otherwise the width and
// then the height are parsed, the height only once the width was accepted;
// the new selection keeps its top-left corner and must lie in the frame
// ("crop.outside"). No undo step is recorded. A refusal changes neither the
// selection nor the texts.
DimensionCommit commit_dimension_fields(EditorState& state, DimensionFields* fields, std::u16string_view width,
                                        std::u16string_view height, bool apply, DimensionFocus focus);

}  // namespace glimmerly
