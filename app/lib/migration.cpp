#include "app/lib/migration.h"

#include "app/lib/folder_tree.h"
#include "app/lib/program_folders.h"
#include "app/lib/registry_names.h"
#include "app/win/owners.h"
#include "app/win/paths.h"

namespace glimmerly {
namespace {

void migrate_registry(const MigrationPlaces& places) {
    win::UniqueRegistryKey earlier;
    if (RegOpenKeyExW(places.root, places.earlier_key.c_str(), 0, KEY_READ, earlier.put()) != ERROR_SUCCESS) return;
    win::UniqueRegistryKey current;
    if (RegCreateKeyExW(places.root, places.current_key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, current.put(),
                        nullptr) != ERROR_SUCCESS)
        return;
    DWORD values = 0;
    if (RegQueryInfoKeyW(current.get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values, nullptr,
                         nullptr, nullptr, nullptr) != ERROR_SUCCESS)
        return;
    // Values of the current name win: the user has already run this version.
    if (values != 0) return;
    // A failed copy keeps the earlier tree: it is the only whole copy.
    if (RegCopyTreeW(earlier.get(), nullptr, current.get()) != ERROR_SUCCESS) return;
    earlier.reset();
    RegDeleteTreeW(places.root, places.earlier_key.c_str());
}

bool is_plain_folder(DWORD attributes) {
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) &&
           !(attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

void migrate_folder(const std::wstring& earlier, const std::wstring& current, FolderRename rename) {
    if (!is_plain_folder(GetFileAttributesW(earlier.c_str()))) return;
    const DWORD current_attributes = GetFileAttributesW(current.c_str());
    if (current_attributes != INVALID_FILE_ATTRIBUTES) {
        // Whatever stands there and holds anything is the current data.
        if (!is_plain_folder(current_attributes)) return;
        const auto empty = folder_is_empty(current);
        if (!empty || !*empty) return;
        if (!RemoveDirectoryW(current.c_str())) return;
    }
    if (!create_directories(win::folder_of(current))) return;
    if (rename(earlier, current)) return;
    // A rename fails when a file inside is in use or the folders lie on
    // different volumes; a copy may still succeed.
    if (copy_folder_into_place(earlier, current)) (void)remove_tree(earlier);
}

}  // namespace

bool rename_folder(const std::wstring& from, const std::wstring& to) {
    return MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
}

MigrationPlaces real_migration_places() {
    MigrationPlaces places{HKEY_CURRENT_USER, EARLIER_REGISTRY_KEY, REGISTRY_KEY, RUN_KEY, EARLIER_RUN_VALUE, {}, {},
                           &rename_folder};
    if (auto base = local_app_data_path()) {
        places.earlier_folder = win::join_path(*base, EARLIER_PROGRAM_FOLDER_NAME);
        places.current_folder = win::join_path(*base, PROGRAM_FOLDER_NAME);
    }
    return places;
}

void migrate_from_earlier_name() { migrate_from_earlier_name(real_migration_places()); }

void migrate_from_earlier_name(const MigrationPlaces& places) {
    migrate_registry(places);
    RegDeleteKeyValueW(places.root, places.run_key.c_str(), places.earlier_run_value.c_str());
    if (!places.earlier_folder.empty() && !places.current_folder.empty())
        migrate_folder(places.earlier_folder, places.current_folder, places.rename ? places.rename : &rename_folder);
}

}  // namespace glimmerly
