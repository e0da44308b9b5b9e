#include "app/lib/installer_language.h"

#include <gtest/gtest.h>

#include <windows.h>

#include "app/lib/settings_store.h"
#include "app/win/failure.h"
#include "tests/app/support/dialogs.h"
#include "tests/app/support/temp_folder.h"
#include "text/app_error.h"

namespace glimmerly {
namespace {

void write_bytes(const std::wstring& path, std::string_view bytes) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
}

TEST(InstallerLanguageFile, ReadsTheChoiceAndIsGoneAfterDeletion) {
    testing_support::TempFolder folder;
    const std::wstring path = folder.path() + L"\\installer-language.txt";
    EXPECT_FALSE(read_installer_language(folder.path()).has_value());

    write_bytes(path, "\xEF\xBB\xBF DE \n");
    auto choice = read_installer_language(folder.path());
    ASSERT_TRUE(choice.has_value());
    ASSERT_TRUE(std::holds_alternative<Language>(*choice));
    EXPECT_EQ(std::get<Language>(*choice), 5);

    delete_installer_language(folder.path());
    EXPECT_EQ(GetFileAttributesW(path.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_FALSE(read_installer_language(folder.path()).has_value());
}

TEST(InstallerLanguageFile, UnusableContentIsNoChoice) {
    testing_support::TempFolder folder;
    write_bytes(folder.path() + L"\\installer-language.txt", "xx");
    auto choice = read_installer_language(folder.path());
    ASSERT_TRUE(choice.has_value());
    EXPECT_TRUE(std::holds_alternative<InstallerLanguageNone>(*choice));

    write_bytes(folder.path() + L"\\installer-language.txt", std::string(10000, 'a'));
    choice = read_installer_language(folder.path());
    ASSERT_TRUE(choice.has_value());
    EXPECT_TRUE(std::holds_alternative<InstallerLanguageNone>(*choice));
}

}  // namespace
}  // namespace glimmerly

namespace glimmerly {
namespace {

using testing_support::TempFolder;

class ApplyInstallerLanguage : public ::testing::Test {
protected:
    void TearDown() override { set_current_language(LANGUAGE_ENGLISH); }

    std::wstring installer_file() const { return folder_.path() + L"\\installer-language.txt"; }
    std::wstring settings_file() const { return folder_.path() + L"\\settings.txt"; }
    bool exists(const std::wstring& path) const { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }
    Settings stored() const {
        auto read = read_settings_file(settings_file());
        EXPECT_TRUE(read.ok());
        return read.value_or(Settings{});
    }

    TempFolder folder_;
};

TEST_F(ApplyInstallerLanguage, TakesTheChoiceOverOnceAndStoresIt) {
    write_bytes(installer_file(), "\xEF\xBB\xBF DE \n");
    Settings settings;
    apply_installer_language(settings, folder_.path());
    EXPECT_EQ(settings.language, 5);
    EXPECT_EQ(stored().language, 5);
    EXPECT_EQ(current_language(), 5);
    EXPECT_FALSE(exists(installer_file()));
}

TEST_F(ApplyInstallerLanguage, AutomaticReplacesAStoredLanguage) {
    Settings settings;
    settings.language = 5;
    ASSERT_TRUE(save_settings_file(settings, settings_file()).ok());
    write_bytes(installer_file(), "Auto");
    apply_installer_language(settings, folder_.path());
    EXPECT_EQ(settings.language, LANGUAGE_AUTO);
    EXPECT_EQ(stored().language, LANGUAGE_AUTO);
    EXPECT_FALSE(exists(installer_file()));
}

TEST_F(ApplyInstallerLanguage, TheSameOrNoUsableChoiceWritesNothing) {
    for (const char* content : {"de", "xx", "\xFF"}) {
        SCOPED_TRACE(content);
        write_bytes(installer_file(), content);
        Settings settings;
        settings.language = 5;
        apply_installer_language(settings, folder_.path());
        EXPECT_EQ(settings.language, 5);
        EXPECT_FALSE(exists(settings_file()));
        EXPECT_FALSE(exists(installer_file()));
    }
}

TEST_F(ApplyInstallerLanguage, AFailedWriteIsShownAndTheLanguageAppliedAllTheSame) {
    write_bytes(settings_file(), "damaged");
    write_bytes(installer_file(), "fr");
    Settings settings;
    const auto shown = testing_support::answer_message_box([&] { apply_installer_language(settings, folder_.path()); });
    // Shown in the language just applied.
    EXPECT_EQ(win::to_utf8(shown.text), localized_text(7, TextId::error_settings_unsaved,
                                                  {{"detail", "unsupported settings: 1 fields for this version"}}));
    EXPECT_EQ(current_language(), 7);
    EXPECT_FALSE(exists(installer_file()));
    EXPECT_EQ(settings.language, 7);
}

}  // namespace
}  // namespace glimmerly
