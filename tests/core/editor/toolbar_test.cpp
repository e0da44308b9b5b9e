#include "core/editor/toolbar.h"

#include "core/editor/toolbar_hints.h"
#include "tests/core/support/monitors.h"
#include "tests/core/support/near.h"

#include <gtest/gtest.h>

#include <set>
#include <tuple>

namespace glimmerly {
namespace {

using namespace glimmerly::testing;
using Code = EditorActionCode;
using namespace std::chrono_literals;

std::vector<EditorAction> actions_of(const std::vector<ToolbarButton>& buttons) {
    std::vector<EditorAction> out;
    for (const ToolbarButton& b : buttons) out.push_back(b.action);
    return out;
}

TEST(ToolbarLayout, PlacesAndClampsThePanelsOnMonitorsOfEveryScale) {
    struct Row {
        const char* name;
        std::vector<DesktopMonitor> monitors;
        Box selection;  // frame pixels
        Box tools, actions;  // panel backgrounds, window pixels
    };
    const DesktopMonitor left100{{-1920, 0, 0, 1080}, 1.0}, right150{{0, 0, 2880, 1620}, 1.5};
    const DesktopMonitor top200{{0, -2160, 3840, 0}, 2.0}, below100{{0, 0, 1920, 1080}, 1.0};
    const DesktopMonitor portrait150{{-768, 0, 0, 1024}, 1.5}, plain100{{0, 0, 1920, 1080}, 1.0};
    const Row rows[] = {
        {"100 % beside 150 %: beside and below the selection", {left100, right150}, {400, 300, 1200, 700},
         {1208, 340, 1248, 700}, {680, 708, 1200, 748}},
        {"the same selection on the 150 % monitor is 1.5 times larger", {left100, right150}, {2400, 300, 3600, 900},
         {3612, 360, 3672, 900}, {2820, 912, 3600, 972}},
        {"in the 150 % corner: tools to the left, actions above and left of the size panel", {left100, right150},
         {3600, 1200, 4800, 1620}, {3528, 1074, 3588, 1614}, {3801, 1128, 4581, 1188}},
        {"200 % above 100 %: no room outside, the tools go inside", {top200, below100}, {100, 1600, 3740, 2100},
         {3644, 1380, 3724, 2100}, {2408, 1504, 3448, 1584}},
        {"across both monitors: placed against the whole frame", {top200, below100}, {100, 1800, 900, 2600},
         {908, 2240, 948, 2600}, {380, 2608, 900, 2648}},
        {"a narrow 150 % portrait monitor wraps the actions and keeps them inside", {portrait150, plain100},
         {150, 300, 600, 600}, {612, 60, 672, 600}, {6, 612, 690, 720}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const EditorState state = capture_over(row.monitors, row.selection);
        const double s = anchor_monitor_scale(state);
        const auto buttons = layout_toolbar(state);
        const auto panels = toolbar_panel_rects(buttons, s);
        ASSERT_EQ(panels.size(), 2u);
        expect_near(panels[0], row.tools);
        expect_near(panels[1], row.actions);
        for (const ToolbarButton& b : buttons)
            EXPECT_EQ(toolbar_button_at(buttons, {(b.rect.left + b.rect.right) / 2, b.rect.bottom}), &b);
        EXPECT_TRUE(point_on_toolbar(state, {row.actions.left, row.actions.top}));
        EXPECT_FALSE(point_on_toolbar(state, {row.actions.left - 1, row.actions.top}));
    }
}

TEST(ToolbarLayout, ItemsFollowTheToolbarsMode) {
    EditorState state = capture_over({{{0, 0, 1920, 1080}, 1.0}}, Box{400, 300, 1200, 700});
    const auto a = [](Code code) { return pack_editor_action(code); };
    const auto find = [](const std::vector<ToolbarButton>& buttons, EditorAction item) {
        return std::find_if(buttons.begin(), buttons.end(), [&](const ToolbarButton& b) { return b.action == item; });
    };
    const auto before = [&](const std::vector<ToolbarButton>& buttons, EditorAction item) {
        const auto at = find(buttons, item);
        return at == buttons.begin() || at == buttons.end() ? std::nullopt : std::optional((at - 1)->action);
    };
    state.more_tools_setting = true;
    EXPECT_EQ(actions_of(layout_toolbar(state)), (std::vector<EditorAction>{a(Code::MoreTools), tool_action(Tool::Pen),
                                                                           a(Code::Undo), a(Code::CopyImage),
                                                                           a(Code::Save), a(Code::Close)}))
        << "collapsed: one short panel";
    state.more_tools_expanded = true;
    const auto expanded = layout_toolbar(state);
    EXPECT_EQ(expanded.size(), toolbar_entries().size() + 1) << "every item";
    const auto more = find(expanded, a(Code::MoreTools));
    EXPECT_EQ(more->text, TextId::toolbar_fewer_tools);
    EXPECT_TRUE(editor_action_tool((more - 1)->action)) << "first of the actions, after the tools";

    state.board_mode = true;  // never collapsed, no blur, no live capture, Clear board before Close
    state.more_tools_expanded = false;
    const auto board = layout_toolbar(state);
    EXPECT_EQ(board.size(), toolbar_entries().size() - 1);
    EXPECT_EQ(before(board, a(Code::Close)), a(Code::ClearOrRestoreBoard));
    EXPECT_EQ(find(board, tool_action(Tool::Blur)), board.end());
    EXPECT_EQ(find(board, a(Code::LiveCapture)), board.end());

    state.board_mode = false;
    state.more_tools_setting = false;
    state.tool = Tool::Label;
    const auto label = layout_toolbar(state);
    EXPECT_EQ(before(label, colour_action({237, 79, 92})), a(Code::TextColourPalette)) << "the palettes before Red";
    EXPECT_EQ(before(label, a(Code::TextColourPalette)), a(Code::BoxColourPalette));
    const auto undo = find(label, a(Code::Undo));
    EXPECT_FALSE(undo->enabled);
    EXPECT_EQ(toolbar_hint_text(undo->action, undo->text, LANGUAGE_ENGLISH), "Nothing to undo · Ctrl+Z");

    state.toolbar_shown = false;
    EXPECT_TRUE(layout_toolbar(state).empty());
}

TEST(ToolbarKeys, EveryShortcutOfTheTableGivesItsActionAndItsHintNamesIt) {
    std::set<std::tuple<VirtualKey, bool, bool>> keys;
    std::set<EditorAction> actions;
    for (const ToolbarEntry& e : toolbar_entries()) {
        const std::string name = shortcut_name(e.shortcut, LANGUAGE_ENGLISH);
        SCOPED_TRACE(name);
        EXPECT_TRUE(keys.insert({e.shortcut.key, e.shortcut.ctrl, e.shortcut.shift}).second) << "one row per key";
        EXPECT_TRUE(actions.insert(e.action).second) << "one row per action";
        EXPECT_EQ(action_for_key(e.shortcut.key, e.shortcut.ctrl, e.shortcut.shift, false), e.action);
        EXPECT_EQ(action_for_key(e.shortcut.key, e.shortcut.ctrl, e.shortcut.shift, true), std::nullopt);

        const std::string hint = toolbar_hint_text(e.action, e.text, LANGUAGE_ENGLISH);
        const auto named = toolbar_item_shortcuts(e.action);
        ASSERT_FALSE(named.empty());
        for (const ToolbarShortcut& s : named) {
            EXPECT_NE(hint.find(shortcut_name(s, LANGUAGE_ENGLISH)), std::string::npos) << hint;
            // Copy image names Ctrl+C, which the key handler takes before the table.
            if (e.action != pack_editor_action(Code::CopyImage)) {
                EXPECT_EQ(action_for_key(s.key, s.ctrl, s.shift, false), e.action) << hint;
            }
        }
    }
}

TEST(ToolbarKeys, KeysBesideTheTable) {
    const struct { const char* name; char key; bool ctrl, shift, alt; std::optional<EditorAction> action; } rows[] = {
        {"Ctrl+Shift+Z redoes", 'Z', true, true, false, pack_editor_action(Code::Redo)},
        {"Shift+Z without Ctrl is nothing", 'Z', false, true, false, std::nullopt},
        {"F goes full screen", 'F', false, false, false, pack_editor_action(Code::FullScreenOrPrevious)},
        {"Ctrl+F is nothing", 'F', true, false, false, std::nullopt},
        {"Alt+R is nothing", 'R', false, false, true, std::nullopt},
        {"Shift+R is still the rectangle", 'R', false, true, false, tool_action(Tool::Rectangle)},
        {"Ctrl+Shift+S saves as", 'S', true, true, false, pack_editor_action(Code::SaveAs)},
        {"Ctrl+C alone is not copy image", 'C', true, false, false, std::nullopt},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(action_for_key(vk_char(row.key), row.ctrl, row.shift, row.alt), row.action);
    }
}

TEST(ToolbarHover, OnlyASettledHoverFadesOut) {
    const auto t0 = ChromeClock::time_point{} + 10s;
    const ToolbarItem a{tool_action(Tool::Pen), {0, 0, 30, 30}}, b{tool_action(Tool::Line), {0, 32, 30, 62}};
    ToolbarHover hover;
    track_toolbar_hover(hover, a, t0);
    EXPECT_FALSE(settled_toolbar_item(hover, t0 + 200ms));
    track_toolbar_hover(hover, b, t0 + 200ms);
    EXPECT_FALSE(fading_toolbar_item(hover, t0 + 200ms)) << "a brief hover leaves no fade";
    EXPECT_EQ(settled_toolbar_item(hover, t0 + 500ms), b);
    track_toolbar_hover(hover, std::nullopt, t0 + 500ms);
    EXPECT_EQ(fading_toolbar_item(hover, t0 + 560ms)->item, b);
    EXPECT_NEAR(fading_toolbar_item(hover, t0 + 560ms)->opacity, 0.5, 1e-6);
    EXPECT_FALSE(fading_toolbar_item(hover, t0 + 620ms)) << "a fade lasts 120 ms";
}

TEST(ToolbarRedraw, WakesTheWindowOnlyWhileAHoverSettlesOrSomethingFades) {
    const auto t0 = ChromeClock::time_point{} + 10s;
    const ToolbarItem a{tool_action(Tool::Pen), {0, 0, 30, 30}};
    ToolbarMemory toolbar;
    EXPECT_EQ(toolbar_redraw_in(toolbar, t0), std::nullopt);
    track_toolbar_hover(toolbar.hover, a, t0);
    EXPECT_EQ(toolbar_redraw_in(toolbar, t0 + 100ms), 149ms) << "the highlight shows once the hover settled";
    EXPECT_EQ(toolbar_redraw_in(toolbar, t0 + 300ms), std::nullopt) << "a settled hover stands still";
    track_toolbar_hover(toolbar.hover, std::nullopt, t0 + 300ms);
    EXPECT_EQ(toolbar_redraw_in(toolbar, t0 + 360ms), kChromeFrameInterval);
    EXPECT_EQ(toolbar_redraw_in(toolbar, t0 + 420ms), std::nullopt) << "the fade is over";
    start_toolbar_animation(toolbar.animations, ToolbarAnimationKind::Marked, a.action, t0 + 420ms);
    EXPECT_EQ(toolbar_redraw_in(toolbar, t0 + 690ms), kChromeFrameInterval);
    EXPECT_EQ(toolbar_redraw_in(toolbar, t0 + 700ms), std::nullopt) << "the highlight is over";
}

TEST(ToolbarRedraw, CountsFromTheFrameOnScreenNotFromTheEndOfItsPaint) {
    const auto t0 = ChromeClock::time_point{} + 10s;
    const ToolbarItem save{pack_editor_action(Code::Save), {0, 0, 30, 30}};
    const ToolbarItem close{pack_editor_action(Code::Close), {32, 0, 62, 30}};
    ToolbarMemory toolbar;
    track_toolbar_hover(toolbar.hover, save, t0);
    struct Row {
        const char* name;
        ChromeClock::duration drawn_at, now;
        std::optional<ChromeClock::duration> wait;
    } rows[] = {
        {"drawn and checked before the settle", 10ms, 100ms, 149ms},
        {"a paint that outlasted the settle", 10ms, 510ms, 0ms},
        {"drawn once settled", 300ms, 800ms, std::nullopt},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(toolbar_redraw_in(toolbar, t0 + row.drawn_at, t0 + row.now), row.wait);
    }
    // Straight from one settled button to the next: the frame drawn then
    // shows the first one's hint fading, and is out of date once its paint ends.
    track_toolbar_hover(toolbar.hover, close, t0 + 1s);
    EXPECT_EQ(toolbar_redraw_in(toolbar, t0 + 1s, t0 + 1s + 500ms), 0ms);
    EXPECT_EQ(toolbar_redraw_in(toolbar, t0 + 1s + 300ms, t0 + 1s + 800ms), std::nullopt);
}

TEST(ToolbarMarks, ChangesOfTheMarksStartTheirHighlights) {
    EditorState state = capture_over({{{0, 0, 1920, 1080}, 1.0}}, Box{400, 300, 1200, 700});
    const Rgb red{237, 79, 92}, odd{1, 2, 3};
    const auto t0 = ChromeClock::time_point{} + 10s;
    (void)build_toolbar_frame(state, red, {}, t0);
    EXPECT_TRUE(state.toolbar.animations.empty()) << "the first frame starts nothing";

    state.tool = Tool::Pen;
    (void)build_toolbar_frame(state, odd, {}, t0 + 10ms);
    const auto progress = [&](ToolbarAnimationGroup g, EditorAction item, auto at) {
        return toolbar_item_for_action(state.toolbar.animations, g, item, t0 + at);
    };
    using G = ToolbarAnimationGroup;
    using K = ToolbarAnimationKind;
    EXPECT_EQ(progress(G::Mark, tool_action(Tool::Pen), 150ms), (ToolbarAnimationProgress{K::Marked, 0.5}));
    EXPECT_EQ(progress(G::Mark, tool_action(Tool::Arrow), 80ms)->kind, K::Unmarked);
    EXPECT_EQ(progress(G::ColourMark, colour_action(red), 10ms)->kind, K::ColourMarkLeaves);
    EXPECT_EQ(progress(G::ColourMark, pack_editor_action(Code::ColourPicker), 10ms)->kind, K::ColourMarkArrives);
    EXPECT_FALSE(progress(G::Mark, tool_action(Tool::Pen), 290ms)) << "280 ms and done";
}

}  // namespace
}  // namespace glimmerly
