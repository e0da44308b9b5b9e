#include "app/app/settings_timers.h"

#include <utility>

#include "app/app/app.h"
#include "app/app/messages.h"
#include "app/lib/program_folders.h"
#include "app/lib/settings_store.h"
#include "text/app_error.h"

namespace glimmerly {
namespace {

Status save_pending(App& app) {
    const ToolSizes pending = *app.tool_sizes.pending;
    GLIM_TRY(save_editor_settings(pending.stroke_width, pending.eraser_size));
    tool_sizes_saved(app.tool_sizes);
    return ok_status();
}

// True when the sizes differ from the remembered pair and are now pending.
bool note_session_sizes(App& app, const std::optional<SessionToolSizes>& sizes) {
    if (!sizes || !app.keeps_settings) return false;
    const auto remembered = tool_sizes_to_remember(sizes->stroke_width, sizes->eraser_size, sizes->scale);
    return remembered && note_tool_sizes(app.tool_sizes, *remembered, GetTickCount64());
}

}  // namespace

Status schedule_tool_size_save(App& app, HWND window, const std::optional<SessionToolSizes>& sizes) {
    if (!note_session_sizes(app, sizes)) return ok_status();
    if (SetTimer(window, TIMER_SETTINGS_SAVE, kToolSizeSaveDelayMs, nullptr)) return ok_status();
    return save_pending(app);
}

Status save_tool_sizes_now(App& app, HWND window, const std::optional<SessionToolSizes>& sizes) {
    KillTimer(window, TIMER_SETTINGS_SAVE);
    (void)note_session_sizes(app, sizes);
    if (!app.tool_sizes.pending) return ok_status();
    return save_pending(app);
}

Status run_settings_save_timer(App& app, HWND window) {
    KillTimer(window, TIMER_SETTINGS_SAVE);
    const SaveTimerStep step = settings_save_timer_step(app.tool_sizes, GetTickCount64());
    if (step.kind == SaveTimerStep::Kind::Idle) return ok_status();
    if (step.kind == SaveTimerStep::Kind::Wait && SetTimer(window, TIMER_SETTINGS_SAVE, step.wait_ms, nullptr))
        return ok_status();
    return save_pending(app);
}

Status store_custom_colour(App& app, EditorState& state) {
    if (!std::exchange(state.custom_colour_changed, false)) return ok_status();
    app.settings.custom_color = state.custom_colour;
    if (!app.keeps_settings) return ok_status();
    auto path = settings_file_path();
    if (!path) return settings_unsaved_error(path.failure());
    Status stored = patch_settings_file(*path, SettingsPatch{.custom_color = state.custom_colour});
    if (!stored) return settings_unsaved_error(stored.failure());
    return ok_status();
}

Status store_editor_choices(App& app, const EditorState& state) {
    SettingsPatch patch;
    // The hint has done its work once a wheel step acted on it.
    if (!app.settings.wheel_hint && !state.wheel_hint_shown) patch.wheel_hint = true;
    const bool folded = !state.more_tools_expanded;
    if (state.more_tools_setting && folded != app.settings.mini_toolbar_folded) patch.mini_toolbar_folded = folded;
    if (!patch.wheel_hint && !patch.mini_toolbar_folded) return ok_status();
    if (app.keeps_settings) {
        auto path = settings_file_path();
        if (!path) return settings_unsaved_error(path.failure());
        if (Status stored = patch_settings_file(*path, patch); !stored) return settings_unsaved_error(stored.failure());
    }
    apply_settings_patch(app.settings, patch);
    return ok_status();
}

Status store_board_visibility(bool visible) {
    auto path = settings_file_path();
    if (!path) return std::move(path).failure();
    return patch_settings_file(*path, SettingsPatch{.board_visible = visible});
}

Status set_board_visibility(App& app, bool visible) {
    if (app.keeps_settings)
        if (Status stored = store_board_visibility(visible); !stored) return settings_unsaved_error(stored.failure());
    app.settings.board_visible = visible;
    return ok_status();
}

}  // namespace glimmerly
