#include "ui/settings_panel/settings_layout.h"

#include <gtest/gtest.h>

#include "tests/ui/settings_panel/panel_fixture.h"

namespace glimmerly {
namespace {

using testing::item_of;
using testing::make_panel;

std::vector<std::uint8_t> pointer_items_shown(const SettingsPanel& panel) {
    std::vector<std::uint8_t> ids;
    for (const PanelItem& item : panel.layout.items)
        if (item.kind == PanelItemKind::PointerItem) ids.push_back(item.id);
    return ids;
}

TEST(SettingsLayout, ShortPageNamesStillGetTheFullTabColumn) {
    const SettingsPanel panel = make_panel(SettingsPage::General);
    ASSERT_EQ(panel.layout.tabs.size(), 4u);
    EXPECT_EQ(panel.layout.tabs[0].rect, (Box{8, 12, 188, 48}));
    EXPECT_EQ(panel.layout.tabs[3].rect, (Box{8, 126, 188, 162}));
    EXPECT_EQ(panel.layout.title.left, 204.0);
    EXPECT_EQ(panel.layout.items.front().item.left, 204.0);
}

TEST(SettingsLayout, ALongPageNameWidensTheTabColumn) {
    SettingsPanel panel = make_panel(SettingsPage::General);
    insert_text_width(panel, "Pointer effects", 14.0, UiTextStyle::Body, 150.0);
    (void)layout_settings_page(panel, false);
    EXPECT_EQ(panel.layout.tabs[0].rect.right, 210.0);
    EXPECT_EQ(panel.layout.title.left, 226.0);
}

TEST(SettingsLayout, PointerCardsLeaveRoomForThePreviewInTheClient) {
    const SettingsPanel panel = make_panel(SettingsPage::PointerEffects);
    const PanelItem halo = item_of(panel, PanelItemKind::SectionHeader, 0);
    EXPECT_EQ(halo.item.right, 520.0);
    EXPECT_EQ(halo.control, (Box{436, 82, 504, 108}));
    EXPECT_EQ(panel.layout.preview, (Box{544, 68, 776, 304}));
    // The slider's control sits against the cards' edge, 176 wide.
    EXPECT_EQ(item_of(panel, PanelItemKind::PointerItem, kHaloSizeItem).control.left, 328.0);
}

TEST(SettingsLayout, OptionalPointerRowsFollowTheirSettingsUnlessNatural) {
    PointerSettings pointer;
    SettingsPanel clicks = make_panel(SettingsPage::PointerEffects, pointer, 2);
    EXPECT_EQ(pointer_items_shown(clicks), (std::vector<std::uint8_t>{9, 10, 11, 12}));
    (void)layout_settings_page(clicks, true);
    EXPECT_EQ(pointer_items_shown(clicks), (std::vector<std::uint8_t>{9, 10, 11, 12, 13}));

    pointer.click_sound = 1;
    EXPECT_EQ(pointer_items_shown(make_panel(SettingsPage::PointerEffects, pointer, 2)),
              (std::vector<std::uint8_t>{9, 10, 11, 12, 13}));

    EXPECT_EQ(pointer_items_shown(make_panel(SettingsPage::PointerEffects, pointer, 4)),
              (std::vector<std::uint8_t>{18, 19}));
    pointer.magnifier_shortcut = Shortcut{kShortcutAlt, 'M'};
    EXPECT_EQ(pointer_items_shown(make_panel(SettingsPage::PointerEffects, pointer, 4)),
              (std::vector<std::uint8_t>{18, 19, 20}));
}

TEST(SettingsLayout, CollapsedSectionsAreFiveHeadersThenRestoreDefaults) {
    const SettingsPanel panel = make_panel(SettingsPage::PointerEffects, {}, kNoSection);
    ASSERT_EQ(panel.layout.rows.size(), 5u);
    for (std::size_t s = 0; s < 5; ++s) {
        SCOPED_TRACE(s);
        EXPECT_EQ(panel.layout.rows[s].top, 68.0 + 56.0 * static_cast<double>(s));
        EXPECT_EQ(panel.layout.rows[s].bottom - panel.layout.rows[s].top, 54.0);
    }
    EXPECT_TRUE(panel.layout.cards.empty());
    EXPECT_EQ(item_of(panel, PanelItemKind::RestoreDefaults).item.top, 68.0 + 56.0 * 4 + 54.0 + 10.0);
}

TEST(SettingsLayout, TextsMissingFromTheCacheAreEstimatedPerCharacter) {
    SettingsPanel panel = make_panel(SettingsPage::General);
    EXPECT_DOUBLE_EQ(text_width(panel, "0123456789", 14.0, UiTextStyle::Body), 84.0);
    EXPECT_DOUBLE_EQ(text_width(panel, "\xC2\xB7\xC3\xA9", 10.0, UiTextStyle::Body), 12.0);  // two characters
    insert_text_width(panel, "0123456789", 14.0, UiTextStyle::Body, 70.0);
    EXPECT_EQ(text_width(panel, "0123456789", 14.0, UiTextStyle::Body), 70.0);
    EXPECT_DOUBLE_EQ(text_width(panel, "0123456789", 14.0, UiTextStyle::Strong), 84.0);
    EXPECT_EQ(panel.text_widths.size(), 1u);
}

TEST(SettingsLayout, ShortcutRowsShowCapsOrAddAndPointerRowsKeepRoomToClear) {
    SettingsPanel panel = make_panel(SettingsPage::Shortcuts);
    panel.view.rows[1].caps = {"Ctrl", "K"};
    const double add = text_width(panel, "Add", 14.0, UiTextStyle::Body) + 28.0;
    EXPECT_DOUBLE_EQ(control_width(panel, PanelItemKind::ShortcutRow, 2), add);
    EXPECT_DOUBLE_EQ(control_width(panel, PanelItemKind::ShortcutRow, 7), add + 24.0);
    EXPECT_DOUBLE_EQ(control_width(panel, PanelItemKind::ShortcutRow, 6),
                     control_width(panel, PanelItemKind::ShortcutRow, 1) + 24.0);
    ASSERT_EQ(panel.layout.headings.size(), 3u);
    EXPECT_EQ(panel.layout.headings[1].rect.top, 68.0 + 38.0 + 3 * 50.0 + 6.0);
}

TEST(SettingsLayout, NaturalSizeIsTheSameWhateverTheClient) {
    SettingsPanel wide = make_panel(SettingsPage::Presentation);
    SettingsPanel narrow = wide;
    narrow.client_width = 300.0;
    EXPECT_EQ(layout_settings_page(wide, true), layout_settings_page(narrow, true));
    EXPECT_EQ(wide.layout.items, narrow.layout.items);
}

TEST(SettingsLayout, SectionSummariesNameWhatEachSectionShows) {
    PointerSettings pointer;
    pointer.halo_movement = 1;
    pointer.trail_style = 2;
    pointer.trail_length = 9;
    pointer.click_animation = 3;
    pointer.click_sound = 2;
    SettingsPanel panel = make_panel(SettingsPage::PointerEffects, pointer);
    panel.magnifier = true;
    EXPECT_EQ(settings_row_value_text(panel, PointerSection::Halo), "Disc \xC2\xB7 Smooth");
    EXPECT_EQ(settings_row_value_text(panel, PointerSection::Trail), "Dots \xC2\xB7 Long");
    EXPECT_EQ(settings_row_value_text(panel, PointerSection::Clicks), "Waves \xC2\xB7 Click");
    EXPECT_EQ(settings_row_value_text(panel, PointerSection::Spotlight), "Off");
    EXPECT_EQ(settings_row_value_text(panel, PointerSection::Magnifier), "2\xC3\x97 \xC2\xB7 240 px");
}

TEST(SettingsLayout, EveryTextTheLayoutMeasuresIsCollected) {
    SettingsPanel panel = make_panel(SettingsPage::General);
    for (const TextToMeasure& text : collect_settings_texts(panel))
        insert_text_width(panel, text.text, text.size, text.style, 1.0);
    // Every width 1: a text left to the estimate would widen the page.
    const struct { const char* name; SettingsPage page; double width; } rows[] = {
        {"general: 204 + (1 + 36 + 32 + 24 + 36) + 24", SettingsPage::General, 357},
        {"presentation: segments of 44, 3 x 44 + 4", SettingsPage::Presentation, 457},
        {"pointer effects: cards 1 + 68 + 24 + the trail style (4 x 44 + 4), the preview 24 + 232",
         SettingsPage::PointerEffects, 757},
    };
    for (const auto& row : rows) {
        for (std::uint8_t section = 0; section < 5; ++section) {
            SCOPED_TRACE(row.name);
            panel.page = row.page;
            panel.expanded_section = section;
            EXPECT_EQ(layout_settings_page(panel, true).w, row.width);
        }
    }
}

}  // namespace
}  // namespace glimmerly
