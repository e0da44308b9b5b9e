#include "ui/settings_panel/settings_layout.h"

#include <algorithm>
#include <array>

#include "core/render/key_caps.h"

namespace glimmerly {
namespace {

constexpr double kTabMinWidth = 196.0;
constexpr double kTabPadding = 68.0;
constexpr double kTabTop = 12.0;
constexpr double kTabPitch = 38.0;
constexpr double kTabHeight = 36.0;
constexpr double kTitleHeight = 68.0;
constexpr double kControlInset = 16.0;
constexpr double kControlHalfHeight = 13.0;
constexpr double kNoteRowHeight = 62.0;
constexpr double kRowHeight = 48.0;
constexpr double kPageMargin = 24.0;
constexpr double kSwitchWidth = 36.0;
constexpr double kWideControl = 176.0;
constexpr double kSectionHeaderHeight = 54.0;
constexpr double kSectionControlWidth = 68.0;
constexpr double kPointerItemHeight = 34.0;
constexpr double kPointerItemIndent = 36.0;
constexpr double kPreviewWidth = 232.0;
constexpr double kPreviewBottom = 304.0;
constexpr double kClearButtonWidth = 24.0;
constexpr double kMinNaturalHeight = 164.0;

constexpr TextId kOffText = TextId::pointer_off;
constexpr std::string_view kJoin = " \xC2\xB7 ";  // " · "
// The longest combination a "Saved, before" line is sized for.
constexpr std::string_view kLongestKeys = "Ctrl+Shift+Alt+Print Screen";

constexpr std::array<TextId, kSettingsPageCount> kPageNames = {TextId::settings_general, TextId::settings_shortcuts,
                                                               TextId::menu_presentation, TextId::menu_pointer_effects};
constexpr std::array<TextId, 9> kShortcutRowLabels = {
    TextId::menu_take_screenshot, TextId::menu_instant_screenshot, TextId::menu_edit_board,
    TextId::toolbar_arrow,        TextId::toolbar_rectangle,       TextId::toolbar_ellipse,
    TextId::pointer_show_click,   TextId::pointer_section_spotlight, TextId::pointer_section_loupe};
constexpr std::array<TextId, 6> kFeatureLabels = {TextId::menu_show_board, TextId::menu_pointer_effects,
                                                  TextId::menu_magnifier,  TextId::menu_keyboard,
                                                  TextId::menu_mouse,      TextId::menu_temporary_shapes};
constexpr std::array<TextId, kPointerItemCount> kPointerItemLabels = {
    TextId::pointer_shape,     TextId::pointer_color,      TextId::pointer_size,      TextId::pointer_opacity,
    TextId::pointer_softness,  TextId::pointer_thickness,  TextId::pointer_movement,  TextId::pointer_style,
    TextId::pointer_length,    TextId::pointer_animation,  TextId::pointer_left_click, TextId::pointer_right_click,
    TextId::pointer_sound,     TextId::pointer_volume,     TextId::pointer_shape,     TextId::pointer_size,
    TextId::pointer_darkness,  TextId::pointer_hide_moving, TextId::pointer_zoom,     TextId::pointer_size,
    TextId::pointer_hold};
// The three groups of the Shortcuts page, each with its heading.
constexpr std::array<TextId, 3> kShortcutHeadings = {TextId::menu_capture, TextId::menu_temporary_shapes,
                                                     TextId::menu_pointer_effects};

struct Row {
    PanelItemKind kind;
    std::uint8_t id = 0;
};
using K = PanelItemKind;
constexpr std::array<Row, 4> kGeneralRows = {
    {{K::StartWithWindows}, {K::LiveCapture}, {K::MiniToolbar}, {K::FeatureSwitch, 0}}};
constexpr std::array<Row, 5> kPresentationFeatures = {
    {{K::FeatureSwitch, 1}, {K::FeatureSwitch, 2}, {K::FeatureSwitch, 3}, {K::FeatureSwitch, 4}, {K::FeatureSwitch, 5}}};
constexpr std::array<Row, 4> kPresentationOptions = {
    {{K::InputSize}, {K::ShapeDuration}, {K::MoveInput}, {K::ObsMirror}}};

constexpr std::array<std::uint8_t, kPointerSectionCount + 1> kSectionFirstItem = {0, 7, 9, 14, 18, 21};

bool has_note(PanelItemKind kind) {
    return kind == K::StartWithWindows || kind == K::LiveCapture || kind == K::MiniToolbar || kind == K::ObsMirror ||
           kind == K::ShapeDuration;
}

std::string text(Language language, TextId id) { return std::string(text_of(language, id)); }

std::string number_text(Language language, TextId id, std::uint32_t n) {
    const std::string value = std::to_string(n);
    return localized_text(language, id, {{"n", value}});
}

std::size_t scalar_count(std::string_view text) {
    // Every byte but a continuation byte starts a scalar value.
    return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }));
}

PanelItem row_item(double left, double top, double right, double height, PanelItemKind kind, std::uint8_t id,
                   double control) {
    const double cy = top + height / 2.0;
    return {{left, top, right, top + height},
            {right - kControlInset - control, cy - kControlHalfHeight, right - kControlInset, cy + kControlHalfHeight},
            kind,
            id};
}

template <std::size_t N>
std::vector<PanelItem> as_items(const std::array<Row, N>& rows) {
    std::vector<PanelItem> items;
    for (const Row& row : rows) items.push_back({{}, {}, row.kind, row.id});
    return items;
}

double largest_control(const SettingsPanel& panel, std::span<const PanelItem> items) {
    double widest = 0.0;
    for (const PanelItem& item : items) widest = std::max(widest, control_width(panel, item.kind, item.id));
    return widest;
}

bool pointer_item_shown(const SettingsPanel& panel, std::uint8_t id, bool natural) {
    if (natural) return true;
    if (id == kClickVolumeItem) return panel.pointer.click_sound != 0;
    if (id == kShowWhileHeldItem) return panel.pointer.magnifier_shortcut.has_value();
    return true;
}

Box restore_defaults_box(const SettingsPanel& panel, double left, double top) {
    const double width = text_width(panel, text_of(panel.language, TextId::pointer_reset), 14.0, UiTextStyle::Body) + 8.0;
    return {left, top, left + width, top + 36.0};
}

// The General and Presentation pages: groups of rows 12 apart, and on the
// Presentation page Restore defaults below them. Gives the content width and
// the bottom.
Size layout_row_groups(SettingsPanel& panel, PanelLayout& out, std::span<const std::vector<PanelItem>> groups,
                       bool restore, double left, double title, bool natural) {
    std::vector<PanelItem> all;
    for (const auto& group : groups) all.insert(all.end(), group.begin(), group.end());
    const double row_width = label_column_width(panel, all) + 32.0 + 24.0 + largest_control(panel, all);
    const double right = natural ? left + row_width : panel.client_width - kPageMargin;
    double y = kTitleHeight;
    for (std::size_t g = 0; g < groups.size(); ++g) {
        if (g > 0) y += 12.0;
        for (const PanelItem& row : groups[g]) {
            const double height = has_note(row.kind) ? kNoteRowHeight : kRowHeight;
            const PanelItem item =
                row_item(left, y, right, height, row.kind, row.id, control_width(panel, row.kind, row.id));
            out.rows.push_back(item.item);
            out.items.push_back(item);
            y += height + 2.0;
        }
    }
    if (restore) {
        const Box box = restore_defaults_box(panel, left, y + 8.0);
        out.items.push_back({box, box, K::RestoreDefaults, 0});
        y = box.bottom;
    }
    return {std::max(title, row_width), y};
}

Size layout_shortcuts(SettingsPanel& panel, PanelLayout& out, double left, double title, bool natural) {
    std::vector<PanelItem> rows;
    for (std::uint8_t r = 0; r < 9; ++r) rows.push_back({{}, {}, K::ShortcutRow, r});
    double labels = label_column_width(panel, rows);
    for (TextId hint : {TextId::settings_edit_press, TextId::settings_edit_more})
        labels = std::max(labels, text_width(panel, text_of(panel.language, hint), 12.0, UiTextStyle::Small));
    const std::string saved = localized_text(panel.language, TextId::settings_edit_saved, {{"keys", kLongestKeys}});
    labels = std::max(labels, text_width(panel, saved, 12.0, UiTextStyle::Small));
    const double controls = std::max(214.0, largest_control(panel, rows) + 36.0);
    double headings = 0.0;
    for (TextId heading : kShortcutHeadings)
        headings = std::max(headings, text_width(panel, text_of(panel.language, heading), 14.0, UiTextStyle::Strong));
    const double row_width = std::max(32.0 + labels + 24.0 + controls, headings);
    const double right = natural ? left + row_width : panel.client_width - kPageMargin;

    double y = kTitleHeight;
    for (std::size_t g = 0; g < kShortcutHeadings.size(); ++g) {
        if (g > 0) y += 6.0;
        out.headings.push_back({kShortcutHeadings[g], {left, y, right, y + 38.0}});
        y += 38.0;
        for (std::uint8_t r = static_cast<std::uint8_t>(3 * g); r < 3 * g + 3; ++r) {
            const PanelItem item =
                row_item(left, y, right, kRowHeight, K::ShortcutRow, r, control_width(panel, K::ShortcutRow, r));
            out.rows.push_back(item.item);
            out.items.push_back(item);
            y += kRowHeight + 2.0;
        }
    }
    return {std::max(title, row_width), y};
}

Size layout_pointer_effects(SettingsPanel& panel, PanelLayout& out, double left, double title, bool natural) {
    double sections = 0.0;
    for (std::uint8_t s = 0; s < kPointerSectionCount; ++s) {
        const auto section = static_cast<PointerSection>(s);
        const double name = text_width(panel, item_label_text(panel.language, K::SectionHeader, s), 14.0, UiTextStyle::Body);
        const double summary = text_width(panel, settings_row_value_text(panel, section), 12.0, UiTextStyle::Small);
        sections = std::max(sections, std::max(name, summary) + 160.0);
    }
    std::vector<PanelItem> pointer_items;
    for (std::uint8_t id = 0; id < kPointerItemCount; ++id) pointer_items.push_back({{}, {}, K::PointerItem, id});
    const double items = label_column_width(panel, pointer_items) + kSectionControlWidth + 24.0 +
                         largest_control(panel, pointer_items);
    const double card_width = std::max(sections, items);
    const double content = std::max(title, card_width + 24.0 + kPreviewWidth);
    const double right = natural ? left + card_width : panel.client_width - 24.0 - kPreviewWidth - 24.0;
    out.preview = {right + 24.0, kTitleHeight, right + 24.0 + kPreviewWidth, kPreviewBottom};

    double y = kTitleHeight;
    for (std::uint8_t s = 0; s < kPointerSectionCount; ++s) {
        const double cy = y + kSectionHeaderHeight / 2.0;
        out.items.push_back({{left, y, right, y + kSectionHeaderHeight},
                             {right - 84.0, cy - kControlHalfHeight, right - kControlInset, cy + kControlHalfHeight},
                             K::SectionHeader,
                             s});
        double bottom = y + kSectionHeaderHeight;
        if (panel.expanded_section == s) {
            double item_top = bottom + 4.0;
            for (std::uint8_t id = kSectionFirstItem[s]; id < kSectionFirstItem[s + 1u]; ++id) {
                if (!pointer_item_shown(panel, id, natural)) continue;
                out.items.push_back(row_item(left + kPointerItemIndent, item_top, right, kPointerItemHeight,
                                             K::PointerItem, id, control_width(panel, K::PointerItem, id)));
                item_top += kPointerItemHeight;
            }
            out.cards.push_back({left, bottom, right, item_top + 6.0});
            bottom = item_top + 6.0;
        }
        out.rows.push_back({left, y, right, bottom});
        y = bottom + 2.0;
    }
    const Box box = restore_defaults_box(panel, left, y + 8.0);
    out.items.push_back({box, box, K::RestoreDefaults, 0});
    return {content, box.bottom};
}

std::string choice_name(Language language, std::uint8_t id, std::uint32_t value) {
    for (const PointerChoice& choice : pointer_choices(id))
        if (choice.value == value) return text(language, choice.label);
    return {};
}

}  // namespace

double text_width(const SettingsPanel& panel, std::string_view text, double size, UiTextStyle style) {
    const auto found = panel.text_widths.find(TextWidthKeyView{text, text_size_key(size), style});
    if (found != panel.text_widths.end()) return found->second;
    return size * static_cast<double>(scalar_count(text)) * 0.6;
}

void insert_text_width(SettingsPanel& panel, std::string_view text, double size, UiTextStyle style, double width) {
    panel.text_widths.insert_or_assign(TextWidthKey{std::string(text), text_size_key(size), style}, width);
}

std::string page_name(Language language, SettingsPage page) {
    return text(language, kPageNames[std::min<std::size_t>(static_cast<std::size_t>(page), 3)]);
}

std::string item_label_text(Language language, PanelItemKind kind, std::uint8_t id) {
    switch (kind) {
        case K::Tab: return id < kSettingsPageCount ? page_name(language, static_cast<SettingsPage>(id)) : std::string();
        case K::StartWithWindows: return text(language, TextId::menu_start_with_windows);
        case K::LiveCapture: return text(language, TextId::menu_live_capture_default);
        case K::MiniToolbar: return text(language, TextId::settings_mini_toolbar);
        case K::ObsMirror: return text(language, TextId::settings_obs_mirror);
        case K::ShortcutRow: return id < kShortcutRowLabels.size() ? text(language, kShortcutRowLabels[id]) : std::string();
        case K::InputSize: return text(language, TextId::menu_input_size);
        case K::ShapeDuration: return text(language, TextId::menu_shape_duration);
        case K::MoveInput: return text(language, TextId::menu_move_input);
        case K::FeatureSwitch: return id < kFeatureLabels.size() ? text(language, kFeatureLabels[id]) : std::string();
        case K::SectionHeader:
            return id < kPointerSectionCount
                       ? text(language, text_id(static_cast<std::uint16_t>(text_index(TextId::pointer_section_halo) + id)))
                       : std::string();
        case K::PointerItem: return id < kPointerItemCount ? text(language, kPointerItemLabels[id]) : std::string();
        case K::RestoreDefaults: return text(language, TextId::pointer_reset);
        case K::None: break;
    }
    return {};
}

std::optional<std::string> item_note_text(Language language, PanelItemKind kind) {
    switch (kind) {
        case K::StartWithWindows: return text(language, TextId::settings_start_with_windows_note);
        case K::LiveCapture: return text(language, TextId::settings_live_capture_note);
        case K::MiniToolbar: return text(language, TextId::settings_mini_toolbar_note);
        case K::ObsMirror: return text(language, TextId::settings_obs_mirror_note);
        case K::ShapeDuration: return text(language, TextId::settings_shape_duration_note);
        case K::ShortcutRow: return text(language, TextId::settings_in_use);
        default: return std::nullopt;
    }
}

std::vector<std::string> choice_labels(Language language, PanelItemKind kind, std::uint8_t id) {
    std::vector<std::string> labels;
    if (kind == K::InputSize) {
        for (std::uint32_t n : {100u, 150u, 200u}) labels.push_back(number_text(language, TextId::menu_percent, n));
    } else if (kind == K::ShapeDuration) {
        for (std::uint32_t n : {1u, 3u, 5u}) labels.push_back(number_text(language, TextId::menu_seconds, n));
    } else if (kind == K::PointerItem) {
        for (const PointerChoice& choice : pointer_choices(id)) labels.push_back(text(language, choice.label));
    }
    return labels;
}

std::vector<double> segment_widths(const SettingsPanel& panel, PanelItemKind kind, std::uint8_t id) {
    std::vector<double> widths;
    for (const std::string& label : choice_labels(panel.language, kind, id))
        widths.push_back(std::max(text_width(panel, label, 12.0, UiTextStyle::Body) + 24.0, 44.0));
    return widths;
}

double choice_control_width(const SettingsPanel& panel, std::uint8_t id) {
    double sum = 4.0;
    for (double width : segment_widths(panel, K::PointerItem, id)) sum += width;
    return sum;
}

double control_width(const SettingsPanel& panel, PanelItemKind kind, std::uint8_t id) {
    switch (kind) {
        case K::StartWithWindows:
        case K::LiveCapture:
        case K::MiniToolbar:
        case K::ObsMirror:
        case K::MoveInput:
        case K::FeatureSwitch: return kSwitchWidth;
        case K::ShortcutRow: {
            if (id >= panel.view.rows.size()) return 0.0;
            const auto& caps = panel.view.rows[id].caps;
            double width = 0.0;
            if (caps.empty()) {
                width = text_width(panel, text_of(panel.language, TextId::settings_add), 14.0, UiTextStyle::Body) + 28.0;
            } else {
                std::vector<double> labels;
                for (const std::string& cap : caps)
                    labels.push_back(text_width(panel, cap, kKeyCapLabelSize, UiTextStyle::Body));
                width = key_caps_row_width(labels);
            }
            return id >= 6 ? width + kClearButtonWidth : width;
        }
        case K::InputSize:
        case K::ShapeDuration: {
            double sum = 4.0;
            for (double width : segment_widths(panel, kind, id)) sum += width;
            return sum;
        }
        case K::SectionHeader: return kSectionControlWidth;
        case K::PointerItem:
            switch (pointer_control_of(id)) {
                case PointerControl::Slider:
                case PointerControl::Colour: return kWideControl;
                case PointerControl::Switch: return kSwitchWidth;
                case PointerControl::Choice: return choice_control_width(panel, id);
            }
            return 0.0;
        default: return 0.0;
    }
}

double label_column_width(const SettingsPanel& panel, std::span<const PanelItem> items) {
    double widest = 0.0;
    for (const PanelItem& item : items) {
        double width = text_width(panel, item_label_text(panel.language, item.kind, item.id), 14.0, UiTextStyle::Body);
        if (const auto note = item_note_text(panel.language, item.kind))
            width = std::max(width, text_width(panel, *note, 12.0, UiTextStyle::Small));
        if (item.kind < K::PointerItem) width += 36.0;
        widest = std::max(widest, width);
    }
    return widest;
}

std::string settings_row_value_text(const SettingsPanel& panel, PointerSection section) {
    const Language language = panel.language;
    const PointerSettings& p = panel.pointer;
    const std::string off = text(language, kOffText);
    const auto join = [](std::string a, std::string_view b) { return a.append(kJoin).append(b); };
    switch (section) {
        case PointerSection::Halo:
            if (p.halo_shape == 0) return off;
            return join(choice_name(language, kHaloShapeItem, p.halo_shape),
                        text(language, p.halo_movement == 0 ? TextId::pointer_instant : TextId::pointer_smooth));
        case PointerSection::Trail: {
            if (p.trail_style == 0) return off;
            const TextId length = p.trail_length == 0   ? TextId::pointer_short
                                  : p.trail_length == 1 ? TextId::pointer_medium_length
                                                        : TextId::pointer_long;
            return join(choice_name(language, kTrailStyleItem, p.trail_style), text(language, length));
        }
        case PointerSection::Clicks: {
            if (p.click_animation == 0) return off;
            std::string out = choice_name(language, kClickAnimationItem, p.click_animation);
            if (p.click_sound == 0) return out;
            return join(std::move(out),
                        text(language, p.click_sound == 1 ? TextId::pointer_soft : TextId::pointer_click_sound));
        }
        case PointerSection::Spotlight:
            if (p.spotlight_shape == 0) return off;
            return choice_name(language, kSpotlightShapeItem, p.spotlight_shape);
        case PointerSection::Magnifier: {
            if (!panel.magnifier) return off;
            const std::string zoom = std::to_string(p.magnifier_zoom);
            const std::string size = std::to_string(p.magnifier_size);
            return join(localized_text(language, TextId::pointer_zoom_value, {{"zoom", zoom}}),
                        localized_text(language, TextId::pointer_size_value, {{"size", size}}));
        }
    }
    return off;
}

Size layout_settings_page(SettingsPanel& panel, bool natural) {
    PanelLayout out;
    double tab_column = kTabMinWidth;
    for (std::size_t p = 0; p < kSettingsPageCount; ++p)
        tab_column = std::max(tab_column, text_width(panel, page_name(panel.language, static_cast<SettingsPage>(p)),
                                                     14.0, UiTextStyle::Body) + kTabPadding);
    for (std::size_t p = 0; p < kSettingsPageCount; ++p) {
        const double top = kTabTop + kTabPitch * static_cast<double>(p);
        out.tabs.push_back({static_cast<SettingsPage>(p), {8.0, top, tab_column - 8.0, top + kTabHeight}});
    }
    const double left = tab_column + 8.0;
    const double title = text_width(panel, page_name(panel.language, panel.page), 28.0, UiTextStyle::Display);
    out.title = {left, 0.0, left + title + 28.0, kTitleHeight};

    Size content;
    switch (panel.page) {
        case SettingsPage::General: {
            const std::array groups = {as_items(kGeneralRows)};
            content = layout_row_groups(panel, out, groups, false, left, title, natural);
            break;
        }
        case SettingsPage::Presentation: {
            const std::array groups = {as_items(kPresentationFeatures), as_items(kPresentationOptions)};
            content = layout_row_groups(panel, out, groups, true, left, title, natural);
            break;
        }
        case SettingsPage::Shortcuts: content = layout_shortcuts(panel, out, left, title, natural); break;
        case SettingsPage::PointerEffects: content = layout_pointer_effects(panel, out, left, title, natural); break;
    }
    panel.layout = std::move(out);
    return {left + content.w + kPageMargin, std::max(content.h + kPageMargin, kMinNaturalHeight)};
}

std::vector<TextToMeasure> collect_settings_texts(const SettingsPanel& panel) {
    const Language language = panel.language;
    std::vector<TextToMeasure> out;
    for (std::size_t p = 0; p < kSettingsPageCount; ++p) {
        const std::string name = page_name(language, static_cast<SettingsPage>(p));
        out.push_back({name, 14.0, UiTextStyle::Body});
        out.push_back({name, 28.0, UiTextStyle::Display});
    }
    std::vector<Row> rows = {{K::StartWithWindows}, {K::LiveCapture}, {K::MiniToolbar}, {K::ObsMirror},
                             {K::InputSize},        {K::ShapeDuration}, {K::MoveInput}, {K::RestoreDefaults}};
    for (std::uint8_t id = 0; id < kFeatureLabels.size(); ++id) rows.push_back({K::FeatureSwitch, id});
    for (std::uint8_t id = 0; id < kShortcutRowLabels.size(); ++id) rows.push_back({K::ShortcutRow, id});
    for (std::uint8_t id = 0; id < kPointerSectionCount; ++id) rows.push_back({K::SectionHeader, id});
    for (std::uint8_t id = 0; id < kPointerItemCount; ++id) rows.push_back({K::PointerItem, id});
    for (const Row& row : rows) {
        out.push_back({item_label_text(language, row.kind, row.id), 14.0, UiTextStyle::Body});
        if (has_note(row.kind)) out.push_back({*item_note_text(language, row.kind), 12.0, UiTextStyle::Small});
        for (std::string& label : choice_labels(language, row.kind, row.id))
            out.push_back({std::move(label), 12.0, UiTextStyle::Body});
    }
    for (TextId heading : kShortcutHeadings) out.push_back({text(language, heading), 14.0, UiTextStyle::Strong});
    for (const KeyCaps& row : panel.view.rows)
        for (const std::string& cap : row.caps) out.push_back({cap, kKeyCapLabelSize, UiTextStyle::Body});
    out.push_back({text(language, TextId::settings_add), 14.0, UiTextStyle::Body});
    out.push_back({text(language, TextId::settings_in_use), 12.0, UiTextStyle::Small});
    out.push_back({text(language, TextId::pointer_off), 12.0, UiTextStyle::Small});
    for (std::uint8_t s = 0; s < kPointerSectionCount; ++s)
        out.push_back({settings_row_value_text(panel, static_cast<PointerSection>(s)), 12.0, UiTextStyle::Small});
    return out;
}

std::optional<RowEditButtons> row_edit_buttons(std::span<const PanelItem> items, std::uint8_t row) {
    const auto item = find_panel_item(items, K::ShortcutRow, row);
    if (!item) return std::nullopt;
    const double r = item->item.right - 16.0;
    const double cy = (item->item.top + item->item.bottom) / 2.0;
    return RowEditButtons{{r - 214.0, cy - 14.0, r - 64.0, cy + 14.0},
                          {r - 60.0, cy - 14.0, r - 32.0, cy + 14.0},
                          {r - 28.0, cy - 14.0, r, cy + 14.0}};
}

std::optional<Box> saved_row_button(std::span<const PanelItem> items, std::uint8_t row) {
    const auto item = find_panel_item(items, K::ShortcutRow, row);
    if (!item) return std::nullopt;
    const double c = item->control.left;
    const double cy = (item->item.top + item->item.bottom) / 2.0;
    return Box{c - 36.0, cy - 14.0, c - 8.0, cy + 14.0};
}

}  // namespace glimmerly
