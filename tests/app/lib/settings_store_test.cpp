#include "app/lib/settings_store.h"

#include <gtest/gtest.h>

#include <windows.h>

#include "app/lib/settings_lock.h"
#include "app/win/file_io.h"
#include "app/win/owners.h"
#include "tests/app/support/child_process.h"
#include "tests/app/support/files.h"
#include "tests/app/support/temp_folder.h"
#include "tests/core/settings/settings_test_support.h"

namespace glimmerly {
namespace {

using testing_support::folder_names;
using testing_support::read_test_file;
using testing_support::varied_settings;
using testing_support::write_test_file;
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

    testing_support::TempFolder folder_;
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

TEST_F(SettingsStore, PlatformFailuresKeepTheirCodeAndTheOldFile) {
    struct Row { const char* name; DWORD share; std::int32_t code; };
    const Row rows[] = {
        {"open without delete sharing: the replace is refused", FILE_SHARE_READ, hresult_from_win32(ERROR_ACCESS_DENIED)},
        {"open without any sharing: the read is refused", 0, hresult_from_win32(ERROR_SHARING_VIOLATION)},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        win::UniqueFileHandle held(CreateFileW(path_.c_str(), GENERIC_READ, row.share, nullptr, OPEN_EXISTING, 0, nullptr));
        const Status patched = patch_settings_file(path_, SettingsPatch{.board_visible = false});
        ASSERT_FALSE(patched.ok());
        EXPECT_EQ(patched.failure().code, row.code) << patched.failure().message;
        held.reset();
        expect_untouched();
    }
    ASSERT_TRUE(write_test_file(path_, std::string(2 << 20, '\n')));
    EXPECT_EQ(read_settings_file(path_).failure().code, win::FILE_TOO_LARGE_CODE);
}

}  // namespace
}  // namespace glimmerly
