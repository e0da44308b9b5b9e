#include "app/lib/folder_tree.h"

#include <gtest/gtest.h>

#include "app/win/failure.h"
#include "tests/app/support/files.h"
#include "tests/app/support/temp_folder.h"

namespace glimmerly {
namespace {

// Copying and the choice between an empty and a used folder are seen
// through the migration that uses them (migration_test).
TEST(RemoveTree, RemovesNestedAndReadOnlyFilesAndAcceptsAMissingPath) {
    testing_support::TempFolder temp;
    const std::wstring tree = temp.path() + L"\\tree";
    ASSERT_TRUE(create_directories(tree + L"\\sub\\deeper").ok());
    for (const wchar_t* name : {L"\\a.txt", L"\\sub\\b.txt", L"\\sub\\deeper\\c.txt"})
        ASSERT_TRUE(testing_support::write_test_file(tree + name, "content"));
    ASSERT_TRUE(SetFileAttributesW((tree + L"\\sub\\b.txt").c_str(), FILE_ATTRIBUTE_READONLY));
    ASSERT_TRUE(remove_tree(tree).ok());
    EXPECT_EQ(testing_support::folder_names(temp.path()), std::set<std::wstring>{});
    EXPECT_TRUE(remove_tree(tree).ok());
}

// A folder that cannot be made fails with the reason the system gave for
// refusing it, not with what a look at the path found afterwards ("File not
// found" for a folder refused as "Access denied").
TEST(CreateDirectories, AFolderThatCannotBeMadeFailsWithTheSystemsOwnReason) {
    testing_support::TempFolder temp;
    const std::wstring file = temp.path() + L"\\a file";
    ASSERT_TRUE(testing_support::write_test_file(file, "not a folder"));
    // Under Wine Z: is the host's root, whose /sys refuses a new folder even
    // to root ("Access denied"). A folder's read-only attribute refuses
    // nothing: Wine drops it and Windows ignores it for sub-folders.
    const std::wstring refused_by_system = L"Z:\\sys\\glimmerly-" + std::to_wstring(GetCurrentProcessId());
    const struct {
        const char* name;
        std::wstring folder;
        std::wstring refused;  // the one the system refuses to make
    } rows[] = {
        {"where the system refuses a folder", refused_by_system, refused_by_system},
        {"under a file", file + L"\\sub\\deeper", file},
        {"a name with a character no name may hold", temp.path() + L"\\a<b", temp.path() + L"\\a<b"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        ASSERT_FALSE(CreateDirectoryW(row.refused.c_str(), nullptr));
        const DWORD system_error = GetLastError();
        const Status made = create_directories(row.folder);
        ASSERT_FALSE(made.ok());
        EXPECT_EQ(made.failure().code, hresult_from_win32(system_error));
        EXPECT_EQ(made.failure().message.rfind("CreateDirectoryW " + win::to_utf8(row.refused) + ": ", 0), 0u)
            << made.failure().message;
    }
    EXPECT_TRUE(create_directories(temp.path()).ok());
}

}  // namespace
}  // namespace glimmerly
