#include "app/lib/settings_store.h"

#include <gtest/gtest.h>

#include <windows.h>

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

constexpr std::uint32_t kPatchRounds = 25;

Settings read_back(const std::wstring& path) {
    auto read = read_settings_file(path);
    EXPECT_TRUE(read.ok()) << read.failure().message;
    return read.value_or(Settings{});
}

// args: settings path, start event, "editor" or "dialog". Stores the capture
// editor's two values or the save dialog's folder and format, round after round.
GLIM_TEST_CHILD(PatchOwnedFields) {
    win::UniqueHandle start(OpenEventW(SYNCHRONIZE, FALSE, args.at(1).c_str()));
    if (!start || WaitForSingleObject(start.get(), 30000) != WAIT_OBJECT_0) return 2;
    for (std::uint32_t round = 1; round <= kPatchRounds; ++round) {
        const std::string folder = "D:\\shots\\" + std::to_string(round);
        const SettingsPatch patch =
            args.at(2) == L"editor"
                ? SettingsPatch{.capture_stroke_width = round, .capture_eraser_size = 100 + round}
                : SettingsPatch{.save_choice = SaveChoice{std::u16string(folder.begin(), folder.end()),
                                                          static_cast<std::uint8_t>(round % 2)}};
        if (!patch_settings_file(args.at(0), patch)) return 3;
    }
    return 0;
}

TEST(SettingsStore, TwoProcessesPatchingDifferentFieldsBothKeepTheirChanges) {
    TempFolder folder;
    const std::wstring path = folder.path() + L"\\settings.txt";
    ASSERT_TRUE(save_settings_file(varied_settings(), path).ok());
    const std::wstring start_name = testing_support::unique_name(L"Glimmerly.Test.Start");
    win::UniqueHandle start(CreateEventW(nullptr, TRUE, FALSE, start_name.c_str()));

    auto editor = testing_support::start_child(L"PatchOwnedFields", {path, start_name, L"editor"});
    auto dialog = testing_support::start_child(L"PatchOwnedFields", {path, start_name, L"dialog"});
    ASSERT_TRUE(editor.ok() && dialog.ok());
    SetEvent(start.get());
    EXPECT_EQ(testing_support::wait_for_exit(*editor, 120000), 0);
    EXPECT_EQ(testing_support::wait_for_exit(*dialog, 120000), 0);

    Settings expected = varied_settings();
    expected.capture_stroke_width = kPatchRounds;
    expected.capture_eraser_size = 100 + kPatchRounds;
    expected.save_folder = u"D:\\shots\\" + std::u16string(u"25");
    expected.save_format = kPatchRounds % 2;
    EXPECT_EQ(read_back(path), expected);
    EXPECT_EQ(folder_names(folder.path()), Names{L"settings.txt"});
}

TEST(SettingsStore, ARefusedRecordWritesNothingAndLeavesTheOldFileWhole) {
    struct Row {
        const char* name;
        void (*change)(Settings&);
        const char* message;
    };
    const Row rows[] = {
        {"two equal shape shortcuts",
         [](Settings& s) { s.shape_shortcuts[SHAPE_RECTANGLE] = s.shape_shortcuts[SHAPE_ARROW]; },
         "refused shortcut (setup.duplicate_shape)"},
        {"folder with code unit 0", [](Settings& s) { s.save_folder = std::u16string(u"C:\\a") + u'\0'; },
         "Invalid folder encoding"},
        {"eraser too large", [](Settings& s) { s.capture_eraser_size = 500; }, "Invalid capture eraser size"},
        {"pointer size out of range", [](Settings& s) { s.pointer.halo_size = 1; }, "Invalid pointer settings"},
    };
    TempFolder folder;
    const std::wstring path = folder.path() + L"\\settings.txt";
    ASSERT_TRUE(save_settings_file(varied_settings(), path).ok());
    const auto before = read_test_file(path);
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        Settings record = varied_settings();
        row.change(record);
        const Status saved = save_settings_file(record, path);
        ASSERT_FALSE(saved.ok());
        EXPECT_EQ(saved.failure().message, row.message);
        EXPECT_EQ(folder_names(folder.path()), Names{L"settings.txt"});
        EXPECT_EQ(read_test_file(path), before);
    }
}

TEST(SettingsStore, AFailedReplaceLeavesTheOldFileAndNoTemporaryFile) {
    TempFolder folder;
    const std::wstring path = folder.path() + L"\\settings.txt";
    ASSERT_TRUE(save_settings_file(varied_settings(), path).ok());
    const auto before = read_test_file(path);
    {
        // Open without FILE_SHARE_DELETE: the file cannot be replaced.
        win::UniqueHandle reader(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(reader);
        EXPECT_FALSE(save_settings_file(Settings{}, path).ok());
        EXPECT_FALSE(patch_settings_file(path, SettingsPatch{.board_visible = false}).ok());
    }
    EXPECT_EQ(folder_names(folder.path()), Names{L"settings.txt"});
    EXPECT_EQ(read_test_file(path), before);
}

TEST(SettingsStore, AFileThatCannotBeReadIsNeverOverwritten) {
    TempFolder folder;
    const std::wstring path = folder.path() + L"\\settings.txt";
    ASSERT_TRUE(write_test_file(path, "glimmerly-settings-99\n"));
    const Status patched = patch_settings_file(path, SettingsPatch{.capture_stroke_width = 5u});
    ASSERT_FALSE(patched.ok());
    EXPECT_EQ(patched.failure().message, "unsupported settings: 1 fields for this version");
    EXPECT_FALSE(commit_settings_change_at(path, Settings{}).ok());
    EXPECT_EQ(read_test_file(path), "glimmerly-settings-99\n");
    EXPECT_EQ(folder_names(folder.path()), Names{L"settings.txt"});
}

TEST(SettingsStore, APatchWithoutFileOrFolderWritesTheDefaultsWithTheChange) {
    TempFolder folder;
    const std::wstring path = folder.path() + L"\\Glimmerly\\settings.txt";
    ASSERT_TRUE(patch_settings_file(path, SettingsPatch{.capture_stroke_width = 9u, .capture_eraser_size = 30u}).ok());
    Settings expected;
    expected.capture_stroke_width = 9;
    expected.capture_eraser_size = 30;
    EXPECT_EQ(read_back(path), expected);
    const auto text = read_test_file(path);
    ASSERT_TRUE(text.has_value());
    EXPECT_TRUE(text->starts_with("glimmerly-settings-21\n"));
}

TEST(SettingsStore, ACommitKeepsTheFieldsOtherWritersOwnAsTheFileHasThem) {
    TempFolder folder;
    const std::wstring path = folder.path() + L"\\settings.txt";
    ASSERT_TRUE(save_settings_file(varied_settings(), path).ok());
    Settings window;  // opened before the editor, the board and the save dialog stored theirs
    window.live_capture = true;
    window.language = 7;
    ASSERT_TRUE(commit_settings_change_at(path, window).ok());

    // Field by field the rule is settings_to_commit's; here it must reach the disk.
    EXPECT_EQ(read_back(path), settings_to_commit(window, varied_settings()));
    EXPECT_NE(read_back(path).save_folder, window.save_folder);
}

TEST(SettingsStore, ReadingAMissingFileGivesDefaultsAndBadBytesAFailure) {
    TempFolder folder;
    EXPECT_EQ(read_back(folder.path() + L"\\none\\settings.txt"), Settings{});

    const std::wstring path = folder.path() + L"\\settings.txt";
    ASSERT_TRUE(write_test_file(path, std::string("glimmerly-settings-1\n0\n0\n0\n\xFF\n")));
    auto not_text = read_settings_file(path);
    ASSERT_FALSE(not_text.ok());
    EXPECT_EQ(not_text.failure().message, "The settings file is not UTF-8 text");

    ASSERT_TRUE(write_test_file(path, std::string(2 << 20, '\n')));
    EXPECT_FALSE(read_settings_file(path).ok());
}

}  // namespace
}  // namespace glimmerly
