#include "app/session/image_save.h"

#include <gtest/gtest.h>

#include <windows.h>

#include "app/image/image_decoder.h"
#include "app/win/com.h"
#include "tests/app/support/files.h"
#include "tests/app/support/pictures.h"
#include "tests/app/support/temp_folder.h"

namespace glimmerly {
namespace {

using testing_support::folder_names;
using testing_support::solid_picture;
using testing_support::TempFolder;
using testing_support::write_test_file;
using Names = std::set<std::wstring>;

TEST(SaveImageAtomically, WritesFilesThatDecodeBackReplacingWhatWasThere) {
    win::ComApartment com;
    TempFolder folder;
    const BgraImage picture = testing_support::noise_picture(45, 31, 7);
    const std::wstring png = folder.path() + L"\\shot.png";
    ASSERT_TRUE(write_test_file(png, "old"));
    ASSERT_TRUE(save_image_atomically(picture, png, ImageFormat::Png).ok());
    const auto from_png = load_image_file(png);
    ASSERT_TRUE(from_png.ok()) << from_png.failure().message;
    EXPECT_TRUE(from_png->pixels == picture.pixels);

    // JPEG has no alpha: transparent pixels keep their colour, opaque.
    const std::wstring jpeg = folder.path() + L"\\shot.jpeg";
    ASSERT_TRUE(save_image_atomically(solid_picture(64, 48, 40, 160, 220, 0), jpeg, ImageFormat::Jpeg).ok());
    const auto from_jpeg = load_image_file(jpeg);
    ASSERT_TRUE(from_jpeg.ok()) << from_jpeg.failure().message;
    ASSERT_EQ(from_jpeg->width, 64u);
    ASSERT_EQ(from_jpeg->height, 48u);
    const int expected[4] = {40, 160, 220, 255};
    for (int channel = 0; channel < 4; ++channel)
        EXPECT_NEAR(from_jpeg->pixels[(24 * 64 + 32) * 4 + channel], expected[channel], 3) << channel;
    EXPECT_EQ(folder_names(folder.path()), (Names{L"shot.png", L"shot.jpeg"}));
}

TEST(SaveImageAtomically, AFailedSaveLeavesNoFileAndReportsThePlatformsCode) {
    win::ComApartment com;
    TempFolder folder;
    ASSERT_TRUE(CreateDirectoryW((folder.path() + L"\\taken.png").c_str(), nullptr));
    const BgraImage picture = solid_picture(8, 8, 1, 2, 3, 255);
    struct Row {
        const char* name;
        std::wstring path;
        BgraImage picture;
        std::int32_t code;
    };
    const Row rows[] = {
        {"folder missing", folder.path() + L"\\missing\\a.png", picture, hresult_from_win32(ERROR_PATH_NOT_FOUND)},
        {"target is a folder", folder.path() + L"\\taken.png", picture, hresult_from_win32(ERROR_ACCESS_DENIED)},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const Status saved = save_image_atomically(row.picture, row.path, ImageFormat::Png);
        ASSERT_FALSE(saved.ok());
        EXPECT_EQ(saved.failure().code, row.code) << saved.failure().message;
        EXPECT_EQ(folder_names(folder.path()), Names{L"taken.png"});
    }
}

TEST(SaveImageWithoutReplacing, TakesTheNextFreeNumberWhenTheNameIsTaken) {
    win::ComApartment com;
    TempFolder folder;
    ASSERT_TRUE(write_test_file(folder.path() + L"\\007.jpg", "someone else's"));
    const BgraImage picture = solid_picture(8, 8, 1, 2, 3, 255);
    const std::wstring proposed = folder.path() + L"\\004.png";
    EXPECT_EQ(save_image_without_replacing(picture, proposed, ImageFormat::Png).value_or(L""), proposed);
    EXPECT_EQ(save_image_without_replacing(picture, proposed, ImageFormat::Png).value_or(L""),
              folder.path() + L"\\008.png");
    EXPECT_EQ(testing_support::read_test_file(folder.path() + L"\\007.jpg"), "someone else's");
    EXPECT_EQ(folder_names(folder.path()), (Names{L"004.png", L"007.jpg", L"008.png"}));
}

}  // namespace
}  // namespace glimmerly
