#pragma once
// Loading and saving "settings.txt". Every write takes the settings lock,
// reads the file as it is now, changes only the writer's own fields and
// replaces the file atomically, so concurrent writers in several processes
// keep each other's changes. Nothing is cached between operations.
//
// Failures are texts (English for the format's refusals, the platform's for
// I/O, the busy lock's application error); the places that show them wrap
// them as "error.settings_unreadable" or "error.settings_unsaved".

#include <cstdint>
#include <string>

#include "core/base/result.h"
#include "core/settings/settings.h"
#include "core/settings/settings_patch.h"

namespace glimmerly {

// A missing file (or folder) gives the defaults.
Result<Settings> read_settings_file(const std::wstring& path);
Result<Settings> load_settings();

// Start-up could not read the settings: the interface switches to the
// user's language first, so that the message can be read at all.
Failure settings_unreadable_error(std::string detail);

// Reads the file again; on success replaces `settings` and applies its
// language. A failure is "error.settings_unreadable" and changes nothing.
Status reload_settings(Settings& settings);

// Checks the whole record by the reader's rules (a refusal writes nothing),
// creates the folder, and replaces the file with the version-21 text. The
// previous file stays whole on every failure and no temporary file is left.
Status save_settings_file(const Settings& settings, const std::wstring& path);

// Read, patch, save. Must be called with the lock held. A file that cannot
// be read is never overwritten.
Status update_settings_file(const std::wstring& path, const SettingsPatch& patch);

// update_settings_file under the lock.
Status patch_settings_file(const std::wstring& path, const SettingsPatch& patch);

// The capture editor's two values. A failure comes back as
// "error.settings_unsaved", ready to show; the caller keeps its values
// pending and tries again later.
Status save_editor_settings(std::uint32_t capture_stroke_width, std::uint32_t capture_eraser_size);

// The save dialog's folder and format.
Status save_session_choices(std::u16string folder, ImageFormat format);

// A record from the settings window or the menus: written whole, except the
// fields the editor, the board and the save dialog own, which keep the
// values the file holds now.
Status commit_settings_change(const Settings& settings);
Status commit_settings_change_at(const std::wstring& path, const Settings& settings);

// What a settings failure says in the current language, for use as the
// "detail" of the errors above.
std::string settings_failure_text(const Failure& failure);

}  // namespace glimmerly
