#include "core/editor/toolbar.h"

#include "core/editor/chrome_math.h"
#include "core/editor/id_set.h"
#include "core/editor/monitor_views.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace glimmerly {

namespace {

using Code = EditorActionCode;

constexpr EditorAction action(Code code) { return pack_editor_action(code); }

constexpr std::array<Rgb, 6> kPalette = {
    Rgb{237, 79, 92}, Rgb{250, 192, 66}, Rgb{64, 199, 128}, Rgb{80, 153, 244}, Rgb{245, 245, 248}, Rgb{28, 31, 40}};

constexpr ToolbarEntry entry(EditorAction a, char key, TextId text, bool ctrl = false, bool shift = false) {
    return {a, {vk_char(key), ctrl, shift}, text};
}

const std::array<ToolbarEntry, 27> kEntries = {
    entry(tool_action(Tool::Select), 'V', TextId::toolbar_select),
    entry(tool_action(Tool::Rectangle), 'R', TextId::toolbar_rectangle),
    entry(tool_action(Tool::Ellipse), 'C', TextId::toolbar_ellipse),
    entry(tool_action(Tool::Line), 'L', TextId::toolbar_line),
    entry(tool_action(Tool::Arrow), 'A', TextId::toolbar_arrow),
    entry(tool_action(Tool::Pen), 'P', TextId::toolbar_pen),
    entry(tool_action(Tool::Highlighter), 'H', TextId::toolbar_highlighter),
    entry(tool_action(Tool::Blur), 'X', TextId::toolbar_blur),
    entry(tool_action(Tool::Label), 'B', TextId::toolbar_label),
    entry(tool_action(Tool::Text), 'T', TextId::toolbar_text),
    entry(tool_action(Tool::Eraser), 'E', TextId::toolbar_eraser),
    ToolbarEntry{action(Code::LiveCapture), {kVkF2, false, false}, TextId::toolbar_live_capture},
    entry(colour_action(kPalette[0]), '1', TextId::toolbar_red),
    entry(colour_action(kPalette[1]), '2', TextId::toolbar_yellow),
    entry(colour_action(kPalette[2]), '3', TextId::toolbar_green),
    entry(colour_action(kPalette[3]), '4', TextId::toolbar_blue),
    entry(colour_action(kPalette[4]), '5', TextId::toolbar_white),
    entry(colour_action(kPalette[5]), '6', TextId::toolbar_black),
    entry(action(Code::ColourPicker), 'S', TextId::toolbar_custom_color),
    entry(action(Code::Eyedropper), 'I', TextId::toolbar_eyedropper),
    entry(action(Code::FillMode), 'G', TextId::toolbar_fill),
    entry(action(Code::Undo), 'Z', TextId::toolbar_undo, true),
    entry(action(Code::Redo), 'Y', TextId::toolbar_redo, true),
    entry(action(Code::ImageSearch), 'G', TextId::toolbar_google_lens, true),
    entry(action(Code::CopyImage), 'C', TextId::toolbar_copy_image, true, true),
    entry(action(Code::Save), 'S', TextId::toolbar_save, true),
    ToolbarEntry{action(Code::Close), {kVkEscape, false, false}, TextId::toolbar_close},
};

// Life times of the highlight kinds, in ToolbarAnimationKind order.
constexpr std::array<ChromeClock::duration, 6> kAnimationLife = {
    std::chrono::milliseconds(280), std::chrono::milliseconds(140), std::chrono::milliseconds(300),
    std::chrono::milliseconds(300), std::chrono::milliseconds(120), std::chrono::milliseconds(120)};

// Panel and placement measures, in units.
constexpr double kPanelPadding = 8.0;  // a panel is its buttons' pitch plus this
constexpr double kButtonInset = 5.0;
constexpr double kMonitorMargin = 4.0;
constexpr double kGap = 8.0;
constexpr double kActionsRoom = 36.0;  // monitor width the actions panel leaves free
constexpr double kToolsRoom = 40.0;

Code code_of(EditorAction a) { return static_cast<Code>(a & 0xFFu); }

ToolbarAnimationGroup group_of(ToolbarAnimationKind kind) {
    return static_cast<ToolbarAnimationGroup>(static_cast<std::uint8_t>(kind) / 2);
}
ChromeClock::duration life_of(ToolbarAnimationKind kind) { return kAnimationLife[static_cast<std::size_t>(kind)]; }

ToolbarButton button_for(const ToolbarEntry& e, ToolbarPanel panel) {
    ToolbarButton b;
    b.action = e.action;
    b.text = e.text;
    b.panel = panel;
    return b;
}

ToolbarButton extra_button(Code code, TextId text) {
    return button_for(ToolbarEntry{action(code), {}, text}, ToolbarPanel::Actions);
}

bool label_in_play(const EditorState& state) {
    if (state.tool == Tool::Label) return true;
    const IdSet selected(state.selection);
    for (const SceneObject& o : state.objects)
        if (is_label(o) && selected.contains(o.id)) return true;
    return false;
}

// Steps 1 to 5: which buttons, in which panel, in which order.
void list_items(const EditorState& state, std::vector<ToolbarButton>& tools, std::vector<ToolbarButton>& actions) {
    for (const ToolbarEntry& e : kEntries) {
        const Code code = code_of(e.action);
        if (code == Code::ChooseTool) {
            if (state.board_mode && e.action == tool_action(Tool::Blur)) continue;
            tools.push_back(button_for(e, ToolbarPanel::Tools));
        } else {
            if (code == Code::LiveCapture && (state.board_mode || state.live_capture_not_offered)) continue;
            actions.push_back(button_for(e, ToolbarPanel::Actions));
        }
    }
    if (state.board_mode)
        actions.insert(actions.end() - 1, extra_button(Code::ClearOrRestoreBoard, TextId::toolbar_clear_board));
    if (label_in_play(state)) {
        const auto is_colour = [](const ToolbarButton& b) { return code_of(b.action) == Code::Colour; };
        const auto first_colour = std::find_if(actions.begin(), actions.end(), is_colour);
        actions.insert(first_colour, {extra_button(Code::BoxColourPalette, TextId::toolbar_box_color),
                                      extra_button(Code::TextColourPalette, TextId::toolbar_text_color)});
    }
    if (state.board_mode || !state.more_tools_setting) return;
    if (state.more_tools_expanded) {
        actions.insert(actions.begin(), extra_button(Code::MoreTools, TextId::toolbar_fewer_tools));
        return;
    }
    std::vector<ToolbarButton> collapsed{extra_button(Code::MoreTools, TextId::toolbar_more_tools)};
    for (const auto* list : {&tools, &actions})
        for (ToolbarButton b : *list) {
            const Code code = code_of(b.action);
            if (b.action == tool_action(Tool::Pen) || code == Code::Undo || code == Code::CopyImage ||
                code == Code::Save || code == Code::MoreTools || code == Code::Close) {
                b.panel = ToolbarPanel::Actions;
                collapsed.push_back(b);
            }
        }
    tools.clear();
    actions = std::move(collapsed);
}

// How many buttons a panel fits along its long side: at least one, and
// worked out in f64 so that a huge or broken monitor size cannot overflow
// the conversion.
std::size_t fit_count(double room, std::size_t count) {
    double fit = std::floor(room / kToolbarButtonPitch);
    if (!(fit >= 1.0)) fit = 1.0;
    return fit >= static_cast<double>(count) ? count : static_cast<std::size_t>(fit);
}

std::size_t ceil_div(std::size_t a, std::size_t b) { return (a + b - 1) / b; }

struct PanelShape {
    std::size_t columns = 0, rows = 0;
    double width = 0.0, height = 0.0;
};

PanelShape actions_shape(std::size_t n, const Box& monitor) {
    if (n == 0) return {};
    const std::size_t columns = fit_count(monitor.right - monitor.left - kActionsRoom, n);
    const std::size_t rows = ceil_div(n, columns);
    return {columns, rows, columns * kToolbarButtonPitch + kPanelPadding, rows * kToolbarButtonPitch + kPanelPadding};
}

PanelShape tools_shape(std::size_t t, const Box& monitor, double actions_height) {
    if (t == 0) return {};
    const std::size_t per_column = fit_count(monitor.bottom - monitor.top - actions_height - kToolsRoom, t);
    const std::size_t columns = ceil_div(t, per_column);
    return {columns, per_column, columns * kToolbarButtonPitch + kPanelPadding,
            per_column * kToolbarButtonPitch + kPanelPadding};
}

// The monitor the toolbar stays on, in frame pixels.
Box toolbar_monitor(const EditorState& state, const Box& selection) {
    const Box frame{0.0, 0.0, static_cast<double>(state.frame_width), static_cast<double>(state.frame_height)};
    if (state.board_mode) {
        const auto m = monitor_at_point(state, state.pointer);
        return m ? m->rect : frame;
    }
    for (const MonitorArea& area : state.monitor_areas)
        if (box_contains(area.rect, selection)) return area.rect;
    return frame;
}

struct Placement {
    Box tools, actions;  // units; a panel without buttons is left empty
};

// Steps 5 to 8, in units.
Placement place_panels(const Box& mon, const Box& sel, const std::optional<Box>& size_panel,
                       const PanelShape& tools_panel, const PanelShape& actions_panel) {
    const double lo_x = mon.left + kMonitorMargin, lo_y = mon.top + kMonitorMargin;
    const auto clamp_x = [&](double x, double w) { return clamp_into(x, lo_x, mon.right - kMonitorMargin - w); };
    const auto clamp_y = [&](double y, double h) { return clamp_into(y, lo_y, mon.bottom - kMonitorMargin - h); };
    const Box ref = size_panel ? box_union(sel, *size_panel) : sel;

    const double tw = tools_panel.width, th = tools_panel.height;
    double tx = ref.right + kGap;
    if (tx + tw > mon.right - kMonitorMargin) {
        tx = ref.left - kGap - tw;
        if (tx < lo_x) tx = ref.right - tw - kGap;
    }
    Box tools = box_at(clamp_x(tx, tw), clamp_y(sel.bottom - th, th), tw, th);
    const bool has_tools = tools_panel.columns > 0;

    const double aw = actions_panel.width, ah = actions_panel.height;
    double ax = clamp_x(sel.right - aw, aw);
    double ay = clamp_y(sel.bottom - kGap - ah, ah);  // inside, the last resort
    const double below = sel.bottom + kGap, above = sel.top - kGap - ah;
    if (below + ah <= mon.bottom - kMonitorMargin) {
        ay = clamp_y(below, ah);
    } else if (above >= lo_y) {
        const auto blocked = [&](double x) {
            const Box a = box_at(x, above, aw, ah);
            return (size_panel && boxes_overlap(a, *size_panel)) || (has_tools && boxes_overlap(a, tools));
        };
        if (!size_panel || !boxes_overlap(box_at(ax, above, aw, ah), *size_panel)) {
            ay = clamp_y(above, ah);
        } else if (const double shifted = clamp_x(size_panel->left - kGap - aw, aw); !blocked(shifted)) {
            ax = shifted;
            ay = clamp_y(above, ah);
        } else if (const double over = ref.top - kGap - ah; over >= lo_y) {
            ay = clamp_y(over, ah);
        }
    }
    const Box actions = box_at(ax, ay, aw, ah);

    if (has_tools && actions_panel.columns > 0 && boxes_overlap(tools, actions)) {
        const double up = actions.top - kGap - th;
        tools.top = clamp_y(up >= lo_y ? up : actions.bottom + kGap, th);
        tools.bottom = tools.top + th;
    }
    return {tools, actions};
}

void set_marks(const EditorState& state, ToolbarButton& b) {
    switch (code_of(b.action)) {
        case Code::BoxColourPalette: b.active = state.palette_target == PaletteTarget::Box; break;
        case Code::TextColourPalette: b.active = state.palette_target == PaletteTarget::Text; break;
        case Code::FillMode: b.active = state.fill_mode; break;
        case Code::Undo:
            b.enabled = !state.undo_stack.empty();
            if (!b.enabled) b.text = TextId::capture_nothing_to_undo;
            break;
        case Code::Redo:
            b.enabled = !state.redo_stack.empty();
            if (!b.enabled) b.text = TextId::capture_nothing_to_redo;
            break;
        case Code::ImageSearch:
            if (state.image_search_in_progress) {
                b.active = true;
                b.text = TextId::capture_google_search_in_progress;
            }
            break;
        case Code::LiveCapture:
            b.active = state.live_capture;
            b.enabled = !state.live_capture_for_new_only;
            b.text = state.live_capture_for_new_only ? TextId::capture_live_for_new_captures
                     : state.live_capture            ? TextId::capture_live_on
                                                     : TextId::capture_live_frozen;
            break;
        case Code::MoreTools: b.active = state.more_tools_expanded; break;
        default: break;
    }
}

struct Layout {
    std::vector<ToolbarButton> buttons;
    ToolbarPanelSizes sizes;
    double scale = 1.0;
};

Layout lay_out(const EditorState& state) {
    Layout out;
    out.scale = anchor_monitor_scale(state);
    if (!state.toolbar_shown || state.selecting || !state.capture_selection) return out;
    std::vector<ToolbarButton> tools, actions;
    list_items(state, tools, actions);

    const double s = out.scale, unit = 1.0 / s;
    const Box sel = scale_box(*state.capture_selection, unit);
    const Box mon = scale_box(toolbar_monitor(state, *state.capture_selection), unit);
    std::optional<Box> size_panel;
    if (const auto p = place_size_panel(state)) size_panel = scale_box(box_union(p->panel, p->button), unit);

    const PanelShape a = actions_shape(actions.size(), mon);
    const PanelShape t = tools_shape(tools.size(), mon, a.height);
    const Placement where = place_panels(mon, sel, size_panel, t, a);

    // Actions run row by row, tools column by column.
    for (std::size_t i = 0; i < actions.size(); ++i) {
        const double x = where.actions.left + kButtonInset + static_cast<double>(i % a.columns) * kToolbarButtonPitch;
        const double y = where.actions.top + kButtonInset + static_cast<double>(i / a.columns) * kToolbarButtonPitch;
        actions[i].rect = scale_box(box_at(x, y, kToolbarButtonSize, kToolbarButtonSize), s);
    }
    for (std::size_t i = 0; i < tools.size(); ++i) {
        const double x = where.tools.left + kButtonInset + static_cast<double>(i / t.rows) * kToolbarButtonPitch;
        const double y = where.tools.top + kButtonInset + static_cast<double>(i % t.rows) * kToolbarButtonPitch;
        tools[i].rect = scale_box(box_at(x, y, kToolbarButtonSize, kToolbarButtonSize), s);
    }
    out.sizes = {{t.width * s, t.height * s}, {a.width * s, a.height * s}};
    out.buttons = std::move(tools);
    out.buttons.insert(out.buttons.end(), actions.begin(), actions.end());
    for (ToolbarButton& b : out.buttons) set_marks(state, b);
    return out;
}

bool on_button(const ToolbarButton& b, Point p) { return box_contains(b.rect, p); }

std::optional<EditorAction> colour_mark(std::span<const ToolbarButton> buttons, Rgb colour) {
    for (const ToolbarButton& b : buttons)
        if (colour_button_selected(b.action, colour)) return b.action;
    return std::nullopt;
}

bool same_optional_item(const std::optional<EditorAction>& a, const std::optional<EditorAction>& b) {
    if (!a || !b) return a.has_value() == b.has_value();
    return same_toolbar_item(*a, *b);
}

bool holds_item(std::span<const EditorAction> items, EditorAction item) {
    return std::any_of(items.begin(), items.end(), [&](EditorAction x) { return same_toolbar_item(x, item); });
}

}  // namespace

std::span<const ToolbarEntry> toolbar_entries() { return kEntries; }
std::span<const Rgb> palette_colours() { return kPalette; }

std::optional<EditorAction> action_for_key(VirtualKey key, bool ctrl, bool shift, bool alt) {
    if (alt) return std::nullopt;
    if (key == vk_char('F') && !ctrl) return action(Code::FullScreenOrPrevious);
    if (ctrl && shift && key == vk_char('Z')) return action(Code::Redo);
    if (ctrl && shift && key == vk_char('S')) return action(Code::SaveAs);
    for (const ToolbarEntry& e : kEntries)
        if (e.shortcut.key == key && e.shortcut.ctrl == ctrl && (!ctrl || e.shortcut.shift == shift)) return e.action;
    return std::nullopt;
}

bool same_toolbar_item(EditorAction a, EditorAction b) {
    if (code_of(a) != code_of(b)) return false;
    switch (code_of(a)) {
        case Code::ChooseTool:
        case Code::Colour:
        case Code::CopyColourCode: return editor_action_argument(a) == editor_action_argument(b);
        default: return true;
    }
}

std::vector<ToolbarButton> layout_toolbar(const EditorState& state) { return lay_out(state).buttons; }

ToolbarPanelSizes toolbar_panel_size(const EditorState& state) { return lay_out(state).sizes; }

const ToolbarButton* toolbar_button_at(std::span<const ToolbarButton> buttons, Point point) {
    for (const ToolbarButton& b : buttons)
        if (b.accepts_hover && on_button(b, point)) return &b;
    return nullptr;
}

std::optional<ToolbarItem> toolbar_item_at(const EditorState& state, Point point) {
    if (state.colour_picker) return std::nullopt;
    const auto buttons = layout_toolbar(state);
    if (const ToolbarButton* b = toolbar_button_at(buttons, point)) return ToolbarItem{b->action, b->rect};
    if (state.selecting) return std::nullopt;
    if (const auto panel = place_size_panel(state)) {
        if (box_contains(panel->button, point)) return ToolbarItem{action(Code::FullScreenOrPrevious), panel->button};
        if (box_contains(panel->panel, point)) return ToolbarItem{action(Code::NoEffect), panel->panel};
    }
    return std::nullopt;
}

std::vector<Box> toolbar_panel_rects(std::span<const ToolbarButton> buttons, double scale) {
    std::vector<Box> rects;
    for (const ToolbarPanel panel : {ToolbarPanel::Tools, ToolbarPanel::Actions}) {
        std::optional<Box> all;
        for (const ToolbarButton& b : buttons)
            if (b.panel == panel) all = all ? box_union(*all, b.rect) : b.rect;
        if (all) rects.push_back(grow_box(*all, kButtonInset * scale));
    }
    return rects;
}

std::optional<Box> place_toolbar(const EditorState& state) {
    const Layout layout = lay_out(state);
    std::optional<Box> all;
    for (const Box& r : toolbar_panel_rects(layout.buttons, layout.scale)) all = all ? box_union(*all, r) : r;
    return all;
}

bool point_on_toolbar(const EditorState& state, Point point) {
    const Layout layout = lay_out(state);
    for (const Box& r : toolbar_panel_rects(layout.buttons, layout.scale))
        if (box_contains(r, point)) return true;
    return false;
}

void track_toolbar_hover(ToolbarHover& hover, std::optional<ToolbarItem> item, ChromeClock::time_point now) {
    const auto& old = hover.current;
    if (!old && !item) return;
    if (old && item && same_toolbar_item(old->item.action, item->action) && old->item.rect == item->rect) return;
    if (old && now - old->since > kToolbarHoverSettle) {
        hover.fade = ToolbarFade{now, old->item, 1.0f};
    } else if (hover.fade) {
        const std::chrono::duration<double> age = now - hover.fade->start;
        const double left = 1.0 - age.count() / std::chrono::duration<double>(kToolbarFadeLength).count();
        if (left > 0.0) {
            hover.fade->opacity = static_cast<float>(hover.fade->opacity * left);
            hover.fade->start = now;
        }
    }
    if (item) {
        hover.current = HoveredToolbarItem{*item, now};
    } else {
        hover.current.reset();
    }
}

std::optional<ToolbarItem> settled_toolbar_item(const ToolbarHover& hover, ChromeClock::time_point now) {
    if (!hover.current || now - hover.current->since <= kToolbarHoverSettle) return std::nullopt;
    return hover.current->item;
}

std::optional<FadingToolbarItem> fading_toolbar_item(const ToolbarHover& hover, ChromeClock::time_point now) {
    if (!hover.fade) return std::nullopt;
    const std::chrono::duration<double> age = now - hover.fade->start;
    const double left = 1.0 - age.count() / std::chrono::duration<double>(kToolbarFadeLength).count();
    if (!(left > 0.0)) return std::nullopt;
    return FadingToolbarItem{hover.fade->item, static_cast<float>(hover.fade->opacity * std::min(left, 1.0))};
}

bool toolbar_button_marked(const EditorState& state, const ToolbarButton& button) {
    return button.active || button.action == tool_action(state.tool) ||
           (code_of(button.action) == Code::Eyedropper && state.eyedropper_armed);
}

bool colour_button_selected(EditorAction action, Rgb colour) {
    if (action == colour_action(colour)) return true;
    const bool palette = std::find(kPalette.begin(), kPalette.end(), colour) != kPalette.end();
    return !palette && code_of(action) == Code::ColourPicker;
}

SelectionColourState build_toolbar_frame(EditorState& state, Rgb colour, InkChoice ink, ChromeClock::time_point now) {
    const SelectionColourState colours = selection_colour_state(state, colour, ink);
    if (!state.capture_selection || state.selecting) return colours;
    const auto buttons = layout_toolbar(state);
    auto& animations = state.toolbar.animations;
    std::erase_if(animations, [&](const ToolbarAnimation& a) { return now - a.start >= life_of(a.kind); });

    ToolbarMarks marks;
    for (const ToolbarButton& b : buttons) {
        if (toolbar_button_marked(state, b)) marks.marked.push_back(b.action);
    }
    marks.colour_mark = colour_mark(buttons, colour);
    if (marks.colour_mark) {
        for (const ToolbarButton& b : buttons)
            if (b.enabled && b.action == *marks.colour_mark && on_button(b, state.pointer)) {
                marks.hovered_colour_mark = b.action;
                break;
            }
    }

    if (const auto& before = state.toolbar.marks) {
        using Kind = ToolbarAnimationKind;
        for (const EditorAction item : marks.marked)
            if (!holds_item(before->marked, item)) start_toolbar_animation(animations, Kind::Marked, item, now);
        for (const EditorAction item : before->marked)
            if (!holds_item(marks.marked, item)) start_toolbar_animation(animations, Kind::Unmarked, item, now);
        const auto pair = [&](const std::optional<EditorAction>& was, const std::optional<EditorAction>& is,
                              Kind arrives, Kind leaves) {
            if (same_optional_item(was, is)) return;
            if (is) start_toolbar_animation(animations, arrives, *is, now);
            if (was) start_toolbar_animation(animations, leaves, *was, now);
        };
        pair(before->colour_mark, marks.colour_mark, Kind::ColourMarkArrives, Kind::ColourMarkLeaves);
        pair(before->hovered_colour_mark, marks.hovered_colour_mark, Kind::ColourMarkHovered, Kind::ColourMarkLeft);
    }
    state.toolbar.marks = std::move(marks);
    return colours;
}

std::optional<ChromeClock::duration> toolbar_redraw_in(const ToolbarMemory& toolbar, ChromeClock::time_point now) {
    std::optional<ChromeClock::duration> wait;
    const auto sooner = [&](ChromeClock::duration d) { wait = wait ? std::min(*wait, d) : d; };
    if (const auto& hovered = toolbar.hover.current; hovered && now - hovered->since <= kToolbarHoverSettle)
        sooner(kToolbarHoverSettle - (now - hovered->since));
    if (fading_toolbar_item(toolbar.hover, now)) sooner(kChromeFrameInterval);
    for (const ToolbarAnimation& a : toolbar.animations)
        if (now - a.start < life_of(a.kind)) sooner(kChromeFrameInterval);
    return wait;
}

std::optional<ChromeClock::duration> toolbar_redraw_in(const ToolbarMemory& toolbar,
                                                       ChromeClock::time_point drawn_at,
                                                       ChromeClock::time_point now) {
    const auto wait = toolbar_redraw_in(toolbar, drawn_at);
    if (!wait) return std::nullopt;
    return std::max(drawn_at + *wait - now, ChromeClock::duration::zero());
}

void start_toolbar_animation(std::vector<ToolbarAnimation>& animations, ToolbarAnimationKind kind, EditorAction item,
                             ChromeClock::time_point now) {
    std::erase_if(animations, [&](const ToolbarAnimation& a) {
        return group_of(a.kind) == group_of(kind) && same_toolbar_item(a.item, item);
    });
    animations.push_back({kind, item, now});
}

std::optional<ToolbarAnimationProgress> toolbar_item_for_action(std::span<const ToolbarAnimation> animations,
                                                                ToolbarAnimationGroup group, EditorAction item,
                                                                ChromeClock::time_point now) {
    for (const ToolbarAnimation& a : animations) {
        if (group_of(a.kind) != group || !same_toolbar_item(a.item, item)) continue;
        const std::chrono::duration<double> age = now - a.start, life = life_of(a.kind);
        const double progress = age.count() / life.count();
        if (progress < 1.0) return ToolbarAnimationProgress{a.kind, progress};
        return std::nullopt;
    }
    return std::nullopt;
}

}  // namespace glimmerly
