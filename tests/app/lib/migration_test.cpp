#include "app/lib/migration.h"

#include <gtest/gtest.h>

#include "app/lib/atomic_write.h"
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

// Keys of their own under HKCU and folders in a temporary folder, so that
// these tests never meet the real names or each other.
class MigrationTest : public ::testing::Test {
protected:
    void SetUp() override {
        GLIM_REQUIRE_PRIVATE_PREFIX();
        root_key_ = L"Software\\GlimmerlyTests\\" + unique_name(L"migration");
        places_ = MigrationPlaces{HKEY_CURRENT_USER,
                                  root_key_ + L"\\Brindlet",
                                  root_key_ + L"\\Glimmerly",
                                  root_key_ + L"\\Run",
                                  L"Brindlet",
                                  temp_.path() + L"\\AppData\\Brindlet",
                                  temp_.path() + L"\\AppData\\Glimmerly",
                                  &rename_folder};
    }
    void TearDown() override {
        if (!root_key_.empty()) delete_registry_tree(HKEY_CURRENT_USER, root_key_);
    }

    void make_earlier_folder() {
        ASSERT_TRUE(create_directories(places_.earlier_folder + L"\\board").ok());
        ASSERT_TRUE(write_test_file(places_.earlier_folder + L"\\settings.txt", "earlier settings"));
        ASSERT_TRUE(write_test_file(places_.earlier_folder + L"\\board\\page.txt", "earlier board"));
    }

    TempFolder temp_;
    std::wstring root_key_;
    MigrationPlaces places_;
};

TEST_F(MigrationTest, MovesTheEarlierKeyEntryAndFolderToTheCurrentName) {
    ASSERT_TRUE(set_registry_string(HKEY_CURRENT_USER, places_.earlier_key, L"Value", L"1"));
    ASSERT_TRUE(set_registry_string(HKEY_CURRENT_USER, places_.earlier_key + L"\\Sub", L"Deep", L"2"));
    ASSERT_TRUE(set_registry_string(HKEY_CURRENT_USER, places_.run_key, L"Brindlet", L"\"C:\\old.exe\""));
    ASSERT_TRUE(set_registry_string(HKEY_CURRENT_USER, places_.run_key, L"Other", L"other.exe"));
    make_earlier_folder();

    migrate_from_earlier_name(places_);

    EXPECT_EQ(registry_string(HKEY_CURRENT_USER, places_.current_key, L"Value"), L"1");
    EXPECT_EQ(registry_string(HKEY_CURRENT_USER, places_.current_key + L"\\Sub", L"Deep"), L"2");
    EXPECT_FALSE(registry_key_exists(HKEY_CURRENT_USER, places_.earlier_key));
    EXPECT_EQ(registry_string(HKEY_CURRENT_USER, places_.run_key, L"Brindlet"), std::nullopt);
    EXPECT_EQ(registry_string(HKEY_CURRENT_USER, places_.run_key, L"Other"), L"other.exe");
    EXPECT_EQ(read_test_file(places_.current_folder + L"\\settings.txt"), "earlier settings");
    EXPECT_EQ(read_test_file(places_.current_folder + L"\\board\\page.txt"), "earlier board");
    EXPECT_EQ(folder_names(temp_.path() + L"\\AppData"), Names{L"Glimmerly"});
}

TEST_F(MigrationTest, ACurrentKeyWithValuesWinsAndTheEarlierKeyStays) {
    ASSERT_TRUE(set_registry_string(HKEY_CURRENT_USER, places_.earlier_key, L"Value", L"earlier"));
    ASSERT_TRUE(set_registry_string(HKEY_CURRENT_USER, places_.current_key, L"Value", L"current"));
    migrate_from_earlier_name(places_);
    EXPECT_EQ(registry_string(HKEY_CURRENT_USER, places_.current_key, L"Value"), L"current");
    EXPECT_EQ(registry_string(HKEY_CURRENT_USER, places_.earlier_key, L"Value"), L"earlier");
}

TEST_F(MigrationTest, AnEmptyCurrentFolderIsReplacedByTheEarlierOne) {
    make_earlier_folder();
    ASSERT_TRUE(create_directories(places_.current_folder).ok());
    migrate_from_earlier_name(places_);
    EXPECT_EQ(read_test_file(places_.current_folder + L"\\settings.txt"), "earlier settings");
    EXPECT_FALSE(path_exists(places_.earlier_folder));
}

TEST_F(MigrationTest, ACurrentFolderHoldingAnythingLeavesBothFoldersAlone) {
    make_earlier_folder();
    ASSERT_TRUE(create_directories(places_.current_folder + L"\\board").ok());
    migrate_from_earlier_name(places_);
    EXPECT_EQ(folder_names(places_.current_folder), Names{L"board"});
    EXPECT_EQ(read_test_file(places_.earlier_folder + L"\\settings.txt"), "earlier settings");
}

bool refuse_rename(const std::wstring&, const std::wstring&) { return false; }

TEST_F(MigrationTest, WhenTheRenameIsRefusedTheFolderIsCopiedWholeThenRemoved) {
    make_earlier_folder();
    places_.rename = &refuse_rename;
    migrate_from_earlier_name(places_);
    EXPECT_EQ(read_test_file(places_.current_folder + L"\\settings.txt"), "earlier settings");
    EXPECT_EQ(read_test_file(places_.current_folder + L"\\board\\page.txt"), "earlier board");
    EXPECT_FALSE(path_exists(places_.earlier_folder));
    EXPECT_EQ(folder_names(temp_.path() + L"\\AppData"), Names{L"Glimmerly"});
}

TEST_F(MigrationTest, AFailedCopyKeepsTheEarlierFolderWhole) {
    make_earlier_folder();
    places_.rename = &refuse_rename;
    // The copy's staging place is taken by a file held open without sharing,
    // so the copy cannot even start.
    const std::wstring staging = temporary_path_for(places_.current_folder);
    ASSERT_TRUE(create_directories(temp_.path() + L"\\AppData").ok());
    win::UniqueHandle held(
        CreateFileW(staging.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(held);
    migrate_from_earlier_name(places_);
    held.reset();
    EXPECT_EQ(read_test_file(places_.earlier_folder + L"\\settings.txt"), "earlier settings");
    EXPECT_EQ(read_test_file(places_.earlier_folder + L"\\board\\page.txt"), "earlier board");
    EXPECT_FALSE(path_exists(places_.current_folder));
}

// The real names, start-up order: migration first, then the first load.
TEST(MigrationOfRealNames, RunsBeforeTheFirstLoadSoTheMovedSettingsAreRead) {
    GLIM_REQUIRE_PRIVATE_PREFIX();
    UserDataLock lock;
    auto base = local_app_data_path();
    ASSERT_TRUE(base.ok()) << base.failure().message;
    const std::wstring earlier_folder = *base + L"\\Brindlet";
    const std::wstring current_folder = *base + L"\\Glimmerly";
    const auto clean = [&] {
        delete_registry_tree(HKEY_CURRENT_USER, EARLIER_REGISTRY_KEY);
        delete_registry_tree(HKEY_CURRENT_USER, REGISTRY_KEY);
        RegDeleteKeyValueW(HKEY_CURRENT_USER, RUN_KEY, EARLIER_RUN_VALUE);
        (void)remove_tree(earlier_folder);
        (void)remove_tree(current_folder);
    };
    clean();

    Settings earlier;
    earlier.language = 5;
    earlier.capture_stroke_width = 17;
    std::string text = format_settings(earlier);
    text.replace(0, std::string_view("glimmerly-settings-").size(), "brindlet-settings-");
    ASSERT_TRUE(create_directories(earlier_folder).ok());
    ASSERT_TRUE(write_test_file(earlier_folder + L"\\settings.txt", text));
    ASSERT_TRUE(set_registry_string(HKEY_CURRENT_USER, EARLIER_REGISTRY_KEY, L"SnippingPrintScreenBefore", L"1"));
    ASSERT_TRUE(set_registry_string(HKEY_CURRENT_USER, RUN_KEY, EARLIER_RUN_VALUE, L"\"C:\\brindlet.exe\""));

    migrate_from_earlier_name();
    auto loaded = load_settings();

    ASSERT_TRUE(loaded.ok()) << loaded.failure().message;
    EXPECT_EQ(*loaded, earlier);
    EXPECT_EQ(registry_string(HKEY_CURRENT_USER, REGISTRY_KEY, L"SnippingPrintScreenBefore"), L"1");
    EXPECT_FALSE(registry_key_exists(HKEY_CURRENT_USER, EARLIER_REGISTRY_KEY));
    EXPECT_EQ(registry_string(HKEY_CURRENT_USER, RUN_KEY, EARLIER_RUN_VALUE), std::nullopt);
    EXPECT_FALSE(path_exists(earlier_folder));
    clean();
}

}  // namespace
}  // namespace glimmerly
