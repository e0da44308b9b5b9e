#include "app/lib/settings_store.h"

#include <gtest/gtest.h>

#include <windows.h>

#include "app/lib/folder_tree.h"
#include "app/lib/program_folders.h"
#include "app/lib/settings_lock.h"
#include "app/lib/ui_language.h"
#include "app/win/file_io.h"
#include "app/win/owners.h"
#include "tests/app/support/child_process.h"
#include "tests/app/support/files.h"
#include "tests/app/support/private_prefix.h"
#include "tests/app/support/temp_folder.h"
#include "tests/core/settings/settings_test_support.h"
#include "text/app_error.h"

namespace glimmerly {
namespace {

using namespace testing_support;
using Names = std::set<std::wstring>;

constexpr std::uint32_t kPatchRounds = 60;

// The values each writer stores in a round, all within what the file holds.
std::uint32_t stroke_width_of(std::uint32_t round) { return 1 + round % 40; }
std::u16string shots_folder(std::uint32_t round) {
    const std::string folder = "D:\\shots\\" + std::to_string(round);
    return std::u16string(folder.begin(), folder.end());
}

// args: settings path, start event, "editor" or "dialog". Stores the capture
// editor's two values or the save dialog's folder and format, round after
// round. Before each round it must find its last values still in the file:
// a write of the other process that lost them fails the child there.
GLIM_TEST_CHILD(PatchOwnedFields) {
    win::UniqueHandle start(OpenEventW(SYNCHRONIZE, FALSE, args.at(1).c_str()));
    if (!start || WaitForSingleObject(start.get(), 30000) != WAIT_OBJECT_0) return 2;
    const bool editor = args.at(2) == L"editor";
    for (std::uint32_t round = 1; round <= kPatchRounds; ++round) {
        if (round > 1) {
            auto lock = lock_settings_write();
            auto stored = read_settings_file(args.at(0));
            if (!lock || !stored) return 4;
            if (editor ? stored->capture_stroke_width != stroke_width_of(round - 1)
                       : stored->save_folder != shots_folder(round - 1))
                return 5;
        }
        const SettingsPatch patch =
            editor ? SettingsPatch{.capture_stroke_width = stroke_width_of(round), .capture_eraser_size = 4 + round}
                   : SettingsPatch{.save_choice = SaveChoice{shots_folder(round), static_cast<std::uint8_t>(round % 2)}};
        if (!patch_settings_file(args.at(0), patch)) return 3;
    }
    return 0;
}

// A temporary folder, its settings file holding the varied record.
class SettingsStore : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(save_settings_file(varied_settings(), path_).ok());
        before_ = read_test_file(path_);
    }
    // The folder holds the settings file alone, as it was.
    void expect_untouched() const {
        EXPECT_EQ(folder_names(folder_.path()), Names{L"settings.txt"});
        EXPECT_EQ(read_test_file(path_), before_);
    }

    TempFolder folder_;
    const std::wstring path_ = folder_.path() + L"\\settings.txt";
    std::optional<std::string> before_;
};

TEST_F(SettingsStore, TwoProcessesPatchingDifferentFieldsBothKeepTheirChanges) {
    const std::wstring start_name = unique_name(L"Glimmerly.Test.Start");
    win::UniqueHandle start(CreateEventW(nullptr, TRUE, FALSE, start_name.c_str()));
    auto editor = start_child(L"PatchOwnedFields", {path_, start_name, L"editor"});
    auto dialog = start_child(L"PatchOwnedFields", {path_, start_name, L"dialog"});
    ASSERT_TRUE(editor.ok() && dialog.ok());
    SetEvent(start.get());
    EXPECT_EQ(wait_for_exit(*editor, 120000), 0);
    EXPECT_EQ(wait_for_exit(*dialog, 120000), 0);

    Settings expected = varied_settings();
    expected.capture_stroke_width = stroke_width_of(kPatchRounds);
    expected.capture_eraser_size = 4 + kPatchRounds;
    expected.save_folder = shots_folder(kPatchRounds);
    expected.save_format = kPatchRounds % 2;
    EXPECT_EQ(read_settings_file(path_).value_or(Settings{}), expected);
    EXPECT_EQ(folder_names(folder_.path()), Names{L"settings.txt"});
}

TEST_F(SettingsStore, ARefusedRecordOrAnUnreadableFileIsNeverWritten) {
    Settings refused = varied_settings();
    refused.shape_shortcuts[SHAPE_RECTANGLE] = refused.shape_shortcuts[SHAPE_ARROW];
    EXPECT_EQ(save_settings_file(refused, path_).failure().message, "refused shortcut (setup.duplicate_shape)");
    expect_untouched();

    ASSERT_TRUE(write_test_file(path_, "glimmerly-settings-99\n"));
    before_ = read_test_file(path_);
    const Status patched = patch_settings_file(path_, SettingsPatch{.capture_stroke_width = 5u});
    EXPECT_EQ(patched.failure().message, "unsupported settings: 1 fields for this version");
    EXPECT_FALSE(commit_settings_change_at(path_, Settings{}).ok());
    expect_untouched();
}

// The store at its real place: the program folder under the local
// application data of the private prefix.
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
    const std::string kDamaged = "unsupported settings: 1 fields for this version";

    std::optional<UserDataLock> lock_;
    std::wstring folder_;
};

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
    EXPECT_EQ(folder_, local_app_data_path().value_or(L"") + L"\\Glimmerly");
    EXPECT_EQ(folder_names(folder_), Names{L"settings.txt"});
    EXPECT_EQ(ensure_board_dir().value_or(L""), folder_ + L"\\board");
    EXPECT_EQ(folder_names(folder_), (Names{L"board", L"settings.txt"}));
}

TEST_F(ProgramFolderTest, AFailedEditorSaveIsReadyToShowAndKeepsItsCausesCode) {
    struct Row { const char* name; std::string content; DWORD share; const char* detail; std::int32_t code; };
    const Row rows[] = {
        {"open without delete sharing: the replace is refused", "", FILE_SHARE_READ, "MoveFileExW",
         hresult_from_win32(ERROR_ACCESS_DENIED)},
        {"open without any sharing: the read is refused", "", 0, "CreateFileW", hresult_from_win32(ERROR_SHARING_VIOLATION)},
        {"larger than any settings file", std::string(2 << 20, '\n'), FILE_SHARE_READ | FILE_SHARE_DELETE,
         "File too large", win::FILE_TOO_LARGE_CODE},
        {"damaged", "glimmerly-settings-21\n", FILE_SHARE_READ | FILE_SHARE_DELETE, kDamaged.c_str(), E_FAIL_CODE},
    };
    const std::wstring path = folder_ + L"\\settings.txt";
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        ASSERT_TRUE(create_directories(folder_).ok());
        ASSERT_TRUE(row.content.empty() ? save_editor_settings(9, 30).ok() : write_test_file(path, row.content));
        const auto before = read_test_file(path);
        win::UniqueFileHandle held(CreateFileW(path.c_str(), GENERIC_READ, row.share, nullptr, OPEN_EXISTING, 0, nullptr));
        const Status saved = save_editor_settings(10, 30);
        held.reset();
        ASSERT_FALSE(saved.ok());
        EXPECT_TRUE(error_to_text(saved.failure(), 0).starts_with("Could not save settings: " + std::string(row.detail)));
        EXPECT_EQ(cause_code(saved.failure()), row.code);
        EXPECT_EQ(read_test_file(path), before);
        EXPECT_EQ(folder_names(folder_), Names{L"settings.txt"});
    }
}

TEST_F(ProgramFolderTest, ReloadTakesTheRecordAndItsLanguageOrChangesNothing) {
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
              "Unsupported or damaged settings. The original file was preserved.\n" + kDamaged);
    EXPECT_EQ(current, stored);
    EXPECT_EQ(current_language(), 7);
    // The first load at start-up fails alike but switches to the user's own language.
    auto at_start = load_settings_at_start();
    EXPECT_EQ(error_to_text(at_start.failure(), LANGUAGE_ENGLISH), error_to_text(reloaded.failure(), LANGUAGE_ENGLISH));
    const Language users = current_language();
    apply_ui_language(LANGUAGE_AUTO);
    EXPECT_EQ(current_language(), users);
}

}  // namespace
}  // namespace glimmerly
