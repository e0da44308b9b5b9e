#include "ui/settings_panel/settings_panel.h"

#include <gtest/gtest.h>

#include "tests/ui/settings_panel/panel_fixture.h"

namespace glimmerly {
namespace {

using testing::make_panel;

TEST(SettingsPanel, ASectionStoredOffComesBackWithItsFirstStyle) {
    PointerSettings pointer;
    pointer.halo_shape = 0;
    pointer.trail_style = 4;
    SettingsPanel panel = make_panel(SettingsPage::PointerEffects, pointer);

    EXPECT_EQ(choice_index(panel, PanelItemKind::PointerItem, kHaloShapeItem), 0u);  // "Disc", though off
    set_section_enabled(panel, PointerSection::Halo, true);
    EXPECT_EQ(panel.pointer.halo_shape, 1u);

    set_section_enabled(panel, PointerSection::Trail, false);
    EXPECT_EQ(panel.pointer.trail_style, 0u);
    EXPECT_EQ(choice_index(panel, PanelItemKind::PointerItem, kTrailStyleItem), 3u);  // Stars
    set_section_enabled(panel, PointerSection::Trail, true);
    EXPECT_EQ(panel.pointer.trail_style, 4u);
}

TEST(SettingsPanel, AStoredValueOutsideAChoiceReadsAsItsLastSegmentOrNone) {
    PointerSettings pointer;
    pointer.click_sound = 7;
    pointer.spotlight_shape = 3;
    const SettingsPanel panel = make_panel(SettingsPage::PointerEffects, pointer);
    EXPECT_EQ(pointer_choice_value(panel, kClickSoundItem), 2u);
    EXPECT_EQ(choice_index(panel, PanelItemKind::PointerItem, kClickSoundItem), 2u);
    EXPECT_EQ(choice_index(panel, PanelItemKind::PointerItem, kSpotlightShapeItem), 2u);

    SettingsPanel odd = panel;
    odd.view.input_size = 120;
    EXPECT_EQ(choice_index(odd, PanelItemKind::InputSize, 0), std::nullopt);
}

TEST(SettingsPanel, RestoreDefaultsAnswersByPage) {
    const struct {
        const char* name;
        SettingsPage page;
        std::uint64_t word;
        bool changes;
    } rows[] = {
        {"pointer effects reset", SettingsPage::PointerEffects, 0x10F, true},
        {"presentation asks the window", SettingsPage::Presentation, 0x10A, false},
        {"general: nothing", SettingsPage::General, 0x10D, false},
        {"shortcuts: nothing", SettingsPage::Shortcuts, 0x10D, false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        PointerSettings pointer;
        pointer.halo_size = 120;
        pointer.spotlight_shape = 2;
        pointer.magnifier_shortcut = Shortcut{kShortcutCtrl, 'M'};
        SettingsPanel panel = make_panel(row.page, pointer);
        panel.presentation_colour = {1, 2, 3};

        EXPECT_EQ(restore_pointer_defaults(panel).word, row.word);
        EXPECT_EQ(panel.pointer.halo_size, row.changes ? 48u : 120u);
        EXPECT_EQ(panel.pointer.spotlight_shape, row.changes ? 0u : 2u);
        EXPECT_EQ(panel.pointer_effects, row.changes);  // turned on even though it was off
        EXPECT_EQ(panel.presentation_colour, (row.changes ? kDefaultPresentationColour : Rgb{1, 2, 3}));
        EXPECT_EQ(panel.pointer.magnifier_shortcut, pointer.magnifier_shortcut);
    }
}

TEST(SettingsPanel, ItemsMatchOnIdOnlyWhereTheIdNamesTheRow) {
    const SettingsPanel panel = make_panel(SettingsPage::Presentation);
    const auto restore = find_panel_item(panel.layout.items, PanelItemKind::RestoreDefaults, 77);
    ASSERT_TRUE(restore.has_value());
    EXPECT_EQ(restore->kind, PanelItemKind::RestoreDefaults);
    EXPECT_EQ(find_panel_item(panel.layout.items, PanelItemKind::InputSize, 9)->kind, PanelItemKind::InputSize);
    EXPECT_EQ(find_panel_item(panel.layout.items, PanelItemKind::FeatureSwitch, 3)->id, 3);
    EXPECT_FALSE(find_panel_item(panel.layout.items, PanelItemKind::FeatureSwitch, 0).has_value());
}

TEST(SettingsPanel, ClearingAPointerShortcutEmptiesItsRow) {
    PointerSettings pointer;
    pointer.show_click_shortcut = Shortcut{kShortcutCtrl, 'K'};
    SettingsPanel panel = make_panel(SettingsPage::Shortcuts, pointer);
    clear_pointer_shortcut(panel, 0);
    EXPECT_FALSE(panel.pointer.show_click_shortcut.has_value());
    EXPECT_TRUE(panel.view.rows[6].caps.empty());
    EXPECT_EQ(panel.view.rows[0].caps.size(), 1u);
}

}  // namespace
}  // namespace glimmerly
