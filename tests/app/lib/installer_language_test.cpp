#include "app/lib/installer_language.h"

#include <gtest/gtest.h>

#include "app/lib/settings_store.h"
#include "app/win/failure.h"
#include "tests/app/support/dialogs.h"
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

    std::wstring installer_file() const { return folder_.path() + L"\\installer-language.txt"; }
    std::wstring settings_file() const { return folder_.path() + L"\\settings.txt"; }
    Settings stored() const {
        auto read = read_settings_file(settings_file());
        EXPECT_TRUE(read.ok());
        return read.value_or(Settings{});
    }

    testing_support::TempFolder folder_;
};

TEST_F(ApplyInstallerLanguage, TakesTheChoiceOverOnceAndStoresIt) {
    ASSERT_TRUE(write_test_file(installer_file(), "\xEF\xBB\xBF DE \n"));
    Settings settings;
    apply_installer_language(settings, folder_.path());
    EXPECT_EQ(settings.language, 5);
    EXPECT_EQ(stored().language, 5);
    EXPECT_EQ(current_language(), 5);
    EXPECT_FALSE(path_exists(installer_file()));
}

TEST_F(ApplyInstallerLanguage, AutomaticReplacesAStoredLanguage) {
    Settings settings;
    settings.language = 5;
    ASSERT_TRUE(save_settings_file(settings, settings_file()).ok());
    ASSERT_TRUE(write_test_file(installer_file(), "Auto"));
    apply_installer_language(settings, folder_.path());
    EXPECT_EQ(settings.language, LANGUAGE_AUTO);
    EXPECT_EQ(stored().language, LANGUAGE_AUTO);
    EXPECT_FALSE(path_exists(installer_file()));
}

TEST_F(ApplyInstallerLanguage, NoFileTheSameOrNoUsableChoiceWritesNothing) {
    struct Row {
        const char* name;
        std::optional<std::string> content;
    };
    const Row rows[] = {
        {"no file", std::nullopt},
        {"the language already chosen", "de"},
        {"no language code", "xx"},
        {"not UTF-8", "\xFF"},
        {"a choice padded past what an installer writes", "fr" + std::string(9998, ' ')},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        if (row.content) {
            ASSERT_TRUE(write_test_file(installer_file(), *row.content));
        }
        Settings settings;
        settings.language = 5;
        apply_installer_language(settings, folder_.path());
        EXPECT_EQ(settings.language, 5);
        EXPECT_FALSE(path_exists(settings_file()));
        EXPECT_FALSE(path_exists(installer_file()));
    }
}

TEST_F(ApplyInstallerLanguage, AFailedWriteIsShownAndTheLanguageAppliedAllTheSame) {
    ASSERT_TRUE(write_test_file(settings_file(), "damaged"));
    ASSERT_TRUE(write_test_file(installer_file(), "fr"));
    Settings settings;
    const auto shown = testing_support::answer_message_box([&] { apply_installer_language(settings, folder_.path()); });
    // Shown in the language just applied.
    EXPECT_EQ(win::to_utf8(shown.text), localized_text(7, TextId::error_settings_unsaved,
                                                  {{"detail", "unsupported settings: 1 fields for this version"}}));
    EXPECT_EQ(current_language(), 7);
    EXPECT_FALSE(path_exists(installer_file()));
    EXPECT_EQ(settings.language, 7);
}

}  // namespace
}  // namespace glimmerly
