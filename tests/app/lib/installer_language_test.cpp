#include "app/lib/installer_language.h"

#include <gtest/gtest.h>

#include "app/lib/settings_store.h"
#include "app/win/owners.h"
#include "tests/app/support/files.h"
#include "tests/app/support/temp_folder.h"
#include "text/app_error.h"

namespace glimmerly {
namespace {

using testing_support::path_exists;
using testing_support::write_test_file;

class ApplyInstallerLanguage : public ::testing::Test {
protected:
    void TearDown() override { set_current_language(LANGUAGE_ENGLISH); }

    testing_support::TempFolder folder_;
    const std::wstring installer_file_ = folder_.path() + L"\\installer-language.txt";
    const std::wstring settings_file_ = folder_.path() + L"\\settings.txt";
};

TEST_F(ApplyInstallerLanguage, TakesANewChoiceOverOnceAndLeavesNoFile) {
    struct Row { const char* name; std::optional<std::string> content; Language chosen; };
    const Row rows[] = {
        {"automatic", "Auto", LANGUAGE_AUTO},
        {"byte-order mark, blanks and line break", "\xEF\xBB\xBF FR \n", 7},
        {"no file", std::nullopt, 5},
        {"the language already chosen", "de", 5},
        {"no language code", "xx", 5},
        {"a choice padded past what an installer writes", "fr" + std::string(9998, ' '), 5},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        DeleteFileW(settings_file_.c_str());
        ASSERT_TRUE(!row.content || write_test_file(installer_file_, *row.content));
        Settings settings;
        settings.language = 5;
        ASSERT_TRUE(apply_installer_language(settings, folder_.path()).ok());
        EXPECT_EQ(settings.language, row.chosen);
        EXPECT_EQ(path_exists(settings_file_), row.chosen != 5);  // only a new choice is written
        EXPECT_EQ(read_settings_file(settings_file_).value_or(Settings{}).language,
                  row.chosen == 5 ? Settings{}.language : row.chosen);
        EXPECT_FALSE(path_exists(installer_file_));
    }
    EXPECT_EQ(current_language(), 7);  // the last new choice was applied
}

TEST_F(ApplyInstallerLanguage, AFileNotReadOrAChoiceNotSavedStaysForTheNextStart) {
    struct Row { const char* name; const char* settings; bool held; std::int32_t code; Language chosen; };
    const Row rows[] = {
        {"the choice could not be saved: it is applied all the same", "damaged", false, E_FAIL_CODE, 7},
        {"the file could not be read: nothing changes", nullptr, true, hresult_from_win32(ERROR_SHARING_VIOLATION),
         LANGUAGE_AUTO},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ASSERT_TRUE(!row.settings || write_test_file(settings_file_, row.settings));
        ASSERT_TRUE(write_test_file(installer_file_, "fr"));
        win::UniqueFileHandle held(row.held ? CreateFileW(installer_file_.c_str(), GENERIC_READ, 0, nullptr,
                                                          OPEN_EXISTING, 0, nullptr)
                                            : INVALID_HANDLE_VALUE);
        Settings settings;
        const Status applied = apply_installer_language(settings, folder_.path());
        ASSERT_FALSE(applied.ok());
        EXPECT_EQ(cause_code(applied.failure()), row.code);
        EXPECT_EQ(settings.language, row.chosen);
        EXPECT_TRUE(path_exists(installer_file_));
    }
}

}  // namespace
}  // namespace glimmerly
