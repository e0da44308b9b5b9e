#include "app/lib/atomic_write.h"

#include <gtest/gtest.h>

#include "app/lib/folder_tree.h"
#include "app/win/failure.h"
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

TEST(WriteFileAtomically, ReplacesTheTargetWhileAnotherSavesTemporaryFileIsOpen) {
    // photo.png and photo.jpg once both wrote photo.<pid>.tmp, so a save
    // failed while another one's temporary file was open.
    TempFolder folder;
    const std::wstring target = folder.path() + L"\\photo.jpg";
    const std::wstring other = temporary_path_for(folder.path() + L"\\photo.png");
    win::UniqueFileHandle open(CreateFileW(other.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    ASSERT_TRUE(write_test_file(target, "old"));
    auto written = write_file_atomically("new", target, false);
    EXPECT_EQ(written.value_or(L""), target);
    EXPECT_EQ(read_test_file(target), "new");
    // Siblings of the target named with the process id: photo.<pid>.<save>.tmp.
    const std::wstring prefix = L"photo." + std::to_wstring(GetCurrentProcessId()) + L".";
    EXPECT_TRUE(other.starts_with(folder.path() + L"\\" + prefix) && other.ends_with(L".tmp"));
    EXPECT_EQ(folder_names(folder.path()), (Names{L"photo.jpg", other.substr(folder.path().size() + 1)}));
}

TEST(WriteFileAtomically, KeepingExistingTakesTheNextNumberInTheTargetsOwnForm) {
    struct Row { const wchar_t* target; const wchar_t* also_taken; const wchar_t* written; };
    const Row rows[] = {
        {L"004.png", nullptr, L"008.png"}, {L"004.vexil", nullptr, L"008.vexil"}, {L"004.jpeg", nullptr, L"008.jpeg"},
        {L"photo", nullptr, L"008"}, {L"photo", L"008", L"009"}, {L"note.txt", L"008.txt", L"009.txt"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(row.target)));
        TempFolder folder;
        Names names{row.target, row.written, L"brindlet 7.jpg"};
        if (row.also_taken) names.insert(row.also_taken);
        for (const std::wstring& name : names)
            ASSERT_TRUE(name == row.written || write_test_file(folder.path() + L"\\" + name, "old"));
        auto written = write_file_atomically("new", folder.path() + L"\\" + row.target, true);
        ASSERT_TRUE(written.ok()) << written.failure().message;
        EXPECT_EQ(*written, folder.path() + L"\\" + row.written);
        EXPECT_EQ(read_test_file(*written), "new");
        EXPECT_EQ(read_test_file(folder.path() + L"\\" + row.target), "old");
        EXPECT_EQ(folder_names(folder.path()), names);
    }
}

// Stands in for WriteFile on a volume with no space left.
BOOL WINAPI write_to_full_disk(HANDLE, LPCVOID, DWORD, LPDWORD written, LPOVERLAPPED) {
    *written = 0;
    SetLastError(ERROR_DISK_FULL);
    return FALSE;
}

TEST(WriteFileAtomically, AFullDiskIsToldOfTheChosenFileWhichStaysAsItWas) {
    struct Row { const char* name; bool keep_existing; };
    const Row rows[] = {{"replacing", false}, {"keeping the existing file", true}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TempFolder folder;
        const std::wstring target = folder.path() + L"\\photo.png";
        ASSERT_TRUE(write_test_file(target, "old"));
        auto written = write_file_atomically("new", target, row.keep_existing, write_to_full_disk);
        ASSERT_FALSE(written.ok());
        EXPECT_EQ(written.failure().code, hresult_from_win32(ERROR_DISK_FULL));
        const std::string message = written.failure().message;
        EXPECT_TRUE(message.starts_with("Writing " + win::to_utf8(target) + ": ")) << message;
        EXPECT_EQ(read_test_file(target), "old");
        EXPECT_EQ(folder_names(folder.path()), Names{L"photo.png"});
    }
}

TEST(NextFreeFileName, FollowsTheHighestDefaultNameOfAnyKindUntilNumbersRunOut) {
    TempFolder folder;
    EXPECT_EQ(next_free_file_name(folder.path(), ImageFormat::Png).value_or(L""), folder.path() + L"\\001.png");
    for (const wchar_t* name : {L"brindlet 7.jpg", L"Capture12.vexil", L"003.png", L"99.txt", L"100"})
        ASSERT_TRUE(write_test_file(folder.path() + L"\\" + name, ""));
    EXPECT_EQ(next_free_file_name(folder.path(), ImageFormat::Jpeg).value_or(L""), folder.path() + L"\\013.jpg");
    ASSERT_TRUE(write_test_file(folder.path() + L"\\18446744073709551615.png", ""));
    EXPECT_EQ(next_free_file_name(folder.path(), ImageFormat::Png).failure().message, "File number exhausted");
    EXPECT_FALSE(next_free_file_name(folder.path() + L"\\missing", ImageFormat::Png).ok());
}

}  // namespace
}  // namespace glimmerly
