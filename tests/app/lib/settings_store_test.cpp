#include "app/lib/settings_store.h"

#include <gtest/gtest.h>

#include "app/lib/folder_tree.h"
#include "app/lib/program_folders.h"
#include "app/lib/settings_lock.h"
#include "app/lib/ui_language.h"
#include "app/win/failure.h"
#include "app/win/file_io.h"
#include "tests/app/support/child_process.h"
#include "tests/app/support/file_holder.h"
#include "tests/app/support/files.h"
#include "tests/app/support/private_prefix.h"
#include "tests/core/settings/settings_test_support.h"
#include "text/app_error.h"

namespace glimmerly {
namespace {

using namespace testing_support;
using Names = std::set<std::wstring>;

constexpr std::uint32_t kPatchRounds = 60;
const std::string kDamaged = "unsupported settings: 1 fields for this version";

// The values each writer stores in a round, all within what the file holds.
std::uint32_t stroke_width_of(std::uint32_t round) { return 1 + round % 40; }
std::u16string shots_folder(std::uint32_t round) {
    const std::string folder = "D:\\shots\\" + std::to_string(round);
    return std::u16string(folder.begin(), folder.end());
}

// args: start event, "editor" or "dialog". Stores the capture editor's two
// values or the save dialog's folder and format, round after round. Before
// each round it must find its last values still in the file: a write of the
// other process that lost them fails the child there.
GLIM_TEST_CHILD(PatchOwnedFields) {
    win::UniqueHandle start(OpenEventW(SYNCHRONIZE, FALSE, args.at(0).c_str()));
    if (!start || WaitForSingleObject(start.get(), 30000) != WAIT_OBJECT_0) return 2;
    const bool editor = args.at(1) == L"editor";
    for (std::uint32_t round = 1; round <= kPatchRounds; ++round) {
        if (round > 1) {
            auto lock = lock_settings_write();
            auto stored = load_settings();
            if (!lock || !stored) return 4;
            if (editor ? stored->capture_stroke_width != stroke_width_of(round - 1)
                       : stored->save_folder != shots_folder(round - 1))
                return 5;
        }
        const Status saved = editor ? save_editor_settings(stroke_width_of(round), 4 + round)
                                    : save_session_choices(shots_folder(round), round % 2 ? ImageFormat::Jpeg : ImageFormat::Png);
        if (!saved) return 3;
    }
    return 0;
}

// The store at its real place, the program folder under the local
// application data of the private prefix, which starts out missing.
class SettingsStore : public ::testing::Test {
protected:
    void SetUp() override {
        GLIM_REQUIRE_PRIVATE_PREFIX();
        lock_.emplace();
        ASSERT_TRUE(remove_tree(folder_).ok());
    }
    void TearDown() override {
        if (lock_) (void)remove_tree(folder_);
        set_current_language(LANGUAGE_ENGLISH);
    }

    std::optional<UserDataLock> lock_;
    const std::wstring folder_ = program_folder_path().value_or(L"");
    const std::wstring path_ = folder_ + L"\\settings.txt";
};

TEST_F(SettingsStore, WritersCreateTheFolderAndKeepEachOthersFields) {
    ASSERT_TRUE(save_editor_settings(9, 30).ok());
    ASSERT_TRUE(save_session_choices(u"E:\\pictures", ImageFormat::Jpeg).ok());
    Settings window;
    window.obs_mirror = true;
    ASSERT_TRUE(commit_settings_change(window).ok());

    Settings expected = window;
    expected.capture_stroke_width = 9;
    expected.capture_eraser_size = 30;
    expected.save_folder = u"E:\\pictures";
    expected.save_format = ImageFormat::Jpeg;
    EXPECT_EQ(load_settings().value_or(Settings{}), expected);
    EXPECT_EQ(folder_, local_app_data_path().value_or(L"") + L"\\Glimmerly");
    EXPECT_EQ(folder_names(folder_), Names{L"settings.txt"});
    EXPECT_EQ(ensure_board_dir().value_or(L""), folder_ + L"\\board");
    EXPECT_EQ(folder_names(folder_), (Names{L"board", L"settings.txt"}));
}

TEST_F(SettingsStore, TwoProcessesWritingDifferentFieldsBothKeepTheirChanges) {
    const std::wstring start_name = unique_name(L"Glimmerly.Test.Start");
    win::UniqueHandle start(CreateEventW(nullptr, TRUE, FALSE, start_name.c_str()));
    auto editor = start_child(L"PatchOwnedFields", {start_name, L"editor"});
    auto dialog = start_child(L"PatchOwnedFields", {start_name, L"dialog"});
    ASSERT_TRUE(editor.ok() && dialog.ok());
    SetEvent(start.get());
    EXPECT_EQ(wait_for_exit(*editor, 120000), 0);
    EXPECT_EQ(wait_for_exit(*dialog, 120000), 0);
    const Settings stored = load_settings().value_or(Settings{});
    EXPECT_EQ(stored.capture_stroke_width, stroke_width_of(kPatchRounds));
    EXPECT_EQ(stored.save_folder, shots_folder(kPatchRounds));
}

TEST_F(SettingsStore, AFailedEditorSaveIsReadyToShowKeepsItsCausesCodeAndTheFile) {
    struct Row { const char* name; std::string content; DWORD share; const char* detail; std::int32_t code; };
    const Row rows[] = {
        {"open without delete sharing: the replace is refused once it stays so", "", FILE_SHARE_READ,
         "The settings file is in use by another app", hresult_from_win32(ERROR_SHARING_VIOLATION)},
        {"open without any sharing: the read is refused once it stays so", "", 0,
         "The settings file is in use by another app", hresult_from_win32(ERROR_SHARING_VIOLATION)},
        {"larger than any settings file", std::string(2 << 20, '\n'), FILE_SHARE_READ | FILE_SHARE_DELETE,
         "File too large", win::FILE_TOO_LARGE_CODE},
        {"damaged", "glimmerly-settings-21\n", FILE_SHARE_READ | FILE_SHARE_DELETE, kDamaged.c_str(), E_FAIL_CODE},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        ASSERT_TRUE(row.content.empty() ? save_editor_settings(9, 30).ok() : write_test_file(path_, row.content));
        const auto before = read_test_file(path_);
        win::UniqueFileHandle held(CreateFileW(path_.c_str(), GENERIC_READ, row.share, nullptr, OPEN_EXISTING, 0, nullptr));
        const Status saved = save_editor_settings(10, 30);
        held.reset();
        ASSERT_FALSE(saved.ok());
        EXPECT_TRUE(error_to_text(saved.failure(), 0).starts_with("Could not save settings: " + std::string(row.detail)));
        EXPECT_EQ(cause_code(saved.failure()), row.code);
        EXPECT_EQ(read_test_file(path_), before);
        EXPECT_EQ(folder_names(folder_), Names{L"settings.txt"});
    }
    // A whole record is never written over a file that cannot be read either.
    EXPECT_FALSE(commit_settings_change(Settings{}).ok());
    EXPECT_EQ(read_test_file(path_), "glimmerly-settings-21\n");
}

TEST_F(SettingsStore, AFileHeldForAMomentIsReadOnceFreeAndOneHeldLongerIsInUseAndUntouched) {
    struct Row { const char* name; unsigned hold_ms; bool read; };
    const Row rows[] = {{"held for a second", 1000, true}, {"held for five seconds", 5000, false}};
    Settings stored = varied_settings();
    stored.language = 5;
    ASSERT_TRUE(save_settings_file(stored, path_).ok());
    const auto before = read_test_file(path_);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        auto held = HeldFile::hold(path_, row.hold_ms);
        ASSERT_TRUE(held.ok()) << held.failure().message;
        auto loaded = load_settings_at_start();
        EXPECT_EQ(held->let_go(), 0);
        if (row.read) {
            EXPECT_EQ(loaded.value_or(Settings{}), stored);
            continue;
        }
        ASSERT_FALSE(loaded.ok());
        EXPECT_EQ(error_to_text(loaded.failure(), LANGUAGE_ENGLISH),
                  "The settings file is in use by another app and was left untouched. Close that app, then try "
                  "again.\n" + win::to_utf8(path_));
        EXPECT_EQ(cause_code(loaded.failure()), hresult_from_win32(ERROR_SHARING_VIOLATION));
        EXPECT_EQ(read_test_file(path_), before);
        EXPECT_EQ(folder_names(folder_), Names{L"settings.txt"});
    }
}

TEST_F(SettingsStore, ASaveWaitsForAReaderThatSharesOnlyReadingAndOneHeldLongerIsInUseWithTheFileWhole) {
    struct Row { const char* name; unsigned hold_ms; bool saved; DWORD share = FILE_SHARE_READ; };
    // The program's own processes read sharing everything; that still keeps
    // a replace out on Windows and under Wine while they read.
    const DWORD all = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
    const Row rows[] = {{"held for a second", 1000, true},
                        {"held for five seconds", 5000, false},
                        {"read sharing everything for a second", 1000, true, all}};
    const Settings before = varied_settings();
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ASSERT_TRUE(save_settings_file(before, path_).ok());
        const auto bytes_before = read_test_file(path_);
        Settings changed = before;
        changed.language = before.language == 5 ? 6 : 5;
        auto held = HeldFile::hold(path_, row.hold_ms, row.share);
        ASSERT_TRUE(held.ok()) << held.failure().message;
        const Status saved = save_settings_file(changed, path_);
        EXPECT_EQ(held->let_go(), 0);
        if (row.saved) {
            EXPECT_TRUE(saved.ok()) << saved.failure().message;
            EXPECT_EQ(read_settings_file(path_).value_or(Settings{}), changed);
        } else {
            ASSERT_FALSE(saved.ok());
            EXPECT_EQ(error_to_text(saved.failure(), LANGUAGE_ENGLISH),
                      "The settings file is in use by another app and was left untouched. Close that app, then "
                      "try again.\n" + win::to_utf8(path_));
            EXPECT_EQ(read_test_file(path_), bytes_before);
        }
        EXPECT_EQ(folder_names(folder_), Names{L"settings.txt"});
    }
}

TEST_F(SettingsStore, AProgramFolderThatIsAFileIsNamedAndNeverReplaced) {
    ASSERT_TRUE(write_test_file(folder_, "not a folder"));
    auto loaded = load_settings_at_start();
    ASSERT_FALSE(loaded.ok());
    EXPECT_EQ(error_to_text(loaded.failure(), LANGUAGE_ENGLISH),
              "Unsupported or damaged settings. The original file was preserved.\n" + win::to_utf8(folder_) +
                  " is a file, not a folder");
    EXPECT_FALSE(save_editor_settings(9, 30).ok());
    EXPECT_EQ(read_test_file(folder_), "not a folder");
}

TEST_F(SettingsStore, ARefusedRecordWritesNothing) {
    Settings refused;
    refused.shape_shortcuts[kShapeRectangle] = refused.shape_shortcuts[kShapeArrow];
    EXPECT_EQ(commit_settings_change(refused).failure().message, "refused shortcut (setup.duplicate_shape)");
    EXPECT_FALSE(path_exists(path_));
}

TEST_F(SettingsStore, ReloadTakesTheRecordAndItsLanguageOrChangesNothing) {
    Settings stored = varied_settings();
    stored.language = 5;
    ASSERT_TRUE(save_settings_file(stored, path_).ok());
    Settings current;
    ASSERT_TRUE(reload_settings(current).ok());
    EXPECT_EQ(current, stored);
    EXPECT_EQ(current_language(), 5);

    ASSERT_TRUE(write_test_file(path_, "glimmerly-settings-21\n"));
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
