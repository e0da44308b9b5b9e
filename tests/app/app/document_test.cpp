#include "app/app/document.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "app/image/image_decoder.h"
#include "app/image/image_encoder.h"
#include "app/win/com.h"
#include "core/editor/capture_document.h"
#include "core/editor/editor_state.h"
#include "tests/app/support/files.h"
#include "tests/app/support/pictures.h"
#include "tests/app/support/temp_folder.h"
#include "tests/core/support/scenes.h"
#include "text/app_error.h"

namespace glimmerly {
namespace {

using namespace glimmerly::testing;
using testing_support::TempFolder;

bool is_damaged(const Failure& failure) {
    const Failure damaged = document_read_error(DocumentReadErrorKind::Damaged);
    return failure.code == damaged.code && failure.message.starts_with(damaged.message);
}

// What goes into the document (the kept area, the baked blur, the ids) is
// the core's test; here, that the file holds it and the pictures are coded.
class DocumentFile : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(com_.initialized());
        editor_.frame_width = frame_.width;
        editor_.frame_height = frame_.height;
        editor_.capture_selection = Box{40.5, 30, 160, 110.25};
        editor_.monitor_areas = {MonitorArea{{0, 0, 200, 200}, 1.0}, MonitorArea{{200, 0, 320, 200}, 1.5}};
        const Scene drawn = scene_with_every_kind();
        editor_.objects = drawn.objects;
        editor_.background = drawn.background;
        editor_.last_id = drawn.last;
    }

    std::wstring save(std::span<const std::uint8_t> bytes) {
        const std::wstring path = folder_.path() + L"\\capture.vexil";
        EXPECT_TRUE(testing_support::write_test_file(path, std::string(bytes.begin(), bytes.end())));
        return path;
    }

    win::ComApartment com_;
    TempFolder folder_;
    BgraImage frame_ = testing_support::noise_picture(320, 200, 1), picture_ = testing_support::noise_picture(120, 80, 2);
    EditorState editor_;
};

TEST_F(DocumentFile, SavedDocumentShowsThePictureAndOpensAsComposed) {
    const auto bytes = encode_vexil_document(editor_, frame_, {-1280, 0}, picture_);
    ASSERT_TRUE(bytes.ok()) << bytes.failure().message;
    const auto shown = decode_png_bytes(*bytes, 120, 80);  // what any PNG reader shows
    ASSERT_TRUE(shown.ok()) << shown.failure().message;
    EXPECT_EQ(shown->pixels, picture_.pixels);

    const auto composed = compose_capture_document(editor_, frame_, {-1280, 0});
    ASSERT_TRUE(composed.ok());
    const auto opened = load_vexil_document(save(*bytes));
    ASSERT_TRUE(opened.ok()) << opened.failure().message;
    EXPECT_EQ(opened->scene, composed->scene);
    EXPECT_TRUE(opened->frame.pixels == composed->frame.pixels);
    EXPECT_EQ(opened->frame.width, composed->frame.width);
}

TEST_F(DocumentFile, RefusesAnOversizedFileFromItsSizeAloneAndLeavesAMissingOneToTheSystem) {
    const std::wstring path = save(*encode_vexil_document(editor_, frame_, {}, picture_));
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    LARGE_INTEGER end{};
    end.QuadPart = static_cast<LONGLONG>(kMaxDocumentBytes + 1);
    const bool grown = SetFilePointerEx(file, end, nullptr, FILE_BEGIN) && SetEndOfFile(file);
    CloseHandle(file);
    ASSERT_TRUE(grown);
    const auto oversized = load_vexil_document(path);
    ASSERT_FALSE(oversized.ok());
    EXPECT_TRUE(is_damaged(oversized.failure()));

    const auto missing = load_vexil_document(folder_.path() + L"\\missing.vexil");
    ASSERT_FALSE(missing.ok());
    EXPECT_FALSE(is_damaged(missing.failure()));
}

}  // namespace
}  // namespace glimmerly
