#include "app/demo/demo_pages.h"

#include <windows.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <string>

#include "app/app/notice.h"
#include "app/app/popup_paint.h"
#include "app/app/setup.h"
#include "app/demo/demo_surface.h"
#include "app/render/renderer_resources.h"
#include "app/settings/settings_page_paint.h"
#include "app/settings/settings_window.h"
#include "app/win/failure.h"
#include "app/win/paths.h"
#include "core/base/shortcut.h"
#include "core/menu/app_command.h"
#include "core/menu/popup_rows.h"
#include "core/notice/notice_layout.h"
#include "core/shortcuts/shortcut_setup.h"
#include "text/shortcut_text.h"
#include "text/text_table.h"
#include "ui/settings_panel/pointer_preview.h"

namespace glimmerly {
namespace {

const std::wstring kTarget = L"target";

// One GDI-painted picture of the window's size, made opaque and saved.
Status paint_and_save(std::uint32_t width, std::uint32_t height, const std::function<Status(HDC)>& paint,
                      const std::wstring& path) {
    auto surface = make_demo_surface(width, height);
    if (!surface) return std::move(surface).failure();
    GLIM_TRY(paint(surface->memory.get()));
    return save_demo_picture(opaque_copy(*surface), path);
}

// The notices' texts are the English ones, whatever the interface language.
std::wstring english(TextId id) { return win::to_wide(text_of(LANGUAGE_ENGLISH, id)); }

Status render_notices() {
    const std::wstring failed = english(TextId::notice_screenshot_failed);
    auto measured = measure_notice_text(failed, NOTICE_TEXT_HEIGHT);
    if (!measured) return std::move(measured).failure();
    const std::wstring copied = english(TextId::notice_copied);
    auto design_width = notice_window_width(copied, 96);
    if (!design_width) return std::move(design_width).failure();

    const auto instant_w = static_cast<std::uint32_t>(measured->cx + 24);
    const auto instant_h = static_cast<std::uint32_t>(measured->cy + 16);
    GLIM_TRY(paint_and_save(
        instant_w, instant_h,
        [&](HDC dc) {
            paint_notice_bubble(dc, static_cast<int>(instant_w), static_cast<int>(instant_h), failed, 96);
            return ok_status();
        },
        win::join_path(kTarget, L"glimmerly-instant-confirmation.png")));
    const std::int32_t width = *design_width;
    return paint_and_save(
        static_cast<std::uint32_t>(width), NOTICE_DESIGN_HEIGHT,
        [&](HDC dc) {
            paint_notice_bubble_scaled(dc, width, width, NOTICE_DESIGN_HEIGHT, copied);
            return ok_status();
        },
        win::join_path(kTarget, L"glimmerly-confirmation.png"));
}

struct SetupPicture {
    const wchar_t* name;
    std::optional<Shortcut> recorded;
    bool listening;
    ShortcutKind kind;
};

// A layout side as a picture side: clamped to the i32 range and truncated.
std::uint32_t layout_side(double side) {
    if (!(side > 0.0)) return 0;
    return static_cast<std::uint32_t>(std::min(side, static_cast<double>(std::numeric_limits<std::int32_t>::max())));
}

void delete_renderer(RendererResources* resources) { delete resources; }

Status render_setup_pages(const RendererResources& sharing) {
    const SetupPicture pictures[] = {
        {L"glimmerly-welcome.png", std::nullopt, true, ShortcutKind::Capture},
        {L"glimmerly-print-screen.png", Shortcut{0, VK_SNAPSHOT}, false, ShortcutKind::Capture},
        {L"glimmerly-shortcut.png", Shortcut{kShortcutCtrl | kShortcutShift, 'F'}, false, ShortcutKind::Arrow},
    };
    for (const SetupPicture& picture : pictures) {
        SetupState state;
        state.layout = SetupLayout{};
        state.recorded = picture.recorded;
        state.listening = picture.listening;
        state.kind = picture.kind;
        state.language = LANGUAGE_ENGLISH;
        auto made = create_renderer_resources(true, false, sharing);
        if (!made) return std::move(made).failure();
        state.resources = SetupResources(made->release(), &delete_renderer);
        const std::uint32_t w = layout_side(state.layout.width), h = layout_side(state.layout.height);
        GLIM_TRY(paint_and_save(
            w, h,
            [&](HDC dc) {
                return paint_setup_window(state, dc, RECT{0, 0, static_cast<LONG>(w), static_cast<LONG>(h)});
            },
            win::join_path(kTarget, picture.name)));
    }
    return ok_status();
}

// The shortcut rows' caps: the defaults of capture to ellipse (the
// rectangle's Alt+R held by another program) and Alt+K to show a click.
SettingsView demo_settings_view() {
    constexpr std::uint32_t alt = kShortcutAlt;
    const struct {
        Shortcut shortcut;
        bool unavailable;
    } rows[] = {
        {{0, VK_SNAPSHOT}, false}, {{0, VK_SCROLL}, false}, {{alt, 'B'}, false}, {{alt, 'A'}, false},
        {{alt, 'R'}, true},        {{alt, 'C'}, false},     {{alt, 'K'}, false},
    };
    SettingsView view;
    for (std::size_t i = 0; i < std::size(rows); ++i)
        view.rows[i] = optional_shortcut_key_caps(rows[i].shortcut, rows[i].unavailable ? 1 : 0, LANGUAGE_ENGLISH);
    return view;
}

SettingsPanel demo_settings_panel() {
    PointerSettings pointer;
    pointer.halo_size = 64;
    pointer.halo_opacity = 100;
    pointer.halo_thickness = 2;
    pointer.halo_softness = 60;
    pointer.spotlight_size = 240;
    pointer.spotlight_darkness = 60;
    pointer.magnifier_size = 240;
    pointer.magnifier_zoom = 2;
    constexpr std::uint32_t halo_colour = 255u | 211u << 8 | 64u << 16;
    return new_settings_panel(pointer, halo_colour, false, demo_settings_view(), LANGUAGE_ENGLISH);
}

struct SettingsPicture {
    const wchar_t* name;
    SettingsPage page;
    std::optional<ShortcutRecording> recording;
    std::optional<PanelSavedBefore> saved;
};

// The preview after 2.1 s of 16 ms frames: the trail and a click are in view.
constexpr std::uint64_t kPreviewFrameMs = 16;
constexpr std::uint64_t kPreviewFrames = 132;
constexpr std::uint64_t kSettingsPaintMs = 2100;

Status paint_settings_picture(SettingsPanel& panel, RendererResources& resources, const SettingsPicture& picture,
                              std::uint32_t width, std::uint32_t height) {
    show_settings_page(panel, picture.page);
    panel.editing_row.reset();
    if (picture.recording) panel.editing_row = static_cast<std::uint8_t>(picture.recording->row);
    panel.saved_before = picture.saved;
    for (std::uint64_t frame = 0; frame < kPreviewFrames; ++frame)
        (void)animate_pointer_preview(panel, frame * kPreviewFrameMs);
    return paint_and_save(
        width, height,
        [&](HDC dc) -> Status {
            ID2D1DCRenderTarget* target = resources.dc_target.get();
            const RECT whole{0, 0, static_cast<LONG>(width), static_cast<LONG>(height)};
            if (HRESULT hr = target->BindDC(dc, &whole); FAILED(hr)) return win::hr_failure(hr, "BindDC");
            target->BeginDraw();
            target->SetTransform(D2D1::Matrix3x2F::Identity());
            auto painter = make_painter(resources, target);
            const Status painted =
                painter ? paint_settings_page(panel, *painter, 1.0, kSettingsPaintMs,
                                              picture.recording ? &*picture.recording : nullptr)
                        : Status(painter.failure());
            const HRESULT ended = target->EndDraw();
            GLIM_TRY(painted);
            if (FAILED(ended)) return win::hr_failure(ended, "EndDraw");
            return ok_status();
        },
        win::join_path(kTarget, std::wstring(L"glimmerly-settings-") + picture.name + L".png"));
}

// Every page at the size of the largest page and pointer section, as the
// settings window sizes itself.
Status render_settings_pages(RendererResources& resources) {
    SettingsPanel panel = demo_settings_panel();
    GLIM_TRY(measure_settings_panel(panel, resources));
    const auto side = [](double length) {
        return static_cast<std::uint32_t>(std::clamp(std::ceil(length), 1.0, double(std::numeric_limits<std::int32_t>::max())));
    };
    const std::uint32_t width = side(panel.client_width), height = side(panel.client_height);

    const auto rectangle = static_cast<std::uint8_t>(ShortcutRow::Rectangle);
    const SettingsPicture pictures[] = {
        {L"general", SettingsPage::General, std::nullopt, std::nullopt},
        {L"shortcuts", SettingsPage::Shortcuts, std::nullopt, std::nullopt},
        {L"presentation", SettingsPage::Presentation, std::nullopt, std::nullopt},
        {L"pointer", SettingsPage::PointerEffects, std::nullopt, std::nullopt},
        {L"shortcuts-editing", SettingsPage::Shortcuts, ShortcutRecording{{"Alt"}, {}, ShortcutRow::Rectangle},
         std::nullopt},
        {L"shortcuts-saved", SettingsPage::Shortcuts, std::nullopt,
         PanelSavedBefore{optional_shortcut_key_caps(Shortcut{kShortcutAlt, 'R'}, 0, LANGUAGE_ENGLISH), rectangle}},
    };
    for (const SettingsPicture& picture : pictures)
        GLIM_TRY(paint_settings_picture(panel, resources, picture, width, height));
    return ok_status();
}

// The tray's shortcuts as a fresh install has them, every one registered;
// pointer effects and temporary shapes on.
ShortcutBindings demo_bindings() {
    ShortcutBindings bindings;
    bindings.shortcuts = {0x2C0000u, 0x910000u, 0x410001u, 0x520001u, 0x430001u, 0x420001u};
    bindings.language = LANGUAGE_AUTO;
    bindings.flags = {true, false, true, false, false, false};
    return bindings;
}

Status render_tray_states() {
    const ShortcutBindings bindings = demo_bindings();
    const PopupRowState nothing;
    PopupRowState recording;
    recording.recording = ShortcutRecording{{"Ctrl"}, {}, ShortcutRow::Arrow};
    PopupRowState key_hover;
    key_hover.hot_row = APP_COMMAND_EDIT_BOARD;
    key_hover.hot_part = kHotCaps;
    PopupRowState saved;
    saved.saved_row = APP_COMMAND_DRAW_ARROW + 1;
    const struct {
        const wchar_t* path;
        AppCommand hovered;
        const PopupRowState& rows;
    } states[] = {
        {L"target/glimmerly-menu.png", APP_COMMAND_SETTINGS, nothing},
        {L"target/glimmerly-menu-editing.png", 0, recording},
        {L"target/glimmerly-menu-hover-keys.png", APP_COMMAND_EDIT_BOARD, key_hover},
        {L"target/glimmerly-menu-saved.png", 0, saved},
    };
    for (const auto& state : states) {
        auto picture = paint_tray_popup(state.hovered, bindings, state.rows);
        if (!picture) return std::move(picture).failure();
        GLIM_TRY(save_demo_picture(*picture, state.path));
    }
    return ok_status();
}

}  // namespace

Status render_demo_pages() {
    GLIM_TRY(render_notices());
    {
        // The setup and settings pages draw through one pair of factories:
        // under Wine each factory costs a Direct3D device of its own. The
        // tray menu keeps a painter of its own for the thread's life.
        auto made = create_renderer_resources(true, false);
        if (!made) return std::move(made).failure();
        GLIM_TRY(render_setup_pages(**made));
        GLIM_TRY(render_settings_pages(**made));
    }
    return render_tray_states();
}

}  // namespace glimmerly
