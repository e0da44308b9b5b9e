#include "app/demo/demo_pages.h"

#include <windows.h>

#include <functional>
#include <limits>
#include <string>

#include "app/app/notice.h"
#include "app/app/popup_paint.h"
#include "app/app/setup.h"
#include "app/demo/demo_surface.h"
#include "app/win/failure.h"
#include "app/win/paths.h"
#include "core/base/shortcut.h"
#include "core/menu/app_command.h"
#include "core/menu/popup_rows.h"
#include "core/notice/notice_layout.h"
#include "core/shortcuts/shortcut_setup.h"
#include "text/text_table.h"

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

Status render_setup_pages() {
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
    GLIM_TRY(render_setup_pages());
    // The six settings pages come here, between the setup pages and the
    // tray, once the settings window paints its pages.
    return render_tray_states();
}

}  // namespace glimmerly
