#include "app/image/image_decoder.h"

#include <gtest/gtest.h>

#include "app/image/image_encoder.h"
#include "app/win/com.h"
#include "core/vexil/png.h"
#include "tests/app/support/files.h"
#include "tests/app/support/pictures.h"
#include "tests/app/support/temp_folder.h"

namespace glimmerly {
namespace {

// Reading back what the encoder wrote is EncodePng's test.
TEST(DecodePng, RefusesAnyOtherSizeThanExpectedAndBrokenData) {
    win::ComApartment com;
    ASSERT_TRUE(com.initialized());
    const BgraImage image = testing_support::noise_picture(37, 23, 5);
    const auto png = encode_png(image);
    ASSERT_TRUE(png.ok());
    ASSERT_TRUE(decode_png_bytes(*png, 37, 23).ok());

    // A header claiming 30000 x 30000 would ask for 3.6 GB: refused from the
    // header (Wine's decoder may refuse it first), never by a failed allocation.
    std::vector<std::uint8_t> claiming = *png;
    for (const std::size_t at : {16u, 20u}) {
        claiming[at] = claiming[at + 1] = 0;
        claiming[at + 2] = 0x75;
        claiming[at + 3] = 0x30;
    }
    const std::uint32_t crc = png_crc32(std::span(claiming).subspan(12, 17));
    for (int i = 0; i < 4; ++i) claiming[29 + i] = static_cast<std::uint8_t>(crc >> (24 - 8 * i));
    const std::vector<std::uint8_t> cut(png->begin(), png->begin() + png->size() / 2);
    struct Row {
        const char* name;
        std::span<const std::uint8_t> png;
        std::uint32_t width, height;
    };
    const Row rows[] = {
        {"one pixel narrower than expected", *png, 36, 23},
        {"header claiming 30000 x 30000", claiming, 37, 23},
        {"cut in half", cut, 37, 23},
        {"no bytes", {}, 37, 23},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const auto decoded = decode_png_bytes(row.png, row.width, row.height);
        ASSERT_FALSE(decoded.ok());
        EXPECT_NE(decoded.failure().code, E_OUTOFMEMORY_CODE);
    }
    EXPECT_EQ(decode_png_bytes(*png, 36, 23).failure(), invalid_input("Unexpected image size"));
    // WIC could read it, but a document's frame is a PNG.
    const auto jpeg = encode_image(image, ImageFormat::Jpeg);
    ASSERT_TRUE(jpeg.ok());
    EXPECT_EQ(decode_png_bytes(*jpeg, 37, 23).failure(), invalid_input("Not a PNG image"));
}

// A bitmap file of 32-bit rows whose header claims the size; a few pixels follow.
std::string bmp_claiming(std::uint32_t width, std::uint32_t height) {
    std::string bmp(54 + 64, '\0');
    const auto put = [&](std::size_t at, std::uint32_t value) {
        for (int i = 0; i < 4; ++i) bmp[at + i] = static_cast<char>(value >> (8 * i));
    };
    bmp[0] = 'B';
    bmp[1] = 'M';
    put(2, static_cast<std::uint32_t>(bmp.size()));
    put(10, 54);  // pixels' offset
    put(14, 40);  // BITMAPINFOHEADER
    put(18, width);
    put(22, height);
    bmp[26] = 1;   // planes
    bmp[28] = 32;  // bits a pixel
    return bmp;
}

TEST(LoadImageFile, RefusesClaimedSizesPastThePictureRulesBeforeAllocating) {
    win::ComApartment com;
    testing_support::TempFolder folder;
    struct Row {
        const char* name;
        std::uint32_t width, height;
    };
    const Row rows[] = {
        {"60000 x 60000: 14.4 GB", 60000, 60000},
        {"32768 x 32768: exactly 4 GiB", 32768, 32768},
        {"a width of 2^29", 0x20000000u, 1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const std::wstring path = folder.path() + L"\\claims.bmp";
        ASSERT_TRUE(testing_support::write_test_file(path, bmp_claiming(row.width, row.height)));
        const auto loaded = load_image_file(path);
        ASSERT_FALSE(loaded.ok());
        EXPECT_EQ(loaded.failure(), invalid_input("Invalid BGRA image dimensions or buffer length"));
    }
    // The same kind of file with an honest header is read.
    const std::wstring honest = folder.path() + L"\\honest.bmp";
    ASSERT_TRUE(testing_support::write_test_file(honest, bmp_claiming(4, 4)));
    const auto loaded = load_image_file(honest);
    ASSERT_TRUE(loaded.ok()) << loaded.failure().message;
    EXPECT_EQ(loaded->width, 4u);
}

}  // namespace
}  // namespace glimmerly
