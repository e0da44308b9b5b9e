#pragma once
// Taking over the data of the product's earlier name (Brindlet): its
// registry key, its sign-in entry and its program folder. Runs at every
// start before the settings are first loaded, since the settings file may
// still lie in the earlier folder; it needs nothing of the settings.

#include <windows.h>

#include <string>

#include "core/base/result.h"

namespace glimmerly {

// Moves a folder in one step (MoveFileExW); false when the system refused.
using FolderRename = bool (*)(const std::wstring& from, const std::wstring& to);
bool rename_folder(const std::wstring& from, const std::wstring& to);

// Where the earlier and the current data live. The real places are under
// HKEY_CURRENT_USER and the local application data.
struct MigrationPlaces {
    HKEY root = HKEY_CURRENT_USER;
    std::wstring earlier_key;
    std::wstring current_key;
    std::wstring run_key;
    std::wstring earlier_run_value;
    // Empty when the local application data is unknown: no folder step.
    std::wstring earlier_folder;
    std::wstring current_folder;
    // Tests refuse it to reach the copy that Windows falls back to when a file
    // inside is in use; Wine renames such folders all the same.
    FolderRename rename = &rename_folder;
};

MigrationPlaces real_migration_places();

// Each step runs on its own; a failing step is skipped and nothing is
// reported. Earlier data is deleted only after it has been copied or moved
// whole.
void migrate_from_earlier_name();
void migrate_from_earlier_name(const MigrationPlaces& places);

}  // namespace glimmerly
