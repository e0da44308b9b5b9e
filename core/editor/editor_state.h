#pragma once
// The editing state of one capture: the objects with their selection and
// history, the running pointer gesture, the tool and its sizes, the frozen
// frame and the monitors it spans. The capture editor builds it and lends it
// to one message at a time; the editing operations change it.
//
// Everything here is platform-free. The window's own parts (text box window,
// renderer resources, GDI surface, caret record) live in `EditorWindowPart`,
// which only the Windows side defines.

#include "core/document/geometry.h"
#include "core/document/scene_object.h"
#include "core/editor/chrome_state.h"
#include "core/editor/editor_objects.h"
#include "core/editor/history.h"
#include "core/image/bgra_image.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <variant>
#include <vector>

namespace glimmerly {

enum class Tool : std::uint8_t {
    Select = 0,
    Rectangle = 1,
    Ellipse = 2,
    Line = 3,
    Arrow = 4,
    Pen = 5,
    Highlighter = 6,
    Text = 7,
    Label = 8,
    Eraser = 9,
    Blur = 10,
};
inline constexpr std::uint8_t kToolCount = 11;

std::optional<Tool> tool_from_code(std::uint32_t code);

// The modifier keys held when a pointer message arrived.
struct PointerModifiers {
    bool shift = false;
    bool alt = false;
    bool ctrl = false;

    friend bool operator==(const PointerModifiers&, const PointerModifiers&) = default;
};

// What the toolbar, the shortcuts and the output operations ask the editor to
// do, as the low byte of an action word.
enum class EditorActionCode : std::uint8_t {
    ChooseTool = 0,
    Colour = 1,
    BoxColourPalette = 2,
    TextColourPalette = 3,
    CopyColourCode = 4,
    ColourPicker = 5,
    Eyedropper = 6,
    FillMode = 7,
    SizeStepDown = 8,
    SizeStepUp = 9,
    Undo = 10,
    Redo = 11,
    ImageSearch = 12,
    LiveCapture = 13,
    FullScreenOrPrevious = 14,
    NoEffect = 15,
    CopyImage = 16,
    Save = 17,
    SaveAs = 18,
    ClearOrRestoreBoard = 19,
    MoreTools = 20,
    Close = 21,
};
inline constexpr std::uint8_t kEditorActionCodeCount = 22;

// Action word: the code in bits 0-7, its argument in bits 8-31 (a `Tool` for
// ChooseTool, an RGB colour red-green-blue from bit 8 up for Colour).
using EditorAction = std::uint32_t;

constexpr EditorAction pack_editor_action(EditorActionCode code, std::uint32_t argument = 0) {
    return static_cast<std::uint32_t>(code) | ((argument & 0xFFFFFFu) << 8);
}
constexpr EditorAction tool_action(Tool tool) {
    return pack_editor_action(EditorActionCode::ChooseTool, static_cast<std::uint32_t>(tool));
}
constexpr EditorAction colour_action(Rgb colour) {
    return pack_editor_action(EditorActionCode::Colour, pack_rgb(colour));
}
// None for a code past the last action.
std::optional<EditorActionCode> editor_action_code(EditorAction action);
constexpr std::uint32_t editor_action_argument(EditorAction action) { return action >> 8; }
// The tool of a ChooseTool word; none for any other word or an unknown tool.
std::optional<Tool> editor_action_tool(EditorAction action);
// The colour of a Colour word; none for any other word.
std::optional<Rgb> editor_action_colour(EditorAction action);

// One monitor's part of the editor window: its window rectangle, the frame
// point shown at the rectangle's top-left corner and the zoom.
struct MonitorView {
    Box rect;
    Point origin;
    double zoom = 1.0;

    friend bool operator==(const MonitorView&, const MonitorView&) = default;
};

// A monitor's rectangle in frame pixels and its DPI scale (dpi / 96).
struct MonitorArea {
    Box rect;
    double scale = 1.0;

    friend bool operator==(const MonitorArea&, const MonitorArea&) = default;
};

// The custom-colour popup: its rectangle, its scale (0 = not shown) and the
// colour it shows, each component in 0..1.
struct ColourPicker {
    Box rect;
    double scale = 0.0;
    double hue = 0.0, saturation = 0.0, value = 0.0;
    std::string hex;  // "#" and six upper-case hexadecimal digits
    PickerDrag drag = PickerDrag::None;

    friend bool operator==(const ColourPicker&, const ColourPicker&) = default;
};

enum class GestureKind : std::uint8_t {
    DrawNew = 0,
    Rotate = 1,
    Move = 2,
    Marquee = 3,
    Resize = 4,
    ArrowEnd = 5,
    ArrowBend = 6,
    Erase = 7,
};

// The object being drawn is the last one of the list.
struct DrawNewGesture {
    friend bool operator==(const DrawNewGesture&, const DrawNewGesture&) = default;
};
struct RotateGesture {
    Point centre;  // of the selection frame
    friend bool operator==(const RotateGesture&, const RotateGesture&) = default;
};
struct MoveGesture {
    friend bool operator==(const MoveGesture&, const MoveGesture&) = default;
};
// The rectangle spans the gesture's start and current points.
struct MarqueeGesture {
    friend bool operator==(const MarqueeGesture&, const MarqueeGesture&) = default;
};
struct ResizeGesture {
    Point anchor;  // the corner opposite the grabbed one
    Point handle;  // the grabbed corner
    Box frame;     // the selected objects' bounds at the press
    friend bool operator==(const ResizeGesture&, const ResizeGesture&) = default;
};
struct ArrowEndGesture {
    bool from = false;        // the `from` end, else the `to` end
    std::uint64_t index = 0;  // of the arrow in the object list
    friend bool operator==(const ArrowEndGesture&, const ArrowEndGesture&) = default;
};
struct ArrowBendGesture {
    std::uint64_t index = 0;
    friend bool operator==(const ArrowBendGesture&, const ArrowBendGesture&) = default;
};
// The objects touched so far, each once, in the order first touched; the
// release removes them whole.
struct EraseGesture {
    std::vector<ObjectId> erased;
    friend bool operator==(const EraseGesture&, const EraseGesture&) = default;
};

// In `GestureKind` order: the index is the kind.
using GesturePayload = std::variant<DrawNewGesture, RotateGesture, MoveGesture, MarqueeGesture, ResizeGesture,
                                    ArrowEndGesture, ArrowBendGesture, EraseGesture>;

// The pointer gesture; it runs exactly while the state holds `saved_objects`.
struct Gesture {
    GesturePayload payload;
    Point start;    // where the button went down
    Point current;  // the latest pointer position
    PointerModifiers modifiers;

    GestureKind kind() const { return static_cast<GestureKind>(payload.index()); }

    friend bool operator==(const Gesture&, const Gesture&) = default;
};

// Defined by the Windows side: the text box window, renderer resources and
// receiver, temporary GDI surface and caret blink record. The slot carries its
// own deleter so that this platform-free state can own it without knowing it.
struct EditorWindowPart;
using EditorWindowPartSlot = std::unique_ptr<EditorWindowPart, void (*)(EditorWindowPart*)>;

inline constexpr std::uint32_t kNoPendingSave = 0xFFFFFFFFu;

struct EditorState {
    // The line or arrow drawn last with the line or arrow tool, whose bend
    // handle those tools keep offering.
    std::optional<ObjectId> last_drawn_arrow;
    // Ids in the order they were selected; may name objects that are gone.
    std::vector<ObjectId> selection;
    // Drawing order, first drawn first.
    EditorObjects objects;
    std::vector<FillRegion> background;
    // Latest step last; no depth limit.
    std::vector<HistoryEntry> undo_stack;
    std::vector<HistoryEntry> redo_stack;
    // The objects as they were when the running gesture began; present
    // exactly while a gesture runs.
    std::optional<std::vector<SceneObject>> saved_objects;
    Gesture gesture;

    double stroke_width = 3.0;  // frame pixels
    Rgb color{237, 79, 92};
    double eraser_size = 14.0;  // diameter in frame pixels, always above 0
    double interface_scale = 1.0;
    Tool tool = Tool::Arrow;
    ObjectId last_id = 0;
    PointerModifiers modifiers;

    std::uint32_t frame_width = 0;
    std::uint32_t frame_height = 0;
    BgraImage frozen_frame;
    std::optional<Box> capture_selection;  // frame pixels
    Point pointer{-100.0, -100.0};
    std::vector<MonitorView> monitor_views;
    std::vector<MonitorArea> monitor_areas;
    // Set when an opened document is shown in a frame grown around it (so
    // that the chrome has the room of its screens): its own part of the
    // frame. The rest is margin, which a save and a full-screen selection
    // leave out.
    std::optional<Box> document_area;

    bool premultiplied = false;  // the session wants premultiplied alpha
    bool software = false;
    bool eyedropper_armed = false;
    bool brush_size_feedback = false;  // width label beside the brush circle
    std::optional<ColourPicker> colour_picker;

    EditorWindowPartSlot window{nullptr, nullptr};

    // The tool sizes waiting to be stored in the settings; the save runs only
    // while `pending_save_armed` is set.
    std::uint32_t pending_save = kNoPendingSave;
    std::uint32_t pending_stroke_width = 0;
    std::uint32_t pending_eraser_size = 0;
    bool pending_save_armed = false;

    // The capture chrome. `interface_scale` above holds the interface scale
    // at the anchor divided by the zoom under the pointer, so that distances
    // given in interface units become frame pixels.
    float text_size = 24.0f;  // of new texts and labels, 8..300
    // The scale the tool sizes were last adjusted to.
    double applied_interface_scale = 1.0;
    // Wheel delta not yet used up by whole notches of 120.
    std::int32_t wheel_remainder = 0;
    std::optional<std::size_t> press_view;  // the view under the running press
    std::optional<ViewPan> pan;
    bool space_held = false;  // a left press pans the zoomed views
    // The selection is being chosen or reshaped; the toolbar, the tools and
    // the full-screen toggle answer only once it is committed.
    bool selecting = true;
    std::optional<PreviousSelection> previous_selection;
    bool preset_selection = false;  // the selection was handed in at the start
    SizePanelWidths size_panel_widths;
    bool board_mode = false;
    bool fill_mode = false;
    bool size_preview = false;      // a size step forces the brush circle on
    bool crosshair_cursor = false;  // the setting: drawing tools show a crosshair
    std::optional<Rgb> label_ink;   // letters of new labels; none: black or white
    PaletteTarget palette_target = PaletteTarget::Box;
    bool toolbar_shown = true;
    bool more_tools_setting = false;  // the toolbar may collapse to a short form
    bool more_tools_expanded = false;
    bool live_capture = false;
    bool live_capture_not_offered = false;   // its button is left out
    bool live_capture_for_new_only = false;  // its button shows but is disabled
    bool image_search_in_progress = false;
    ToolbarMemory toolbar;

    // Pointer and keyboard input.
    std::optional<SelectionDrag> selection_drag;
    // The object the editor selected itself when a text entry ended; every
    // press forgets it. While it is the whole selection Ctrl+C copies the
    // picture rather than the object.
    std::optional<ObjectId> automatic_selection;
    Rgb custom_colour{237, 79, 92};      // what the colour picker opens with
    bool custom_colour_changed = false;  // waiting to be stored in the settings
    bool wheel_hint_shown = false;       // the first wheel step that acts hides it
};

// Ends a running gesture by putting the objects back as they were at the
// press; every edit outside the gesture does this first. True when a gesture
// was running.
bool cancel_gesture(EditorState& state);

// Fresh ids for new objects; none when the counter is exhausted, in which case
// the caller must renumber its objects before it can add any.
std::optional<ObjectId> take_new_object_ids(EditorState& state, std::uint64_t count);

// The monitor area that holds the point (half-open edges), else the nearest
// one, with its rectangle clipped to the frame; monitors the frame does not
// show take no part. None when no monitor does.
std::optional<MonitorArea> monitor_at_point(const EditorState& state, Point point);
// The DPI scale at the selection's centre (the pointer without a selection),
// clamped to 1..5; 1.0 when no monitor is found or its scale is not finite.
double anchor_monitor_scale(const EditorState& state);
// The monitor rectangle at the point, else the whole frozen image.
Box region_or_image_rect(const EditorState& state, Point point);

// A dashed line: period 7 units of which the first 4 are drawn, running on
// across corners and cut at the end of each segment.
struct Dash {
    Point from;
    Point to;
    friend bool operator==(const Dash&, const Dash&) = default;
};
std::vector<Dash> dash_polyline(std::span<const Point> points, double unit);

// The ring drawn around an object (selected, hovered or about to be filled):
// its bounds grown by 3 units and turned by its rotation, as five points with
// the first repeated. Empty when the object has no finite bounds.
Polyline object_outline_frame(const EditorState& state, const SceneObject& object, double unit);

}  // namespace glimmerly
