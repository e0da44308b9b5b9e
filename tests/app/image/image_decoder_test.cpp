#include "app/image/image_decoder.h"

#include <gtest/gtest.h>

#include <cstring>

#include "app/image/image_encoder.h"
#include "app/win/com.h"
#include "app/win/failure.h"
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
    // WIC could read it, but a document's frame is a PNG.
    const auto jpeg = encode_image(image, ImageFormat::Jpeg);
    ASSERT_TRUE(jpeg.ok());
    struct Row {
        const char* name;
        std::span<const std::uint8_t> png;
        std::uint32_t width, height;
        const char* refusal;  // null: any failure but running out of memory
    };
    const Row rows[] = {
        {"one pixel narrower than expected", *png, 36, 23, "Unexpected image size"},
        {"header claiming 30000 x 30000", claiming, 37, 23, nullptr},
        {"cut in half", cut, 37, 23, nullptr},
        {"no bytes", {}, 37, 23, nullptr},
        {"a JPEG", *jpeg, 37, 23, "Not a PNG image"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const auto decoded = decode_png_bytes(row.png, row.width, row.height);
        ASSERT_FALSE(decoded.ok());
        EXPECT_NE(decoded.failure().code, E_OUTOFMEMORY_CODE);
        if (row.refusal) {
            EXPECT_EQ(decoded.failure(), invalid_input(row.refusal));
        }
    }
}

// A bitmap file of 32-bit rows whose header claims the size; a few pixels follow.
std::string bmp_claiming(std::uint32_t width, std::uint32_t height) {
    std::string bmp(54 + 64, '\0');
    const auto put = [&](std::size_t at, std::uint32_t value) { std::memcpy(bmp.data() + at, &value, 4); };
    bmp[0] = 'B', bmp[1] = 'M', bmp[26] = 1, bmp[28] = 32;  // one plane, 32 bits a pixel
    put(2, static_cast<std::uint32_t>(bmp.size()));
    put(10, 54), put(14, 40), put(18, width), put(22, height);  // pixels' offset, header size
    return bmp;
}

TEST(LoadImageFile, RefusesClaimedSizesPastThePictureRulesBeforeAllocating) {
    win::ComApartment com;
    testing_support::TempFolder folder;
    const std::wstring path = folder.path() + L"\\claims.bmp";
    const std::pair<std::uint32_t, std::uint32_t> claims[] = {{60000, 60000}, {32768, 32768}, {0x20000000u, 1}};
    for (const auto& [width, height] : claims) {
        SCOPED_TRACE(std::to_string(width) + " x " + std::to_string(height));
        ASSERT_TRUE(testing_support::write_test_file(path, bmp_claiming(width, height)));
        EXPECT_EQ(load_image_file(path).failure(), invalid_input("Invalid BGRA image dimensions or buffer length"));
    }
}

TEST(LoadImageFile, AFileNoDecoderReadsIsToldInWordsBesideItsCode) {
    win::ComApartment com;
    testing_support::TempFolder folder;
    const std::wstring path = folder.path() + L"\\damaged.png";
    ASSERT_TRUE(testing_support::write_test_file(path, std::string(300, 'x')));
    const auto loaded = load_image_file(path);
    ASSERT_FALSE(loaded.ok());
    // The code alone tells a user nothing.
    EXPECT_FALSE(loaded.failure().message.ends_with(": 0x88982F50")) << loaded.failure().message;
    const std::string expected_end = loaded.failure().code == static_cast<std::int32_t>(0x88982F50u)
                                         ? win::code_text(loaded.failure().code)
                                         : win::system_message(loaded.failure().code);
    EXPECT_TRUE(loaded.failure().message.ends_with(": " + expected_end)) << loaded.failure().message;
    EXPECT_EQ(win::code_text(static_cast<std::int32_t>(0x88982F50u)),
              win::system_message(static_cast<std::int32_t>(0x88982F50u)).empty()
                  ? "No decoder reads this file: it is not a picture, or it is damaged (0x88982F50)"
                  : win::system_message(static_cast<std::int32_t>(0x88982F50u)));
    EXPECT_EQ(win::code_text(static_cast<std::int32_t>(0xA0B0C0D0u)).find("0xA0B0C0D0") != std::string::npos,
              win::system_message(static_cast<std::int32_t>(0xA0B0C0D0u)).empty());
}

TEST(LoadImageFile, TheCallersSizeCheckRefusesBeforeAnyPixelIsDecoded) {
    win::ComApartment com;
    testing_support::TempFolder folder;
    const std::wstring path = folder.path() + L"\\claims.bmp";
    // Far fewer pixels follow than the header claims: only a refusal from
    // the header itself comes back as the check's own failure.
    ASSERT_TRUE(testing_support::write_test_file(path, bmp_claiming(16384, 16384)));
    std::uint32_t seen_width = 0, seen_height = 0;
    const auto loaded = load_image_file(path, [&](std::uint32_t width, std::uint32_t height) -> Status {
        seen_width = width, seen_height = height;
        return invalid_input("desktop-capture.png must be 1100x680");
    });
    EXPECT_EQ(loaded.failure(), invalid_input("desktop-capture.png must be 1100x680"));
    EXPECT_EQ(seen_width, 16384u);
    EXPECT_EQ(seen_height, 16384u);
}

}  // namespace
}  // namespace glimmerly
