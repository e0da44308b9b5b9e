#include "core/document/scene_text.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <limits>

#include "tests/core/support/scenes.h"

namespace glimmerly {
namespace {

using namespace glimmerly::testing;

std::string number(double value) {
    std::string out;
    append_number(out, value);
    return out;
}

// The text with the first occurrence of `from` replaced by `to`.
std::string replaced(std::string text, std::string_view from, std::string_view to) {
    const std::size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    if (at != std::string::npos) text.replace(at, from.size(), to);
    return text;
}

constexpr std::string_view kHead = "frame 640 480\norigin 0 0\nregion 0 0 640 480\nlast 9\n";

// A text of the header and the given object lines.
std::string with_objects(std::string_view lines) { return std::string(kHead) + std::string(lines); }

TEST(SceneTextWriter, NumbersAreShortestWithoutExponentAndReadBackExactly) {
    struct Row {
        const char* name;
        double value;
        const char* written;  // null: only the round trip is checked
    };
    const Row rows[] = {
        {"integral value without a fraction", 3.0, "3"},
        {"one tenth", 0.1, "0.1"},
        {"ten to the 21st", 1e21, "1000000000000000000000"},
        {"ten to the minus 7th", 1e-7, "0.0000001"},
        {"negative zero keeps its sign", -0.0, "-0"},
        {"0.1 + 0.2 needs 17 digits", 0.1 + 0.2, "0.30000000000000004"},
        {"large value: shortest digits, then zeros", 1.25e25, "12500000000000000000000000"},
        {"largest finite", std::numeric_limits<double>::max(), nullptr},
        {"smallest normal", std::numeric_limits<double>::min(), nullptr},
        {"smallest subnormal", std::numeric_limits<double>::denorm_min(), nullptr},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const std::string text = number(row.value);
        if (row.written) {
            EXPECT_EQ(text, row.written);
        }
        EXPECT_EQ(text.find_first_of("eE"), std::string::npos) << text;

        // Read back through a stroke point, compared bit for bit.
        Scene scene = empty_scene();
        scene.objects.push_back(stroke(1, {{row.value, 0.0}}));
        scene.last = 1;
        const auto back = read_scene_text(write_scene_text(scene), 1);
        ASSERT_TRUE(back.ok());
        EXPECT_EQ(std::bit_cast<std::uint64_t>(std::get<StrokePayload>(back->objects[0].payload).points[0].x),
                  std::bit_cast<std::uint64_t>(row.value));
    }
}

TEST(SceneTextWriter, HeaderAndObjectLinesInTheirTokenOrder) {
    Scene scene = empty_scene();
    scene.origin = {-1920, -8};
    scene.region = {110.5, 0, 220.0, 480};
    SceneObject box = rectangle(3, {1, 2, 30.5, 40});
    box.color = Rgb{0xAB, 0x0C, 0x00};
    box.fill = {FillRegion{{3}, Rgb{255, 0, 0}}, FillRegion{{}, Rgb{0, 255, 0}}};
    scene.objects.push_back(box);
    SceneObject note = label(4, "Hi", {5, 6}, LabelMode::wrap(80));
    std::get<TextPayload>(note.payload).ink = Rgb{1, 2, 3};
    scene.objects.push_back(note);
    scene.background = {FillRegion{{3, 4}, Rgb{0, 0, 255}}};
    scene.last = 4;
    EXPECT_EQ(write_scene_text(scene),
              "frame 640 480\norigin -1920 -8\nregion 110.5 0 220 480\nlast 4\nbackground 0000ff/3,4\n"
              "object id=3 kind=rectangle color=ab0c00 width=3 rotation=0 fill=ff0000/3;00ff00 rect=1,2,30.5,40\n"
              "object id=4 kind=text color=fadc28 width=0 rotation=0 at=5,6 size=20 extent=50,20 "
              "label=wrap:80 ink=010203 text=4869\n");
}

TEST(SceneText, EveryKindRoundTripsAtItsOwnVersionAndNoOlder) {
    const Scene scene = scene_with_every_kind();
    ASSERT_TRUE(validate_scene(scene));
    const std::string text = write_scene_text(scene);
    const std::uint32_t version = scene_format_version(scene);
    EXPECT_EQ(version, kNewestSceneFormat);
    const auto back = read_scene_text(text, version);
    ASSERT_TRUE(back.ok());
    EXPECT_EQ(*back, scene);
    EXPECT_EQ(write_scene_text(*back), text);
    EXPECT_FALSE(read_scene_text(text, version - 1).ok());
    EXPECT_FALSE(read_scene_text(text, version + 1).ok());
    EXPECT_FALSE(read_scene_text(text, 0).ok());
}

TEST(SceneText, FormatVersionIsTheLowestThatHoldsTheScene) {
    struct Row {
        const char* name;
        SceneObject object;
        std::uint32_t version;
    };
    SceneObject one_fill = rectangle(1, {0, 0, 10, 10});
    one_fill.fill = {FillRegion{{}, Rgb{1, 2, 3}}};
    SceneObject named_fill = one_fill;
    named_fill.fill[0].ids = {1};
    SceneObject bent = line(1, {0, 0}, {10, 10});
    std::get<LinePayload>(bent.payload).bend = {0, 0.5};
    SceneObject inked = label(1, "a", {0, 0});
    std::get<TextPayload>(inked.payload).ink = Rgb{};
    const Row rows[] = {
        {"rectangle with one fill without ids", one_fill, 1},
        {"fill naming ids", named_fill, 2},
        {"label", label(1, "a", {0, 0}, LabelMode::wrap(5)), 3},
        {"bent line", bent, 4},
        {"label with ink", inked, 5},
        {"elbow line", elbow(1, {0, 0}, {5, 5}, std::nullopt, std::nullopt), 6},
        {"blur", blur(1, {0, 0, 5, 5}), 7},
        {"blank label", label(1, " \t", {0, 0}), 8},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Scene scene = empty_scene();
        scene.objects = {row.object};
        scene.last = 1;
        EXPECT_EQ(scene_format_version(scene), row.version);
        const std::string text = write_scene_text(scene);
        EXPECT_EQ(read_scene_text(text, row.version).value_or({}), scene);
        if (row.version > 1) {
            EXPECT_FALSE(read_scene_text(text, row.version - 1).ok());
        }
    }
    Scene two_background = empty_scene();
    two_background.background = {FillRegion{{}, Rgb{}}, FillRegion{{}, Rgb{}}};
    EXPECT_EQ(scene_format_version(two_background), 2u);
    two_background.background.pop_back();
    EXPECT_EQ(scene_format_version(two_background), 1u);
}

TEST(SceneTextReader, AcceptsLooseButValidForms) {
    struct Row {
        const char* name;
        std::string text;
        std::uint32_t version;
    };
    const Row rows[] = {
        {"upper-case hex colour", with_objects("object id=1 kind=rectangle color=ABCDEF width=3 rotation=0 "
                                               "rect=0,0,1,1\n"), 1},
        {"tokens in any order", with_objects("object rect=0,0,1,1 rotation=0 width=3 color=abcdef kind=ellipse "
                                             "id=1\n"), 1},
        {"plus signs and exponents", "frame +640 +480\norigin +5 -0\nregion 0E0 .5 6.4e2 480.\nlast +9\n", 1},
        {"stroke with 3 points and 5 widths",
         with_objects("object id=1 kind=stroke color=000000 width=3 rotation=0 highlight=0 "
                      "points=0,0;1,1;2,2 widths=1;2;3;4;5\n"), 1},
        {"one background region without ids at version 1", std::string(kHead) + "background 102030\n", 1},
        {"line attached to an id that names nothing",
         with_objects("object id=1 kind=arrow color=000000 width=3 rotation=0 from=0,0 to=5,5 head=1 "
                      "start=77,1,2\n"), 1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_TRUE(read_scene_text(row.text, row.version).ok());
    }
}

TEST(SceneTextReader, RefusesEveryMalformedForm) {
    const std::string rect = "object id=1 kind=rectangle color=000000 width=3 rotation=0 rect=0,0,1,1\n";
    const std::string good = with_objects(rect + "object id=2 kind=ellipse color=000000 width=3 rotation=0 "
                                                 "rect=0,0,1,1\n");
    ASSERT_TRUE(read_scene_text(good, 8).ok());
    const std::string line = "object id=1 kind=arrow color=000000 width=3 rotation=0 from=0,0 to=5,5 head=1";
    const std::string text_object = "object id=1 kind=text color=000000 width=0 rotation=0 at=0,0 size=20 "
                                    "extent=5,5";
    struct Row {
        const char* name;
        std::string text;
        std::uint32_t version;
    };
    const Row rows[] = {
        {"empty text", "", 8},
        {"no final line feed", good.substr(0, good.size() - 1), 8},
        {"carriage returns", replaced(good, "\n", "\r\n"), 8},
        {"blank line between objects", replaced(good, rect, rect + "\n"), 8},
        {"two spaces between tokens", replaced(good, "width=3 rotation", "width=3  rotation"), 8},
        {"unknown key", replaced(good, "width=3", "width=3 shade=1"), 8},
        {"width given twice", replaced(good, "width=3", "width=3 width=3"), 8},
        {"key of another kind", replaced(good, "width=3", "width=3 head=1"), 8},
        {"rect of three numbers", replaced(good, "rect=0,0,1,1", "rect=0,0,1"), 8},
        {"unknown kind", replaced(good, "kind=ellipse", "kind=circle"), 8},
        {"colour of five digits", replaced(good, "color=000000", "color=00000"), 8},
        {"id with a minus", replaced(good, "id=1", "id=-1"), 8},
        {"number word", replaced(good, "width=3", "width=inf"), 8},
        {"number beyond f64", replaced(good, "width=3", "width=1e400"), 8},
        {"hex number", replaced(good, "width=3", "width=0x3"), 8},
        {"exponent without digits", replaced(good, "width=3", "width=3e"), 8},
        {"frame of three fields", replaced(good, "frame 640 480", "frame 640 480 1"), 8},
        {"origin beyond i32", replaced(good, "origin 0", "origin 2147483648"), 8},
        {"origin with two signs", replaced(good, "origin 0", "origin -+1"), 8},
        {"last missing", replaced(good, "last 9\n", ""), 8},
        {"scene that fails validation", replaced(good, "region 0 0 640", "region 0 0 641"), 8},
        {"blur before version 7",
         with_objects("object id=1 kind=blur color=000000 width=7 rotation=0 rect=0,0,5,5\n"), 6},
        {"bend before version 4", with_objects(line + " bend=0.5,0\n"), 3},
        {"explicit straight bend", with_objects(line + " bend=0,0\n"), 8},
        {"elbow before version 6", with_objects(line + " elbow=1\n"), 5},
        {"elbow written 0", with_objects(line + " elbow=0\n"), 8},
        {"elbow with a bend", with_objects(line + " bend=0.5,0 elbow=1\n"), 8},
        {"label before version 3", with_objects(text_object + " label=fit text=41\n"), 2},
        {"ink before version 5", with_objects(text_object + " label=fit ink=000000 text=41\n"), 4},
        {"ink without label", with_objects(text_object + " ink=000000 text=41\n"), 8},
        {"odd number of hex digits", with_objects(text_object + " text=414\n"), 8},
        {"text that is not UTF-8", with_objects(text_object + " text=c328\n"), 8},
        {"blank label before version 8", with_objects(text_object + " label=fit text=20\n"), 7},
        {"stroke without points",
         with_objects("object id=1 kind=stroke color=000000 width=3 rotation=0 highlight=0 points=\n"), 8},
        {"empty fill list", replaced(good, "width=3", "width=3 fill="), 8},
        {"fill slash without ids", replaced(good, "width=3", "width=3 fill=000000/"), 8},
        {"fill empty id", replaced(good, "width=3", "width=3 fill=000000/1,,2"), 8},
        {"two fill regions at version 1", replaced(good, "width=3", "width=3 fill=000000;111111"), 1},
        {"fill with ids at version 1", replaced(good, "width=3", "width=3 fill=000000/1"), 1},
        {"background keyword without a list", replaced(good, "last 9\n", "last 9\nbackground \n"), 8},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_FALSE(read_scene_text(row.text, row.version).ok());
    }
}

TEST(SceneTextReader, RefusesTheObjectPastTheLimit) {
    Scene scene = empty_scene();
    for (ObjectId id = 1; id <= kMaxSceneObjects; ++id) scene.objects.push_back(rectangle(id, {0, 0, 1, 1}));
    scene.last = kMaxSceneObjects + 1;
    std::string text = write_scene_text(scene);
    EXPECT_TRUE(read_scene_text(text, 1).ok());
    text += "object id=100001 kind=rectangle color=000000 width=3 rotation=0 rect=0,0,1,1\n";
    EXPECT_FALSE(read_scene_text(text, 1).ok());
}

// Stroke points and widths, fill regions and their ids count together
// against one cap, in the writer's check and in the reader alike.
TEST(CheckSceneStorable, RefusesValidScenesTheReaderWouldNotTakeBack) {
    Scene at_cap = empty_scene();
    SceneObject pen = stroke(1, {{1, 1}});
    std::get<StrokePayload>(pen.payload).widths.assign(kMaxSceneTextElements - 3, 1.0);
    at_cap.objects = {pen, rectangle(2, {0, 0, 1, 1})};
    at_cap.last = 2;
    at_cap.background = {FillRegion{{1}, Rgb{}}};
    EXPECT_TRUE(check_scene_storable(at_cap).ok());
    EXPECT_EQ(read_scene_text(write_scene_text(at_cap), 2).value_or({}), at_cap);
    Scene past_cap = at_cap;
    past_cap.background[0].ids = {1, 2};
    EXPECT_TRUE(validate_scene(past_cap));
    EXPECT_FALSE(check_scene_storable(past_cap).ok());
    EXPECT_FALSE(read_scene_text(write_scene_text(past_cap), 2).ok());

    Scene broken_text = empty_scene();
    broken_text.objects = {text(1, "caf\xC3", {0, 0})};
    broken_text.last = 1;
    EXPECT_TRUE(validate_scene(broken_text));
    EXPECT_FALSE(check_scene_storable(broken_text).ok());

    Scene invalid = empty_scene();
    invalid.frame.width = 0;
    EXPECT_FALSE(check_scene_storable(invalid).ok());
    EXPECT_TRUE(check_scene_storable(scene_with_every_kind()).ok());
}

TEST(RenumberExhaustedIds, OnlyCountersCloseToRunningOutAreRenumbered) {
    Scene scene = empty_scene();
    scene.objects = {rectangle(kMaxLoadedLastId - 5, {0, 0, 1, 1}), rectangle(kMaxLoadedLastId, {0, 0, 2, 2})};
    scene.background = {FillRegion{{kMaxLoadedLastId}, Rgb{}}};
    scene.last = kMaxLoadedLastId;
    Scene untouched = scene;
    EXPECT_FALSE(renumber_exhausted_ids(untouched));
    EXPECT_EQ(untouched, scene);

    scene.last = std::numeric_limits<ObjectId>::max();
    EXPECT_TRUE(renumber_exhausted_ids(scene));
    EXPECT_EQ(scene.last, 2u);
    EXPECT_EQ(scene.objects[0].id, 1u);
    EXPECT_EQ(scene.objects[1].id, 2u);
    EXPECT_EQ(scene.background[0].ids, std::vector<ObjectId>{2});
    EXPECT_TRUE(validate_scene(scene));
}

}  // namespace
}  // namespace glimmerly
