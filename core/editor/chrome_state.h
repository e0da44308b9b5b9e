#pragma once
// What the capture chrome (monitor views, the capture selection, the toolbar
// and the colour picker) remembers between messages. The records live here,
// apart from the code that reads them, so that the editor state can hold them
// without pulling the toolbar and view code into every user of the state.

#include "core/base/rgb.h"
#include "core/document/scene_object.h"

#include <array>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <variant>
#include <vector>

namespace glimmerly {

// The same word as editor_state.h declares: the action code in the low byte,
// its argument above it.
using EditorAction = std::uint32_t;

// Hover fades and mark animations are timed on the monotonic clock; every
// function that needs the time takes it as an argument.
using ChromeClock = std::chrono::steady_clock;

// A zoomed view being dragged with the middle button or with Space held.
struct ViewPan {
    std::size_t view = 0;  // index into the view list
    Point last;            // window pixels

    friend bool operator==(const ViewPan&, const ViewPan&) = default;
};

// The selection a full-screen toggle replaced, and the rectangle it put in
// its place: a second toggle goes back only while that rectangle stands.
struct PreviousSelection {
    Box selection;
    Box full_screen;

    friend bool operator==(const PreviousSelection&, const PreviousSelection&) = default;
};

// The selection's resize handles, corners and sides clockwise from the
// top-left.
enum class SelectionHandle : std::uint8_t {
    TopLeft = 0,
    Top = 1,
    TopRight = 2,
    Right = 3,
    BottomRight = 4,
    Bottom = 5,
    BottomLeft = 6,
    Left = 7,
};

// A capture selection being drawn or reshaped with the mouse.
struct SelectionDrag {
    Point start;                            // frame pixels
    std::optional<Box> before;              // the selection when the drag began
    std::optional<SelectionHandle> handle;  // none: a new rectangle from `start`

    friend bool operator==(const SelectionDrag&, const SelectionDrag&) = default;
};

// The size panel's text as the renderer measured it: nothing yet, the width
// of the size label, or the widths of the two dimension fields while they
// are being edited.
using SizePanelWidths = std::variant<std::monostate, double, std::array<double, 2>>;

// What the palette colours change.
enum class PaletteTarget : std::uint8_t { Box = 0, Text = 1 };

// The part of the colour picker being dragged.
enum class PickerDrag : std::uint8_t { Ring = 0, Square = 1, None = 2 };

// A toolbar item under the pointer: a button, the size panel or its square
// button.
struct ToolbarItem {
    EditorAction action = 0;
    Box rect;

    friend bool operator==(const ToolbarItem&, const ToolbarItem&) = default;
};

struct HoveredToolbarItem {
    ToolbarItem item;
    ChromeClock::time_point since;
};

// A hover highlight fading out after the pointer left its item.
struct ToolbarFade {
    ChromeClock::time_point start;
    ToolbarItem item;
    float opacity = 1.0f;
};

struct ToolbarHover {
    std::optional<HoveredToolbarItem> current;
    std::optional<ToolbarFade> fade;
};

// The short highlights of the toolbar's marks. Kinds come in three groups
// of two (arrive, leave): a marked item, the colour mark, and the hovered
// colour mark.
enum class ToolbarAnimationKind : std::uint8_t {
    Marked = 0,
    Unmarked = 1,
    ColourMarkArrives = 2,
    ColourMarkLeaves = 3,
    ColourMarkHovered = 4,
    ColourMarkLeft = 5,
};
enum class ToolbarAnimationGroup : std::uint8_t { Mark = 0, ColourMark = 1, HoveredColourMark = 2 };

struct ToolbarAnimation {
    ToolbarAnimationKind kind = ToolbarAnimationKind::Marked;
    EditorAction item = 0;
    ChromeClock::time_point start;
};

// The marks of the last painted frame, which the next frame compares with.
struct ToolbarMarks {
    std::vector<EditorAction> marked;
    std::optional<EditorAction> colour_mark;
    std::optional<EditorAction> hovered_colour_mark;
};

struct ToolbarMemory {
    ToolbarHover hover;
    std::vector<ToolbarAnimation> animations;
    std::optional<ToolbarMarks> marks;  // absent before the first frame
    // The moment the frame the window shows whole was drawn for; absent
    // before the first.
    std::optional<ChromeClock::time_point> drawn_at;
};

}  // namespace glimmerly
