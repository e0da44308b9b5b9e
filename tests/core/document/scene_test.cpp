#include "core/document/scene.h"

#include "tests/core/support/objects.h"

#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <string>

namespace glimmerly {
namespace {

using namespace glimmerly::testing;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

// A small scene that passes every rule: each change below breaks one, or
// stays just within it.
Scene valid_scene() {
    Scene scene;
    scene.frame = {800, 600};
    scene.origin = {-1920, 0};
    scene.region = {10, 10, 400, 300};
    scene.objects = {with_fill(rectangle(1, {20, 20, 80, 60}), {FillRegion{{1}, Rgb{1, 2, 3}}}),
                     line(2, {0, 0}, {50, 50}), stroke(3, {{1, 1}, {2, 2}}), text(4, "note", {100, 100}),
                     blur(5, {200, 200, 260, 240})};
    scene.background = {FillRegion{{1, 2}, Rgb{9, 9, 9}}};
    scene.last = 5;
    return scene;
}

LinePayload& line_of(Scene& s) { return *as_line(s.objects[1]); }
StrokePayload& stroke_of(Scene& s) { return *as_stroke(s.objects[2]); }
TextPayload& text_of(Scene& s) { return *as_text(s.objects[3]); }

// Replaces the objects with rectangles of ids 1..count.
void rectangles_only(Scene& s, std::size_t count) {
    s.objects.clear();
    s.background.clear();
    for (ObjectId id = 1; id <= count; ++id) s.objects.push_back(rectangle(id, {0, 0, 1, 1}));
    s.last = count;
}

// Two strokes whose points and widths come to the limit plus `extra`.
void fill_strokes(Scene& s, std::size_t extra) {
    stroke_of(s).widths.assign(kMaxStrokeValues / 2 - 2, 1.0);
    SceneObject second = s.objects[2];
    second.id = 6;
    as_stroke(second)->widths.resize(kMaxStrokeValues / 2 - 2 + extra, 1.0);
    s.objects.push_back(std::move(second));
    s.last = 6;
}

TEST(ValidateScene, RefusesEachBrokenRuleAndNothingWithinThem) {
    struct Row { const char* name; std::function<void(Scene&)> change; bool refused; };
    const Row rows[] = {
        {"frame 32768 x 1", [](Scene& s) { s.frame = {32768, 1}; s.region = {0, 0, 1, 1}; }, false},
        {"frame width 0", [](Scene& s) { s.frame.width = 0; }, true},
        {"frame height 32769", [](Scene& s) { s.frame.height = 32769; }, true},
        {"region touching the far edges", [](Scene& s) { s.region = {0, 0, 800, 600}; }, false},
        {"region past the right edge", [](Scene& s) { s.region.right = 800.5; }, true},
        {"zero-width region", [](Scene& s) { s.region.right = s.region.left; }, true},
        {"NaN region", [](Scene& s) { s.region.bottom = kNaN; }, true},
        {"100000 objects", [](Scene& s) { rectangles_only(s, kMaxSceneObjects); }, false},
        {"100001 objects", [](Scene& s) { rectangles_only(s, kMaxSceneObjects + 1); }, true},
        {"ids 1, 2, 2", [](Scene& s) { s.objects[2].id = 2; }, true},
        {"descending ids", [](Scene& s) { s.objects[4].id = 3; }, true},
        {"id above the last", [](Scene& s) { s.last = 4; }, true},
        {"rotation NaN", [](Scene& s) { s.objects[0].rotation = kNaN; }, true},
        {"negative width", [](Scene& s) { s.objects[0].width = -1; }, true},
        {"negative zero width", [](Scene& s) { s.objects[0].width = -0.0; }, false},
        {"rectangle edge infinite", [](Scene& s) { object_rect(s.objects[0])->right = kInf; }, true},
        {"line end NaN", [](Scene& s) { line_of(s).to.x = kNaN; }, true},
        {"line bend NaN", [](Scene& s) { line_of(s).bend.y = kNaN; }, true},
        {"elbow with a bend", [](Scene& s) { line_of(s).elbow = true; line_of(s).bend = {0, 0.25}; }, true},
        {"attachment point NaN", [](Scene& s) { line_of(s).end = ObjectAttachment{1, {kNaN, 0}}; }, true},
        {"attached to a missing id", [](Scene& s) { line_of(s).start = ObjectAttachment{77, {1, 0}}; }, false},
        {"stroke without points", [](Scene& s) { stroke_of(s).points.clear(); }, true},
        {"stroke point infinite", [](Scene& s) { stroke_of(s).points[1].y = kInf; }, true},
        {"stroke width negative", [](Scene& s) { stroke_of(s).widths = {1, -2}; }, true},
        {"strokes of exactly 4000000 values", [](Scene& s) { fill_strokes(s, 0); }, false},
        {"strokes of one value more", [](Scene& s) { fill_strokes(s, 1); }, true},
        {"plain text with ink", [](Scene& s) { text_of(s).ink = Rgb{}; }, true},
        {"wrap width 0", [](Scene& s) { text_of(s).label = LabelMode::wrap(0); }, true},
        {"text position NaN", [](Scene& s) { text_of(s).at.x = kNaN; }, true},
        {"text size 7.5", [](Scene& s) { text_of(s).size = 7.5; }, true},
        {"text size 8", [](Scene& s) { text_of(s).size = 8; }, false},
        {"text size 300", [](Scene& s) { text_of(s).size = 300; }, false},
        {"text size 300.5", [](Scene& s) { text_of(s).size = 300.5; }, true},
        {"negative extent", [](Scene& s) { text_of(s).extent.h = -1; }, true},
        {"text of 1048576 bytes", [](Scene& s) { text_of(s).text.assign(kMaxTextBytes, 'a'); }, false},
        {"text of 1048577 bytes", [](Scene& s) { text_of(s).text.assign(kMaxTextBytes + 1, 'a'); }, true},
        {"plain text of spaces", [](Scene& s) { text_of(s).text = " "; }, true},
        {"label of spaces", [](Scene& s) { text_of(s).text = " "; text_of(s).label = LabelMode::fit(); }, false},
        {"blur rotated", [](Scene& s) { s.objects[4].rotation = 0.1; }, true},
        {"blur strength 1", [](Scene& s) { s.objects[4].width = 1; }, false},
        {"blur strength 64", [](Scene& s) { s.objects[4].width = 64; }, false},
        {"blur strength 0.5", [](Scene& s) { s.objects[4].width = 0.5; }, true},
        {"blur strength 64.5", [](Scene& s) { s.objects[4].width = 64.5; }, true},
        {"blur with fill", [](Scene& s) { s.objects[4].fill = {FillRegion{}}; }, true},
        {"background names a missing object", [](Scene& s) { s.background = {FillRegion{{7}, {}}}; }, true},
        {"object fill names a missing object", [](Scene& s) { s.objects[0].fill = {FillRegion{{1, 6}, {}}}; }, true},
        {"no objects, region without ids",
         [](Scene& s) { rectangles_only(s, 0); s.background = {FillRegion{}}; }, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Scene scene = valid_scene();
        row.change(scene);
        const Status status = check_scene(scene);
        EXPECT_EQ(validate_scene(scene), status.ok());
        EXPECT_EQ(!status.ok(), row.refused) << (status.ok() ? "" : status.failure().message);
        if (!status.ok()) {
            EXPECT_EQ(status.failure().code, E_INVALIDARG_CODE);
        }
    }
}

TEST(TrimmedLen, CountsBytesBetweenTheFirstAndLastNonWhiteCharacters) {
    struct Row { const char* name; std::string text; std::size_t expected; };
    const Row rows[] = {
        {"empty", "", 0},
        {"ASCII spaces and controls", " \t\r\n\v\f", 0},
        {"padded word", "  ab c ", 4},
        {"no-break and ideographic spaces", "\xC2\xA0x\xE3\x80\x80", 1},
        {"line and paragraph separators", "\xE2\x80\xA8\xE2\x80\xA9", 0},
        {"next line and ogham space", "\xC2\x85\xE1\x9A\x80", 0},
        {"en quad to hair space", "\xE2\x80\x80\xE2\x80\x8A", 0},
        {"medium mathematical space", "\xE2\x81\x9F", 0},
        {"zero-width space is not white space", "\xE2\x80\x8B", 3},
        {"letter with a trailing narrow no-break space", "\xC3\xA9\xE2\x80\xAF", 2},
        {"stray byte", " \xFF ", 1},
        {"truncated sequence", "\xE2\x80", 2},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(trimmed_len(row.text), row.expected);
    }
}

TEST(RenumberObjectIds, GivesIdsInListOrderRewritesEveryReferenceAndThenStandsStill) {
    std::vector<SceneObject> objects = {
        rectangle(10, {0, 0, 10, 10}), ellipse(20, {20, 0, 30, 10}),
        with_fill(rectangle(30, {40, 0, 50, 10}), {FillRegion{{10, 99}, Rgb{1, 1, 1}}}),
        fastened(line(25, {0, 0}, {30, 30}), ObjectAttachment{20, {1, 0}}, ObjectAttachment{404, {0, 1}})};
    std::vector<FillRegion> background = {FillRegion{{30, 25, 5}, Rgb{2, 2, 2}}, FillRegion{{}, Rgb{3, 3, 3}}};

    renumber_object_ids(objects, background);

    EXPECT_EQ(ids_of(objects), (std::vector<ObjectId>{1, 2, 3, 4}));
    EXPECT_EQ(objects[2].fill[0].ids, (std::vector<ObjectId>{1}));
    EXPECT_EQ(as_line(objects[3])->start, (ObjectAttachment{2, {1, 0}}));
    EXPECT_FALSE(as_line(objects[3])->end) << "an end fastened to a missing object comes loose";
    EXPECT_EQ(background, (std::vector<FillRegion>{{{3, 4}, {2, 2, 2}}, {{}, {3, 3, 3}}}));

    const auto once = objects;
    renumber_object_ids(objects, background);
    EXPECT_EQ(objects, once) << "ids that are already 1..n stay as they are";
}

}  // namespace
}  // namespace glimmerly
