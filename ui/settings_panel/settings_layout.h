#pragma once
// A settings page turned into rectangles (DIPs), and every text it shows.
// The layout measures nothing itself: the window measures the texts that
// `collect_settings_texts` lists into the panel's width cache first, and a
// text missing from it is estimated.

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "core/document/scene_object.h"
#include "ui/settings_panel/settings_panel.h"

namespace glimmerly {

// The cached width; a miss is estimated at 0.6 x size per character
// (Unicode scalar value) and is not inserted.
double text_width(const SettingsPanel& panel, std::string_view text, double size, UiTextStyle style);
void insert_text_width(SettingsPanel& panel, std::string_view text, double size, UiTextStyle style, double width);

std::string page_name(Language language, SettingsPage page);
std::string item_label_text(Language language, PanelItemKind kind, std::uint8_t id);
// The line under a row's label: the notes of kinds 1-4 and 7, and "Used by
// another app" for shortcut rows; none for the others.
std::optional<std::string> item_note_text(Language language, PanelItemKind kind);
std::vector<std::string> choice_labels(Language language, PanelItemKind kind, std::uint8_t id);

std::vector<double> segment_widths(const SettingsPanel& panel, PanelItemKind kind, std::uint8_t id);
double choice_control_width(const SettingsPanel& panel, std::uint8_t id);
double control_width(const SettingsPanel& panel, PanelItemKind kind, std::uint8_t id);
double label_column_width(const SettingsPanel& panel, std::span<const PanelItem> items);

// The text on a section header: "Off", or what the section shows.
std::string settings_row_value_text(const SettingsPanel& panel, PointerSection section);

// Lays the current page out into the panel and gives its natural size.
// Natural: the content column as wide as its contents need, and every
// optional row present, so that the window can size itself for the largest
// case; otherwise the content column ends 24 before the client's width.
Size layout_settings_page(SettingsPanel& panel, bool natural);

struct TextToMeasure {
    std::string text;
    double size = 0.0;
    UiTextStyle style = UiTextStyle::Body;

    friend bool operator==(const TextToMeasure&, const TextToMeasure&) = default;
};
std::vector<TextToMeasure> collect_settings_texts(const SettingsPanel& panel);

// The hint area and the two buttons of the shortcut row being edited.
struct RowEditButtons {
    Box hint;
    Box first;
    Box second;
};
std::optional<RowEditButtons> row_edit_buttons(std::span<const PanelItem> items, std::uint8_t row);
// The "Saved, before" button left of a row's control.
std::optional<Box> saved_row_button(std::span<const PanelItem> items, std::uint8_t row);

}  // namespace glimmerly
