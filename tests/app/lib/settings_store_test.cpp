#include "app/lib/settings_store.h"

#include <gtest/gtest.h>

#include <windows.h>

#include "app/lib/settings_lock.h"
#include "app/win/owners.h"
#include "core/settings/settings_file.h"
#include "tests/app/support/child_process.h"
#include "tests/app/support/files.h"
#include "tests/app/support/temp_folder.h"
#include "tests/core/settings/settings_test_support.h"

namespace glimmerly {
namespace {

using testing_support::folder_names;
using testing_support::read_test_file;
using testing_support::TempFolder;
using testing_support::varied_settings;
using testing_support::write_test_file;
using Names = std::set<std::wstring>;

constexpr std::uint32_t kPatchRounds = 60;

Settings read_back(const std::wstring& path) {
    auto read = read_settings_file(path);
    EXPECT_TRUE(read.ok()) << read.failure().message;
    return read.value_or(Settings{});
}

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
                   : SettingsPatch{.save_choice = SaveChoice{shots_folder(round), round % 2 ? ImageFormat::Jpeg : ImageFormat::Png}};
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
    const std::wstring start_name = testing_support::unique_name(L"Glimmerly.Test.Start");
    win::UniqueHandle start(CreateEventW(nullptr, TRUE, FALSE, start_name.c_str()));
    auto editor = testing_support::start_child(L"PatchOwnedFields", {path_, start_name, L"editor"});
    auto dialog = testing_support::start_child(L"PatchOwnedFields", {path_, start_name, L"dialog"});
    ASSERT_TRUE(editor.ok() && dialog.ok());
    SetEvent(start.get());
    EXPECT_EQ(testing_support::wait_for_exit(*editor, 120000), 0);
    EXPECT_EQ(testing_support::wait_for_exit(*dialog, 120000), 0);

    Settings expected = varied_settings();
    expected.capture_stroke_width = stroke_width_of(kPatchRounds);
    expected.capture_eraser_size = 4 + kPatchRounds;
    expected.save_folder = shots_folder(kPatchRounds);
    expected.save_format = kPatchRounds % 2 ? ImageFormat::Jpeg : ImageFormat::Png;
    EXPECT_EQ(read_back(path_), expected);
    EXPECT_EQ(folder_names(folder_.path()), Names{L"settings.txt"});
}

TEST_F(SettingsStore, ARefusedRecordWritesNothingAndLeavesTheOldFileWhole) {
    struct Row {
        const char* name;
        void (*change)(Settings&);
        const char* message;
    };
    const Row rows[] = {
        {"two equal shape shortcuts",
         [](Settings& s) { s.shape_shortcuts[kShapeRectangle] = s.shape_shortcuts[kShapeArrow]; },
         "refused shortcut (setup.duplicate_shape)"},
        {"folder with code unit 0", [](Settings& s) { s.save_folder = std::u16string(u"C:\\a") + u'\0'; },
         "Invalid folder encoding"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        Settings record = varied_settings();
        row.change(record);
        const Status saved = save_settings_file(record, path_);
        ASSERT_FALSE(saved.ok());
        EXPECT_EQ(saved.failure().message, row.message);
        expect_untouched();
    }
}

TEST_F(SettingsStore, AFailedReplaceLeavesTheOldFileAndNoTemporaryFile) {
    {
        // Open without FILE_SHARE_DELETE: the file cannot be replaced.
        win::UniqueHandle reader(CreateFileW(path_.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(reader);
        EXPECT_FALSE(save_settings_file(Settings{}, path_).ok());
        EXPECT_FALSE(patch_settings_file(path_, SettingsPatch{.board_visible = false}).ok());
    }
    expect_untouched();
}

TEST_F(SettingsStore, AFileThatCannotBeReadIsNeverOverwritten) {
    ASSERT_TRUE(write_test_file(path_, "glimmerly-settings-99\n"));
    before_ = read_test_file(path_);
    const Status patched = patch_settings_file(path_, SettingsPatch{.capture_stroke_width = 5u});
    ASSERT_FALSE(patched.ok());
    EXPECT_EQ(patched.failure().message, "unsupported settings: 1 fields for this version");
    EXPECT_FALSE(commit_settings_change_at(path_, Settings{}).ok());
    expect_untouched();
}

TEST_F(SettingsStore, APatchWithoutFileOrFolderWritesTheDefaultsWithTheChange) {
    const std::wstring path = folder_.path() + L"\\Glimmerly\\settings.txt";
    ASSERT_TRUE(patch_settings_file(path, SettingsPatch{.capture_stroke_width = 9u, .capture_eraser_size = 30u}).ok());
    Settings expected;
    expected.capture_stroke_width = 9;
    expected.capture_eraser_size = 30;
    EXPECT_EQ(read_back(path), expected);
    EXPECT_TRUE(read_test_file(path).value_or("").starts_with("glimmerly-settings-21\n"));
}

TEST_F(SettingsStore, ACommitKeepsTheFieldsOtherWritersOwnAsTheFileHasThem) {
    Settings window;  // opened before the editor, the board and the save dialog stored theirs
    window.live_capture = true;
    window.language = 7;
    ASSERT_TRUE(commit_settings_change_at(path_, window).ok());

    // Field by field the rule is settings_to_commit's; here it must reach the disk.
    EXPECT_EQ(read_back(path_), settings_to_commit(window, varied_settings()));
    EXPECT_NE(read_back(path_).save_folder, window.save_folder);
}

TEST_F(SettingsStore, ReadingAMissingFileGivesDefaultsAndBadBytesAFailure) {
    EXPECT_EQ(read_back(folder_.path() + L"\\none\\settings.txt"), Settings{});
    ASSERT_TRUE(write_test_file(path_, std::string("glimmerly-settings-1\n0\n0\n0\n\xFF\n")));
    auto not_text = read_settings_file(path_);
    ASSERT_FALSE(not_text.ok());
    EXPECT_EQ(not_text.failure().message, "The settings file is not UTF-8 text");

    ASSERT_TRUE(write_test_file(path_, std::string(2 << 20, '\n')));
    EXPECT_FALSE(read_settings_file(path_).ok());
}

}  // namespace
}  // namespace glimmerly
