// The settings window with the program's own App and application window on
// the test's thread: one window however often it is asked for, the
// messages it answers, the pages it paints, and what its answers change.

#include "app/settings/settings_window.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "app/app/app.h"
#include "app/app/commands.h"
#include "app/app/popup_paint.h"
#include "app/presentation/presentation_shortcuts.h"
#include "app/presentation/pointer_effects.h"
#include "app/app/hotkeys.h"
#include "app/app/row_edit.h"
#include "app/app/setup.h"
#include "app/app/tray_menu.h"
#include "app/lib/registry_names.h"
#include "app/lib/ui_language.h"
#include "app/win/failure.h"
#include "app/lib/settings_store.h"
#include "app/settings/settings_apply.h"
#include "core/render/control_geometry.h"
#include "tests/app/render/render_support.h"
#include "tests/app/support/app_window.h"
#include "tests/app/support/hotkey_held.h"
#include "tests/app/support/private_prefix.h"
#include "ui/settings_panel/pointer_preview.h"
#include "ui/settings_panel/settings_input.h"
#include "ui/settings_panel/settings_layout.h"

namespace glimmerly {
namespace {

using testing::pixel;
using testing_support::TestAppWindow;

constexpr Rgb kBackground{0x20, 0x20, 0x20};
constexpr Rgb kSelectedTab{0x2D, 0x2D, 0x2D};
constexpr Rgb kAccent{0x60, 0xCD, 0xFF};

const AppOptions kNoSettingsFile{.keeps_settings = false};

// The App with its presentation state, as the resident has it.
struct Resident {
    explicit Resident(AppOptions options = kNoSettingsFile) : test(std::move(options)) {
        auto app = test.cell().try_borrow();
        if (auto made = attach_presentation_state(test.window(), app->settings)) app->presentation = std::move(*made);
    }
    Status command(AppCommand command) {
        auto app = test.cell().try_borrow();
        return run_app_command(*app, test.window(), command);
    }
    HWND settings_window() {
        auto app = test.cell().try_borrow();
        return app && app->settings_window ? app->settings_window->window.get() : nullptr;
    }
    TestAppWindow test;
};

int windows_of_class(const wchar_t* name) {
    int count = 0;
    for (HWND w = FindWindowExW(nullptr, nullptr, name, nullptr); w; w = FindWindowExW(nullptr, w, name, nullptr))
        if (GetWindowThreadProcessId(w, nullptr) == GetCurrentThreadId()) ++count;
    return count;
}

TEST(SettingsWindowOpening, ASecondSettingsCommandRestoresTheOneWindowInsteadOfOpeningAnother) {
    Resident resident;
    ASSERT_TRUE(resident.command(APP_COMMAND_SETTINGS).ok());
    const HWND first = resident.settings_window();
    ASSERT_TRUE(first && IsWindowVisible(first));
    ShowWindow(first, SW_MINIMIZE);
    ASSERT_TRUE(resident.command(APP_COMMAND_SETTINGS).ok());
    EXPECT_EQ(resident.settings_window(), first);
    EXPECT_FALSE(IsIconic(first));
    EXPECT_EQ(windows_of_class(SETTINGS_WINDOW_CLASS), 1);
    wchar_t title[64] = {};
    GetWindowTextW(first, title, 64);
    EXPECT_STREQ(title, L"Settings - Glimmerly");
}

TEST(SettingsWindowOpening, ALanguageChangeRetitlesTheOpenWindowAndMeasuresItsTextsAgain) {
    Resident resident;
    ASSERT_TRUE(resident.command(APP_COMMAND_SETTINGS).ok());
    const HWND window = resident.settings_window();
    const Status changed = resident.command(command_of_language(5));
    const std::wstring german = win::to_wide(std::string(text_of(5, TextId::settings_title)) + " - Glimmerly");
    wchar_t title[128] = {};
    GetWindowTextW(window, title, 128);
    Language panel_language = LANGUAGE_ENGLISH;
    {
        auto app = resident.test.cell().try_borrow();
        panel_language = app->settings_window->panel.language;
    }
    apply_ui_language(LANGUAGE_AUTO);  // the next tests read the user's language again
    ASSERT_TRUE(changed.ok());
    EXPECT_EQ(std::wstring(title), german);
    EXPECT_EQ(panel_language, 5);
}

TEST(SettingsWindowOpening, EscClosesItAndTheNextOpeningShowsTheSamePage) {
    Resident resident;
    ASSERT_TRUE(resident.command(APP_COMMAND_SETTINGS).ok());
    HWND window = resident.settings_window();
    SendMessageW(window, WM_KEYDOWN, VK_RIGHT, 0);  // the General tab has the focus: the next page
    SendMessageW(window, WM_KEYDOWN, VK_RIGHT, 0);
    {
        auto app = resident.test.cell().try_borrow();
        ASSERT_EQ(app->settings_window->panel.page, SettingsPage::Presentation);
    }
    SendMessageW(window, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(resident.settings_window(), nullptr);
    ASSERT_TRUE(resident.command(APP_COMMAND_SETTINGS).ok());
    auto app = resident.test.cell().try_borrow();
    ASSERT_TRUE(app->settings_window);
    EXPECT_EQ(app->settings_window->panel.page, SettingsPage::Presentation);
    EXPECT_EQ(app->settings_window->panel.focus, (PanelFocus{PanelItemKind::Tab, 2}));
}

TEST(SettingsWindowOpening, TheCloseBoxWaitsWhileTheAppIsBusyAndADestroyedWindowLeavesNoRecord) {
    Resident resident;
    ASSERT_TRUE(resident.command(APP_COMMAND_SETTINGS).ok());
    HWND window = resident.settings_window();
    {
        auto busy = resident.test.cell().try_borrow();  // as inside a message box of the resident
        EXPECT_EQ(SendMessageW(window, WM_CLOSE, 0, 0), 0);
        EXPECT_TRUE(IsWindow(window));
        SendMessageW(window, WM_KEYDOWN, VK_RIGHT, 0);  // not handled: the App is held
        EXPECT_EQ(busy->settings_window->panel.page, SettingsPage::General);
    }
    SendMessageW(window, WM_KEYDOWN, VK_RIGHT, 0);
    ASSERT_TRUE(DestroyWindow(window));
    auto app = resident.test.cell().try_borrow();
    EXPECT_FALSE(app->settings_window);
    EXPECT_EQ(app->last_settings_page, SettingsPage::Shortcuts);
}

TEST(SettingsWindowInput, AMoveWithoutTheMouseCapturedIsNotTheDragOfASlider) {
    Resident resident;
    {
        auto app = resident.test.cell().try_borrow();
        app->last_settings_page = SettingsPage::PointerEffects;
    }
    ASSERT_TRUE(resident.command(APP_COMMAND_SETTINGS).ok());
    const HWND window = resident.settings_window();
    std::uint32_t before = 0;
    LPARAM far_right = 0;
    {
        auto app = resident.test.cell().try_borrow();
        SettingsPanel& panel = app->settings_window->panel;
        const auto slider = find_panel_item(panel.layout.items, PanelItemKind::PointerItem, kHaloSizeItem);
        ASSERT_TRUE(slider);
        panel.dragged_slider = kHaloSizeItem;  // as if a press had started a drag
        before = panel.pointer.halo_size;
        far_right = MAKELPARAM(static_cast<int>(slider->control.right), static_cast<int>(slider->control.top + 13));
    }
    ReleaseCapture();
    SendMessageW(window, WM_MOUSEMOVE, 0, far_right);
    auto app = resident.test.cell().try_borrow();
    EXPECT_EQ(app->settings_window->panel.pointer.halo_size, before);
    EXPECT_FALSE(app->settings_window->apply_pending);
}

TEST(SettingsWindowInput, HalfNotchesOfAPreciseWheelAddUpToOneStep) {
    Resident resident;
    {
        auto app = resident.test.cell().try_borrow();
        app->last_settings_page = SettingsPage::PointerEffects;
    }
    ASSERT_TRUE(resident.command(APP_COMMAND_SETTINGS).ok());
    const HWND window = resident.settings_window();
    POINT over{};
    std::uint32_t before = 0;
    {
        auto app = resident.test.cell().try_borrow();
        const SettingsPanel& panel = app->settings_window->panel;
        const auto slider = find_panel_item(panel.layout.items, PanelItemKind::PointerItem, kHaloSizeItem);
        ASSERT_TRUE(slider);
        over = {static_cast<LONG>(slider->control.left + 20), static_cast<LONG>(slider->control.top + 13)};
        before = panel.pointer.halo_size;
    }
    ASSERT_TRUE(ClientToScreen(window, &over));
    for (int half = 0; half < 2; ++half)
        SendMessageW(window, WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA / 2), MAKELPARAM(over.x, over.y));
    auto app = resident.test.cell().try_borrow();
    EXPECT_EQ(app->settings_window->panel.pointer.halo_size, before + 4);
}

TEST(SettingsWindowInput, AShortcutRowRecordsThroughTheSharedRowsAndEscEndsOnlyTheRecording) {
    Resident resident;
    ASSERT_TRUE(resident.command(APP_COMMAND_SETTINGS).ok());
    const HWND window = resident.settings_window();
    {
        auto app = resident.test.cell().try_borrow();
        ASSERT_TRUE(apply_settings_change(*app, resident.test.window(),
                                          PanelResponse::with_id(PanelTag::EditShortcutRow, 1))
                        .ok());
        EXPECT_EQ(active_menu_source(*app).source, MenuSource::SettingsWindow);
        EXPECT_EQ(active_menu_source(*app).row, ShortcutRow::Instant);
        EXPECT_EQ(app->settings_window->panel.editing_row, std::optional<std::uint8_t>(1));
    }
    SendMessageW(window, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_TRUE(IsWindow(window));
    auto app = resident.test.cell().try_borrow();
    EXPECT_EQ(active_menu_source(*app).source, MenuSource::None);
    ASSERT_TRUE(app->settings_window);
    EXPECT_FALSE(app->settings_window->panel.editing_row);
}

// ---- Shortcut rows 3 to 8: what the program holds before, during and after ----

constexpr UINT kAll = MOD_CONTROL | MOD_ALT | MOD_SHIFT;

bool held(Shortcut shortcut) { return testing_support::hotkey_held(shortcut); }

// Presenting with temporary shapes and the pointer effects, the three pointer
// shortcuts set, and the settings window open.
struct PresentingWithSettings : Resident {
    static constexpr std::array<Shortcut, 3> kPointer{{{kAll, VK_F19}, {kAll, VK_F20}, {kAll, VK_F21}}};
    PresentingWithSettings() {
        {
            auto app = test.cell().try_borrow();
            app->settings.pointer.show_click_shortcut = kPointer[0];
            app->settings.pointer.spotlight_shortcut = kPointer[1];
            app->settings.pointer.magnifier_shortcut = kPointer[2];
            auto state = app->presentation->try_borrow();
            ready = apply_presentation_settings(*state, app->settings).ok();
        }
        ready = ready && command(CMD_PRESENTATION_TEMPORARY_SHAPES).ok() &&
                command(CMD_PRESENTATION_POINTER_EFFECTS).ok() && command(APP_COMMAND_SETTINGS).ok();
    }
    Status row(PanelResponse response) {
        auto app = test.cell().try_borrow();
        return apply_settings_change(*app, test.window(), response);
    }
    Status record(std::uint32_t modifiers, std::uint32_t key) {
        auto app = test.cell().try_borrow();
        return record_row_key(*app, test.window(), modifiers, key);
    }
    bool ready = false;
};

TEST(SettingsShortcutRows, ARecordingRowHoldsNoPresentationShortcutAndTheNewOnesAreInForceAtOnce) {
    constexpr Shortcut kAltA{MOD_ALT, 'A'};
    PresentingWithSettings resident;
    ASSERT_TRUE(resident.ready);
    EXPECT_TRUE(held(kAltA));
    EXPECT_TRUE(held(PresentingWithSettings::kPointer[1]));

    ASSERT_TRUE(resident.row(PanelResponse::with_id(PanelTag::EditShortcutRow, 3)).ok());
    EXPECT_FALSE(held(kAltA));
    EXPECT_FALSE(held(PresentingWithSettings::kPointer[1]));
    ASSERT_TRUE(resident.record(kAll, VK_F18).ok());
    EXPECT_TRUE(held({kAll, VK_F18}));
    EXPECT_FALSE(held(kAltA));
    EXPECT_TRUE(held(PresentingWithSettings::kPointer[1]));

    // The spotlight's row: the new combination answers at once, the old one is free.
    ASSERT_TRUE(resident.row(PanelResponse::with_id(PanelTag::EditShortcutRow, 7)).ok());
    EXPECT_FALSE(held({kAll, VK_F18}));
    ASSERT_TRUE(resident.record(kAll, VK_F22).ok());
    EXPECT_TRUE(held({kAll, VK_F22}));
    EXPECT_FALSE(held(PresentingWithSettings::kPointer[1]));
    EXPECT_TRUE(held({kAll, VK_F18}));
    auto app = resident.test.cell().try_borrow();
    EXPECT_EQ(app->settings.pointer.spotlight_shortcut, (Shortcut{kAll, VK_F22}));
    EXPECT_EQ(app->settings_window->panel.view.rows[7].caps,
              (std::vector<std::string>{"Ctrl", "Shift", "Alt", "F22"}));
}

TEST(SettingsShortcutRows, BackspaceOrTheDefaultButtonClearsAPointerRowWhichCanBePutBack) {
    const struct {
        const char* name;
        std::uint8_t row;
        bool button;
    } rows[] = {{"show a click, Backspace", 6, false},
                {"spotlight, the button", 7, true},
                {"magnifier, Backspace", 8, false}};
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        PresentingWithSettings resident;
        ASSERT_TRUE(resident.ready);
        const Shortcut before = PresentingWithSettings::kPointer[r.row - 6];
        const auto shortcut = [&] {
            auto app = resident.test.cell().try_borrow();
            return row_shortcut_in(app->settings, static_cast<ShortcutRow>(r.row));
        };
        ASSERT_TRUE(resident.row(PanelResponse::with_id(PanelTag::EditShortcutRow, r.row)).ok());
        if (r.button)
            ASSERT_TRUE(resident.row(PanelResponse::of(PanelTag::RowEditFirstButton)).ok());
        else
            SendMessageW(resident.settings_window(), WM_KEYDOWN, VK_BACK, 0);
        EXPECT_EQ(shortcut(), std::nullopt);
        EXPECT_FALSE(held(before));
        {
            auto app = resident.test.cell().try_borrow();
            const SettingsPanel& panel = app->settings_window->panel;
            EXPECT_TRUE(panel.view.rows[r.row].caps.empty());
            EXPECT_FALSE(panel.editing_row);
            ASSERT_TRUE(panel.saved_before);
            EXPECT_EQ(panel.saved_before->row, r.row);
            EXPECT_EQ(panel.saved_before->caps.caps, (std::vector<std::string>{"Ctrl", "Shift", "Alt",
                                                                                "F" + std::to_string(r.row + 13)}));
            EXPECT_EQ(app->saved_before.state, 1u);
        }
        ASSERT_TRUE(resident.row(PanelResponse::of(PanelTag::SavedBeforeButton)).ok());
        EXPECT_EQ(shortcut(), before);
        EXPECT_TRUE(held(before));
    }
}

// Every presentation window is made again when the OBS mirror is switched
// and when the display changes; the shortcuts the rows show stay held, and a
// spotlight with a shortcut still waits for its key.
TEST(SettingsShortcutRows, AWindowRebuildKeepsThePointerShortcutsAndTheSpotlightWaitsForItsKey) {
    PresentingWithSettings resident;
    ASSERT_TRUE(resident.ready);
    {
        auto app = resident.test.cell().try_borrow();
        app->settings.pointer.spotlight_shape = 1;
        app->settings.pointer.spotlight_hide_moving = false;
        auto state = app->presentation->try_borrow();
        ASSERT_TRUE(apply_presentation_settings(*state, app->settings).ok());
    }
    const auto spotlight_shown = [&] {
        auto app = resident.test.cell().try_borrow();
        auto state = app->presentation->try_borrow();
        EXPECT_TRUE(update_pointer_effects(*state).ok());
        return state->spotlight && IsWindowVisible(state->spotlight->window.get()) != FALSE;
    };
    const struct {
        const char* name;
        std::function<void()> rebuild;
    } rows[] = {
        {"OBS mirror on", [&] { EXPECT_TRUE(resident.row(PanelResponse::of(PanelTag::ToggleObsMirror)).ok()); }},
        {"OBS mirror off", [&] { EXPECT_TRUE(resident.row(PanelResponse::of(PanelTag::ToggleObsMirror)).ok()); }},
        {"display change", [&] { SendMessageW(resident.test.window(), WM_DISPLAYCHANGE, 32, MAKELPARAM(1920, 1080)); }},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        row.rebuild();
        for (const Shortcut& shortcut : PresentingWithSettings::kPointer) EXPECT_TRUE(held(shortcut));
        EXPECT_TRUE(held({MOD_ALT, 'A'}));
        EXPECT_FALSE(spotlight_shown());
        {
            auto app = resident.test.cell().try_borrow();
            auto state = app->presentation->try_borrow();
            ASSERT_TRUE(handle_presentation_hotkey(*state, HOTKEY_ID_SPOTLIGHT).ok());
        }
        EXPECT_TRUE(spotlight_shown());  // the key pressed: it shows until the tick finds the key up
        auto app = resident.test.cell().try_borrow();
        auto state = app->presentation->try_borrow();
        ASSERT_TRUE(tick_presentation(*state).ok());
        EXPECT_FALSE(state->spotlight && IsWindowVisible(state->spotlight->window.get()));
    }
}

TEST(SettingsShortcutRows, AChangeMadeInTheTrayPopupShowsInTheOpenWindowsCaps) {
    Resident resident;
    ASSERT_TRUE(resident.command(APP_COMMAND_SETTINGS).ok());
    auto app = resident.test.cell().try_borrow();
    ASSERT_TRUE(open_tray_popup(*app, resident.test.window()).ok());
    ASSERT_TRUE(handle_row_command(*app, resident.test.window(), APP_COMMAND_EDIT_BOARD, kRowStartRecording, 0).ok());
    ASSERT_TRUE(record_row_key(*app, resident.test.window(), kAll, VK_F14).ok());
    EXPECT_EQ(app->settings.board_shortcut, (Shortcut{kAll, VK_F14}));
    EXPECT_EQ(app->settings_window->panel.view.rows[2].caps,
              (std::vector<std::string>{"Ctrl", "Shift", "Alt", "F14"}));
}

TEST(SettingsWindowInput, ATrayToggleFlipsTheOpenSwitchAtTheNextFrame) {
    Resident resident;
    ASSERT_TRUE(resident.command(APP_COMMAND_SETTINGS).ok());
    const HWND window = resident.settings_window();
    for (const AppCommand command : {CMD_PRESENTATION_POINTER_EFFECTS, CMD_PRESENTATION_KEYBOARD}) {
        ASSERT_TRUE(resident.command(command).ok());
        ASSERT_TRUE(resident.command(command).ok());
        ASSERT_TRUE(resident.command(command).ok());  // on, off, on
    }
    {
        auto app = resident.test.cell().try_borrow();
        EXPECT_FALSE(app->settings_window->panel.pointer_effects);
        EXPECT_FALSE(app->settings_window->panel.view.keyboard);
    }
    SendMessageW(window, WM_TIMER, SETTINGS_FRAME_TIMER, 0);
    auto app = resident.test.cell().try_borrow();
    EXPECT_TRUE(app->settings_window->panel.pointer_effects);
    EXPECT_TRUE(app->settings_window->panel.view.keyboard);
}

TEST(SettingsWindowInput, ADpiChangeResizesTheWindowForTheSameContent) {
    Resident resident;
    ASSERT_TRUE(resident.command(APP_COMMAND_SETTINGS).ok());
    const HWND window = resident.settings_window();
    RECT before{};
    GetWindowRect(window, &before);
    RECT suggested{before.left, before.top, before.left + (before.right - before.left) * 3 / 2,
                   before.top + (before.bottom - before.top) * 3 / 2};
    EXPECT_EQ(SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested)), 0);
    RECT after{};
    GetWindowRect(window, &after);
    // Wine's dpi stays 96, so the content keeps its size in pixels.
    EXPECT_EQ(after.right - after.left, before.right - before.left);
    EXPECT_EQ(after.bottom - after.top, before.bottom - before.top);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor);
    EXPECT_GE(after.left, monitor.rcWork.left);
    EXPECT_GE(after.top, monitor.rcWork.top);
}

// ---- Pixels, through the window's own paint path into a DIB ----

Result<BgraImage> paint_page(SettingsWindow& settings) {
    const int width = static_cast<int>(std::ceil(settings.panel.client_width));
    const int height = static_cast<int>(std::ceil(settings.panel.client_height));
    auto canvas = DibCanvas::make(width, height);
    if (!canvas) return std::move(canvas).failure();
    GLIM_TRY(paint_settings_window(settings, canvas->dc(), RECT{0, 0, width, height}));
    return canvas->pixels();
}

Rgb at(const BgraImage& image, double x, double y) {
    return pixel(image, static_cast<std::uint32_t>(x), static_cast<std::uint32_t>(y));
}

TEST(SettingsPagePicture, TheSelectedTabAloneCarriesTheFillAndTheBarAndMovesWithThePage) {
    Resident resident;
    ASSERT_TRUE(resident.command(APP_COMMAND_SETTINGS).ok());
    auto app = resident.test.cell().try_borrow();
    SettingsWindow& settings = *app->settings_window;
    for (const SettingsPage page : {SettingsPage::General, SettingsPage::PointerEffects}) {
        SCOPED_TRACE(static_cast<int>(page));
        show_settings_page(settings.panel, page);
        auto picture = paint_page(settings);
        ASSERT_TRUE(picture.ok()) << picture.failure().message;
        EXPECT_EQ(at(*picture, 2, 2), kBackground);
        for (const PanelTab& tab : settings.panel.layout.tabs) {
            const bool selected = tab.page == page;
            const double mid = (tab.rect.top + tab.rect.bottom) / 2.0;
            EXPECT_EQ(at(*picture, tab.rect.right - 6, tab.rect.top + 4), selected ? kSelectedTab : kBackground);
            EXPECT_EQ(at(*picture, tab.rect.left + 1, mid), selected ? kAccent : kBackground);
            EXPECT_EQ(at(*picture, tab.rect.left + 3, tab.rect.top + 3), selected ? kSelectedTab : kBackground);
        }
    }
}

TEST(SettingsPagePicture, SwitchesShowTheirStateAndAStripWithoutAChoiceRaisesNoSegment) {
    Resident resident;
    ASSERT_TRUE(resident.command(APP_COMMAND_SETTINGS).ok());
    auto app = resident.test.cell().try_borrow();
    SettingsWindow& settings = *app->settings_window;
    SettingsPanel& panel = settings.panel;
    for (const bool on : {true, false}) {
        SCOPED_TRACE(on ? "on" : "off");
        show_settings_page(panel, SettingsPage::General);
        panel.view.mini_toolbar = on;
        auto picture = paint_page(settings);
        ASSERT_TRUE(picture.ok()) << picture.failure().message;
        const auto row = find_panel_item(panel.layout.items, PanelItemKind::MiniToolbar, 0);
        ASSERT_TRUE(row);
        // The track's end away from the knob: filled when on, the row's own
        // surface (as it shows right of the control) when off.
        const ToggleSwitchGeometry toggle = toggle_switch_geometry(row->control, on, 1.0);
        const double mid = (toggle.track.top + toggle.track.bottom) / 2;
        const Rgb surface = at(*picture, row->item.right - 4, mid);
        EXPECT_NE(surface, kAccent);
        const Rgb probe = on ? at(*picture, toggle.track.left + 4, mid) : at(*picture, toggle.track.right - 5, mid);
        EXPECT_EQ(probe, on ? kAccent : surface);
    }
    for (const std::uint32_t size : {150u, 120u}) {
        SCOPED_TRACE(size);
        show_settings_page(panel, SettingsPage::Presentation);
        panel.view.input_size = size;  // 120 is none of the strip's values
        auto picture = paint_page(settings);
        ASSERT_TRUE(picture.ok()) << picture.failure().message;
        const auto strip = find_panel_item(panel.layout.items, PanelItemKind::InputSize, 0);
        ASSERT_TRUE(strip);
        const std::vector<double> widths = segment_widths(panel, PanelItemKind::InputSize, 0);
        const std::vector<OptionSegment> segments = option_segments(strip->control, widths, 1.0);
        ASSERT_EQ(segments.size(), 3u);
        for (std::size_t i = 0; i < segments.size(); ++i) {
            const bool raised = size == 150 && i == 1;
            EXPECT_EQ(at(*picture, segments[i].box.left + 3, segments[i].box.top + 3),
                      raised ? (Rgb{61, 61, 61}) : (Rgb{29, 29, 29}))
                << "segment " << i;
        }
    }
}

// Pixels near a colour inside a box.
int pixels_near(const BgraImage& image, const Box& box, Rgb colour) {
    int count = 0;
    for (double y = box.top; y < box.bottom; y += 1.0)
        for (double x = box.left; x < box.right; x += 1.0)
            if (testing::close_to(at(image, x, y), colour, 12)) ++count;
    return count;
}

TEST(SettingsPagePicture, TheKeysHeldOnARecordingRowAreOutlinedInTheRecordingColour) {
    const struct {
        const char* name;
        std::string message;
        Rgb ink;
    } rows[] = {{"listening", "", kAccent}, {"after a refusal", "Refused", Rgb{0xF8, 0x51, 0x49}}};
    Resident resident;
    ASSERT_TRUE(resident.command(APP_COMMAND_SETTINGS).ok());
    auto app = resident.test.cell().try_borrow();
    SettingsWindow& settings = *app->settings_window;
    show_settings_page(settings.panel, SettingsPage::Shortcuts);
    const auto buttons = row_edit_buttons(settings.panel.layout.items, 3);
    ASSERT_TRUE(buttons);
    const double mid = (buttons->hint.top + buttons->hint.bottom) / 2.0;
    // The caps end where the hint area does; the row's own outline is far from it.
    const Box caps{buttons->hint.right - 30, mid - 11, buttons->hint.right, mid + 11};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        settings.panel.editing_row = 3;
        settings.recording = ShortcutRecording{{"Ctrl"}, row.message, ShortcutRow::Arrow};
        auto picture = paint_page(settings);
        ASSERT_TRUE(picture.ok()) << picture.failure().message;
        EXPECT_GT(pixels_near(*picture, caps, row.ink), 20);
    }
}

TEST(SettingsPagePicture, ARowThatHadNoShortcutBeforeShowsNoEmptySavedBeforeLine) {
    const struct {
        const char* name;
        std::vector<std::string> previous;
        bool line;
    } rows[] = {{"it had one", {"F9"}, true}, {"it had none", {}, false}};
    Resident resident;
    ASSERT_TRUE(resident.command(APP_COMMAND_SETTINGS).ok());
    auto app = resident.test.cell().try_borrow();
    SettingsWindow& settings = *app->settings_window;
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        show_settings_page(settings.panel, SettingsPage::Shortcuts);
        settings.panel.saved_before = PanelSavedBefore{KeyCaps{row.previous, 0}, 6};
        const auto item = find_panel_item(settings.panel.layout.items, PanelItemKind::ShortcutRow, 6);
        const auto button = saved_row_button(settings.panel.layout.items, 6);
        ASSERT_TRUE(item && button);
        auto picture = paint_page(settings);
        ASSERT_TRUE(picture.ok()) << picture.failure().message;
        const Box texts{item->item.left + 52, item->item.top, button->left, item->item.bottom};
        EXPECT_EQ(pixels_near(*picture, texts, kAccent) > 0, row.line);
        EXPECT_GT(pixels_near(*picture, *button, Rgb{198, 198, 198}), 0);  // the arrow that puts it back
    }
}

// Pixels of the preview box that are none of the sample page's colours.
int foreign_preview_pixels(const BgraImage& image, const Box& preview) {
    const std::array<Rgb, 2> pages = {Rgb{243, 244, 246}, Rgb{27, 30, 36}};
    int foreign = 0;
    const double mid = (preview.left + preview.right) / 2.0;
    for (double y = preview.top + 8; y < preview.bottom - 8; y += 1.0)
        for (double x = preview.left + 8; x < preview.right - 8; x += 1.0) {
            if (std::abs(x - mid) < 2) continue;
            const Rgb got = at(image, x, y);
            bool known = false;
            for (const Rgb page : pages) known = known || testing::close_to(got, page, 2);
            // The placeholder lines: the page's colour blended toward its line colour.
            const bool grey_line = std::abs(int(got.r) - int(got.g)) < 14 && std::abs(int(got.g) - int(got.b)) < 24;
            if (!known && !grey_line) ++foreign;
        }
    return foreign;
}

TEST(SettingsPagePicture, ThePreviewWithEffectsOffShowsOnlyTheSamplePage) {
    Resident resident;
    {
        auto app = resident.test.cell().try_borrow();
        app->last_settings_page = SettingsPage::PointerEffects;
        app->settings.pointer.halo_shape = 1;
        app->settings.presentation_color_1 = Rgb{0xFF, 0x8C, 0x00};  // an orange halo: no grey
    }
    ASSERT_TRUE(resident.command(APP_COMMAND_SETTINGS).ok());
    auto app = resident.test.cell().try_borrow();
    SettingsWindow& settings = *app->settings_window;
    SettingsPanel& panel = settings.panel;
    ASSERT_GT(panel.layout.preview.right, panel.layout.preview.left);
    ASSERT_TRUE(animate_pointer_preview(panel, 5000));
    for (const bool effects : {false, true}) {
        SCOPED_TRACE(effects ? "effects on" : "effects off");
        panel.pointer_effects = effects;
        auto picture = paint_page(settings);
        ASSERT_TRUE(picture.ok()) << picture.failure().message;
        const Box& p = panel.layout.preview;
        EXPECT_EQ(at(*picture, p.left + 4, p.bottom - 4), (Rgb{27, 30, 36}));
        EXPECT_EQ(at(*picture, p.right - 4, p.bottom - 4), (Rgb{243, 244, 246}));
        const int foreign = foreign_preview_pixels(*picture, p);
        if (effects)
            EXPECT_GT(foreign, 20);  // the halo
        else
            EXPECT_EQ(foreign, 0);
    }
}

}  // namespace
}  // namespace glimmerly
