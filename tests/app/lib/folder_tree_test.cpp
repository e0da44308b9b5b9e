#include "app/lib/folder_tree.h"

#include <gtest/gtest.h>

#include <windows.h>

#include "app/win/owners.h"
#include "tests/app/support/files.h"
#include "tests/app/support/temp_folder.h"

namespace glimmerly {
namespace {

using testing_support::folder_names;
using testing_support::read_test_file;
using testing_support::TempFolder;
using testing_support::write_test_file;
using Names = std::set<std::wstring>;

// source\a.txt, source\sub\b.txt, source\sub\deeper\c.txt
void make_tree(const std::wstring& source) {
    ASSERT_TRUE(create_directories(source + L"\\sub\\deeper").ok());
    for (const wchar_t* name : {L"\\a.txt", L"\\sub\\b.txt", L"\\sub\\deeper\\c.txt"})
        ASSERT_TRUE(write_test_file(source + name, "content"));
}

void expect_tree(const std::wstring& folder) {
    for (const wchar_t* name : {L"\\a.txt", L"\\sub\\b.txt", L"\\sub\\deeper\\c.txt"})
        EXPECT_EQ(read_test_file(folder + name), "content");
    EXPECT_EQ(folder_names(folder), (Names{L"a.txt", L"sub"}));
}

TEST(RemoveTree, RemovesNestedAndReadOnlyFilesAndAcceptsAMissingPath) {
    TempFolder temp;
    make_tree(temp.path() + L"\\tree");
    ASSERT_TRUE(SetFileAttributesW((temp.path() + L"\\tree\\sub\\b.txt").c_str(), FILE_ATTRIBUTE_READONLY));
    ASSERT_TRUE(remove_tree(temp.path() + L"\\tree").ok());
    EXPECT_EQ(folder_names(temp.path()), Names{});
    EXPECT_TRUE(remove_tree(temp.path() + L"\\tree").ok());
}

TEST(CopyFolderIntoPlace, AppearsWholeOrNotAtAll) {
    TempFolder temp;
    const std::wstring source = temp.path() + L"\\Brindlet";
    make_tree(source);
    {
        // A file nobody may read: the copy fails half-way.
        win::UniqueFileHandle held(
            CreateFileW((source + L"\\sub\\b.txt").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        const Status copied = copy_folder_into_place(source, temp.path() + L"\\Glimmerly");
        ASSERT_FALSE(copied.ok());
        EXPECT_EQ(copied.failure().code, hresult_from_win32(ERROR_SHARING_VIOLATION));
        EXPECT_EQ(folder_names(temp.path()), Names{L"Brindlet"});
    }
    ASSERT_TRUE(copy_folder_into_place(source, temp.path() + L"\\Glimmerly").ok());
    EXPECT_EQ(folder_names(temp.path()), (Names{L"Brindlet", L"Glimmerly"}));
    expect_tree(temp.path() + L"\\Glimmerly");
    expect_tree(source);
}

TEST(FolderIsEmpty, TellsAnEmptyFolderFromOneWithAnythingOrNone) {
    TempFolder temp;
    EXPECT_EQ(folder_is_empty(temp.path()).value_or(false), true);
    ASSERT_TRUE(CreateDirectoryW((temp.path() + L"\\x").c_str(), nullptr));
    EXPECT_EQ(folder_is_empty(temp.path()).value_or(true), false);
    EXPECT_EQ(folder_is_empty(temp.path() + L"\\missing").failure().code, hresult_from_win32(ERROR_PATH_NOT_FOUND));
}

}  // namespace
}  // namespace glimmerly
