#include "app/lib/installer_language.h"

#include <gtest/gtest.h>

#include <windows.h>

#include "app/win/failure.h"
#include "tests/app/support/temp_folder.h"

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
