#include "core/diagnostics/board_diagnostic_checks.h"

#include <gtest/gtest.h>

#include "core/board/board_file.h"

namespace glimmerly {
namespace {

// The primary on the right, a second screen to its left above the origin.
const std::vector<BoardScreen> kTwoScreens = {{"\\\\?\\DISPLAY1", {0, 0, 1920, 1080}},
                                              {"\\\\?\\DISPLAY2", {-1280, -200, 0, 824}}};

BgraImage filled(std::uint32_t width, std::uint32_t height, Rgb colour) {
    BgraImage image{std::vector<std::uint8_t>(std::size_t{width} * height * 4), width, height};
    for (std::size_t i = 0; i < image.pixels.size(); i += 4) {
        image.pixels[i] = colour.b;
        image.pixels[i + 1] = colour.g;
        image.pixels[i + 2] = colour.r;
        image.pixels[i + 3] = 255;
    }
    return image;
}

TEST(DiagnosticBoardPage, OneNotePerScreenReadsBackAtTheSamePlaceOnItsOwnScreen) {
    const BoardFile board = diagnostic_board_page(kTwoScreens);
    auto text = write_board_file(board);
    ASSERT_TRUE(text.ok());
    auto read = read_board_file(*text);
    ASSERT_TRUE(read.ok());
    const BoardPage page = join_screen_scenes(*read, kTwoScreens);
    ASSERT_EQ(page.objects.size(), 2u);
    for (std::size_t i = 0; i < 2; ++i) {
        SCOPED_TRACE(i);
        const SceneObject& note = page.objects[i];
        const Box& screen = kTwoScreens[i].rect;
        EXPECT_EQ(note.kind(), ObjectKind::Rectangle);
        EXPECT_EQ(std::get<RectanglePayload>(note.payload).rect,
                  (Box{screen.left + 40, screen.top + 40, screen.left + 240, screen.top + 140}));
        EXPECT_EQ(note.color, kDiagnosticNoteColour);
        EXPECT_EQ(note.width, 6.0);
        EXPECT_EQ(note.rotation, 0.0);
        EXPECT_TRUE(note.fill.empty());
    }
}

TEST(BakedPictureCheck, NeedsTheScreenSizeAndTheNoteColourWithinTwoAtItsTopEdge) {
    const BoardScreen screen{"S", {0, 0, 300, 200}};
    struct Row {
        const char* name;
        BgraImage picture;
        const char* failure;  // null: passes
    };
    auto with_pixel = [](Rgb colour) {
        BgraImage image = filled(300, 200, {0, 0, 0});
        std::uint8_t* p = image.pixels.data() + (40 * 300 + 140) * 4;
        p[0] = colour.b, p[1] = colour.g, p[2] = colour.r;
        return image;
    };
    BgraImage short_buffer = filled(300, 200, kDiagnosticNoteColour);
    short_buffer.pixels.resize(300 * 40 * 4 + 140 * 4);
    const Row rows[] = {
        {"exact note", with_pixel(kDiagnosticNoteColour), nullptr},
        {"two levels off", with_pixel({239, 77, 94}), nullptr},
        {"three levels off", with_pixel({240, 79, 92}), "The note is not on the baked picture"},
        {"no note", filled(300, 200, {255, 255, 255}), "The note is not on the baked picture"},
        {"smaller than the screen", filled(299, 200, kDiagnosticNoteColour), "A baked picture is not screen-sized"},
        {"pixels cut short", std::move(short_buffer), "A baked picture is too small for the note"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const Status checked = check_baked_pixels(row.picture, screen);
        if (!row.failure) {
            EXPECT_TRUE(checked.ok()) << checked.failure().message;
            continue;
        }
        ASSERT_FALSE(checked.ok());
        EXPECT_EQ(checked.failure().message, row.failure);
        EXPECT_EQ(checked.failure().code, E_FAIL_CODE);
    }
}

TEST(BoardDiagnosticReport, NamesTheBaseAndWhetherTheDesktopWasRendered) {
    BoardBase solid;
    solid.screens = {{"A", std::nullopt, std::nullopt}, {"B", std::nullopt, u"C:\\baked-b.png"}};
    BoardBase pictures = solid;
    pictures.screens[1].image = u"C:\\sea.jpg";
    EXPECT_EQ(board_dry_run_report(1, solid, 1, "target\\board-diagnostic", false),
              "PASS: 1 screen(s), base solid colour, 1 picture(s) baked in target\\board-diagnostic, desktop rendering "
              "unavailable (base only).\n");
    EXPECT_EQ(board_dry_run_report(2, pictures, 2, "t", true),
              "PASS: 2 screen(s), base pictures, 2 picture(s) baked in t, desktop rendering available.\n");
    EXPECT_EQ(std::string(kBoardSetRunReport).size(), 66u);
}

TEST(BoardDiagnosticSteps, EveryFailedStepIsNamedInOrder) {
    StepFailures failures;
    failures.record("bake", plain_failure("Another bake is still running"));
    failures.record("hide", ok_status());
    failures.record("check", Failure{static_cast<std::int32_t>(0x80070005), "denied"});
    const Status result = failures.result();
    ASSERT_FALSE(result.ok());
    EXPECT_EQ(result.failure().code, E_FAIL_CODE);
    EXPECT_EQ(result.failure().message, "bake: Another bake is still running; check: denied");
    EXPECT_TRUE(StepFailures{}.result().ok());
}

TEST(BoardDiagnosticSteps, TheLastResortClearOnlyForASolidBaseStillShowingTheBoard) {
    BoardBase solid;
    solid.screens = {{"\\\\?\\DISPLAY1", std::nullopt, u"b1.png"}, {"\\\\?\\DISPLAY2", std::nullopt, u"b2.png"}};
    BoardBase picture = solid;
    picture.screens[1].image = u"C:\\sea.jpg";
    EXPECT_TRUE(last_resort_applies(solid, kTwoScreens, {false, true}));
    EXPECT_FALSE(last_resort_applies(solid, kTwoScreens, {false, false}));
    EXPECT_FALSE(last_resort_applies(picture, kTwoScreens, {true, true}));
}

TEST(FindScreenForPicture, TakesTheFirstOfThatNameAndRefusesAStranger) {
    auto found = find_screen_for_picture(kTwoScreens, "\\\\?\\DISPLAY2");
    ASSERT_TRUE(found.ok());
    EXPECT_EQ(*found, &kTwoScreens[1]);
    auto stranger = find_screen_for_picture(kTwoScreens, "\\\\?\\DISPLAY3");
    ASSERT_FALSE(stranger.ok());
    EXPECT_EQ(stranger.failure().message, "A picture belongs to no screen");
}

}  // namespace
}  // namespace glimmerly
