#include "core/render/icons.h"

#include "core/document/point_math.h"

#include <gtest/gtest.h>

namespace glimmerly {
namespace {

constexpr Rgb kGrey{198, 198, 198};

template <class T>
std::vector<T> shapes_of(const Picture& picture) {
    std::vector<T> out;
    for (const PictureShape& s : picture)
        if (const T* g = std::get_if<T>(&s.geometry)) out.push_back(*g);
    return out;
}

// The points a shape reaches, for bounds.
std::vector<Point> reach(const ShapeGeometry& g) {
    if (const auto* p = std::get_if<PolylineShape>(&g)) return p->points;
    if (const auto* p = std::get_if<PolygonShape>(&g)) return p->points;
    if (const auto* l = std::get_if<LineShape>(&g)) return {l->from, l->to};
    if (const auto* r = std::get_if<RoundedRectShape>(&g))
        return {{r->box.left, r->box.top}, {r->box.right, r->box.bottom}};
    if (const auto* e = std::get_if<EllipseShape>(&g))
        return {e->centre - Point{e->radii.w, e->radii.h}, e->centre + Point{e->radii.w, e->radii.h}};
    return {};
}

TEST(Icons, KitPicturesStayOnTheGridInTheirOneColour) {
    const auto first = static_cast<std::uint32_t>(IconKind::RegionCorners);
    const auto last = static_cast<std::uint32_t>(IconKind::Chevron);
    for (std::uint32_t kind = first; kind <= last; ++kind) {
        SCOPED_TRACE(kind);
        const Picture picture = icon_picture(IconKind{kind}, kGrey);
        ASSERT_FALSE(picture.empty());
        EXPECT_EQ(icon_picture(IconKind{kind | 0x4200}, kGrey), picture) << "only the low byte selects";
        for (const PictureShape& s : picture) {
            EXPECT_EQ(s.colour, kGrey);
            EXPECT_EQ(s.opacity, 1.0f);
            EXPECT_DOUBLE_EQ(s.width, kIconLineWidth);
            for (const Point p : reach(s.geometry)) {
                EXPECT_GE(std::min(p.x, p.y), -1e-9);
                EXPECT_LE(std::max(p.x, p.y), kIconGrid + 1e-9);
            }
        }
    }
    EXPECT_TRUE(icon_picture(IconKind::None, kGrey).empty());
    EXPECT_TRUE(icon_picture(IconKind{last + 1}, kGrey).empty());
}

TEST(Icons, PlacedAtAScaleEverythingGrows) {
    const Picture dot = place_picture(icon_picture(IconKind::RecordDot, kGrey), {40, 60}, 1.5);
    EXPECT_EQ(dot, (Picture{{EllipseShape{{55, 75}, {12, 12}, false}, kGrey, 1.0f, 1.6 * 1.5},
                            {EllipseShape{{55, 75}, {2.8 * 1.5, 2.8 * 1.5}, true}, kGrey, 1.0f, 1.6 * 1.5}}));
}

TEST(ToolbarIcons, UndoAndRedoAreMirrorImages) {
    const auto lines = [](EditorActionCode code) {
        return shapes_of<PolylineShape>(icon_picture(IconKind{pack_editor_action(code)}, kGrey));
    };
    const auto undo = lines(EditorActionCode::Undo);
    auto redo = lines(EditorActionCode::Redo);
    for (PolylineShape& line : redo)
        for (Point& p : line.points) p.x = kIconGrid - p.x;
    EXPECT_EQ(undo, redo);
    EXPECT_FALSE(undo.empty());
}

TEST(ToolbarIcons, ActionsWithoutAPictureDrawNothingAndEveryPictureEndsUnturned) {
    for (std::uint32_t code = 0; code < kEditorActionCodeCount; ++code)
        for (std::uint32_t argument = 0; argument < (code == 0 ? kToolCount : 1u); ++argument) {
            SCOPED_TRACE(code * 100 + argument);
            const Picture p = icon_picture(IconKind{code | argument << 8}, kGrey);
            using enum EditorActionCode;
            const auto c = static_cast<EditorActionCode>(code);
            EXPECT_EQ(p.empty(), c == CopyColourCode || c == FullScreenOrPrevious || c == NoEffect || c == SaveAs);
            const auto turns = shapes_of<RotationShape>(p);
            EXPECT_TRUE(turns.empty() || !turns.back().on);
        }
}

TEST(ToolbarIcons, SwatchOfTheIconColourIsSelected) {
    const Picture selected = icon_picture(IconKind{colour_action(kGrey)}, kGrey);
    const auto rings = shapes_of<EllipseShape>(selected);
    ASSERT_EQ(rings.size(), 3u) << "the disc, its outline and the white ring";
    EXPECT_DOUBLE_EQ(rings[0].radii.w, 6.7);
    EXPECT_EQ(std::pair(rings[2].radii.w, selected.back().colour), std::pair(10.2, kWhite));
    const auto plain = shapes_of<EllipseShape>(icon_picture(IconKind{colour_action({198, 198, 199})}, kGrey));
    EXPECT_EQ(std::pair(plain.size(), plain[0].radii.w), std::pair(std::size_t{2}, 8.0));
}

TEST(ToolbarIcons, CustomColourRingShowsSixHuesClockwiseFromTheRight) {
    const Picture p = icon_picture(IconKind{pack_editor_action(EditorActionCode::ColourPicker)}, kGrey);
    std::vector<std::pair<Point, Rgb>> segments;
    for (const PictureShape& s : p)
        if (const auto* l = std::get_if<LineShape>(&s.geometry))
            segments.push_back({(l->from + l->to) * 0.5, s.colour});
    ASSERT_EQ(segments.size(), 36u);
    EXPECT_EQ(segments[0].second, (Rgb{240, 80, 80}));
    EXPECT_GT(segments[0].first.y, 10.0) << "the first segment turns downwards from the right";
    EXPECT_GT(segments[0].first.x, 20.0);
    for (std::size_t i = 1; i < segments.size(); ++i)
        EXPECT_EQ(segments[i].second == segments[i - 1].second, i % 6 != 0) << i;
}

TEST(ToolbarIcons, MarksOnInkStandOutFromIt) {
    const EditorAction fill = pack_editor_action(EditorActionCode::FillMode);
    const ToolbarIconStyle style = icon_toolbar_style(fill, {235, 235, 235});  // shade grey 32
    const auto discs = [&](Rgb drop) {
        return shapes_of<EllipseShape>(toolbar_picture(fill, style, {drop, drop})).size();
    };
    EXPECT_EQ(discs({40, 40, 40}), 2u);
    EXPECT_EQ(discs({237, 79, 92}), 1u);
    const auto letter = [](Rgb ink) { return icon_picture(IconKind{tool_action(Tool::Label)}, ink).back().colour; };
    EXPECT_EQ(std::pair(letter(kWhite), letter(kBlack)), std::pair(kBlack, kWhite)) << "the label's letter reads";
}

TEST(ToolbarIcons, ArrowToolIsAnArrowObject) {
    const Picture p = place_picture(icon_picture(IconKind{tool_action(Tool::Arrow)}, kGrey), {0, 0}, 2.0);
    const SceneObject arrow = icon_arrow_object(std::get<ArrowShape>(p[0].geometry), p[0].colour, p[0].width);
    ASSERT_TRUE(as_line(arrow) && as_line(arrow)->head);
    EXPECT_EQ(std::pair(as_line(arrow)->to, arrow.width), std::pair(Point{34, 6}, 2.4 * 2.0));
}

}  // namespace
}  // namespace glimmerly
