#include "app/app/language.h"

#include "app/app/app.h"
#include "app/app/editor_process.h"
#include "app/lib/installer_language.h"
#include "app/lib/program_folders.h"
#include "app/lib/settings_store.h"
#include "app/lib/ui_language.h"
#include "app/settings/settings_window.h"
#include "app/win/paths.h"
#include "text/app_error.h"

namespace glimmerly {

Status change_language(App& app, HWND window, Language language) {
    Settings changed = app.settings;
    changed.language = language;
    if (app.keeps_settings) {
        auto path = settings_file_path();
        if (!path) return std::move(path).failure();
        if (Status saved = commit_settings_change_at(*path, changed); !saved) return settings_unsaved_error(saved.failure());
        // The user has now chosen: an installer's one-time choice must not override it at the next start.
        DeleteFileW(win::join_path(win::folder_of(*path), INSTALLER_LANGUAGE_FILE).c_str());
    }
    app.settings = std::move(changed);
    apply_ui_language(app.settings.language);
    const std::string_view tip = text_of(current_language(), TextId::tray_tooltip);
    if (app.icon_added) {
        modify_tray_icon(app.icon_data, tip);
    } else {
        const auto buffer = copy_to_tip_buffer(tip);
        std::copy(buffer.begin(), buffer.end(), app.icon_data.szTip);
    }
    restart_prepared_editor(app, window);
    // An open settings window takes the new texts, title and widths.
    return refresh_settings_window(app);
}

}  // namespace glimmerly
