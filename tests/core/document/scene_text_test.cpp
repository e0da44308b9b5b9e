#include "core/document/scene_text.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <limits>
#include <random>

#include "tests/core/support/reference_scene_text.h"
#include "tests/core/support/scenes.h"

namespace glimmerly {
namespace {

using namespace glimmerly::testing;

// The text with the first occurrence of `from` replaced by `to`.
std::string replaced(std::string text, std::string_view from, std::string_view to) {
    const std::size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    if (at != std::string::npos) text.replace(at, from.size(), to);
    return text;
}

Scene holding(std::vector<SceneObject> objects, std::vector<FillRegion> background = {}) {
    Scene scene = empty_scene();
    scene.objects = std::move(objects);
    scene.background = std::move(background);
    scene.last = 1;
    return scene;
}

TEST(SceneTextWriter, NumbersAreShortestWithoutExponentAndReadBackExactly) {
    struct Row {
        const char* name;
        double value;
        const char* written;  // null: only the round trip is checked
    };
    const Row rows[] = {
        {"ten to the 21st", 1e21, "1000000000000000000000"},
        {"ten to the minus 7th", 1e-7, "0.0000001"},
        {"negative zero keeps its sign", -0.0, "-0"},
        {"0.1 + 0.2 needs 17 digits", 0.1 + 0.2, "0.30000000000000004"},
        {"large value: shortest digits, then zeros", 1.25e25, "12500000000000000000000000"},
        {"largest finite", std::numeric_limits<double>::max(), nullptr},
        {"smallest subnormal", std::numeric_limits<double>::denorm_min(), nullptr},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        std::string text;
        append_number(text, row.value);
        if (row.written) {
            EXPECT_EQ(text, row.written);
        }
        EXPECT_EQ(text.find_first_of("eE"), std::string::npos) << text;
        const auto back = read_scene_text(write_scene_text(holding({stroke(1, {{row.value, 0.0}})})), 1);
        ASSERT_TRUE(back.ok());
        EXPECT_EQ(std::bit_cast<std::uint64_t>(as_stroke(back->objects[0])->points[0].x),
                  std::bit_cast<std::uint64_t>(row.value));
    }
}

// Numbers of every magnitude, with the digit counts of mouse positions,
// scaled ones and plain bit patterns, both sides of 2^53 where the plain form
// of to_chars stops being the shortest.
TEST(SceneTextWriter, NumbersAreTheBytesOfTheReferenceWriter) {
    std::mt19937_64 random(25);
    std::uniform_int_distribution<int> exponent(-40, 40);
    for (int i = 0; i < 100'000; ++i) {
        double value = 0.0;
        switch (i % 4) {
        case 0: value = std::bit_cast<double>(random()); break;
        case 1: value = std::ldexp(static_cast<double>(random() >> 11), exponent(random) - 53); break;
        case 2: value = std::round(std::ldexp(static_cast<double>(random() >> 11), exponent(random))) / 4.0; break;
        default: value = std::nextafter(0x1p53, 0.0) + static_cast<double>(static_cast<int>(random() % 64) - 32); break;
        }
        if (random() & 1) value = -value;
        if (!std::isfinite(value)) continue;
        std::string written, reference;
        append_number(written, value);
        reference_number(reference, value);
        ASSERT_EQ(written, reference) << std::hexfloat << value;
    }
}

// Scenes of every kind with random coordinates: the same bytes as the
// reference writer, and the reader gives back the scene itself.
TEST(SceneText, RandomScenesWriteTheReferenceBytesAndReadBack) {
    std::mt19937_64 random(7);
    Scene extreme = scene_with_every_kind();
    for (SceneObject& object : extreme.objects)
        if (StrokePayload* pen = as_stroke(object))
            for (Point& p : pen->points)
                p = {std::ldexp(static_cast<double>(random() % 1000 + 1) / 7.0, static_cast<int>(random() % 140) - 70),
                     -p.y / 3.0};
    std::vector<Scene> scenes{scene_with_every_kind(), extreme};
    for (std::uint32_t seed = 1; seed <= 8; ++seed) scenes.push_back(scene_of_many_objects(200, seed));
    for (std::size_t i = 0; i < scenes.size(); ++i) {
        SCOPED_TRACE(i);
        const std::string text = write_scene_text(scenes[i]);
        EXPECT_EQ(text, reference_scene_text(scenes[i]));
        EXPECT_EQ(read_scene_text(text, scene_format_version(scenes[i])).value_or({}), scenes[i]);
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

TEST(SceneText, EveryKindRoundTripsAtItsOwnVersionAndNoOther) {
    const Scene scene = scene_with_every_kind();
    const std::string text = write_scene_text(scene);
    ASSERT_EQ(scene_format_version(scene), kNewestSceneFormat);
    EXPECT_EQ(read_scene_text(text, kNewestSceneFormat).value_or({}), scene);
    for (const std::uint32_t other : {0u, kNewestSceneFormat - 1, kNewestSceneFormat + 1})
        EXPECT_FALSE(read_scene_text(text, other).ok()) << other;
}

// Each feature is written under the version that brought it, and an older
// container refuses it.
TEST(SceneText, FormatVersionIsTheLowestThatHoldsTheScene) {
    SceneObject filled = rectangle(1, {0, 0, 10, 10});
    filled.fill = {FillRegion{{}, Rgb{1, 2, 3}}};
    const FillRegion plain{{}, Rgb{}};
    SceneObject inked = label(1, "a", {0, 0});
    as_text(inked)->ink = Rgb{};
    struct Row { const char* name; Scene scene; std::uint32_t version; };
    const Row rows[] = {
        {"one fill region without ids", holding({filled}), 1},
        {"two fill regions", holding({with_fill(filled, {plain, plain})}), 2},
        {"fill naming ids", holding({with_fill(filled, {FillRegion{{1}, Rgb{}}})}), 2},
        {"background of two regions", holding({}, {plain, plain}), 2},
        {"label", holding({label(1, "a", {0, 0}, LabelMode::wrap(5))}), 3},
        {"bent line", holding({bent(line(1, {0, 0}, {10, 10}), {0, 0.5})}), 4},
        {"label with ink", holding({inked}), 5},
        {"elbow line", holding({elbow(1, {0, 0}, {5, 5}, std::nullopt, std::nullopt)}), 6},
        {"blur", holding({blur(1, {0, 0, 5, 5})}), 7},
        {"blank label", holding({label(1, " \t", {0, 0})}), 8},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(scene_format_version(row.scene), row.version);
        const std::string text = write_scene_text(row.scene);
        EXPECT_EQ(read_scene_text(text, row.version).value_or({}), row.scene);
        if (row.version > 1) {
            EXPECT_FALSE(read_scene_text(text, row.version - 1).ok());
        }
    }
}

TEST(SceneTextReader, AcceptsLooseFormsAndRefusesMalformedOnes) {
    const std::string head = "frame 640 480\norigin 0 0\nregion 0 0 640 480\nlast 9\n";
    const std::string rect = "object id=1 kind=rectangle color=000000 width=3 rotation=0 rect=0,0,1,1\n";
    const std::string good = head + rect + "object id=2 kind=ellipse color=000000 width=3 rotation=0 rect=0,0,1,1\n";
    const std::string line = head + "object id=1 kind=arrow color=000000 width=3 rotation=0 from=0,0 to=5,5 head=1";
    const std::string text = head + "object id=1 kind=text color=000000 width=0 rotation=0 at=0,0 size=20 extent=5,5";
    const std::string pen = head + "object id=1 kind=stroke color=000000 width=3 rotation=0 highlight=0 points=";
    struct Row { const char* name; std::string text; bool accepted = false; };
    const Row rows[] = {
        {"upper-case hex colour", replaced(good, "color=000000", "color=ABCDEF"), true},
        {"tokens in any order", head + "object rect=0,0,1,1 rotation=0 width=3 color=abcdef kind=ellipse id=1\n", true},
        {"plus signs and exponents", "frame +640 +480\norigin +5 -0\nregion 0E0 .5 6.4e2 480.\nlast +9\n", true},
        {"stroke with 3 points and 5 widths", pen + "0,0;1,1;2,2 widths=1;2;3;4;5\n", true},
        {"line attached to an id that names nothing", line + " start=77,1,2\n", true},
        {"empty text", ""},
        {"no final line feed", good.substr(0, good.size() - 1)},
        {"carriage returns", replaced(good, "\n", "\r\n")},
        {"blank line between objects", replaced(good, rect, rect + "\n")},
        {"two spaces between tokens", replaced(good, "width=3 rotation", "width=3  rotation")},
        {"unknown key", replaced(good, "width=3", "width=3 shade=1")},
        {"width given twice", replaced(good, "width=3", "width=3 width=3")},
        {"key of another kind", replaced(good, "width=3", "width=3 head=1")},
        {"rect of three numbers", replaced(good, "rect=0,0,1,1", "rect=0,0,1")},
        {"unknown kind", replaced(good, "kind=ellipse", "kind=circle")},
        {"colour of five digits", replaced(good, "color=000000", "color=00000")},
        {"id with a minus", replaced(good, "id=1", "id=-1")},
        {"number word", replaced(good, "width=3", "width=inf")},
        {"number beyond f64", replaced(good, "width=3", "width=1e400")},
        {"hex number", replaced(good, "width=3", "width=0x3")},
        {"exponent without digits", replaced(good, "width=3", "width=3e")},
        {"plus before a minus", replaced(good, "width=3", "width=+-3")},
        {"two plus signs", replaced(good, "width=3", "width=++3")},
        {"a lone plus", replaced(good, "width=3", "width=+")},
        {"a lone point", replaced(good, "width=3", "width=.")},
        {"rect of five numbers", replaced(good, "rect=0,0,1,1", "rect=0,0,1,1,1")},
        {"rect with an empty number", replaced(good, "rect=0,0,1,1", "rect=0,,1,1")},
        {"points with loose forms", pen + "+1,-2;.5,5.;1E2,-0\n", true},
        {"point of three numbers", pen + "0,0;1,1,1\n"},
        {"point of one number", pen + "0,0;1\n"},
        {"points ending in a separator", pen + "0,0;1,1;\n"},
        {"points starting with a separator", pen + ";0,0\n"},
        {"point with a word", pen + "0,0;nan,1\n"},
        {"widths split by commas", pen + "0,0;1,1 widths=1,2\n"},
        {"widths ending in a separator", pen + "0,0;1,1 widths=1;\n"},
        {"frame of three fields", replaced(good, "frame 640 480", "frame 640 480 1")},
        {"origin beyond i32", replaced(good, "origin 0", "origin 2147483648")},
        {"origin with two signs", replaced(good, "origin 0", "origin -+1")},
        {"last missing", replaced(good, "last 9\n", "")},
        {"scene that fails validation", replaced(good, "region 0 0 640", "region 0 0 641")},
        {"explicit straight bend", line + " bend=0,0\n"},
        {"elbow written 0", line + " elbow=0\n"},
        {"elbow with a bend", line + " bend=0.5,0 elbow=1\n"},
        {"ink without label", text + " ink=000000 text=41\n"},
        {"odd number of hex digits", text + " text=414\n"},
        {"text that is not UTF-8", text + " text=c328\n"},
        {"stroke without points", pen + "\n"},
        {"empty fill list", replaced(good, "width=3", "width=3 fill=")},
        {"fill slash without ids", replaced(good, "width=3", "width=3 fill=000000/")},
        {"fill empty id", replaced(good, "width=3", "width=3 fill=000000/1,,2")},
        {"background keyword without a list", replaced(good, "last 9\n", "last 9\nbackground \n")},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(read_scene_text(row.text, kNewestSceneFormat).ok(), row.accepted);
    }
}

// Stroke points and widths, fill regions and their ids count together
// against one cap, in the writer's check and in the reader alike.
TEST(CheckSceneStorable, RefusesValidScenesTheReaderWouldNotTakeBack) {
    SceneObject pen = stroke(1, {{1, 1}});
    as_stroke(pen)->widths.assign(kMaxSceneTextElements - 3, 1.0);
    Scene at_cap = holding({pen, rectangle(2, {0, 0, 1, 1})}, {FillRegion{{1}, Rgb{}}});
    at_cap.last = 2;
    EXPECT_TRUE(check_scene_storable(at_cap).ok());
    EXPECT_EQ(read_scene_text(write_scene_text(at_cap), 2).value_or({}), at_cap);
    Scene past_cap = at_cap;
    past_cap.background[0].ids = {1, 2};
    EXPECT_TRUE(validate_scene(past_cap));
    EXPECT_FALSE(check_scene_storable(past_cap).ok());
    EXPECT_FALSE(read_scene_text(write_scene_text(past_cap), 2).ok());

    const Scene broken_text = holding({text(1, "caf\xC3", {0, 0})});
    EXPECT_TRUE(validate_scene(broken_text));
    EXPECT_FALSE(check_scene_storable(broken_text).ok());
    EXPECT_FALSE(check_scene_storable(empty_scene(0, 480)).ok());
}

TEST(RenumberExhaustedIds, OnlyCountersCloseToRunningOutAreRenumbered) {
    Scene scene = holding({rectangle(kMaxLoadedLastId - 5, {0, 0, 1, 1}), rectangle(kMaxLoadedLastId, {0, 0, 2, 2})});
    scene.last = kMaxLoadedLastId;
    Scene untouched = scene;
    EXPECT_FALSE(renumber_exhausted_ids(untouched));
    EXPECT_EQ(untouched, scene);

    scene.last = kMaxLoadedLastId + 1;
    EXPECT_TRUE(renumber_exhausted_ids(scene));
    EXPECT_EQ(scene.last, 2u);
    EXPECT_EQ(ids_of(scene.objects), (std::vector<ObjectId>{1, 2}));
}

}  // namespace
}  // namespace glimmerly
