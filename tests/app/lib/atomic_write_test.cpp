#include "app/lib/atomic_write.h"

#include <gtest/gtest.h>

#include <windows.h>

#include "app/lib/folder_tree.h"
#include "tests/app/support/files.h"
#include "tests/app/support/temp_folder.h"

namespace glimmerly {
namespace {

using testing_support::folder_names;
using testing_support::read_test_file;
using testing_support::TempFolder;
using testing_support::write_test_file;
using Names = std::set<std::wstring>;

TEST(WriteFileAtomically, ReplacesAnExistingFileAndReturnsItsPath) {
    TempFolder folder;
    const std::wstring target = folder.path() + L"\\photo.png";
    ASSERT_TRUE(write_test_file(target, "old"));
    auto written = write_file_atomically("new content", target, false);
    ASSERT_TRUE(written.ok()) << written.failure().message;
    EXPECT_EQ(*written, target);
    EXPECT_EQ(read_test_file(target), "new content");
    EXPECT_EQ(folder_names(folder.path()), Names{L"photo.png"});
}

TEST(WriteFileAtomically, KeepingExistingTakesTheNextFreeNumberWithTheTargetsExtension) {
    struct Row {
        const wchar_t* target;
        const wchar_t* written;
    };
    const Row rows[] = {{L"004.png", L"008.png"}, {L"004.vexil", L"008.vexil"}, {L"004.jpeg", L"008.jpeg"}};
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(row.target)));
        TempFolder folder;
        const std::wstring target = folder.path() + L"\\" + row.target;
        ASSERT_TRUE(write_test_file(target, "old"));
        ASSERT_TRUE(write_test_file(folder.path() + L"\\brindlet 7.jpg", "other"));
        auto written = write_file_atomically("new", target, true);
        ASSERT_TRUE(written.ok()) << written.failure().message;
        EXPECT_EQ(*written, folder.path() + L"\\" + row.written);
        EXPECT_EQ(read_test_file(target), "old");
        EXPECT_EQ(read_test_file(*written), "new");
        EXPECT_EQ(folder_names(folder.path()), (Names{row.target, row.written, L"brindlet 7.jpg"}));
    }
}

TEST(WriteFileAtomically, KeepingExistingGivesUpWhenNoNumberCanFreeTheName) {
    // "001.txt" is not a numbered image name, so every retry would be told
    // 001 again: the write must end, not spin.
    TempFolder folder;
    const std::wstring target = folder.path() + L"\\note.txt";
    ASSERT_TRUE(write_test_file(target, "mine"));
    ASSERT_TRUE(write_test_file(folder.path() + L"\\001.txt", "also mine"));
    auto written = write_file_atomically("new", target, true);
    ASSERT_FALSE(written.ok());
    EXPECT_EQ(written.failure().code, E_FAIL_CODE);
    EXPECT_EQ(folder_names(folder.path()), (Names{L"001.txt", L"note.txt"}));
    EXPECT_EQ(read_test_file(target), "mine");
}

TEST(WriteFileAtomically, AFailedWriteOrMoveLeavesNoTemporaryFile) {
    TempFolder folder;
    // The target's folder is missing: nothing can be written at all.
    auto missing = write_file_atomically("x", folder.path() + L"\\missing\\photo.png", false);
    EXPECT_FALSE(missing.ok());
    EXPECT_EQ(folder_names(folder.path()), Names{});

    // The target is a folder: the move fails after the temporary file was written.
    ASSERT_TRUE(CreateDirectoryW((folder.path() + L"\\photo.png").c_str(), nullptr));
    auto onto_folder = write_file_atomically("x", folder.path() + L"\\photo.png", false);
    EXPECT_FALSE(onto_folder.ok());
    EXPECT_EQ(folder_names(folder.path()), Names{L"photo.png"});
}

TEST(NextFreeFileName, FollowsTheHighestDefaultNameOfAnyKindUntilNumbersRunOut) {
    TempFolder folder;
    EXPECT_EQ(next_free_file_name(folder.path(), ImageFormat::Png).value_or(L""), folder.path() + L"\\001.png");
    for (const wchar_t* name : {L"brindlet 7.jpg", L"Capture12.vexil", L"003.png", L"99.txt"})
        ASSERT_TRUE(write_test_file(folder.path() + L"\\" + name, ""));
    EXPECT_EQ(next_free_file_name(folder.path(), ImageFormat::Png).value_or(L""), folder.path() + L"\\013.png");
    EXPECT_EQ(next_free_file_name(folder.path(), ImageFormat::Jpeg).value_or(L""), folder.path() + L"\\013.jpg");

    TempFolder full;
    ASSERT_TRUE(write_test_file(full.path() + L"\\18446744073709551616.png", ""));
    EXPECT_EQ(next_free_file_name(full.path(), ImageFormat::Png).value_or(L""), full.path() + L"\\001.png");
    ASSERT_TRUE(write_test_file(full.path() + L"\\18446744073709551615.png", ""));
    auto exhausted = next_free_file_name(full.path(), ImageFormat::Png);
    ASSERT_FALSE(exhausted.ok());
    EXPECT_EQ(exhausted.failure().message, "File number exhausted");
    EXPECT_FALSE(next_free_file_name(folder.path() + L"\\missing", ImageFormat::Png).ok());
}

}  // namespace
}  // namespace glimmerly
