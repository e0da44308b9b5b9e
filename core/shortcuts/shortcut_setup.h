#pragma once
// The shortcut setup shown in the application window: one shortcut chosen
// at a time, the capture shortcut at a first start, or any row's shortcut
// recorded invisibly for the popup and the settings window. Its state, its
// layout in design units, what its keys do and what its keys area and hint
// line show are decided here; the window code paints and registers.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/base/result.h"
#include "core/base/shortcut.h"
#include "core/document/scene_object.h"
#include "core/shortcuts/shortcut_rules.h"
#include "text/text_table.h"

namespace glimmerly {

struct RendererResources;

// Design units at 96 dpi. The default is also what a failed measurement
// leaves.
struct SetupLayout {
    Box keys{20, 58, 400, 122};
    Box hint{20, 132, 400, 184};
    Box cancel{216, 196, 304, 228};
    Box save{312, 196, 400, 228};
    double width = 420;
    double height = 248;

    friend bool operator==(const SetupLayout&, const SetupLayout&) = default;
};

inline constexpr std::uint64_t kSetupFocusKeys = 0;
inline constexpr std::uint64_t kSetupFocusCancel = 1;
inline constexpr std::uint64_t kSetupFocusSave = 2;

// The drawing resources are made by the window code at the first paint and
// released through the deleter it gives with them.
using SetupResources = std::unique_ptr<RendererResources, void (*)(RendererResources*)>;

struct SetupState {
    // A refusal or failure; while not empty it replaces the hint, in red.
    std::string message;
    SetupResources resources{nullptr, nullptr};
    std::uint64_t focus = kSetupFocusKeys;
    SetupLayout layout;
    std::optional<Shortcut> recorded;
    std::uint32_t held_modifiers = 0;
    bool listening = false;
    // Serving a shortcut row instead of the visible dialog.
    bool recording_row = false;
    ShortcutKind kind = ShortcutKind::Capture;
    Language language = LANGUAGE_ENGLISH;
};

// The state for a new choice; the layout is the given one.
void reset_setup_state(SetupState& state, ShortcutKind kind, std::optional<Shortcut> recorded, bool recording_row,
                       Language language, const SetupLayout& layout);

// The control under a point in layout units (edges included); none in the
// hint line and elsewhere.
std::optional<std::uint64_t> panel_button_at(const SetupLayout& layout, double x, double y);

// A combination made of held modifiers and a key that is not one: recorded,
// listening ends and the focus goes to Save. A modifier alone changes nothing.
bool record_combination(SetupState& state, std::uint32_t modifiers, std::uint32_t key);

// What a key press in the dialog asks of the window.
struct SetupKeyOutcome {
    bool repaint = false;
    std::optional<std::uint64_t> press;  // a control to press, after the change
    bool close = false;
};
// Not listening: Tab and Shift+Tab move the focus, Enter and Space press the
// focused control, Esc cancels, any other key starts listening and is taken
// as the first key. Listening: the held modifiers and a key make the
// combination.
SetupKeyOutcome setup_key_down(SetupState& state, std::uint32_t key, std::uint32_t held_modifiers, bool shift_down);

// Save is pressable only with something recorded and the keys area not listening.
bool setup_save_enabled(const SetupState& state);

// The hint line: the state's message, else the kind's hint.
std::string setup_hint_text(const SetupState& state);

// One item of the keys area's row.
enum class SetupItemKind : std::uint8_t { Cap, Separator, Text };
struct SetupItem {
    SetupItemKind kind = SetupItemKind::Text;
    std::string text;
    Box box;  // design units, once placed
};
// What the keys area shows: the held modifiers and "…" while listening, the
// prompt when nothing is held, the recorded combination, or "Choose a shortcut".
std::vector<SetupItem> setup_key_items(const SetupState& state);
// Places the items by their text widths at 13 (same order): caps are their
// text plus 20 and at least 28 wide, the rest as wide as their text, 6
// apart, centred in the keys area; separators are dropped when the row is
// wider than the area less 32.
std::vector<SetupItem> place_setup_items(std::vector<SetupItem> items, const std::vector<double>& text_widths,
                                         const Box& keys);

// A text's extent at a size in design units, wrapped at a width (0: one line).
using SetupMeasure = std::function<Result<Size>(const std::string& text, double size, double wrap_width)>;
// The dialog sized for every text it can show in the language: the widest
// key name, title and button label widen it, the tallest message heightens
// it. Any failed measurement gives the default layout.
SetupLayout measure_setup_layout(Language language, const SetupMeasure& measure);

}  // namespace glimmerly
