#include "app/lib/migration.h"

#include <gtest/gtest.h>

#include "app/lib/folder_tree.h"
#include "app/lib/registry_names.h"
#include "app/lib/settings_store.h"
#include "core/settings/settings_file.h"
#include "app/win/paths.h"
#include "tests/app/support/files.h"
#include "tests/app/support/private_prefix.h"
#include "tests/app/support/registry.h"

namespace glimmerly {
namespace {

using namespace testing_support;
using win::folder_of;

bool refuse_rename(const std::wstring&, const std::wstring&) { return false; }

// The real names, in the private prefix only; no earlier or current data
// before each test or after it.
class Migration : public ::testing::Test {
protected:
    void SetUp() override {
        GLIM_REQUIRE_PRIVATE_PREFIX();
        lock_.emplace();
        clean();
    }
    void TearDown() override {
        if (lock_) clean();
    }
    void clean() {
        delete_registry_tree(HKEY_CURRENT_USER, EARLIER_REGISTRY_KEY);
        delete_registry_tree(HKEY_CURRENT_USER, REGISTRY_KEY);
        RegDeleteKeyValueW(HKEY_CURRENT_USER, RUN_KEY, EARLIER_RUN_VALUE);
        ASSERT_TRUE(remove_tree(places_.earlier_folder).ok() && remove_tree(places_.current_folder).ok());
    }
    // An earlier folder with its settings file (holding German) and a board page.
    void make_earlier_folder() {
        Settings earlier;
        earlier.language = 5;
        std::string text = format_settings(earlier);
        text.replace(0, std::string_view("glimmerly-settings-").size(), "brindlet-settings-");
        ASSERT_TRUE(create_directories(places_.earlier_folder + L"\\board").ok());
        ASSERT_TRUE(write_test_file(places_.earlier_folder + L"\\settings.txt", text));
        ASSERT_TRUE(write_test_file(places_.earlier_folder + L"\\board\\page.txt", "earlier board"));
    }
    void expect_earlier_data_in(const std::wstring& folder) {
        EXPECT_EQ(read_settings_file(folder + L"\\settings.txt").value_or(Settings{}).language, 5);
        EXPECT_EQ(read_test_file(folder + L"\\board\\page.txt"), "earlier board");
    }

    std::optional<UserDataLock> lock_;
    MigrationPlaces places_ = real_migration_places();
};

TEST_F(Migration, MovesKeyEntryAndFolderBeforeTheFirstLoadReadsThem) {
    make_earlier_folder();
    ASSERT_TRUE(set_registry_string(HKEY_CURRENT_USER, std::wstring(EARLIER_REGISTRY_KEY) + L"\\Sub", L"Deep", L"1"));
    ASSERT_TRUE(set_registry_string(HKEY_CURRENT_USER, RUN_KEY, EARLIER_RUN_VALUE, L"\"C:\\brindlet.exe\""));
    migrate_from_earlier_name();
    EXPECT_EQ(load_settings().value_or(Settings{}).language, 5);
    EXPECT_EQ(registry_string(HKEY_CURRENT_USER, std::wstring(REGISTRY_KEY) + L"\\Sub", L"Deep"), L"1");
    EXPECT_FALSE(registry_key_exists(HKEY_CURRENT_USER, EARLIER_REGISTRY_KEY));
    EXPECT_EQ(registry_string(HKEY_CURRENT_USER, RUN_KEY, EARLIER_RUN_VALUE), std::nullopt);
    EXPECT_FALSE(path_exists(places_.earlier_folder));
}

TEST_F(Migration, ACurrentKeyWithValuesWinsAndTheEarlierKeyStays) {
    ASSERT_TRUE(set_registry_string(HKEY_CURRENT_USER, EARLIER_REGISTRY_KEY, L"Value", L"earlier"));
    ASSERT_TRUE(set_registry_string(HKEY_CURRENT_USER, REGISTRY_KEY, L"Value", L"current"));
    migrate_from_earlier_name();
    EXPECT_EQ(registry_string(HKEY_CURRENT_USER, REGISTRY_KEY, L"Value"), L"current");
    EXPECT_EQ(registry_string(HKEY_CURRENT_USER, EARLIER_REGISTRY_KEY, L"Value"), L"earlier");
}

TEST_F(Migration, TheEarlierFolderMovesWholeOrStaysWhole) {
    using Names = std::set<std::wstring>;
    enum class Current { None, Empty, HoldingAnything };
    struct Row { const char* name; Current current; bool refuse_rename, copy_fails; Names after; };
    const Row rows[] = {
        {"an empty current folder is replaced", Current::Empty, false, false, {L"Glimmerly"}},
        {"a current folder holding anything wins", Current::HoldingAnything, false, false, {L"Brindlet", L"Glimmerly"}},
        {"a refused rename falls back to a copy", Current::None, true, false, {L"Glimmerly"}},
        {"a failed copy keeps the earlier folder", Current::None, true, true, {L"Brindlet"}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        clean();
        make_earlier_folder();
        ASSERT_TRUE(row.current == Current::None || create_directories(places_.current_folder).ok());
        ASSERT_TRUE(row.current != Current::HoldingAnything || write_test_file(places_.current_folder + L"\\x", ""));
        places_.rename = row.refuse_rename ? &refuse_rename : &rename_folder;
        win::UniqueFileHandle held(row.copy_fails ? CreateFileW((places_.earlier_folder + L"\\board\\page.txt").c_str(),
                                                                GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr)
                                                  : INVALID_HANDLE_VALUE);
        migrate_from_earlier_name(places_);
        held.reset();
        expect_earlier_data_in(row.after.contains(L"Brindlet") ? places_.earlier_folder : places_.current_folder);
        // Nothing half-copied is left beside them, under any name.
        Names ours;
        for (const std::wstring& name : folder_names(folder_of(places_.current_folder)))
            if (name.starts_with(L"Glimmerly") || name.starts_with(L"Brindlet")) ours.insert(name);
        EXPECT_EQ(ours, row.after);
    }
}

}  // namespace
}  // namespace glimmerly
