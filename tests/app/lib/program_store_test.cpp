// The store and folders at their real places: the program folder under the
// local application data of the test's private prefix.

#include <gtest/gtest.h>

#include "app/lib/folder_tree.h"
#include "app/lib/program_folders.h"
#include "app/lib/settings_store.h"
#include "app/lib/ui_language.h"
#include "app/win/failure.h"
#include "tests/app/support/files.h"
#include "tests/app/support/private_prefix.h"
#include "tests/core/settings/settings_test_support.h"
#include "text/app_error.h"

namespace glimmerly {
namespace {

using namespace testing_support;

class ProgramFolderTest : public ::testing::Test {
protected:
    void SetUp() override {
        GLIM_REQUIRE_PRIVATE_PREFIX();
        lock_.emplace();
        auto folder = program_folder_path();
        ASSERT_TRUE(folder.ok()) << folder.failure().message;
        folder_ = *folder;
        ASSERT_TRUE(remove_tree(folder_).ok());
    }
    void TearDown() override {
        if (!folder_.empty()) (void)remove_tree(folder_);
        set_current_language(LANGUAGE_ENGLISH);
    }
    void damage_settings() {
        ASSERT_TRUE(create_directories(folder_).ok());
        ASSERT_TRUE(write_test_file(folder_ + L"\\settings.txt", "glimmerly-settings-21\n"));
    }

    std::optional<UserDataLock> lock_;
    std::wstring folder_;
};

TEST_F(ProgramFolderTest, LivesUnderTheLocalApplicationData) {
    EXPECT_EQ(folder_, local_app_data_path().value_or(L"") + L"\\Glimmerly");
    EXPECT_EQ(settings_file_path().value_or(L""), folder_ + L"\\settings.txt");
    EXPECT_FALSE(path_exists(folder_ + L"\\board"));
    EXPECT_EQ(ensure_board_dir().value_or(L""), folder_ + L"\\board");
    EXPECT_TRUE(path_exists(folder_ + L"\\board"));
}

TEST_F(ProgramFolderTest, WritersCreateTheFolderAndKeepEachOthersFields) {
    ASSERT_TRUE(save_editor_settings(9, 30).ok());
    ASSERT_TRUE(save_session_choices(u"E:\\pictures", SAVE_FORMAT_JPEG).ok());
    Settings window;
    window.obs_mirror = true;
    ASSERT_TRUE(commit_settings_change(window).ok());

    Settings expected = window;
    expected.capture_stroke_width = 9;
    expected.capture_eraser_size = 30;
    expected.save_folder = u"E:\\pictures";
    expected.save_format = SAVE_FORMAT_JPEG;
    EXPECT_EQ(load_settings().value_or(Settings{}), expected);
    EXPECT_EQ(folder_names(folder_), std::set<std::wstring>{L"settings.txt"});
}

TEST_F(ProgramFolderTest, AFailedEditorSaveIsReadyToShowAndKeepsItsCause) {
    ASSERT_TRUE(save_editor_settings(9, 30).ok());
    {
        // Open without delete sharing: the file cannot be replaced.
        win::UniqueFileHandle reader(CreateFileW((folder_ + L"\\settings.txt").c_str(), GENERIC_READ, FILE_SHARE_READ,
                                                 nullptr, OPEN_EXISTING, 0, nullptr));
        const Status denied = save_editor_settings(10, 30);
        ASSERT_FALSE(denied.ok());
        EXPECT_EQ(cause_code(denied.failure()), hresult_from_win32(ERROR_ACCESS_DENIED));
        EXPECT_TRUE(error_to_text(denied.failure(), LANGUAGE_ENGLISH).starts_with("Could not save settings: MoveFileExW"));
    }
    damage_settings();
    const Status damaged = save_editor_settings(9, 30);
    EXPECT_EQ(error_to_text(damaged.failure(), LANGUAGE_ENGLISH),
              "Could not save settings: unsupported settings: 1 fields for this version");
    EXPECT_EQ(cause_code(damaged.failure()), E_FAIL_CODE);
}

TEST_F(ProgramFolderTest, ReloadReplacesTheRecordAndItsLanguageOrChangesNothing) {
    Settings stored = varied_settings();
    stored.language = 5;
    ASSERT_TRUE(save_settings_file(stored, folder_ + L"\\settings.txt").ok());
    Settings current;
    ASSERT_TRUE(reload_settings(current).ok());
    EXPECT_EQ(current, stored);
    EXPECT_EQ(current_language(), 5);

    damage_settings();
    set_current_language(7);
    const Status reloaded = reload_settings(current);
    EXPECT_EQ(error_to_text(reloaded.failure(), LANGUAGE_ENGLISH),
              "Unsupported or damaged settings. The original file was preserved.\n"
              "unsupported settings: 1 fields for this version");
    EXPECT_EQ(current, stored);
    EXPECT_EQ(current_language(), 7);
}

TEST_F(ProgramFolderTest, AnUnreadableFileAtStartIsReportedInTheUsersLanguage) {
    apply_ui_language(LANGUAGE_AUTO);
    const Language users = current_language();
    set_current_language(users == 5 ? 7 : 5);
    damage_settings();
    auto loaded = load_settings_at_start();
    ASSERT_FALSE(loaded.ok());
    EXPECT_EQ(current_language(), users);
    EXPECT_EQ(parse_app_error(loaded.failure())->text, TextId::error_settings_unreadable);
}

}  // namespace
}  // namespace glimmerly
