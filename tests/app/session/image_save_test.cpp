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
using testing_support::TempFolder;
using testing_support::write_test_file;
using Names = std::set<std::wstring>;

TEST(SaveImageAtomically, WritesFilesThatDecodeBackReplacingWhatWasThere) {
    win::ComApartment com;
    TempFolder folder;
    BgraImage picture = testing_support::noise_picture(45, 31, 7);
    for (std::size_t i = 3; i < picture.pixels.size(); i += 4) picture.pixels[i] = 255;
    const std::wstring png = folder.path() + L"\\shot.png";
    ASSERT_TRUE(write_test_file(png, "old"));
    ASSERT_TRUE(save_image_atomically(picture, png, ImageFormat::Png).ok());
    const auto from_png = load_image_file(png);
    ASSERT_TRUE(from_png.ok()) << from_png.failure().message;
    EXPECT_TRUE(from_png->pixels == picture.pixels);

    // JPEG has no alpha: a transparent pixel keeps its colour, opaque.
    const BgraImage clear = testing_support::solid_picture(64, 48, 40, 160, 220, 0);
    const std::wstring jpeg = folder.path() + L"\\shot.jpeg";
    ASSERT_TRUE(save_image_atomically(clear, jpeg, ImageFormat::Jpeg).ok());
    const auto from_jpeg = load_image_file(jpeg);
    ASSERT_TRUE(from_jpeg.ok()) << from_jpeg.failure().message;
    ASSERT_EQ(from_jpeg->width, 64u);
    ASSERT_EQ(from_jpeg->height, 48u);
    const std::uint8_t* middle = from_jpeg->pixels.data() + (24 * 64 + 32) * 4;
    EXPECT_NEAR(middle[0], 40, 3);
    EXPECT_NEAR(middle[1], 160, 3);
    EXPECT_NEAR(middle[2], 220, 3);
    EXPECT_EQ(middle[3], 255);
    EXPECT_EQ(folder_names(folder.path()), (Names{L"shot.png", L"shot.jpeg"}));
}

TEST(SaveImageAtomically, AFailedSaveLeavesNoFileAndReportsThePlatformsCode) {
    win::ComApartment com;
    TempFolder folder;
    ASSERT_TRUE(CreateDirectoryW((folder.path() + L"\\taken.png").c_str(), nullptr));
    const BgraImage picture = testing_support::solid_picture(8, 8, 1, 2, 3, 255);
    struct Row {
        const char* name;
        std::wstring path;
        BgraImage picture;
        std::int32_t code;
    };
    const Row rows[] = {
        {"folder missing", folder.path() + L"\\missing\\a.png", picture, hresult_from_win32(ERROR_PATH_NOT_FOUND)},
        {"target is a folder", folder.path() + L"\\taken.png", picture, hresult_from_win32(ERROR_ACCESS_DENIED)},
        {"invalid picture", folder.path() + L"\\b.png", BgraImage{{}, 8, 8}, E_INVALIDARG_CODE},
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
    const BgraImage picture = testing_support::solid_picture(8, 8, 1, 2, 3, 255);
    const std::wstring proposed = folder.path() + L"\\004.png";
    const auto first = save_image_without_replacing(picture, proposed, ImageFormat::Png);
    const auto second = save_image_without_replacing(picture, proposed, ImageFormat::Png);
    ASSERT_TRUE(first.ok() && second.ok());
    EXPECT_EQ(*first, proposed);
    EXPECT_EQ(*second, folder.path() + L"\\008.png");
    EXPECT_EQ(testing_support::read_test_file(folder.path() + L"\\007.jpg"), "someone else's");
    EXPECT_EQ(folder_names(folder.path()), (Names{L"004.png", L"007.jpg", L"008.png"}));
}

}  // namespace
}  // namespace glimmerly
