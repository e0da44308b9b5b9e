#include "app/lib/folder_tree.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace glimmerly
