#pragma once
// The capture editor's toolbar: square buttons in up to two panels beside
// the selection (a tools panel of one column or more, an actions panel of
// one row or more). Here are the item table that the keyboard lookup shares,
// the layout for the current state with each button's marks, the hit tests,
// the hovered item with its fade, and the timing of the marks' short
// highlights. The renderer paints what `layout_toolbar` returns; the window
// code calls the hit tests on every pointer move and the key lookup on every
// key, so the layout is rebuilt on demand and never stored.
//
// Geometry is worked out in units of 1/96 inch and multiplied by the
// interface scale (the DPI scale under the anchor, 1..5) at the end: a
// 30-unit button is 30 px at 100 % and 60 px at 200 %.

#include "core/editor/editor_state.h"
#include "core/editor/selection_geometry.h"
#include "core/editor/virtual_keys.h"
#include "text/text_table.h"

#include <optional>
#include <span>
#include <vector>

namespace glimmerly {

inline constexpr double kToolbarButtonSize = 30.0;
inline constexpr double kToolbarButtonPitch = 32.0;
// A hover must rest this long before its highlight and hint show.
inline constexpr ChromeClock::duration kToolbarHoverSettle = std::chrono::milliseconds(249);
inline constexpr ChromeClock::duration kToolbarFadeLength = std::chrono::milliseconds(120);

struct ToolbarShortcut {
    VirtualKey key = 0;
    bool ctrl = false;
    bool shift = false;

    friend bool operator==(const ToolbarShortcut&, const ToolbarShortcut&) = default;
};

// One row of the item table: an action, its shortcut and its label.
struct ToolbarEntry {
    EditorAction action = 0;
    ToolbarShortcut shortcut;
    TextId text{};
};

// Tools, live capture, the six palette colours, picker, eyedropper, fill,
// undo, redo, image search, copy, save and close, in toolbar order.
std::span<const ToolbarEntry> toolbar_entries();
// Red, yellow, green, blue, white, black.
std::span<const Rgb> palette_colours();

// The action of a key with its modifiers, from the item table and a few keys
// of its own (F for full screen, Ctrl+Shift+Z for redo, Ctrl+Shift+S for
// save as); none with Alt or for a key that means nothing. Shift matters
// only with Ctrl: plain Shift+R still picks the rectangle.
std::optional<EditorAction> action_for_key(VirtualKey key, bool ctrl, bool shift, bool alt);

// Two words name the same toolbar item: the same code, and for tools the
// same tool, for colours the same colour.
bool same_toolbar_item(EditorAction a, EditorAction b);

enum class ToolbarPanel : std::uint8_t { Tools = 0, Actions = 1 };

struct ToolbarButton {
    Box rect;  // window pixels
    EditorAction action = 0;
    TextId text{};  // its hint, possibly replaced by a state's text
    bool accepts_hover = true;
    bool active = false;  // drawn pressed
    bool enabled = true;
    ToolbarPanel panel = ToolbarPanel::Actions;

    friend bool operator==(const ToolbarButton&, const ToolbarButton&) = default;
};

// The buttons for the state, tools panel first; empty while the toolbar is
// hidden, while selecting or without a selection.
std::vector<ToolbarButton> layout_toolbar(const EditorState& state);

// The panels' sizes in window pixels (zero for a panel without buttons).
struct ToolbarPanelSizes {
    Size tools;
    Size actions;

    friend bool operator==(const ToolbarPanelSizes&, const ToolbarPanelSizes&) = default;
};
ToolbarPanelSizes toolbar_panel_size(const EditorState& state);

// The first button whose rectangle holds the point (edges included) and that
// takes the pointer; null for none.
const ToolbarButton* toolbar_button_at(std::span<const ToolbarButton> buttons, Point point);

// The item under the pointer for hover and hints: a button, else (once the
// selection is committed) the size panel's square button (full screen) or
// the panel itself (edit dimensions). None while the colour picker is open.
std::optional<ToolbarItem> toolbar_item_at(const EditorState& state, Point point);

// The panel backgrounds: each panel's buttons grown by 5 units.
std::vector<Box> toolbar_panel_rects(std::span<const ToolbarButton> buttons, double scale);
// Both panels' backgrounds together; none when no toolbar is shown.
std::optional<Box> place_toolbar(const EditorState& state);
bool point_on_toolbar(const EditorState& state, Point point);

// Records the item now under the pointer. Leaving an item that had settled
// starts its fade; leaving one that had not lets a running fade go on.
void track_toolbar_hover(ToolbarHover& hover, std::optional<ToolbarItem> item, ChromeClock::time_point now);
// The hovered item once it has rested long enough for its highlight.
std::optional<ToolbarItem> settled_toolbar_item(const ToolbarHover& hover, ChromeClock::time_point now);
// The fading item with its opacity now; none once the fade has run out.
struct FadingToolbarItem {
    ToolbarItem item;
    float opacity = 0.0f;
};
std::optional<FadingToolbarItem> fading_toolbar_item(const ToolbarHover& hover, ChromeClock::time_point now);

// A button shows marked (pressed, in the accent colour): its layout marks
// it, it is the current tool, or it is the eyedropper while armed.
bool toolbar_button_marked(const EditorState& state, const ToolbarButton& button);
// A colour button shows the colour: the swatch of exactly that colour, or
// the custom-colour button for a colour off the palette.
bool colour_button_selected(EditorAction action, Rgb colour);

// Once per painted frame: compares the marks (active buttons, the current
// tool, the armed eyedropper, the colour button of the current colour and
// that button under the pointer) with the last frame's and starts the
// highlights of what changed. Gives the selection's colours for the colour
// buttons.
SelectionColourState build_toolbar_frame(EditorState& state, Rgb colour, InkChoice ink, ChromeClock::time_point now);

// How long until the toolbar looks different without any input: a hover
// that has not settled shows its highlight and hint once it has; a fading
// hover and a running mark highlight change with every frame. None while
// nothing moves, so that an idle capture window never wakes up.
std::optional<ChromeClock::duration> toolbar_redraw_in(const ToolbarMemory& toolbar, ChromeClock::time_point now);
// The same for the frame on screen, drawn at `drawn_at`, counted from `now`:
// zero when the change came while that frame was being drawn or since. A
// paint can outlast a hover's settle (half a second for a full screen under
// Wine on a busy machine): a wait counted from its end would leave the
// frame drawn before the settle on screen, with the previous item's hint.
std::optional<ChromeClock::duration> toolbar_redraw_in(const ToolbarMemory& toolbar,
                                                       ChromeClock::time_point drawn_at,
                                                       ChromeClock::time_point now);
// The pace of the frames of a moving highlight: one per 60 Hz refresh.
inline constexpr ChromeClock::duration kChromeFrameInterval = std::chrono::milliseconds(16);

// Replaces a running highlight of the same group on the same item.
void start_toolbar_animation(std::vector<ToolbarAnimation>& animations, ToolbarAnimationKind kind, EditorAction item,
                             ChromeClock::time_point now);

// How far the item's highlight of the group has run, 0..1; none when it has
// none running.
struct ToolbarAnimationProgress {
    ToolbarAnimationKind kind = ToolbarAnimationKind::Marked;
    double progress = 0.0;

    friend bool operator==(const ToolbarAnimationProgress&, const ToolbarAnimationProgress&) = default;
};
std::optional<ToolbarAnimationProgress> toolbar_item_for_action(std::span<const ToolbarAnimation> animations,
                                                                ToolbarAnimationGroup group, EditorAction item,
                                                                ChromeClock::time_point now);

}  // namespace glimmerly
