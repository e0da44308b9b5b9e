#pragma once
// Taking over the data of the product's earlier name (Brindlet): its
// registry key, its sign-in entry and its program folder. Runs at every
// start before the settings are first loaded, since the settings file may
// still lie in the earlier folder; it needs nothing of the settings.

#include <windows.h>

#include <string>

#include "core/base/result.h"

namespace glimmerly {

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
};

MigrationPlaces real_migration_places();

// Each step runs on its own; a failing step is skipped and nothing is
// reported. Earlier data is deleted only after it has been copied or moved
// whole.
void migrate_from_earlier_name();
void migrate_from_earlier_name(const MigrationPlaces& places);

}  // namespace glimmerly
