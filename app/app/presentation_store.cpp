#include "app/app/presentation_store.h"

#include "app/lib/program_folders.h"
#include "app/lib/settings_store.h"
#include "core/settings/settings_patch.h"
#include "text/app_error.h"

namespace glimmerly {

Result<bool> store_presentation_settings(App& app, std::uint32_t stroke_width,
                                         const std::optional<InputDisplayOffset>& placement) {
    const SettingsPatch patch{.presentation_stroke_width = stroke_width, .input_display_offset = placement};
    if (!app.keeps_settings) {
        apply_settings_patch(app.settings, patch);
        return false;
    }
    auto path = settings_file_path();
    if (!path) return settings_unsaved_error(path.failure());
    if (Status patched = patch_settings_file(*path, patch); !patched) return settings_unsaved_error(patched.failure());
    Settings reloaded = app.settings;
    GLIM_TRY(reload_settings(reloaded));
    app.settings = std::move(reloaded);
    return true;
}

Status store_presentation_changes(App& app) {
    if (!app.presentation) return ok_status();
    std::uint32_t width = 0;
    std::optional<InputDisplayOffset> placement;
    {
        auto state = app.presentation->try_borrow();
        if (!state) return ok_status();
        width = state->shape_width;
        placement = state->input_display_offset;
    }
    auto stored = store_presentation_settings(app, width, placement);
    if (!stored) return std::move(stored).failure();
    return ok_status();
}

}  // namespace glimmerly
