#include "app/lib/migration.h"

#include <gtest/gtest.h>

#include "app/lib/folder_tree.h"
#include "app/lib/program_folders.h"
#include "app/lib/registry_names.h"
#include "app/lib/settings_store.h"
#include "core/settings/settings_file.h"
#include "tests/app/support/child_process.h"
#include "tests/app/support/files.h"
#include "tests/app/support/private_prefix.h"
#include "tests/app/support/registry.h"
#include "tests/app/support/temp_folder.h"

namespace glimmerly {
namespace {

using namespace testing_support;
using Names = std::set<std::wstring>;

void make_earlier_folder(const std::wstring& folder) {
    ASSERT_TRUE(create_directories(folder + L"\\board").ok());
    ASSERT_TRUE(write_test_file(folder + L"\\settings.txt", "earlier settings"));
    ASSERT_TRUE(write_test_file(folder + L"\\board\\page.txt", "earlier board"));
}

void expect_earlier_data(const std::wstring& folder) {
    EXPECT_EQ(read_test_file(folder + L"\\settings.txt"), "earlier settings");
    EXPECT_EQ(read_test_file(folder + L"\\board\\page.txt"), "earlier board");
}

bool refuse_rename(const std::wstring&, const std::wstring&) { return false; }

// Keys of their own under HKCU and folders in a temporary folder, so that
// these tests never meet the real names or each other.
class MigrationTest : public ::testing::Test {
protected:
    void SetUp() override {
        GLIM_REQUIRE_PRIVATE_PREFIX();
        root_key_ = L"Software\\GlimmerlyTests\\" + unique_name(L"migration");
        places_ = MigrationPlaces{HKEY_CURRENT_USER,         root_key_ + L"\\Brindlet", root_key_ + L"\\Glimmerly",
                                  root_key_ + L"\\Run",      L"Brindlet",               app_data_ + L"\\Brindlet",
                                  app_data_ + L"\\Glimmerly", &rename_folder};
    }
    void TearDown() override {
        if (!root_key_.empty()) delete_registry_tree(HKEY_CURRENT_USER, root_key_);
    }

    TempFolder temp_;
    const std::wstring app_data_ = temp_.path() + L"\\AppData";
    std::wstring root_key_;
    MigrationPlaces places_;
};

TEST_F(MigrationTest, ACurrentKeyWithValuesWinsAndTheEarlierKeyStays) {
    ASSERT_TRUE(set_registry_string(HKEY_CURRENT_USER, places_.earlier_key, L"Value", L"earlier"));
    ASSERT_TRUE(set_registry_string(HKEY_CURRENT_USER, places_.current_key, L"Value", L"current"));
    migrate_from_earlier_name(places_);
    EXPECT_EQ(registry_string(HKEY_CURRENT_USER, places_.current_key, L"Value"), L"current");
    EXPECT_EQ(registry_string(HKEY_CURRENT_USER, places_.earlier_key, L"Value"), L"earlier");
}

TEST_F(MigrationTest, TheEarlierFolderMovesWholeOrStaysWhole) {
    enum class Current { None, Empty, HoldingAnything };
    struct Row { const char* name; Current current; bool refuse_rename, copy_fails; Names after; };
    const Row rows[] = {
        {"no current folder", Current::None, false, false, {L"Glimmerly"}},
        {"an empty current folder is replaced", Current::Empty, false, false, {L"Glimmerly"}},
        {"a current folder holding anything wins", Current::HoldingAnything, false, false, {L"Brindlet", L"Glimmerly"}},
        {"a refused rename falls back to a copy", Current::None, true, false, {L"Glimmerly"}},
        {"a failed copy keeps the earlier folder", Current::None, true, true, {L"Brindlet"}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        ASSERT_TRUE(remove_tree(app_data_).ok());
        make_earlier_folder(places_.earlier_folder);
        ASSERT_TRUE(row.current == Current::None || create_directories(places_.current_folder).ok());
        ASSERT_TRUE(row.current != Current::HoldingAnything || write_test_file(places_.current_folder + L"\\x", ""));
        places_.rename = row.refuse_rename ? &refuse_rename : &rename_folder;
        win::UniqueFileHandle held(row.copy_fails ? CreateFileW((places_.earlier_folder + L"\\board\\page.txt").c_str(),
                                                                GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr)
                                                  : INVALID_HANDLE_VALUE);
        migrate_from_earlier_name(places_);
        held.reset();
        EXPECT_EQ(folder_names(app_data_), row.after);
        expect_earlier_data(row.after.contains(L"Brindlet") ? places_.earlier_folder : places_.current_folder);
    }
}

// The real names, in start-up order: migration first, then the first load.
TEST(MigrationOfRealNames, MovesKeyEntryAndFolderBeforeTheFirstLoadReadsThem) {
    GLIM_REQUIRE_PRIVATE_PREFIX();
    UserDataLock lock;
    auto base = local_app_data_path();
    ASSERT_TRUE(base.ok()) << base.failure().message;
    const std::wstring earlier_folder = *base + L"\\Brindlet";
    const auto clean = [&] {
        delete_registry_tree(HKEY_CURRENT_USER, EARLIER_REGISTRY_KEY);
        delete_registry_tree(HKEY_CURRENT_USER, REGISTRY_KEY);
        RegDeleteKeyValueW(HKEY_CURRENT_USER, RUN_KEY, EARLIER_RUN_VALUE);
        (void)remove_tree(earlier_folder);
        (void)remove_tree(*base + L"\\Glimmerly");
    };
    clean();
    Settings earlier;
    earlier.language = 5;
    std::string text = format_settings(earlier);
    text.replace(0, std::string_view("glimmerly-settings-").size(), "brindlet-settings-");
    ASSERT_TRUE(create_directories(earlier_folder).ok());
    ASSERT_TRUE(write_test_file(earlier_folder + L"\\settings.txt", text));
    ASSERT_TRUE(set_registry_string(HKEY_CURRENT_USER, std::wstring(EARLIER_REGISTRY_KEY) + L"\\Sub", L"Deep", L"1"));
    ASSERT_TRUE(set_registry_string(HKEY_CURRENT_USER, RUN_KEY, EARLIER_RUN_VALUE, L"\"C:\\brindlet.exe\""));

    migrate_from_earlier_name();

    EXPECT_EQ(load_settings().value_or(Settings{}), earlier);
    EXPECT_EQ(registry_string(HKEY_CURRENT_USER, std::wstring(REGISTRY_KEY) + L"\\Sub", L"Deep"), L"1");
    EXPECT_FALSE(registry_key_exists(HKEY_CURRENT_USER, EARLIER_REGISTRY_KEY));
    EXPECT_EQ(registry_string(HKEY_CURRENT_USER, RUN_KEY, EARLIER_RUN_VALUE), std::nullopt);
    EXPECT_FALSE(path_exists(earlier_folder));
    clean();
}

}  // namespace
}  // namespace glimmerly
