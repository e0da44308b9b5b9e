#include "core/editor/toolbar_hints.h"

#include "core/editor/chrome_math.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>

namespace glimmerly {

namespace {

using Code = EditorActionCode;

constexpr double kHintMargin = 4.0;  // units, between a box and the area's edge
constexpr double kHintOffset = 20.0;
constexpr double kLabelGap = 6.0;

std::string text(Language language, TextId id) { return std::string(text_of(language, id)); }

bool has_shortcut_placeholder(std::string_view t) { return t.find("{shortcut}") != std::string_view::npos; }

// One axis of a hint box: beyond the pointer when it fits, else before it.
double hint_start(double anchor, double start, double end, double size, double scale) {
    const double m = kHintMargin * scale, g = kHintOffset * scale;
    const double at = anchor + g + size <= end - m ? anchor + g : anchor - g - size;
    return clamp_into(at, start + m, std::max(end - size - m, start + m));
}

}  // namespace

std::vector<ToolbarShortcut> toolbar_item_shortcuts(EditorAction item) {
    switch (static_cast<Code>(item & 0xFFu)) {
        case Code::Redo: return {{vk_char('Y'), true, false}, {vk_char('Z'), true, true}};
        case Code::FullScreenOrPrevious: return {{vk_char('F'), false, false}};
        case Code::CopyImage: return {{vk_char('C'), true, false}};
        case Code::ClearOrRestoreBoard: return {{vk_char('Z'), true, false}};
        case Code::ChooseTool:
        case Code::Colour:
        case Code::ColourPicker:
        case Code::Eyedropper:
        case Code::FillMode:
        case Code::Undo:
        case Code::ImageSearch:
        case Code::LiveCapture:
        case Code::Save:
        case Code::Close: {
            std::vector<ToolbarShortcut> found;
            for (const ToolbarEntry& e : toolbar_entries())
                if (e.action == item) found.push_back(e.shortcut);
            return found;
        }
        default: return {};
    }
}

std::string key_name(VirtualKey key, Language language) {
    if ((key >= vk_char('0') && key <= vk_char('9')) || (key >= vk_char('A') && key <= vk_char('Z')))
        return std::string(1, static_cast<char>(key));
    if (key >= kVkF1 && key <= kVkF24) {
        std::string name = "F";
        name += std::to_string(key - kVkF1 + 1);
        return name;
    }
    switch (key) {
        case kVkShift: return text(language, TextId::key_shift);
        case kVkControl: return text(language, TextId::key_ctrl);
        case kVkMenu: return text(language, TextId::key_alt);
        case kVkEscape: return text(language, TextId::key_esc);
        case kVkDelete: return text(language, TextId::key_delete);
        case kVkLeftWin:
        case kVkRightWin: return text(language, TextId::key_win);
        default: break;
    }
    char digits[8];
    const auto end = std::to_chars(digits, digits + sizeof digits, key, 16).ptr;
    std::string name = "0x";
    for (const char* c = digits; c != end; ++c) name += static_cast<char>(std::toupper(static_cast<unsigned char>(*c)));
    return name;
}

std::string shortcut_name(const ToolbarShortcut& shortcut, Language language) {
    std::string name;
    if (shortcut.ctrl) name += text(language, TextId::key_ctrl) + "+";
    if (shortcut.shift) name += text(language, TextId::key_shift) + "+";
    return name + key_name(shortcut.key, language);
}

std::string toolbar_hint_text(EditorAction item, TextId label, Language language) {
    const std::string_view own = text_of(language, label);
    const auto shortcuts = toolbar_item_shortcuts(item);
    if (label == TextId::capture_live_for_new_captures || shortcuts.empty()) return std::string(own);
    std::string joined;
    for (const ToolbarShortcut& s : shortcuts) {
        if (!joined.empty()) joined += " / ";
        joined += shortcut_name(s, language);
    }
    if (has_shortcut_placeholder(own)) return localized_text(language, label, {{"shortcut", joined}});
    TextId templ = TextId::tooltip_with_shortcut;
    if (const auto tool = editor_action_tool(item); tool && *tool != Tool::Select && *tool != Tool::Blur)
        templ = *tool == Tool::Ellipse ? TextId::tooltip_ellipse : TextId::tooltip_with_shortcut_and_wheel;
    return localized_text(language, templ, {{"label", own}, {"shortcut", joined}});
}

std::string stroke_width_label(Language language, double width) {
    // Widths are whole numbers in practice; a fraction shows as the shortest
    // decimal that reads back the same.
    char digits[32];
    const double shown = std::isfinite(width) ? width : 0.0;
    const auto end = std::to_chars(digits, digits + sizeof digits, shown).ptr;
    return localized_text(language, TextId::overlay_stroke_width, {{"width", std::string_view(digits, end - digits)}});
}

CustomColourHint custom_colour_hint(Language language) {
    const std::string esc = text(language, TextId::key_esc);
    return {text(language, TextId::toolbar_custom_color),
            localized_text(language, TextId::picker_apply, {{"shortcut", esc}})};
}

std::string magnifier_pick_hint(Language language) {
    const std::string esc = text(language, TextId::key_esc);
    return localized_text(language, TextId::magnifier_pick, {{"shortcut", esc}});
}

Box place_hint_box(Point anchor, const Box& area, double width, double height, double scale) {
    const double x = hint_start(anchor.x, area.left, area.right, width, scale);
    const double y = hint_start(anchor.y, area.top, area.bottom, height, scale);
    return box_at(x, y, width, height);
}

Box place_label_box(const Box& anchor, const Box& area, double width, double height, double scale) {
    const double m = kHintMargin * scale;
    const double w = std::min(width, std::max(area.right - area.left - 2.0 * m, 0.0));
    const double h = std::min(height, std::max(area.bottom - area.top - 2.0 * m, 0.0));
    const double below = anchor.bottom + kLabelGap * scale;
    const double y = below + h <= area.bottom - m ? below : anchor.top - kLabelGap * scale - h;
    const double x = (anchor.left + anchor.right) * 0.5;
    return box_at(clamp_into(x, area.left + m, std::max(area.right - w - m, area.left + m)),
                  clamp_into(y, area.top + m, std::max(area.bottom - h - m, area.top + m)), w, h);
}

}  // namespace glimmerly
