#pragma once
// The capture selection: the rectangle of the frozen frame the user keeps,
// with eight resize handles and, above its top-right corner, a size panel
// (the selection's size, editable as two fields) whose square button toggles
// full screen. Here are the geometry around it and the small hover queries
// that the cursor, the fill tool, the brush circle and the overlay ask: all
// decisions, no drawing.
//
// The selection is in frame pixels with left <= right and top <= bottom; the
// interface scale is the DPI scale under the anchor (monitor_views.h).

#include "core/editor/editor_state.h"
#include "core/editor/fill.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace glimmerly {

// A selection thinner than this is no selection.
inline constexpr double kMinSelectionSide = 2.0;

// The frozen frame's colour under a point, the point clamped into the frame;
// none when there is no frame to read.
std::optional<Rgb> sample_frame_pixel(const EditorState& state, Point point);

// Takes a selection stored earlier (a board page's rectangle) when it is at
// least 2 px each way and lies within the frame. True when taken.
bool apply_preset_selection(EditorState& state, const Box& rect);

// The handle within 8 interface units of the point (frame pixels), tried
// corner first in the enum's order.
std::optional<SelectionHandle> selection_handle_at(const EditorState& state, Point point);

// The rectangle between two points, whichever way round.
Box normalised_box(Point a, Point b);
// The selection saved at a handle drag's start with the sides that the
// handle holds moved to the point, normalised.
Box reshape_selection(const Box& before, SelectionHandle handle, Point point);

// Full screen and back: the selection becomes the monitor under the size
// panel's button (or under the selection's centre); a second toggle before
// the selection changes restores it exactly.
void toggle_full_screen_selection(EditorState& state);

// The size panel ends at the selection's right edge, 6 units above it,
// inside the frame; the square button stands 4 units to its right.
struct SizeFieldRects {
    Box width;
    Box height;

    friend bool operator==(const SizeFieldRects&, const SizeFieldRects&) = default;
};
struct SizePanel {
    Box panel;
    Box button;
    std::optional<SizeFieldRects> fields;  // while the dimension fields are edited

    friend bool operator==(const SizePanel&, const SizePanel&) = default;
};
// None in board mode or without a selection.
std::optional<SizePanel> place_size_panel(const EditorState& state);

// The rotation handle of the selected objects' frame, kept 8 interface units
// inside the frame so that it can always be grabbed.
std::optional<Point> clamp_popup_position(const EditorState& state);

// Which colours the toolbar's colour buttons show for the selection.
enum class InkSource : std::uint8_t {
    Selection,  // the selected label's own ink, else the state's label ink
    Automatic,  // black or white, whichever reads better on the box colour
    Colour,     // the colour given
};
struct InkChoice {
    InkSource source = InkSource::Selection;
    Rgb colour;
};
struct SelectionColourState {
    Rgb box;
    Rgb text;
    bool text_automatic = false;

    friend bool operator==(const SelectionColourState&, const SelectionColourState&) = default;
};
SelectionColourState selection_colour_state(const EditorState& state, Rgb colour, InkChoice ink);
// Black on light colours, white on dark ones (WCAG 2 contrast).
Rgb automatic_text_colour(Rgb box);

// Fill hovering applies: the selection is committed, and no picker,
// eyedropper, pan, toolbar, size panel or selection handle is under the
// pointer.
bool fill_hover_enabled(const EditorState& state);
// What a fill click at the pointer would colour; none outside fill mode.
std::optional<FillTarget> fill_preview_target(const EditorState& state);

// A drawing tool's crosshair is shown at the pointer.
bool drawing_cursor_active(const EditorState& state);
// The brush circle is shown (pen, highlighter, eraser, or a size step).
bool brush_preview_visible(const EditorState& state);

// The topmost text object whose box holds the point.
std::optional<std::size_t> text_object_at(std::span<const SceneObject> objects, Point point);
// The objects to outline as the pointer hovers: those a running marquee
// takes, or the unselected object under the pointer with the select tool.
std::vector<ObjectId> hover_highlight_targets(const EditorState& state);

}  // namespace glimmerly
