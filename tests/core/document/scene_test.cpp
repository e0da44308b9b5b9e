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

// A small scene that passes every rule: each change below breaks one.
Scene valid_scene() {
    Scene scene;
    scene.frame = {800, 600};
    scene.origin = {-1920, 0};
    scene.region = {10, 10, 400, 300};
    scene.objects = {rectangle(1, {20, 20, 80, 60}), line(2, {0, 0}, {50, 50}), stroke(3, {{1, 1}, {2, 2}}),
                     text(4, "note", {100, 100}), blur(5, {200, 200, 260, 240})};
    scene.objects[0].fill = {FillRegion{{1}, Rgb{1, 2, 3}}};
    scene.background = {FillRegion{{1, 2}, Rgb{9, 9, 9}}};
    scene.last = 5;
    return scene;
}

LinePayload& line_of(Scene& s) { return *as_line(s.objects[1]); }
StrokePayload& stroke_of(Scene& s) { return *as_stroke(s.objects[2]); }
TextPayload& text_of(Scene& s) { return *as_text(s.objects[3]); }

struct Refusal {
    const char* name;
    std::function<void(Scene&)> change;
    const char* message;  // empty: the changed scene still passes
};

void check_rows(std::initializer_list<Refusal> rows) {
    for (const Refusal& row : rows) {
        SCOPED_TRACE(row.name);
        Scene scene = valid_scene();
        row.change(scene);
        const Status status = check_scene(scene);
        EXPECT_EQ(validate_scene(scene), status.ok());
        if (std::string(row.message).empty()) {
            EXPECT_TRUE(status.ok()) << status.failure().message;
        } else {
            ASSERT_FALSE(status.ok());
            EXPECT_EQ(status.failure().code, E_INVALIDARG_CODE);
            EXPECT_EQ(status.failure().message, row.message);
        }
    }
}

TEST(ValidateScene, AcceptsAWellFormedScene) { EXPECT_TRUE(validate_scene(valid_scene())); }

// Replaces the objects with rectangles of the given ids, the last of them
// also the last id handed out.
void rectangles_only(Scene& s, std::vector<ObjectId> ids) {
    s.objects.clear();
    s.background.clear();
    for (ObjectId id : ids) s.objects.push_back(rectangle(id, {0, 0, 1, 1}));
    s.last = ids.back();
}

std::vector<ObjectId> first_ids(std::size_t count) {
    std::vector<ObjectId> ids(count);
    for (std::size_t i = 0; i < count; ++i) ids[i] = i + 1;
    return ids;
}

TEST(ValidateScene, FrameAndRegionLimits) {
    check_rows({
        {"frame 32768 x 1", [](Scene& s) { s.frame = {32768, 1}; s.region = {0, 0, 1, 1}; }, ""},
        {"frame width 0", [](Scene& s) { s.frame.width = 0; }, "Frame size 0 x 600 is outside 1..32768"},
        {"frame height 32769", [](Scene& s) { s.frame.height = 32769; },
         "Frame size 800 x 32769 is outside 1..32768"},
        {"region touching the far edges", [](Scene& s) { s.region = {0, 0, 800, 600}; }, ""},
        {"region one past the right edge", [](Scene& s) { s.region.right = 800.5; },
         "Region lies outside the frame"},
        {"zero-width region", [](Scene& s) { s.region.right = s.region.left; }, "Region is empty"},
        {"NaN region", [](Scene& s) { s.region.bottom = kNaN; }, "Region is not finite"},
    });
}

TEST(ValidateScene, ObjectCountAndIds) {
    check_rows({
        {"100000 objects", [](Scene& s) { rectangles_only(s, first_ids(kMaxSceneObjects)); }, ""},
        {"100001 objects", [](Scene& s) { rectangles_only(s, first_ids(kMaxSceneObjects + 1)); },
         "Scene holds 100001 objects; at most 100000 are allowed"},
        {"ids 1, 2, 2", [](Scene& s) { s.objects[2].id = 2; }, "Object ids are not strictly ascending at id 2"},
        {"descending ids", [](Scene& s) { s.objects[4].id = 3; }, "Object ids are not strictly ascending at id 3"},
        {"ids 5, 9 with last 8", [](Scene& s) { rectangles_only(s, {5, 9}); s.last = 8; },
         "Object id 9 is above the last id 8"},
        {"ids 5, 9 with last 9", [](Scene& s) { rectangles_only(s, {5, 9}); }, ""},
    });
}

TEST(ValidateScene, KindRules) {
    check_rows({
        {"rotation NaN", [](Scene& s) { s.objects[0].rotation = kNaN; }, "Object 1: rotation is not finite"},
        {"negative width", [](Scene& s) { s.objects[0].width = -1; },
         "Object 1: width is not finite or is negative"},
        {"negative zero width", [](Scene& s) { s.objects[0].width = -0.0; }, ""},
        {"rectangle edge infinite", [](Scene& s) { object_rect(s.objects[0])->right = kInf; },
         "Object 1: rect is not finite"},
        {"line end NaN", [](Scene& s) { line_of(s).to.x = kNaN; }, "Object 2: line end is not finite"},
        {"line bend NaN", [](Scene& s) { line_of(s).bend.y = kNaN; }, "Object 2: line bend is not finite"},
        {"elbow with a bend", [](Scene& s) { line_of(s).elbow = true; line_of(s).bend = {0, 0.25}; },
         "Object 2: elbow line has a bend"},
        {"attachment point NaN", [](Scene& s) { line_of(s).end = ObjectAttachment{1, {kNaN, 0}}; },
         "Object 2: attachment point is not finite"},
        {"attached to a missing id", [](Scene& s) { line_of(s).start = ObjectAttachment{77, {1, 0}}; }, ""},
        {"stroke without points", [](Scene& s) { stroke_of(s).points.clear(); },
         "Object 3: stroke has no points"},
        {"stroke point infinite", [](Scene& s) { stroke_of(s).points[1].y = kInf; },
         "Object 3: stroke point is not finite"},
        {"stroke width negative", [](Scene& s) { stroke_of(s).widths = {1, -2}; },
         "Object 3: stroke width is not finite or is negative"},
        {"plain text with ink", [](Scene& s) { text_of(s).ink = Rgb{}; }, "Object 4: plain text has a label ink"},
        {"wrap width 0", [](Scene& s) { text_of(s).label = LabelMode::wrap(0); },
         "Object 4: wrap width is not finite and above 0"},
        {"text position NaN", [](Scene& s) { text_of(s).at.x = kNaN; }, "Object 4: text position is not finite"},
        {"text size 7.5", [](Scene& s) { text_of(s).size = 7.5; }, "Object 4: text size is outside 8..300"},
        {"text size 8", [](Scene& s) { text_of(s).size = 8; }, ""},
        {"text size 300", [](Scene& s) { text_of(s).size = 300; }, ""},
        {"text size 300.5", [](Scene& s) { text_of(s).size = 300.5; }, "Object 4: text size is outside 8..300"},
        {"negative extent", [](Scene& s) { text_of(s).extent.h = -1; },
         "Object 4: text extent is not finite or is negative"},
        {"text of 1048576 bytes", [](Scene& s) { text_of(s).text.assign(kMaxTextBytes, 'a'); }, ""},
        {"text of 1048577 bytes", [](Scene& s) { text_of(s).text.assign(kMaxTextBytes + 1, 'a'); },
         "Object 4: text is longer than 1048576 bytes"},
        {"plain text of spaces", [](Scene& s) { text_of(s).text = "   "; }, "Object 4: plain text is blank"},
        {"label of spaces", [](Scene& s) { text_of(s).text = "   "; text_of(s).label = LabelMode::wrap(120); }, ""},
        {"blur rotated", [](Scene& s) { s.objects[4].rotation = 0.1; }, "Object 5: blur object is rotated"},
        {"blur strength 1", [](Scene& s) { s.objects[4].width = 1; }, ""},
        {"blur strength 64", [](Scene& s) { s.objects[4].width = 64; }, ""},
        {"blur strength 0.5", [](Scene& s) { s.objects[4].width = 0.5; },
         "Object 5: blur strength is outside 1..64"},
        {"blur strength 64.5", [](Scene& s) { s.objects[4].width = 64.5; },
         "Object 5: blur strength is outside 1..64"},
        {"blur with fill", [](Scene& s) { s.objects[4].fill = {FillRegion{}}; },
         "Object 5: blur object carries fill regions"},
    });
}

TEST(ValidateScene, StrokeValuesAreCountedOverTheWholeScene) {
    // Points and widths of all strokes together: exactly the limit passes.
    const auto fill_strokes = [](Scene& s, std::size_t extra) {
        stroke_of(s).widths.assign(kMaxStrokeValues / 2 - 2, 1.0);  // 2 points + widths = half the limit
        SceneObject second = s.objects[2];
        second.id = 6;
        as_stroke(second)->widths.resize(kMaxStrokeValues / 2 - 2 + extra, 1.0);
        s.objects.push_back(std::move(second));
        s.last = 6;
    };
    check_rows({
        {"exactly 4000000", [&](Scene& s) { fill_strokes(s, 0); }, ""},
        {"one more", [&](Scene& s) { fill_strokes(s, 1); },
         "Object 6: strokes hold more than 4000000 points and widths"},
    });
}

TEST(ValidateScene, FillIdsMustNameObjects) {
    check_rows({
        {"background names 7 without object 7", [](Scene& s) { s.background = {FillRegion{{7}, {}}}; },
         "Fill region names missing object 7"},
        {"background names 7 with object 7",
         [](Scene& s) {
             s.background = {FillRegion{{7}, {}}};
             s.objects.push_back(rectangle(7, {}));
             s.last = 7;
         },
         ""},
        {"object fill names a missing object", [](Scene& s) { s.objects[0].fill = {FillRegion{{1, 6}, {}}}; },
         "Fill region names missing object 6"},
        {"no objects, empty region", [](Scene& s) { s.objects.clear(); s.background = {FillRegion{{}, {}}}; }, ""},
        {"no objects, region names 1", [](Scene& s) { s.objects.clear(); s.background = {FillRegion{{1}, {}}}; },
         "Fill region names missing object 1"},
    });
}

TEST(TrimmedLen, CountsBytesBetweenTheFirstAndLastNonWhiteCharacters) {
    struct Row {
        const char* name;
        std::string text;
        std::size_t expected;
    };
    const Row rows[] = {
        {"empty", "", 0},
        {"ASCII spaces and controls", " \t\r\n\v\f", 0},
        {"padded word", "  ab c ", 4},
        {"no-break and ideographic spaces", "\xC2\xA0x\xE3\x80\x80", 1},
        {"line and paragraph separators", "\xE2\x80\xA8\xE2\x80\xA9", 0},
        {"next line and ogham space", "\xC2\x85\xE1\x9A\x80", 0},
        {"en quad to hair space", "\xE2\x80\x80\xE2\x80\x8A", 0},
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

TEST(RenumberObjectIds, GivesIdsInListOrderAndRewritesEveryReference) {
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
}

TEST(RenumberObjectIds, RenumberedSceneValidatesAndIsStable) {
    Scene scene = valid_scene();
    for (auto& object : scene.objects) object.id *= 7;
    scene.objects[0].fill = {FillRegion{{7}, {}}};
    scene.background = {FillRegion{{7, 14}, {}}};
    renumber_object_ids(scene.objects, scene.background);
    scene.last = scene.objects.size();
    EXPECT_TRUE(validate_scene(scene));

    const Scene once = scene;
    renumber_object_ids(scene.objects, scene.background);
    EXPECT_EQ(scene, once) << "ids that are already 1..n stay as they are";
}

}  // namespace
}  // namespace glimmerly
