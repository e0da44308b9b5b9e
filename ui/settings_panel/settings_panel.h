#pragma once
// The settings window's panel: four pages of rows, the copies of what they
// show and edit, and the answer word of every input. The panel never touches
// the settings file or the platform: the window carries out what a
// `PanelResponse` asks for and refreshes the panel's copies afterwards.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/base/rgb.h"
#include "core/document/scene_object.h"
#include "core/pointer/pointer_settings.h"
#include "core/pointer/pointer_state.h"
#include "core/render/ui_text_style.h"
#include "text/shortcut_text.h"
#include "text/text_table.h"

namespace glimmerly {

enum class SettingsPage : std::uint8_t { General = 0, Shortcuts = 1, Presentation = 2, PointerEffects = 3 };
inline constexpr std::size_t kSettingsPageCount = 4;

// The kind of one row or control; each row also carries an id whose meaning
// depends on the kind (a page, a shortcut row, a feature, a section, a
// pointer item).
enum class PanelItemKind : std::uint8_t {
    Tab = 0,
    StartWithWindows = 1,
    LiveCapture = 2,
    MiniToolbar = 3,
    ObsMirror = 4,
    ShortcutRow = 5,
    InputSize = 6,
    ShapeDuration = 7,
    MoveInput = 8,
    FeatureSwitch = 9,
    SectionHeader = 10,
    PointerItem = 11,
    RestoreDefaults = 12,
    None = 255,
};

enum class PointerSection : std::uint8_t { Halo = 0, Trail = 1, Clicks = 2, Spotlight = 3, Magnifier = 4 };
inline constexpr std::size_t kPointerSectionCount = 5;
inline constexpr std::uint8_t kNoSection = 255;

// Ids of the pointer items, in the order of the page.
inline constexpr std::uint8_t kHaloShapeItem = 0;
inline constexpr std::uint8_t kHaloColourItem = 1;
inline constexpr std::uint8_t kHaloSizeItem = 2;
inline constexpr std::uint8_t kHaloOpacityItem = 3;
inline constexpr std::uint8_t kHaloSoftEdgeItem = 4;
inline constexpr std::uint8_t kHaloThicknessItem = 5;
inline constexpr std::uint8_t kHaloMovementItem = 6;
inline constexpr std::uint8_t kTrailStyleItem = 7;
inline constexpr std::uint8_t kTrailLengthItem = 8;
inline constexpr std::uint8_t kClickAnimationItem = 9;
inline constexpr std::uint8_t kLeftClickColourItem = 10;
inline constexpr std::uint8_t kRightClickColourItem = 11;
inline constexpr std::uint8_t kClickSoundItem = 12;
inline constexpr std::uint8_t kClickVolumeItem = 13;
inline constexpr std::uint8_t kSpotlightShapeItem = 14;
inline constexpr std::uint8_t kSpotlightSizeItem = 15;
inline constexpr std::uint8_t kSpotlightDarknessItem = 16;
inline constexpr std::uint8_t kHideWhileMovingItem = 17;
inline constexpr std::uint8_t kMagnifierZoomItem = 18;
inline constexpr std::uint8_t kMagnifierSizeItem = 19;
inline constexpr std::uint8_t kShowWhileHeldItem = 20;
inline constexpr std::uint8_t kPointerItemCount = 21;

enum class PointerControl : std::uint8_t { Choice, Colour, Slider, Switch };
PointerControl pointer_control_of(std::uint8_t id);

struct PointerSlider {
    std::uint32_t PointerSettings::*field;
    std::uint32_t min;
    std::uint32_t max;
    std::uint32_t step;  // of keys and the wheel
};
std::optional<PointerSlider> pointer_slider(std::uint8_t id);

struct PointerChoice {
    TextId label;
    std::uint32_t value;
};
// The segments of a choice item; empty for the other items.
std::span<const PointerChoice> pointer_choices(std::uint8_t id);

inline constexpr std::array<Rgb, 8> kSwatchColours = {{{0xFF, 0xD3, 0x40},
                                                       {0xFF, 0x8C, 0x00},
                                                       {0xED, 0x4F, 0x5C},
                                                       {0xEC, 0x48, 0x99},
                                                       {0xA8, 0x55, 0xF7},
                                                       {0x40, 0x9C, 0xFF},
                                                       {0x4A, 0xDE, 0x80},
                                                       {0xFF, 0xFF, 0xFF}}};
inline constexpr Rgb kDefaultPresentationColour{0xFF, 0xD3, 0x40};

// One laid-out row or control, in DIPs.
struct PanelItem {
    Box item;
    Box control;
    PanelItemKind kind = PanelItemKind::None;
    std::uint8_t id = 0;

    friend bool operator==(const PanelItem&, const PanelItem&) = default;
};

// Edges count as inside.
constexpr bool box_contains(const Box& box, double x, double y) {
    return x >= box.left && x <= box.right && y >= box.top && y <= box.bottom;
}
constexpr Box grown_box(const Box& box, double by) {
    return {box.left - by, box.top - by, box.right + by, box.bottom + by};
}

// What the settings window is to do after an input: a tag in bits 0-7, the
// commit flag (save at once) in bit 8, the click-sound flag in bit 16, a row
// or feature id in bits 8-15 for tags 4 and 12, and a value in bits 32-63
// for tags 8 and 9.
enum class PanelTag : std::uint8_t {
    ToggleStartWithWindows = 0,
    ToggleLiveCapture = 1,
    ToggleMiniToolbar = 2,
    ToggleObsMirror = 3,
    EditShortcutRow = 4,
    RowEditFirstButton = 5,
    RowEditSecondButton = 6,
    SavedBeforeButton = 7,
    SetInputSize = 8,
    SetShapeDuration = 9,
    RestorePresentationDefaults = 10,
    ToggleMoveInput = 11,
    ToggleFeature = 12,
    Nothing = 13,
    Repaint = 14,
    PointerChanged = 15,
    Close = 17,
};

struct PanelResponse {
    std::uint64_t word = 13;

    static constexpr std::uint64_t kCommit = 0x100;
    static constexpr std::uint64_t kClickSound = 0x10000;

    static constexpr PanelResponse of(PanelTag tag) { return {static_cast<std::uint64_t>(tag)}; }
    static constexpr PanelResponse with_id(PanelTag tag, std::uint8_t id) {
        return {static_cast<std::uint64_t>(tag) | std::uint64_t{id} << 8};
    }
    static constexpr PanelResponse with_value(PanelTag tag, std::uint32_t value) {
        return {static_cast<std::uint64_t>(tag) | std::uint64_t{value} << 32};
    }
    static constexpr PanelResponse pointer_changed(bool click_sound = false) {
        return {0x10F | (click_sound ? kClickSound : 0)};
    }

    constexpr PanelTag tag() const { return static_cast<PanelTag>(word & 0xFF); }
    constexpr bool commit() const { return (word & kCommit) != 0; }
    constexpr bool click_sound() const { return (word & kClickSound) != 0; }
    constexpr std::uint8_t id() const { return static_cast<std::uint8_t>(word >> 8); }
    constexpr std::uint32_t value() const { return static_cast<std::uint32_t>(word >> 32); }
    constexpr PanelResponse committed() const { return {word | kCommit}; }

    friend bool operator==(const PanelResponse&, const PanelResponse&) = default;
};

// The window's snapshot of the settings that are not pointer effects.
struct SettingsView {
    // Capture, instant screenshot, board, arrow, rectangle, ellipse, show a
    // click, spotlight, magnifier.
    std::array<KeyCaps, 9> rows;
    std::uint32_t input_size = 100;       // percent: 100, 150 or 200
    std::uint32_t shape_duration = 3000;  // ms: 1000, 3000 or 5000
    bool start_with_windows = false;
    bool live_capture_default = false;
    bool mini_toolbar = false;
    bool obs_mirror = false;
    bool moving_input = false;
    bool board_visible = false;
    bool keyboard = false;
    bool mouse = false;
    bool temporary_shapes = false;

    friend bool operator==(const SettingsView&, const SettingsView&) = default;
};

struct PanelFocus {
    PanelItemKind kind = PanelItemKind::Tab;
    std::uint8_t id = 0;

    friend bool operator==(const PanelFocus&, const PanelFocus&) = default;
};

struct PanelTab {
    SettingsPage page = SettingsPage::General;
    Box rect;
};

struct PanelHeading {
    TextId text{};
    Box rect;
};

// One page laid out, replaced whole by each layout pass.
struct PanelLayout {
    std::vector<PanelTab> tabs;
    std::vector<PanelHeading> headings;
    std::vector<Box> rows;
    std::vector<Box> cards;
    std::vector<PanelItem> items;  // in focus order, after the tabs
    Box title;
    Box preview;  // empty except on the Pointer effects page
};

// Widths the window measured, by text, size in tenths of a DIP and style.
struct TextWidthKey {
    std::string text;
    std::uint32_t tenths = 0;
    UiTextStyle style = UiTextStyle::Body;
};
struct TextWidthKeyView {
    std::string_view text;
    std::uint32_t tenths = 0;
    UiTextStyle style = UiTextStyle::Body;

    TextWidthKeyView(std::string_view t, std::uint32_t n, UiTextStyle s) : text(t), tenths(n), style(s) {}
    TextWidthKeyView(const TextWidthKey& key) : text(key.text), tenths(key.tenths), style(key.style) {}
};
struct TextWidthHash {
    using is_transparent = void;
    std::size_t operator()(TextWidthKeyView key) const;
};
struct TextWidthEqual {
    using is_transparent = void;
    bool operator()(TextWidthKeyView a, TextWidthKeyView b) const {
        return a.tenths == b.tenths && a.style == b.style && a.text == b.text;
    }
};
using TextWidthCache = std::unordered_map<TextWidthKey, double, TextWidthHash, TextWidthEqual>;

// The size part of a cache key: the size in tenths, truncated and kept
// within the unsigned range.
std::uint32_t text_size_key(double size);

// The previous combination of a row whose new one was just saved.
struct PanelSavedBefore {
    KeyCaps caps;
    std::uint8_t row = 0;
};

inline constexpr std::uint8_t kNoSlider = 255;

struct SettingsPanel {
    SettingsView view;

    PanelLayout layout;
    double client_width = 0.0;
    double client_height = 0.0;

    // Set by the window's row editing.
    std::optional<std::uint8_t> editing_row;
    std::optional<PanelSavedBefore> saved_before;

    std::uint8_t dragged_slider = kNoSlider;
    double drag_fraction = 0.0;

    TextWidthCache text_widths;

    // The style each of the halo, trail, clicks and spotlight sections goes
    // back to when it is switched on again.
    std::array<std::uint32_t, 4> remembered_styles{};

    PointerSettings pointer;

    PanelFocus focus;
    bool pointer_effects = false;
    bool magnifier = false;
    bool focus_visible = false;
    SettingsPage page = SettingsPage::General;
    std::uint8_t expanded_section = 0;
    Language language = LANGUAGE_ENGLISH;
    Rgb presentation_colour = kDefaultPresentationColour;

    // The part of a wheel notch the last messages left over: precise wheels
    // and touchpads send deltas below a notch, which must add up to steps.
    std::int32_t wheel_remainder = 0;

    // The preview's simulated pointer, and its click cadence: the time of the
    // last simulated click and how many there have been.
    PointerState preview;
    std::uint64_t last_preview_click = 0;
    std::uint64_t preview_clicks = 0;
};

// The presentation colour comes packed as R | G << 8 | B << 16.
SettingsPanel new_settings_panel(const PointerSettings& pointer, std::uint32_t presentation_colour,
                                 bool pointer_effects, SettingsView view, Language language);

// Makes the page current, drops the "Saved, before" state, ends any slider
// drag and lays the page out again.
void show_settings_page(SettingsPanel& panel, SettingsPage page);

// Tabs, shortcut rows, feature switches, section headers and pointer items
// match on kind and id; the other kinds on kind alone.
bool panel_item_matches(PanelItemKind kind, std::uint8_t id, PanelItemKind want_kind, std::uint8_t want_id);
std::optional<PanelItem> find_panel_item(std::span<const PanelItem> items, PanelItemKind kind, std::uint8_t id);

PointerSection pointer_section_of(std::uint8_t id);
// The style byte of the halo, trail, clicks or spotlight section.
std::uint32_t& section_style(PointerSettings& pointer, PointerSection section);
bool section_on(const SettingsPanel& panel, PointerSection section);
bool any_pointer_style_on(const PointerSettings& pointer);

std::uint32_t pointer_choice_value(const SettingsPanel& panel, std::uint8_t id);
void set_pointer_choice(SettingsPanel& panel, std::uint8_t id, std::uint32_t value);
// Within the choice list of an input-size, shape-duration or pointer choice
// item; a section that is off shows the style it would come back with.
std::optional<std::size_t> choice_index(const SettingsPanel& panel, PanelItemKind kind, std::uint8_t id);

void set_section_enabled(SettingsPanel& panel, PointerSection section, bool on);
// A change of a pointer item (tag 15) makes its effect visible.
PanelResponse enable_section_on_change(SettingsPanel& panel, PointerSection section, PanelResponse response);
PanelResponse restore_pointer_defaults(SettingsPanel& panel);
// Slot 0 show a click, 1 spotlight, 2 magnifier.
void clear_pointer_shortcut(SettingsPanel& panel, std::uint8_t slot);

}  // namespace glimmerly
