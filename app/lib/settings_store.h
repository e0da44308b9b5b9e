#pragma once
// Loading and saving "settings.txt". Every write takes the settings lock,
// reads the file as it is now, changes only the writer's own fields and
// replaces the file atomically, so concurrent writers in several processes
// keep each other's changes. Nothing is cached between operations.
//
// Failures keep their codes (the format's refusals E_FAIL or E_INVALIDARG
// with English words, the platform's I/O failures their HRESULT, the busy
// lock its application error); the places that show them wrap them as
// "error.settings_unreadable" or "error.settings_unsaved", which keep the
// code as well (cause_code).

#include <cstdint>
#include <string>

#include "core/base/result.h"
#include "core/settings/settings.h"
#include "core/settings/settings_patch.h"

namespace glimmerly {

// A missing file (or folder) gives the defaults, but a folder on its way
// that is a file is a failure naming it. A file another program holds
// without sharing is read once it lets go; held for longer than about 2 s,
// it is "error.settings_in_use" with its path, keeping the platform's code.
Result<Settings> read_settings_file(const std::wstring& path);
Result<Settings> load_settings();

// "Unsupported or damaged settings...", reporting why the file was not read;
// a file in use keeps its own words.
Failure settings_unreadable_error(const Failure& cause);

// The first load at start-up. When it fails, the interface switches to the
// user's own language before the failure (settings_unreadable_error) comes
// back, so that the message can be read at all; the file is left untouched.
Result<Settings> load_settings_at_start();

// Reads the file again; on success replaces `settings` and applies its
// language. A failure is settings_unreadable_error and changes nothing.
Status reload_settings(Settings& settings);

// Checks the whole record by the reader's rules (a refusal writes nothing),
// creates the folder, and replaces the file with the version-21 text. The
// previous file stays whole on every failure and no temporary file is left.
// A file another program holds open is replaced once it lets go; held for
// longer than about 2 s, the save is "error.settings_in_use".
Status save_settings_file(const Settings& settings, const std::wstring& path);

// Read, patch, save. Must be called with the lock held. A file that cannot
// be read is never overwritten.
Status update_settings_file(const std::wstring& path, const SettingsPatch& patch);

// update_settings_file under the lock.
Status patch_settings_file(const std::wstring& path, const SettingsPatch& patch);

// The capture editor's two values. A failure comes back as
// settings_unsaved_error, ready to show; the caller keeps its values
// pending and tries again later.
Status save_editor_settings(std::uint32_t capture_stroke_width, std::uint32_t capture_eraser_size);

// The save dialog's folder and format.
Status save_session_choices(std::u16string folder, ImageFormat format);

// A record from the settings window or the menus: written whole, except the
// fields the editor, the board and the save dialog own, which keep the
// values the file holds now.
Status commit_settings_change(const Settings& settings);
Status commit_settings_change_at(const std::wstring& path, const Settings& settings);

}  // namespace glimmerly
