// "--render-site-previews <in> <out>" run whole by the real program, as CI
// runs it, on small synthetic desktop pictures written by the program's own
// picture writer. Text widths differ under Wine ("Segoe UI" is absent), so
// nothing here pins where a measured text ends.

#include <gtest/gtest.h>

#include "app/image/image_decoder.h"
#include "app/session/image_save.h"
#include "app/win/com.h"
#include "app/win/failure.h"
#include "app/win/paths.h"
#include "core/demo/demo_scenes.h"
#include "core/site_previews/film_track.h"
#include "tests/core/support/png.h"
#include "tests/app/support/dialogs.h"
#include "tests/app/support/files.h"
#include "tests/app/support/peak_memory.h"
#include "tests/app/support/resident.h"
#include "tests/app/support/temp_folder.h"

namespace glimmerly {
namespace {

using namespace testing_support;

// The whole mode writes some two thousand frames.
constexpr DWORD kModeTimeoutMs = 600000;

BgraImage transparent_frame(std::uint32_t width, std::uint32_t height) {
    return BgraImage{std::vector<std::uint8_t>(std::size_t{width} * height * 4, 0), width, height};
}

std::size_t line_count(const std::string& text) { return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')); }

std::vector<std::string> lines_of(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
        lines.push_back(text.substr(start, end - start));
    return lines;
}

class SitePreviewMode : public ::testing::Test {
protected:
    std::wstring in() const { return win::join_path(folder_.path(), L"in"); }
    std::wstring out() const { return win::join_path(folder_.path(), L"out"); }
    std::wstring output(const wchar_t* name) const { return win::join_path(out(), name); }
    bool exists(const std::wstring& path) const { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

    void SetUp() override {
        ASSERT_TRUE(CreateDirectoryW(in().c_str(), nullptr));
        ASSERT_TRUE(CreateDirectoryW(out().c_str(), nullptr));
    }

    void write_input(const wchar_t* name, const BgraImage& picture) {
        const Status saved = save_image_atomically(picture, win::join_path(in(), name), ImageFormat::Png);
        ASSERT_TRUE(saved) << saved.failure().message;
    }

    // A capture with a light page on a dark desktop; a presentation picture
    // whose bar runs from column 420 to 474 on row 250 (centred on 447); the
    // board's wallpaper, its icons (two opaque squares in each zone) and the
    // screen showing both.
    void write_inputs(std::uint32_t capture_height = kDemoHeight) {
        BgraImage capture = plain_frame(kDemoWidth, capture_height, kDemoDark);
        fill_frame_rect(capture, 70, 100, 1030, 600, kDemoLight);
        write_input(L"desktop-capture.png", capture);
        BgraImage presentation = plain_frame(960, 540, {245, 247, 250});
        fill_frame_rect(presentation, 420, 200, 475, 420, {80, 153, 244});
        write_input(L"desktop-presentation.png", presentation);
        BgraImage wallpaper = plain_frame(kDemoWidth, kDemoHeight, {40, 90, 140});
        BgraImage icons = transparent_frame(kDemoWidth, kDemoHeight);
        for (const std::uint32_t left : {130u, 200u, 330u, 400u})
            fill_frame_rect(icons, left, 60, left + 40, 100, {250, 250, 250});
        BgraImage screen = wallpaper;
        for (const std::uint32_t left : {130u, 200u, 330u, 400u})
            fill_frame_rect(screen, left, 60, left + 40, 100, {250, 250, 250});
        write_input(L"desktop-board-wallpaper.png", wallpaper);
        write_input(L"desktop-board-icons.png", icons);
        write_input(L"desktop-board-screen.png", screen);
    }

    ProgramRun run(std::vector<std::wstring> operands) {
        operands.insert(operands.begin(), L"--render-site-previews");
        ProgramRun result = run_program(operands, folder_.path(), sweeper_, kModeTimeoutMs);
        for (const AnsweredBox& box : sweeper_.answered()) ADD_FAILURE() << "a box: " << win::to_utf8(box.text);
        return result;
    }

    // The run's standard error goes to a file beside the folders.
    WatchedRun watch(const std::wstring& error_file) {
        SECURITY_ATTRIBUTES inherit{.nLength = sizeof(SECURITY_ATTRIBUTES), .bInheritHandle = TRUE};
        const win::UniqueFileHandle error(CreateFileW(error_file.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit,
                                                      CREATE_ALWAYS, 0, nullptr));
        return run_watching_peak(quoted_program_path() + L" --render-site-previews in out", folder_.path(),
                                 error.get(), sweeper_, kModeTimeoutMs);
    }

    // The film's frames 000.png .. and its track, one line per frame.
    std::vector<std::string> expect_film(const wchar_t* folder, std::size_t frames) {
        SCOPED_TRACE(win::to_utf8(folder));
        const std::wstring path = output(folder);
        for (std::size_t i = 0; i < frames; ++i)
            EXPECT_TRUE(exists(win::join_path(path, win::to_wide(frame_file_name(i))))) << i;
        EXPECT_FALSE(exists(win::join_path(path, win::to_wide(frame_file_name(frames)))));
        const auto track = read_test_file(win::join_path(path, L"pointer.txt"));
        if (!track) {
            ADD_FAILURE() << "no pointer.txt";
            return {};
        }
        EXPECT_EQ(line_count(*track), frames);
        EXPECT_TRUE(track->ends_with("\n"));
        return lines_of(*track);
    }

    win::ComApartment com_;  // the inputs are written and the outputs read through WIC
    TempFolder folder_;
    DialogSweeper sweeper_;
};

TEST_F(SitePreviewMode, WritesTheCapturePictureAndTheFilmsOverTheCapture) {
    write_inputs();
    const ProgramRun run = this->run({L"in", L"out", L"ignored"});

    auto capture = load_image_file(output(L"capture.png"));
    ASSERT_TRUE(capture) << capture.failure().message;
    EXPECT_EQ(capture->width, 1100u);
    EXPECT_EQ(capture->height, 680u);
    for (std::size_t i = 3; i < capture->pixels.size(); i += 4) ASSERT_EQ(capture->pixels[i], 255) << i;

    const auto eyedropper = expect_film(L"eyedropper-frames", 150);
    ASSERT_EQ(eyedropper.size(), 150u);
    EXPECT_EQ(eyedropper[0], "406.0 317.0");
    EXPECT_EQ(eyedropper[1], "406.3 317.3");
    EXPECT_EQ(eyedropper.back(), "405.7 316.7");

    const auto editing = expect_film(L"editing-frames", 283);
    ASSERT_EQ(editing.size(), 283u);
    for (std::size_t i = 0; i < 11; ++i) EXPECT_EQ(editing[i], "760.0 520.0") << i;

    const auto film = expect_film(L"capture-frames", 665);
    ASSERT_EQ(film.size(), 665u);
    for (std::size_t i = 0; i < 11; ++i) EXPECT_EQ(film[i], "330.0 300.0") << i;
    for (std::size_t i = film.size() - 46; i < film.size(); ++i) EXPECT_EQ(film[i], "760.0 505.0") << i;

    const auto heart = expect_film(L"support-heart-frames", 407);
    ASSERT_EQ(heart.size(), 407u);
    EXPECT_EQ(heart[0], "280.0 180.0");

    auto presentation = load_image_file(output(L"presentation.png"));
    ASSERT_TRUE(presentation) << presentation.failure().message;
    EXPECT_EQ(presentation->width, 960u);
    EXPECT_EQ(presentation->height, 540u);
    expect_film(L"presentation-frames", 177);
    expect_film(L"board-frames", 426);
    EXPECT_TRUE(exists(output(L"board-frames\\baked.png")));
    EXPECT_EQ(run.exit_code, 0) << run.standard_error;
}

TEST_F(SitePreviewMode, OneOperandGivesTheUsageAndWritesNothing) {
    write_inputs();
    const ProgramRun run = this->run({L"in"});
    EXPECT_EQ(run.exit_code, 1);
    EXPECT_NE(run.standard_error.find("usage: --render-site-previews <in> <out>"), std::string::npos)
        << run.standard_error;
    EXPECT_FALSE(exists(output(L"capture.png")));
}

TEST_F(SitePreviewMode, ACaptureOfAnotherSizeIsRefusedBeforeAnyOutput) {
    write_inputs(kDemoHeight + 1);
    const ProgramRun run = this->run({L"in", L"out"});
    EXPECT_EQ(run.exit_code, 1);
    EXPECT_NE(run.standard_error.find("desktop-capture.png must be 1100x680"), std::string::npos)
        << run.standard_error;
    EXPECT_FALSE(exists(output(L"capture.png")));
    EXPECT_FALSE(exists(output(L"eyedropper-frames")));
}

TEST_F(SitePreviewMode, AnOversizedCaptureIsRefusedFromItsHeaderWithoutItsPixelsInMemory) {
    // The same refusal after a picture of the expected size is the figure at rest.
    write_inputs(kDemoHeight + 1);
    const std::wstring errors = win::join_path(folder_.path(), L"errors.txt");
    const WatchedRun small = watch(errors);
    EXPECT_EQ(small.exit_code, 1);
    ASSERT_GT(small.readings, 0) << "not measured";

    // 16384 x 16384 would be 1 GiB decoded.
    const std::vector<std::uint8_t> png = testing::blank_png(16384, 16384);
    ASSERT_TRUE(write_test_file(win::join_path(in(), L"desktop-capture.png"),
                                std::string_view(reinterpret_cast<const char*>(png.data()), png.size())));
    const WatchedRun oversized = watch(errors);
    EXPECT_EQ(oversized.exit_code, 1);
    EXPECT_EQ(read_test_file(errors), "desktop-capture.png must be 1100x680\n");
    ASSERT_GT(oversized.readings, 0) << "not measured";
    RecordProperty("peak_working_set_at_rest", std::to_string(small.peak_working_set));
    RecordProperty("peak_working_set_refused", std::to_string(oversized.peak_working_set));
    EXPECT_LT(oversized.peak_working_set, small.peak_working_set + (100u << 20))
        << oversized.peak_working_set << " against " << small.peak_working_set;
    EXPECT_FALSE(exists(output(L"capture.png")));
    for (const AnsweredBox& box : sweeper_.answered()) ADD_FAILURE() << "a box: " << win::to_utf8(box.text);
}

// A BMP's file and information headers claiming 16384 x 16384 at 24 bits
// (768 MiB of pixels), followed by its first row only.
std::string bmp_claiming_16384_square() {
    std::string bmp(54 + 16384 * 3, '\0');
    const auto put = [&](std::size_t at, std::uint32_t value, int bytes) {
        for (int i = 0; i < bytes; ++i) bmp[at + i] = static_cast<char>(value >> (8 * i));
    };
    bmp[0] = 'B';
    bmp[1] = 'M';
    put(2, 54u + 16384u * 16384u * 3u, 4);
    put(10, 54, 4);
    put(14, 40, 4);
    put(18, 16384, 4);
    put(22, 16384, 4);
    put(26, 1, 2);
    put(28, 24, 2);
    return bmp;
}

// Each desktop picture that is missing, is no PNG, or claims 16384 x 16384
// (1 GiB decoded) is refused from its first bytes, by name, before the
// first output is written and within the memory of a run refused at rest.
TEST_F(SitePreviewMode, AnOversizedDesktopPictureIsRefusedByNameFromItsHeaderBeforeAnyOutput) {
    write_inputs(kDemoHeight + 1);
    const std::wstring errors = win::join_path(folder_.path(), L"errors.txt");
    const WatchedRun at_rest = watch(errors);
    ASSERT_GT(at_rest.readings, 0) << "not measured";
    const std::vector<std::uint8_t> png = testing::blank_png(16384, 16384);
    const std::string huge(reinterpret_cast<const char*>(png.data()), png.size());
    const std::string bmp = bmp_claiming_16384_square();
    const auto too_large = [](std::string_view file) {
        return std::string(file) + " is 16384x16384; it must be at most 3840x2160";
    };
    const auto missing = [](const wchar_t* file) {
        return win::win32_failure_code(ERROR_FILE_NOT_FOUND, "CreateFileW", win::join_path(L"in", file)).message;
    };
    const struct {
        const char* name;
        const wchar_t* file;
        std::optional<std::string> bytes;  // none: the file is missing
        std::string error;
    } rows[] = {
        {"presentation too large", L"desktop-presentation.png", huge, too_large("desktop-presentation.png")},
        {"wallpaper too large", L"desktop-board-wallpaper.png", huge, too_large("desktop-board-wallpaper.png")},
        {"icons too large", L"desktop-board-icons.png", huge, too_large("desktop-board-icons.png")},
        {"screen too large", L"desktop-board-screen.png", huge, too_large("desktop-board-screen.png")},
        {"presentation missing", L"desktop-presentation.png", std::nullopt, missing(L"desktop-presentation.png")},
        {"wallpaper missing", L"desktop-board-wallpaper.png", std::nullopt, missing(L"desktop-board-wallpaper.png")},
        {"presentation a BMP", L"desktop-presentation.png", bmp, "desktop-presentation.png is not a PNG picture"},
        {"wallpaper a BMP", L"desktop-board-wallpaper.png", bmp, "desktop-board-wallpaper.png is not a PNG picture"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const std::wstring input = win::join_path(in(), row.file);
        write_inputs();
        if (row.bytes)
            ASSERT_TRUE(write_test_file(input, *row.bytes));
        else
            ASSERT_TRUE(DeleteFileW(input.c_str()));
        const WatchedRun refused = watch(errors);
        EXPECT_EQ(refused.exit_code, 1);
        EXPECT_EQ(read_test_file(errors), row.error + "\n");
        EXPECT_EQ(folder_names(out()), std::set<std::wstring>{}) << "outputs written";
        ASSERT_GT(refused.readings, 0) << "not measured";
        RecordProperty(std::string("peak_working_set_") + row.name, std::to_string(refused.peak_working_set));
        EXPECT_LT(refused.peak_working_set, at_rest.peak_working_set + (100u << 20))
            << refused.peak_working_set << " against " << at_rest.peak_working_set;
    }
    for (const AnsweredBox& box : sweeper_.answered()) ADD_FAILURE() << "a box: " << win::to_utf8(box.text);
}

}  // namespace
}  // namespace glimmerly
