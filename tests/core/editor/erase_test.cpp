#include "core/editor/erase.h"

#include "core/editor/editor_state.h"
#include "tests/core/support/objects.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace glimmerly {
namespace {

using namespace glimmerly::testing;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

// A state in the middle of an eraser drag, as the press leaves it.
EditorState erasing(std::vector<SceneObject> objects, double eraser_size = 10.0) {
    EditorState state;
    state.objects = std::move(objects);
    state.last_id = 100;
    state.eraser_size = eraser_size;
    state.tool = Tool::Eraser;
    state.saved_objects = state.objects;
    state.gesture.payload = EraseGesture{};
    return state;
}

const std::vector<ObjectId>& erased(const EditorState& state) {
    return std::get<EraseGesture>(state.gesture.payload).erased;
}

const StrokePayload& stroke_of(const SceneObject& o) { return *as_stroke(o); }

TEST(EraseSegment, CutsStrokesLeavingThePiecesOutsideItsReachAndDroppingSpecks) {
    // A three-point pen stroke of width 2 along y = 0; radius 5 + 1.
    struct Row { const char* name; Point a, b; std::vector<std::vector<double>> pieces; /* x of their points */ };
    const Row rows[] = {
        {"across the middle", {25, -10}, {25, 10}, {{0, 19}, {31, 50, 100}}},
        {"the far end", {100, -10}, {100, 10}, {{0, 50, 94}}},
        {"the near end", {0, -10}, {0, 10}, {{6, 50, 100}}},
        {"all of it", {-10, 0}, {110, 0}, {}},
        {"leaving a 0.5 speck at the start", {6.5, -10}, {6.5, 10}, {{12.5, 50, 100}}},
        {"passing beside it", {0, 6.1}, {100, 6.1}, {{0, 50, 100}}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const SceneObject pen = stroke(7, {{0, 0}, {50, 0}, {100, 0}}, false, 2.0);
        EditorState state = erasing({pen});
        erase_segment(state, row.a, row.b);
        std::vector<std::vector<double>> pieces;
        for (const SceneObject& piece : state.objects) {
            pieces.emplace_back();
            for (const Point& p : stroke_of(piece).points) pieces.back().push_back(std::round(p.x * 1e6) / 1e6);
            // As in a drawn stroke, every point of a piece but the first carries a width.
            EXPECT_TRUE(piece == pen || stroke_of(piece).widths == std::vector<double>(pieces.back().size() - 1, 2.0));
        }
        EXPECT_EQ(pieces, row.pieces);
        // The first piece stays the stroke; each further one takes a new id.
        const std::vector<ObjectId> ids = {7, 101};
        EXPECT_EQ(ids_of(state.objects), std::vector<ObjectId>(ids.begin(), ids.begin() + row.pieces.size()));
        EXPECT_TRUE(erased(state).empty()) << "strokes are cut, never listed for removal";
    }
}

TEST(EraseSegment, AHighlighterIsCutFiveTimesAsFarFromItsLine) {
    struct Row { const char* name; bool highlight; double offset; bool cut; };
    // Radius 10, width 4: a pen reaches 12, a highlighter 20.
    const Row rows[] = {
        {"pen within", false, 11.9, true},
        {"pen beyond", false, 12.1, false},
        {"highlighter within", true, 19.9, true},
        {"highlighter beyond", true, 20.1, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EditorState state = erasing({stroke(1, {{0, 0}, {100, 0}}, row.highlight, 4.0)}, 20.0);
        erase_segment(state, {50, row.offset}, {50, row.offset + 30});
        EXPECT_EQ(state.objects.size() == 2, row.cut);
    }
}

TEST(EraseSegment, OtherObjectsAreListedWholeWhereTheEraserTouchesThem) {
    const SceneObject filled = with_fill(rectangle(3, {300, 0, 400, 100}), {FillRegion{{}, {1, 2, 3}}});
    struct Row { const char* name; Point at; std::vector<ObjectId> listed; };
    const Row rows[] = {
        {"a rectangle's edge", {0, 50}, {1}},
        {"inside an unfilled rectangle", {50, 50}, {}},
        {"inside a filled one", {350, 50}, {3}},
        {"a blur's border", {204, 50}, {2}},
        {"inside a blur", {250, 50}, {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EditorState state = erasing({rectangle(1, {0, 0, 100, 100}), blur(2, {200, 0, 300, 100}), filled});
        const auto before = state.objects;
        erase_segment(state, row.at, row.at);  // a click
        EXPECT_EQ(erased(state), row.listed);
        EXPECT_EQ(state.objects, before) << "listed only: the release removes them";
    }
}

TEST(EraseSegment, ListsEachObjectOnceInTheOrderThePathMetIt) {
    // Drawn right to left, met left to right.
    EditorState state = erasing({rectangle(1, {200, 0, 300, 100}), rectangle(2, {0, 0, 100, 100})});
    erase_segment(state, {-50, 50}, {350, 50});
    erase_segment(state, {350, 50}, {-50, 50});
    EXPECT_EQ(erased(state), (std::vector<ObjectId>{2, 1}));
}

TEST(EraseSegment, WithoutAnEraserGestureOnlyStrokesAreCut) {
    EditorState state = erasing({rectangle(1, {0, 0, 100, 100}), stroke(2, {{0, 50}, {100, 50}})});
    state.saved_objects.reset();
    state.gesture = Gesture{};
    erase_segment(state, {50, 0}, {50, 100});
    EXPECT_EQ(ids_of(state.objects), (std::vector<ObjectId>{1, 2, 101}));
}

TEST(EraseSegment, RefusesNonFiniteInputAndAnEraserWithoutSize) {
    struct Row { const char* name; Point a, b; double size; };
    const Row rows[] = {
        {"NaN start", {kNaN, 50}, {50, 50}, 10.0},
        {"infinite end", {50, 50}, {kInf, 50}, 10.0},
        {"size 0", {0, 50}, {100, 50}, 0.0},
        {"negative size", {0, 50}, {100, 50}, -4.0},
        {"NaN size", {0, 50}, {100, 50}, kNaN},
        {"infinite size", {0, 50}, {100, 50}, kInf},
        {"ends too far apart to measure", {-1e308, 50}, {1e308, 50}, 10.0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EditorState state = erasing({rectangle(1, {0, 0, 100, 100}), stroke(2, {{50, 0}, {50, 100}})}, row.size);
        const auto before = state.objects;
        erase_segment(state, row.a, row.b);
        EXPECT_EQ(state.objects, before);
        EXPECT_TRUE(erased(state).empty());
    }
}

TEST(EraseSegment, ATinyEraserOnALongPathStillEnds) {
    // A thin band the path runs along without touching its edges: every
    // sample is tested, and without a cap there would be 10^17 of them.
    EditorState state = erasing({rectangle(1, {-10, -10, 2e6, 10})}, 2e-11);
    erase_segment(state, {0, 0}, {1e6, 0});
    EXPECT_TRUE(erased(state).empty());
    // At the band's edge it is found as usual.
    erase_segment(state, {0, 10}, {1e6, 10});
    EXPECT_EQ(erased(state), std::vector<ObjectId>{1});
}

}  // namespace
}  // namespace glimmerly
