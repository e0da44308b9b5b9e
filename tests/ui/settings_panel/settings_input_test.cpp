#include "ui/settings_panel/settings_input.h"

#include <gtest/gtest.h>

#include "tests/ui/settings_panel/panel_fixture.h"

namespace glimmerly {
namespace {

using testing::centre_x;
using testing::centre_y;
using testing::item_of;
using testing::make_panel;

TEST(SettingsInput, TabAndShiftTabWrapAroundThePage) {
    SettingsPanel panel = make_panel(SettingsPage::Presentation);
    const PanelItem& last = panel.layout.items.back();
    panel.focus = {last.kind, last.id};
    EXPECT_EQ(panel_key(panel, PanelKey::Next).word, 14u);
    EXPECT_EQ(panel.focus, (PanelFocus{PanelItemKind::Tab, 0}));
    EXPECT_TRUE(panel.focus_visible);

    EXPECT_EQ(panel_key(panel, PanelKey::Previous).word, 14u);
    EXPECT_EQ(panel.focus, (PanelFocus{last.kind, last.id}));

    panel.focus = {PanelItemKind::Tab, 3};
    (void)panel_key(panel, PanelKey::Down);
    EXPECT_EQ(panel.focus, (PanelFocus{PanelItemKind::FeatureSwitch, 1}));
}

TEST(SettingsInput, LeftAndRightStepAnItemOnlyWhenItWouldChange) {
    const struct {
        const char* name;
        PanelItemKind kind;
        PanelKey key;
        std::uint64_t word;
    } rows[] = {
        {"5 s, right: already last", PanelItemKind::ShapeDuration, PanelKey::Right, 13},
        {"5 s, left: 3 s", PanelItemKind::ShapeDuration, PanelKey::Left, 9 | std::uint64_t{3000} << 32},
        {"OBS mirror on, right: nothing", PanelItemKind::ObsMirror, PanelKey::Right, 13},
        {"OBS mirror on, left: toggle", PanelItemKind::ObsMirror, PanelKey::Left, 3},
        {"size 100, left: already first", PanelItemKind::InputSize, PanelKey::Left, 13},
        {"size 100, right: 150", PanelItemKind::InputSize, PanelKey::Right, 8 | std::uint64_t{150} << 32},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        SettingsPanel panel = make_panel(SettingsPage::Presentation);
        panel.view.shape_duration = 5000;
        panel.view.obs_mirror = true;
        panel.focus = {row.kind, 0};
        EXPECT_EQ(panel_key(panel, row.key).word, row.word);
    }
}

TEST(SettingsInput, ASoundChoiceSwitchesTheClicksOnAndAsksForTheSound) {
    PointerSettings pointer;
    pointer.click_animation = 0;
    SettingsPanel panel = make_panel(SettingsPage::PointerEffects, pointer, 2);
    panel.remembered_styles[2] = 3;  // Waves, before the section was switched off
    const PanelItem sound = item_of(panel, PanelItemKind::PointerItem, kClickSoundItem);
    const std::vector<double> widths = segment_widths(panel, PanelItemKind::PointerItem, kClickSoundItem);
    const double soft_x = sound.control.left + 2.0 + widths[0] + widths[1] / 2.0;

    EXPECT_EQ(panel_mouse_down(panel, soft_x, centre_y(sound.control)).word, 0x1010Fu);
    EXPECT_EQ(panel.pointer.click_sound, 1u);
    EXPECT_EQ(panel.pointer.click_animation, 3u);
    EXPECT_TRUE(panel.pointer_effects);
    // The same segment again changes nothing.
    EXPECT_EQ(panel_mouse_down(panel, soft_x, centre_y(sound.control)).word, 14u);
}

TEST(SettingsInput, ASliderDragPreviewsEveryChangeAndSavesOnRelease) {
    SettingsPanel panel = make_panel(SettingsPage::PointerEffects);
    const Box control = item_of(panel, PanelItemKind::PointerItem, kHaloSizeItem).control;
    const double y = centre_y(control);

    EXPECT_EQ(panel_mouse_down(panel, control.left, y).word, 15u);  // 48 -> 24
    EXPECT_EQ(panel.pointer.halo_size, 24u);
    EXPECT_EQ(panel_mouse_move(panel, control.left + 4.0).word, 14u);  // still inside the end margin
    EXPECT_EQ(panel_mouse_move(panel, centre_x(control)).word, 15u);
    EXPECT_EQ(panel.pointer.halo_size, 92u);
    EXPECT_EQ(panel_mouse_move(panel, control.right).word, 15u);
    EXPECT_EQ(panel_mouse_move(panel, control.right + 40.0).word, 14u);
    EXPECT_EQ(panel_mouse_up(panel, control.right + 40.0).word, 0x10Fu);
    EXPECT_EQ(panel.pointer.halo_size, 160u);
    EXPECT_EQ(panel.dragged_slider, kNoSlider);
    EXPECT_EQ(panel_mouse_move(panel, control.left).word, 13u);
}

TEST(SettingsInput, TheWheelStepsTheSliderUnderIt) {
    const struct { const char* name; std::int16_t delta; std::uint32_t darkness; } rows[] = {
        {"away from the user", 120, 65},
        {"towards the user", -120, 55},
        {"two notches in one message still one step", 240, 65},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        SettingsPanel panel = make_panel(SettingsPage::PointerEffects, {}, 3);
        const Box item = item_of(panel, PanelItemKind::PointerItem, kSpotlightDarknessItem).item;
        EXPECT_EQ(panel_wheel(panel, centre_x(item), centre_y(item), row.delta).word, 0x10Fu);
        EXPECT_EQ(panel.pointer.spotlight_darkness, row.darkness);
        EXPECT_EQ(panel.focus, (PanelFocus{PanelItemKind::PointerItem, kSpotlightDarknessItem}));
        EXPECT_EQ(panel.pointer.spotlight_shape, 1u);  // the spotlight shows what the wheel changed
    }

    SettingsPanel presentation = make_panel(SettingsPage::Presentation);
    const Box row = item_of(presentation, PanelItemKind::InputSize).item;
    EXPECT_EQ(panel_wheel(presentation, centre_x(row), centre_y(row), 120).word, 13u);
}

TEST(SettingsInput, WheelDeltasBelowANotchAddUpToSteps) {
    SettingsPanel panel = make_panel(SettingsPage::PointerEffects, {}, 3);
    const Box item = item_of(panel, PanelItemKind::PointerItem, kSpotlightDarknessItem).item;
    const double x = centre_x(item), y = centre_y(item);
    EXPECT_EQ(panel_wheel(panel, x, y, 40).word, 13u);
    EXPECT_EQ(panel_wheel(panel, x, y, 40).word, 13u);
    EXPECT_EQ(panel_wheel(panel, x, y, 40).word, 0x10Fu);
    EXPECT_EQ(panel.pointer.spotlight_darkness, 65u);
    EXPECT_EQ(panel_wheel(panel, x, y, 100).word, 13u);
    // Turning back drops the partial notch instead of cancelling it out.
    EXPECT_EQ(panel_wheel(panel, x, y, -60).word, 13u);
    EXPECT_EQ(panel_wheel(panel, x, y, -60).word, 0x10Fu);
    EXPECT_EQ(panel.pointer.spotlight_darkness, 60u);
}

TEST(SettingsInput, ColoursStepThroughTheSwatches) {
    const struct { const char* name; Rgb from; PanelKey key; Rgb to; } rows[] = {
        {"not a swatch, left: the last", {1, 2, 3}, PanelKey::Left, kSwatchColours[7]},
        {"not a swatch, right: the first", {1, 2, 3}, PanelKey::Right, kSwatchColours[0]},
        {"the first, left: wraps to the last", kSwatchColours[0], PanelKey::Left, kSwatchColours[7]},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        PointerSettings pointer;
        pointer.left_click_color = row.from;
        SettingsPanel panel = make_panel(SettingsPage::PointerEffects, pointer, 2);
        panel.focus = {PanelItemKind::PointerItem, kLeftClickColourItem};
        EXPECT_EQ(panel_key(panel, row.key).word, 0x10Fu);
        EXPECT_EQ(panel.pointer.left_click_color, row.to);
    }
}

TEST(SettingsInput, APressOnASwatchPicksItsColour) {
    SettingsPanel panel = make_panel(SettingsPage::PointerEffects);
    const Box control = item_of(panel, PanelItemKind::PointerItem, kHaloColourItem).control;
    EXPECT_EQ(panel_mouse_down(panel, control.left + 11.0 + 22.0 * 5, centre_y(control)).word, 0x10Fu);
    EXPECT_EQ(panel.presentation_colour, kSwatchColours[5]);
    EXPECT_EQ(panel_mouse_down(panel, control.left + 11.0, control.top).word, 0x10Eu);  // above the first
}

TEST(SettingsInput, EscClosesOnEveryPage) {
    for (std::uint8_t page = 0; page < 4; ++page) {
        SettingsPanel panel = make_panel(static_cast<SettingsPage>(page));
        EXPECT_EQ(panel_key(panel, PanelKey::Cancel).word, 17u);
    }
}

TEST(SettingsInput, PressesOnTheShortcutsPage) {
    PointerSettings pointer;
    pointer.show_click_shortcut = Shortcut{kShortcutCtrl, 'K'};
    SettingsPanel panel = make_panel(SettingsPage::Shortcuts, pointer);
    const PanelItem show_click = item_of(panel, PanelItemKind::ShortcutRow, 6);
    const double y = centre_y(show_click.item);
    EXPECT_EQ(panel_mouse_down(panel, show_click.control.left, y).word, 4u | 6u << 8);
    EXPECT_EQ(panel_mouse_down(panel, show_click.control.right - 4.0, y).word, 0x10Fu);  // the clear button
    EXPECT_FALSE(panel.pointer.show_click_shortcut.has_value());

    panel.editing_row = 1;
    const auto buttons = row_edit_buttons(panel.layout.items, 1);
    ASSERT_TRUE(buttons.has_value());
    EXPECT_EQ(panel_mouse_down(panel, centre_x(buttons->first), centre_y(buttons->first)).word, 5u);
    EXPECT_EQ(panel_mouse_down(panel, centre_x(buttons->second), centre_y(buttons->second)).word, 6u);
    EXPECT_EQ(panel_mouse_down(panel, centre_x(buttons->hint), centre_y(buttons->hint)).word, 13u);
    EXPECT_EQ(panel_mouse_down(panel, show_click.control.left, y).word, 6u);  // another row ends the edit
}

TEST(SettingsInput, TheSectionSwitchTogglesAndTheHeaderExpands) {
    SettingsPanel panel = make_panel(SettingsPage::PointerEffects);
    PanelItem trail = item_of(panel, PanelItemKind::SectionHeader, 1);
    EXPECT_EQ(panel_mouse_down(panel, trail.control.right - 10.0, centre_y(trail.control)).word, 0x10Fu);
    EXPECT_EQ(panel.pointer.trail_style, 1u);
    EXPECT_TRUE(panel.pointer_effects);
    EXPECT_EQ(panel_mouse_down(panel, trail.control.right - 10.0, centre_y(trail.control)).word, 0x10Fu);
    EXPECT_EQ(panel.pointer.trail_style, 0u);
    EXPECT_TRUE(panel.pointer_effects);  // the halo is still on

    EXPECT_EQ(panel_mouse_down(panel, trail.item.left + 4.0, centre_y(trail.item)).word, 14u);
    EXPECT_EQ(panel.expanded_section, 1u);
    EXPECT_TRUE(find_panel_item(panel.layout.items, PanelItemKind::PointerItem, kTrailLengthItem).has_value());
    EXPECT_FALSE(find_panel_item(panel.layout.items, PanelItemKind::PointerItem, kHaloSizeItem).has_value());
}

}  // namespace
}  // namespace glimmerly
