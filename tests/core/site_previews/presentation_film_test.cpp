#include "core/site_previews/presentation_film.h"
#include "core/site_previews/film_track.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>

namespace glimmerly {
namespace {

// Records what each frame would show.
struct FrameLog final : PresentationFrameSink {
    struct Frame {
        std::uint64_t clock;
        Point at;
        std::size_t shapes;
        bool pending;
        bool pressed;
        bool written;
    };
    std::vector<Frame> frames;
    std::optional<std::size_t> fail_at;

    Status draw_frame(const PresentationDemo& demo, Point at) override {
        if (fail_at && frames.size() == *fail_at) return plain_failure("save failed");
        frames.push_back({demo.clock, at, demo.shapes.shapes.size(), demo.shapes.pending.has_value(),
                          presentation_halo_pressed(demo), demo.write});
        return ok_status();
    }
};

BgraImage chart(std::uint32_t width, std::uint32_t bar_left, std::uint32_t bar_right) {
    BgraImage picture{std::vector<std::uint8_t>(std::size_t(width) * 260 * 4, 255), width, 260};
    for (std::uint32_t x = bar_left; x <= bar_right && x < width; ++x) {
        std::uint8_t* p = &picture.pixels[(250 * std::size_t(width) + x) * 4];
        p[0] = 200, p[1] = 120, p[2] = 40;
    }
    return picture;
}

TEST(PresentationFilm, TwoPassesWriteOneHundredSeventySevenFramesStartingWithTheFirstPassesShapes) {
    PresentationDemo demo;
    FrameLog log;
    ASSERT_TRUE(script_presentation_pass(demo, log).ok());
    ASSERT_EQ(log.frames.size(), kPresentationFilmFrames);
    EXPECT_TRUE(demo.track.empty());
    EXPECT_EQ(demo.clock, kPresentationFilmFrames * kPresentationFrameMs);

    demo.write = true;
    log.frames.clear();
    ASSERT_TRUE(script_presentation_pass(demo, log).ok());
    ASSERT_EQ(demo.track.size(), 177u);
    const std::string text = format_pointer_track(demo.track);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 177);
    // The arrow and the circle of the first pass are still fading in.
    EXPECT_EQ(log.frames.front().shapes, 2u);
    EXPECT_EQ(demo.track.front(), (Point{496.5, 250}));
    // Each shape is dragged while the button is down and kept at the release.
    EXPECT_TRUE(log.frames[58].shapes >= 1 && !log.frames[58].pending && !log.frames[58].pressed);
    EXPECT_TRUE(log.frames[30].pressed && log.frames[30].pending);
    EXPECT_EQ(demo.track[50], (Point{848, 316}));
}

TEST(PresentationFilm, AFailedFrameStopsTheScriptWithoutATrackEntry) {
    PresentationDemo demo;
    demo.write = true;
    FrameLog log;
    log.fail_at = 5;
    EXPECT_EQ(script_presentation_pass(demo, log).failure().message, "save failed");
    EXPECT_EQ(demo.track.size(), 5u);
}

TEST(PresentationFilm, TheLetterKeyShowsItsLetterAndFadesAfterRelease) {
    PresentationDemo demo;
    FrameLog log;
    ASSERT_TRUE(script_presentation_frames(demo, log, presentation_film_shapes()[0]).ok());
    const KeySlot& r = demo.keys.slots[key_slot_index(0x13, false)];
    EXPECT_EQ(r.text(), u"R");
    EXPECT_FALSE(r.pressed);
    EXPECT_EQ(r.fade_deadline, 9 * kPresentationFrameMs + 600);
    EXPECT_EQ(presentation_key_kind(presentation_film_shapes()[2].key), TemporaryShapeKind::Ellipse);
    EXPECT_EQ(presentation_key_scan(presentation_film_shapes()[1].key), 0x1E);
}

TEST(PresentationFilm, ACommittedShapeIsHalfFadedAtTwoThousandSevenHundredFifty) {
    PresentationDemo demo;
    FrameLog log;
    ASSERT_TRUE(script_presentation_frames(demo, log, presentation_film_shapes()[0]).ok());
    const TemporaryShape& shape = demo.shapes.shapes.at(0);
    const std::uint64_t c = shape.created_ms;
    EXPECT_EQ(temporary_shape_opacity(shape, c + 2500), 1.0);
    EXPECT_EQ(temporary_shape_opacity(shape, c + 2750), 0.5);
    EXPECT_EQ(shape.head_size, kPresentationShapeSize);
    EXPECT_EQ(shape.object.width, kPresentationShapeWidth);
    demo.clock = c + 3000;
    (void)write_presentation_frame(demo, log, demo.pointer);
    EXPECT_TRUE(demo.shapes.shapes.empty());
}

TEST(PresentationAxis, TheBarsRunOnRow250MustBeCentredOnColumn447) {
    struct Row {
        const char* name;
        BgraImage picture;
        bool passes;
    };
    const Row rows[] = {
        {"27 on each side", chart(900, 420, 474), true},
        {"27 and 28", chart(900, 420, 475), true},
        {"27 and 29", chart(900, 420, 476), false},
        {"447 wide: too narrow", chart(447, 420, 446), false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const Status checked = check_presentation_axis(row.picture);
        EXPECT_EQ(checked.ok(), row.passes);
        if (!checked.ok()) {
            EXPECT_EQ(checked.failure().message, "the circle is off the axis of the April bar");
        }
    }
}

TEST(PresentationHalo, StandsCentredOnThePointerAndSaturates) {
    EXPECT_EQ(presentation_halo_origin({447.9, 250.2}), (std::array<std::int32_t, 2>{411, 214}));
    EXPECT_EQ(presentation_halo_origin({std::nan(""), -1e300}), (std::array<std::int32_t, 2>{-36, INT32_MIN}));
    EXPECT_EQ(presentation_halo_origin({1e300, -0.9}), (std::array<std::int32_t, 2>{INT32_MAX - 36, -36}));
}

}  // namespace
}  // namespace glimmerly
