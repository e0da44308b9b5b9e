#include "app/board/board_files.h"

#include <gtest/gtest.h>

#include "app/win/paths.h"
#include "tests/app/support/files.h"
#include "tests/app/support/temp_folder.h"
#include "text/app_error.h"

namespace glimmerly {
namespace {

using testing_support::read_test_file;
using testing_support::TempFolder;
using testing_support::write_test_file;

TEST(SameWallpaperPathOnDisk, SeesOneFileThroughAStepIntoASubfolderAndBack) {
    TempFolder temp;
    ASSERT_TRUE(CreateDirectoryW((temp.path() + L"\\sub").c_str(), nullptr));
    ASSERT_TRUE(write_test_file(temp.path() + L"\\Sea.png", "x"));
    const PathRules& rules = windows_path_rules();
    EXPECT_TRUE(same_wallpaper_path(win::to_u16(temp.path() + L"\\sub\\..\\SEA.PNG"), win::to_u16(temp.path() + L"/sea.png"),
                                    rules));
    EXPECT_FALSE(same_wallpaper_path(win::to_u16(temp.path() + L"\\sub\\..\\lake.png"),
                                     win::to_u16(temp.path() + L"\\sea.png"), rules));
    EXPECT_FALSE(same_wallpaper_path(win::to_u16(temp.path() + L"\\nowhere\\a.png"),
                                     win::to_u16(temp.path() + L"\\elsewhere\\a.png"), rules));
    // Unicode lower-casing, not only ASCII.
    EXPECT_EQ(normalise_wallpaper_path(u"C:/ÉTÉ/Ä.JPG", rules), u"c:\\été\\ä.jpg");
}

TEST(BoardBaseFile, WritesReadsBackAndLeavesADamagedFileUntouched) {
    TempFolder temp;
    EXPECT_EQ(read_board_base(temp.path()).value_or(BoardBase{}), std::nullopt);
    BoardBase base;
    base.position = WallpaperPosition::Fit;
    base.screens = {{"\\\\.\\DISPLAY1", u"C:\\a.jpg", std::nullopt}};
    ASSERT_TRUE(write_board_base(base, temp.path()).ok());
    EXPECT_EQ(read_board_base(temp.path()).value_or(std::nullopt), base);
    EXPECT_EQ(read_test_file(temp.path() + L"\\base.txt"), format_board_base(base));

    const std::string crlf = "glimmerly-board-base 1\r\nposition 4\r\ncolor 000000\r\n";
    ASSERT_TRUE(write_test_file(temp.path() + L"\\base.txt", crlf));
    const auto damaged = read_board_base(temp.path());
    ASSERT_FALSE(damaged.ok());
    EXPECT_EQ(damaged.failure(), make_app_error(TextId::error_board_base_damaged));
    EXPECT_EQ(read_test_file(temp.path() + L"\\base.txt"), crlf);
}

TEST(BoardPageFile, IsNoneWithoutTheFileAndItsTextWithIt) {
    TempFolder temp;
    EXPECT_EQ(read_board_page_file(temp.path()).value_or(std::string("x")), std::nullopt);
    ASSERT_TRUE(write_test_file(temp.path() + L"\\page-1.txt", "glimmerly-board 1\n"));
    EXPECT_EQ(read_board_page_file(temp.path()).value_or(std::nullopt), std::string("glimmerly-board 1\n"));
}

TEST(WriteWholeFile, CreatesAndTruncates) {
    TempFolder temp;
    const std::wstring path = temp.path() + L"\\baked.txt";
    ASSERT_TRUE(write_whole_file(path, "0123456789abcdef").ok());
    ASSERT_TRUE(write_whole_file(path, "fedcba").ok());
    EXPECT_EQ(read_test_file(path), std::string("fedcba"));
    EXPECT_FALSE(write_whole_file(temp.path() + L"\\missing\\baked.txt", "x").ok());
}

TEST(BakedPicturePath, IsAbsoluteAndNamedAfterTheScreen) {
    wchar_t current[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, current);
    const auto path = baked_picture_path(L"board", "DISPLAY#ABC#1&2#{x}");
    ASSERT_TRUE(path.ok());
    EXPECT_EQ(*path, win::join_path(win::join_path(current, L"board"),
                                    win::from_u16(baked_picture_name("DISPLAY#ABC#1&2#{x}"))));
    EXPECT_TRUE(is_baked_picture_path(win::to_u16(*path)));
    const auto verbatim = baked_picture_path(L"\\\\?\\C:\\b", "x");
    EXPECT_EQ(verbatim.value_or(L""), L"\\\\?\\C:\\b\\" + win::from_u16(baked_picture_name("x")));
}

}  // namespace
}  // namespace glimmerly
