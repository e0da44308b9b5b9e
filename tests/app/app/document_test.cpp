#include "app/app/document.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <random>

#include "app/image/png_decoder.h"
#include "app/image/png_encoder.h"
#include "app/win/com.h"
#include "core/blur/blur.h"
#include "core/editor/editor_state.h"
#include "core/vexil/png.h"
#include "core/vexil/scene_text.h"
#include "tests/app/support/files.h"
#include "tests/app/support/temp_folder.h"
#include "tests/core/support/scenes.h"
#include "text/app_error.h"
#include "ui/document/vexil_writer.h"

namespace glimmerly {
namespace {

using namespace glimmerly::testing;
using testing_support::TempFolder;

BgraImage noise(std::uint32_t width, std::uint32_t height, std::uint32_t seed) {
    BgraImage image{std::vector<std::uint8_t>(std::size_t{width} * height * 4), width, height};
    std::mt19937 rng(seed);
    for (auto& byte : image.pixels) byte = static_cast<std::uint8_t>(rng());
    for (std::size_t i = 3; i < image.pixels.size(); i += 4) image.pixels[i] = 255;  // a grab is opaque
    return image;
}

std::string as_string(const std::vector<std::uint8_t>& bytes) { return std::string(bytes.begin(), bytes.end()); }

// The same document with the private chunk's data replaced (CRC made right).
std::vector<std::uint8_t> with_chunk_data(const std::vector<std::uint8_t>& document, const std::string& data) {
    const auto chunks = walk_png_chunks(document);
    const PngChunk& chunk = (*chunks)[chunks->size() - 2];
    std::vector<std::uint8_t> out(document.begin(), document.begin() + chunk.offset);
    append_png_chunk(out, "vxIL", std::span(reinterpret_cast<const std::uint8_t*>(data.data()), data.size()));
    out.insert(out.end(), document.begin() + chunk.offset + chunk.size(), document.end());
    return out;
}

class DocumentFile : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(com_.initialized());
        frame_ = noise(320, 200, 1);
        picture_ = noise(120, 80, 2);
        editor_.frame_width = frame_.width;
        editor_.frame_height = frame_.height;
        editor_.capture_selection = Box{40.5, 30, 160, 110.25};
        editor_.monitor_areas = {MonitorArea{{0, 0, 200, 200}, 1.0}, MonitorArea{{200, 0, 320, 200}, 1.5}};
        const Scene drawn = scene_with_every_kind();
        editor_.objects = drawn.objects;
        editor_.background = drawn.background;
        editor_.last_id = drawn.last;
    }

    std::wstring save(const std::vector<std::uint8_t>& bytes, const wchar_t* name = L"capture.vexil") {
        const std::wstring path = folder_.path() + L"\\" + name;
        EXPECT_TRUE(testing_support::write_test_file(path, as_string(bytes)));
        return path;
    }

    win::ComApartment com_;
    TempFolder folder_;
    BgraImage frame_, picture_;
    EditorState editor_;
};

TEST_F(DocumentFile, SavedDocumentShowsThePictureAndOpensForEditing) {
    const auto bytes = encode_vexil_document(editor_, frame_, {-1280, 0}, picture_);
    ASSERT_TRUE(bytes.ok()) << bytes.failure().message;
    // Any PNG reader shows the finished picture.
    const auto shown = decode_png(*bytes, kMaxFrameSide);
    ASSERT_TRUE(shown.ok()) << shown.failure().message;
    EXPECT_EQ(shown->pixels, picture_.pixels);

    const std::wstring path = save(*bytes);
    const auto opened = load_vexil_document(path);
    ASSERT_TRUE(opened.ok()) << opened.failure().message;
    // The kept area is the first monitor, which the selection touches.
    EXPECT_EQ(opened->scene.frame, (FrameSize{200, 200}));
    EXPECT_EQ(opened->scene.origin, (ScreenOrigin{-1280, 0}));
    EXPECT_EQ(opened->scene.region, *editor_.capture_selection);
    const BgraImage blurred = blur_regions(frame_, editor_.objects).image();
    ASSERT_EQ(opened->frame.width, 200u);
    for (std::uint32_t y = 0; y < 200; ++y)
        ASSERT_TRUE(std::equal(opened->frame.pixels.begin() + y * 800, opened->frame.pixels.begin() + (y + 1) * 800,
                               blurred.pixels.begin() + y * 1280))
            << "row " << y;
    const std::string again = write_scene_text(opened->scene);
    EXPECT_EQ(read_scene_text(again, kNewestSceneFormat), opened->scene);
}

TEST_F(DocumentFile, RefusesFaultyFilesAndLeavesThemUntouched) {
    const auto bytes = encode_vexil_document(editor_, frame_, {}, picture_);
    ASSERT_TRUE(bytes.ok());
    const auto chunks = walk_png_chunks(*bytes);
    const PngChunk& chunk = (*chunks)[chunks->size() - 2];
    const std::string data(reinterpret_cast<const char*>(chunk.data.data()), chunk.data.size());
    const std::size_t png_at = data.find("frame-png ");
    const std::string head = data.substr(0, png_at);
    const std::string other_frame = as_string(*encode_png(noise(10, 10, 3)));

    struct Row {
        const char* name;
        std::vector<std::uint8_t> bytes;
        DocumentReadErrorKind kind;
    };
    const Row rows[] = {
        {"a frame that does not decode", with_chunk_data(*bytes, head + "frame-png 4\nabcd"),
         DocumentReadErrorKind::Damaged},
        {"a frame of another size",
         with_chunk_data(*bytes, head + "frame-png " + std::to_string(other_frame.size()) + "\n" + other_frame),
         DocumentReadErrorKind::Damaged},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const std::wstring path = save(row.bytes);
        const auto opened = load_vexil_document(path);
        ASSERT_FALSE(opened.ok());
        EXPECT_EQ(opened.failure(), document_read_error(row.kind));
        EXPECT_EQ(testing_support::read_test_file(path), as_string(row.bytes));
    }
}

TEST_F(DocumentFile, RefusesAnOversizedFileFromItsSizeAlone) {
    const std::wstring path = save(*encode_vexil_document(editor_, frame_, {}, picture_));
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    LARGE_INTEGER end{};
    end.QuadPart = static_cast<LONGLONG>(kMaxDocumentBytes + 1);
    const bool grown = SetFilePointerEx(file, end, nullptr, FILE_BEGIN) && SetEndOfFile(file);
    CloseHandle(file);
    ASSERT_TRUE(grown);
    const auto opened = load_vexil_document(path);
    ASSERT_FALSE(opened.ok());
    EXPECT_EQ(opened.failure(), document_read_error(DocumentReadErrorKind::Damaged));

    const auto missing = load_vexil_document(folder_.path() + L"\\missing.vexil");
    ASSERT_FALSE(missing.ok());
    EXPECT_NE(missing.failure(), document_read_error(DocumentReadErrorKind::Damaged));
}

}  // namespace
}  // namespace glimmerly
