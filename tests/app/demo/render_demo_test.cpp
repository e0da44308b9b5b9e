// "--render-demo" run whole by the real program (glimmerly.exe, built beside
// the tests) from a folder that has "target", as CI runs it. Text widths
// differ under Wine ("Segoe UI" is absent), so the checks look at sizes and
// at pixels that no text reaches; the editor views' chrome belongs to the
// capture editor and is not pinned here.

#include <gtest/gtest.h>

#include <cstdio>
#include <optional>
#include <set>
#include <tuple>
#include <utility>

#include "app/image/image_decoder.h"
#include "app/win/com.h"
#include "app/win/failure.h"
#include "app/win/paths.h"
#include "core/base/rgb.h"
#include "core/presentation/keyboard_caps.h"
#include "tests/app/support/dialogs.h"
#include "tests/app/support/resident.h"
#include "tests/app/support/files.h"
#include "tests/app/support/peak_memory.h"
#include "tests/app/support/temp_folder.h"

namespace glimmerly {
namespace {

using namespace testing_support;

struct Picture {
    const wchar_t* name;
    std::uint32_t width;
    std::uint32_t height;
};

// The pictures the first stage writes, in order.
constexpr Picture kStageOne[] = {
    {L"glimmerly-demo.png", 1100, 680},         {L"glimmerly-interface.png", 1100, 680},
    {L"glimmerly-color-wheel.png", 1100, 680},  {L"glimmerly-stroke-preview.png", 1100, 680},
    {L"glimmerly-wheel-hint.png", 1100, 680},   {L"glimmerly-slate.png", 1100, 680},
    {L"glimmerly-hover.png", 1100, 680},        {L"glimmerly-bucket-preview.png", 1100, 680},
    {L"glimmerly-selection-hint.png", 640, 360}, {L"glimmerly-label-colors.png", 1100, 680},
    {L"glimmerly-interface-200.png", 2200, 1360}, {L"glimmerly-mini-toolbar.png", 1820, 560},
    {L"glimmerly-shape-scales.png", 1360, 840}, {L"glimmerly-thick-strokes.png", 800, 460},
    {L"glimmerly-bent-arrows.png", 900, 520},   {L"glimmerly-labels.png", 900, 520},
    {L"glimmerly-elbow-arrows.png", 1100, 680}, {L"glimmerly-blur.png", 1100, 680},
    {L"glimmerly-presentation.png", 960, 540},  {L"glimmerly-keyboard-ansi.png", 520, 140},
    {L"glimmerly-keyboard-layouts.png", 640, 570},
};

// The second stage's opaque pictures: the notices, the setup pages and the
// settings pages. 0 for a side that comes from measured text.
constexpr Picture kStageTwo[] = {
    {L"glimmerly-instant-confirmation.png", 0, 0}, {L"glimmerly-confirmation.png", 0, 56},
    {L"glimmerly-welcome.png", 420, 248},          {L"glimmerly-print-screen.png", 420, 248},
    {L"glimmerly-shortcut.png", 420, 248},
};
// One size for all, that of the largest page: compared with each other.
constexpr const wchar_t* kSettingsPages[] = {
    L"glimmerly-settings-general.png",           L"glimmerly-settings-shortcuts.png",
    L"glimmerly-settings-presentation.png",      L"glimmerly-settings-pointer.png",
    L"glimmerly-settings-shortcuts-editing.png", L"glimmerly-settings-shortcuts-saved.png",
};
// The tray popup's pictures keep the alpha the popup painted.
constexpr const wchar_t* kTrayStates[] = {L"glimmerly-menu.png", L"glimmerly-menu-editing.png",
                                          L"glimmerly-menu-hover-keys.png", L"glimmerly-menu-saved.png"};

std::size_t transparent_pixels(const BgraImage& picture) {
    std::size_t transparent = 0;
    for (std::size_t i = 3; i < picture.pixels.size(); i += 4) transparent += picture.pixels[i] != 255;
    return transparent;
}

class RenderDemo : public ::testing::Test {
protected:
    std::wstring target() const { return folder_.path() + L"\\target"; }
    std::wstring picture_path(const wchar_t* name) const { return win::join_path(target(), name); }

    ProgramRun run(DWORD timeout_ms = 180000) {
        ProgramRun result = run_program({L"--render-demo"}, folder_.path(), sweeper_, timeout_ms);
        for (const AnsweredBox& box : sweeper_.answered()) ADD_FAILURE() << "a box: " << win::to_utf8(box.text);
        return result;
    }

    win::ComApartment com_;  // the pictures are read back through WIC
    TempFolder folder_;
    DialogSweeper sweeper_;
};

Rgb pixel(const BgraImage& image, std::uint32_t x, std::uint32_t y) {
    const std::uint8_t* p = &image.pixels[(std::size_t{y} * image.width + x) * 4];
    return {p[2], p[1], p[0]};
}

bool close_to(Rgb a, Rgb b, int tolerance) {
    return std::abs(a.r - b.r) <= tolerance && std::abs(a.g - b.g) <= tolerance && std::abs(a.b - b.b) <= tolerance;
}

struct PixelCheck {
    const wchar_t* picture;
    std::uint32_t x, y;
    Rgb colour;
    int tolerance;
};

TEST_F(RenderDemo, WritesEveryPictureAtItsSizeOpaqueButTheMenusReplacingEarlierFiles) {
    ASSERT_TRUE(CreateDirectoryW(target().c_str(), nullptr));
    ASSERT_TRUE(write_test_file(picture_path(L"glimmerly-demo.png"), "an earlier run's picture"));
    const ProgramRun run = this->run();
    ASSERT_EQ(run.exit_code, 0) << run.standard_error;

    std::vector<BgraImage> pictures;
    for (const Picture& expected : kStageOne) {
        SCOPED_TRACE(win::to_utf8(expected.name));
        auto picture = load_image_file(picture_path(expected.name));
        ASSERT_TRUE(picture) << picture.failure().message;
        EXPECT_EQ(picture->width, expected.width);
        EXPECT_EQ(picture->height, expected.height);
        EXPECT_EQ(transparent_pixels(*picture), 0u);
        pictures.push_back(std::move(*picture));
    }
    const auto picture_named = [&](const wchar_t* name) -> const BgraImage& {
        for (std::size_t i = 0; i < std::size(kStageOne); ++i)
            if (std::wstring_view(kStageOne[i].name) == name) return pictures[i];
        return pictures.front();
    };

    constexpr Rgb kLight{242, 245, 248};
    constexpr Rgb kGround{246, 246, 246};
    constexpr Rgb kPage{245, 247, 250};
    const PixelCheck checks[] = {
        {L"glimmerly-demo.png", 20, 20, {24, 29, 36}, 0},
        {L"glimmerly-demo.png", 1000, 580, kLight, 0},
        {L"glimmerly-labels.png", 449, 510, kLight, 0},
        {L"glimmerly-labels.png", 450, 510, {52, 44, 40}, 0},
        {L"glimmerly-shape-scales.png", 1350, 830, kGround, 0},
        {L"glimmerly-thick-strokes.png", 790, 450, {25, 25, 25}, 0},
        {L"glimmerly-thick-strokes.png", 255, 250, {237, 79, 92}, 8},
        {L"glimmerly-presentation.png", 950, 530, kPage, 0},
        // The rectangle's left side at full opacity, the faded ellipse's at
        // 40 % over the page, and the middle of the halo disc at 14 %.
        {L"glimmerly-presentation.png", 85, 240, {237, 79, 92}, 8},
        {L"glimmerly-presentation.png", 610, 226, {242, 180, 187}, 12},
        {L"glimmerly-presentation.png", 312, 377, {246, 242, 224}, 4},
        {L"glimmerly-keyboard-layouts.png", 630, 560, kPage, 0},
    };
    for (const PixelCheck& check : checks) {
        SCOPED_TRACE(win::to_utf8(check.picture) + " at " + std::to_string(check.x) + "," + std::to_string(check.y));
        const Rgb seen = pixel(picture_named(check.picture), check.x, check.y);
        EXPECT_TRUE(close_to(seen, check.colour, check.tolerance))
            << int(seen.r) << "," << int(seen.g) << "," << int(seen.b);
    }
    // The layouts picture presses W with the label "Z": dark label strokes
    // inside the lit cap of each of its three keyboards.
    for (const auto& [x0, y0, us] : {std::tuple{20u, 20u, false}, std::tuple{20u, 180u, true}, std::tuple{20u, 340u, false}}) {
        SCOPED_TRACE("keyboard at " + std::to_string(x0) + "," + std::to_string(y0));
        for (const KeyCapPlace& cap : keyboard_caps(us)) {
            if (cap.scan != 0x11 || cap.extended) continue;
            int label = 0;
            for (auto y = std::uint32_t(cap.y + 2); y < std::uint32_t(cap_bottom(cap) - 2); ++y)
                for (auto x = std::uint32_t(cap.x + 2); x < std::uint32_t(cap_right(cap) - 2); ++x)
                    label += close_to(pixel(picture_named(L"glimmerly-keyboard-layouts.png"), x0 + x, y0 + y),
                                      Rgb{20, 37, 50}, 30);
            EXPECT_GT(label, 4);
        }
    }
    const BgraImage& toolbars = picture_named(L"glimmerly-mini-toolbar.png");
    std::size_t off_gap = 0;
    for (std::uint32_t y = 0; y < toolbars.height; ++y)
        for (std::uint32_t x = 900; x < 920; ++x) off_gap += pixel(toolbars, x, y) != Rgb{20, 20, 20};
    EXPECT_EQ(off_gap, 0u);

    for (const Picture& expected : kStageTwo) {
        SCOPED_TRACE(win::to_utf8(expected.name));
        auto picture = load_image_file(picture_path(expected.name));
        ASSERT_TRUE(picture) << picture.failure().message;
        if (expected.width) {
            EXPECT_EQ(picture->width, expected.width);
        }
        if (expected.height) {
            EXPECT_EQ(picture->height, expected.height);
        }
        EXPECT_EQ(transparent_pixels(*picture), 0u);
    }
    std::optional<std::pair<std::uint32_t, std::uint32_t>> settings_size;
    for (const wchar_t* name : kSettingsPages) {
        SCOPED_TRACE(win::to_utf8(name));
        auto picture = load_image_file(picture_path(name));
        ASSERT_TRUE(picture) << picture.failure().message;
        EXPECT_EQ(transparent_pixels(*picture), 0u);
        if (!settings_size) settings_size.emplace(picture->width, picture->height);
        EXPECT_EQ(std::make_pair(picture->width, picture->height), *settings_size);
    }
    EXPECT_GT(settings_size->first, 400u);
    EXPECT_GT(settings_size->second, 300u);
    for (const wchar_t* name : kTrayStates) {
        SCOPED_TRACE(win::to_utf8(name));
        auto picture = load_image_file(picture_path(name));
        ASSERT_TRUE(picture) << picture.failure().message;
        EXPECT_GT(picture->width, 0u);
    }

    // The 36 pictures and nothing else: no temporary file left behind.
    std::set<std::wstring> expected;
    for (const Picture& p : kStageOne) expected.insert(p.name);
    for (const Picture& p : kStageTwo) expected.insert(p.name);
    expected.insert(std::begin(kSettingsPages), std::end(kSettingsPages));
    expected.insert(std::begin(kTrayStates), std::end(kTrayStates));
    EXPECT_EQ(expected.size(), 36u);
    EXPECT_EQ(folder_names(target()), expected);
}

// Wine's Direct2D gives every factory a Direct3D device of its own, some
// 150 MB under llvmpipe: with a factory per picture the run peaked at 1.8 GB.
TEST_F(RenderDemo, PeaksUnder800MegabytesOfWorkingSet) {
    ASSERT_TRUE(CreateDirectoryW(target().c_str(), nullptr));
    const std::wstring errors = win::join_path(folder_.path(), L"errors.txt");
    WatchedRun run;
    {
        SECURITY_ATTRIBUTES inherit{.nLength = sizeof(SECURITY_ATTRIBUTES), .bInheritHandle = TRUE};
        const win::UniqueFileHandle error(
            CreateFileW(errors.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS, 0, nullptr));
        ASSERT_TRUE(error);
        run = run_watching_peak(quoted_program_path() + L" --render-demo", folder_.path(), error.get(), sweeper_,
                                180000);
    }
    EXPECT_EQ(run.exit_code, 0) << read_test_file(errors).value_or("");
    for (const AnsweredBox& box : sweeper_.answered()) ADD_FAILURE() << "a box: " << win::to_utf8(box.text);
    ASSERT_GT(run.readings, 0) << "not measured";
    RecordProperty("peak_working_set", std::to_string(run.peak_working_set));
    EXPECT_LT(run.peak_working_set, std::uint64_t{800} << 20) << run.peak_working_set;
}

TEST_F(RenderDemo, WithoutTargetTheFirstSaveFailsAndNothingIsWritten) {
    const ProgramRun run = this->run(60000);
    EXPECT_EQ(run.exit_code, 1);
    // The save's own I/O text, naming the picture it could not write.
    EXPECT_NE(run.standard_error.find("glimmerly-demo.png"), std::string::npos) << run.standard_error;
    EXPECT_EQ(GetFileAttributesW(target().c_str()), INVALID_FILE_ATTRIBUTES);
    // Nothing landed beside the missing folder either.
    EXPECT_TRUE(folder_names(folder_.path()).empty());
}

TEST_F(RenderDemo, AFailedSaveEndsTheRunAndKeepsThePicturesBeforeIt) {
    ASSERT_TRUE(CreateDirectoryW(target().c_str(), nullptr));
    // A folder where the third picture goes: the move into place is refused.
    ASSERT_TRUE(CreateDirectoryW(picture_path(L"glimmerly-color-wheel.png").c_str(), nullptr));
    const ProgramRun run = this->run(60000);
    EXPECT_EQ(run.exit_code, 1);
    EXPECT_NE(run.standard_error.find("glimmerly-color-wheel.png"), std::string::npos) << run.standard_error;
    const std::set<std::wstring> written = folder_names(target());
    const std::set<std::wstring> expected = {L"glimmerly-demo.png", L"glimmerly-interface.png",
                                             L"glimmerly-color-wheel.png"};
    EXPECT_EQ(written, expected);  // no later picture, none of the second stage, no temporary file
}

}  // namespace
}  // namespace glimmerly
