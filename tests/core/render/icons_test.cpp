#include "core/render/icons.h"

#include "core/document/point_math.h"
#include "core/editor/toolbar.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

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
    if (const auto* r = std::get_if<RectShape>(&g)) return {{r->box.left, r->box.top}, {r->box.right, r->box.bottom}};
    if (const auto* r = std::get_if<RoundedRectShape>(&g))
        return {{r->box.left, r->box.top}, {r->box.right, r->box.bottom}};
    if (const auto* e = std::get_if<EllipseShape>(&g))
        return {e->centre - Point{e->radii.w, e->radii.h}, e->centre + Point{e->radii.w, e->radii.h}};
    return {};
}

TEST(Icons, KitPicturesStayOnTheGridInTheirOneColour) {
    for (std::uint32_t kind = 23; kind <= 45; ++kind) {
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
    EXPECT_TRUE(icon_picture(IconKind{46}, kGrey).empty());
}

TEST(Icons, EyeSlashedIsTheEyeWithItsDiagonal) {
    Picture eye = icon_picture(IconKind::Eye, kGrey);
    const Picture slashed = icon_picture(IconKind::EyeSlashed, kGrey);
    ASSERT_EQ(slashed.size(), eye.size() + 1);
    eye.push_back({PolylineShape{{{3, 3}, {17, 17}}, false}, kGrey, 1.0f, kIconLineWidth});
    EXPECT_EQ(slashed, eye);
}

TEST(Icons, PlacedAtAScaleEverythingGrows) {
    const Picture dot = place_picture(icon_picture(IconKind::RecordDot, kGrey), {40, 60}, 1.5);
    const auto discs = shapes_of<EllipseShape>(dot);
    ASSERT_EQ(discs.size(), 2u);
    EXPECT_EQ(discs[0].centre, (Point{55, 75}));
    EXPECT_DOUBLE_EQ(discs[0].radii.w, 12.0);
    EXPECT_NEAR(dot[0].width, 2.4, 1e-12);
    EXPECT_NEAR(discs[1].radii.w, 4.2, 1e-12);
    EXPECT_TRUE(discs[1].filled);
}

TEST(Icons, GearSpokeRunsAlongItsAngle) {
    const auto lines = shapes_of<PolylineShape>(icon_picture(IconKind::Gear, kGrey));
    ASSERT_EQ(lines.size(), 8u);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        SCOPED_TRACE(i);
        const double a = static_cast<double>(i) * std::numbers::pi / 4.0;
        const Point along{std::cos(a), std::sin(a)};
        EXPECT_NEAR(cross(lines[i].points[0] - Point{10, 10}, along), 0.0, 1e-12);
        EXPECT_NEAR(dot(lines[i].points[0] - Point{10, 10}, along), 5.5, 1e-12);
        EXPECT_NEAR(dot(lines[i].points[1] - Point{10, 10}, along), 8.5, 1e-12);
    }
}

TEST(ToolbarIcons, UndoAndRedoAreMirrorImages) {
    const ToolbarIconStyle style = icon_toolbar_style(0, kGrey);
    const auto undo = shapes_of<PolylineShape>(toolbar_picture(pack_editor_action(EditorActionCode::Undo), style, {}));
    const auto redo = shapes_of<PolylineShape>(toolbar_picture(pack_editor_action(EditorActionCode::Redo), style, {}));
    ASSERT_EQ(undo.size(), redo.size());
    ASSERT_FALSE(undo.empty());
    for (std::size_t i = 0; i < undo.size(); ++i) {
        ASSERT_EQ(undo[i].points.size(), redo[i].points.size());
        for (std::size_t k = 0; k < undo[i].points.size(); ++k)
            EXPECT_EQ(undo[i].points[k], (Point{kIconGrid - redo[i].points[k].x, redo[i].points[k].y}));
    }
}

TEST(ToolbarIcons, ActionsWithoutAPictureDrawNothingAndEveryPictureEndsUnturned) {
    for (std::uint32_t code = 0; code < kEditorActionCodeCount; ++code) {
        SCOPED_TRACE(code);
        const auto code_enum = static_cast<EditorActionCode>(code);
        const bool none = code_enum == EditorActionCode::CopyColourCode ||
                          code_enum == EditorActionCode::FullScreenOrPrevious ||
                          code_enum == EditorActionCode::NoEffect || code_enum == EditorActionCode::SaveAs;
        for (std::uint32_t argument = 0; argument < (code == 0 ? kToolCount : 1u); ++argument) {
            const Picture p = icon_picture(IconKind{pack_editor_action(code_enum, argument)}, kGrey);
            EXPECT_EQ(p.empty(), none);
            const auto turns = shapes_of<RotationShape>(p);
            if (!turns.empty()) {
                EXPECT_FALSE(turns.back().on);
            }
        }
    }
}

TEST(ToolbarIcons, SwatchOfTheIconColourIsSelected) {
    const auto swatch = [](EditorAction word) {
        const Picture p = icon_picture(IconKind{word}, kGrey);
        const auto rings = shapes_of<EllipseShape>(p);
        return std::pair{rings.front().radii.w, rings.size()};
    };
    EXPECT_EQ(swatch(colour_action(kGrey)), (std::pair{8.0 * kSelectedSwatchFactor, std::size_t{3}}))
        << "a smaller disc, its outline and the white ring";
    EXPECT_EQ(swatch(colour_action({198, 198, 199})), (std::pair{8.0, std::size_t{2}}));
    const Picture selected = icon_picture(IconKind{colour_action(kGrey)}, kGrey);
    EXPECT_EQ(selected.back().colour, kWhite);
    EXPECT_DOUBLE_EQ(std::get<EllipseShape>(selected.back().geometry).radii.w, 10.2);
}

TEST(ToolbarIcons, CustomColourRingShowsSixHuesClockwiseFromTheRight) {
    const Picture p = icon_picture(IconKind{pack_editor_action(EditorActionCode::ColourPicker)}, kGrey);
    std::vector<std::pair<Point, Rgb>> segments;
    for (const PictureShape& s : p)
        if (const auto* l = std::get_if<LineShape>(&s.geometry)) segments.push_back({(l->from + l->to) * 0.5, s.colour});
    ASSERT_EQ(segments.size(), 36u);
    EXPECT_EQ(segments[0].second, (Rgb{240, 80, 80}));
    EXPECT_GT(segments[0].first.y, 10.0) << "the first segment turns downwards from the right";
    EXPECT_GT(segments[0].first.x, 20.0);
    for (std::size_t i = 1; i < segments.size(); ++i)
        EXPECT_EQ(segments[i].second == segments[i - 1].second, i % 6 != 0) << i;
}

TEST(ToolbarIcons, FillDropIsRingedOnlyWhereItWouldVanish) {
    const EditorAction fill = pack_editor_action(EditorActionCode::FillMode);
    ToolbarIconStyle style = icon_toolbar_style(fill, {235, 235, 235});
    style.shade = {32, 32, 32};
    const auto discs = [&](Rgb drop) { return shapes_of<EllipseShape>(toolbar_picture(fill, style, {drop, drop})).size(); };
    EXPECT_EQ(discs({40, 40, 40}), 2u);
    EXPECT_EQ(discs({237, 79, 92}), 1u);
}

TEST(ToolbarIcons, LabelLetterReadsOnItsColour) {
    const EditorAction label = tool_action(Tool::Label);
    const auto letter = [&](Rgb ink) {
        return toolbar_picture(label, icon_toolbar_style(label, kGrey), {ink, ink}).back().colour;
    };
    EXPECT_EQ(letter(kWhite), kBlack);
    EXPECT_EQ(letter(kBlack), kWhite);
}

TEST(ToolbarIcons, ArrowToolIsAnArrowObject) {
    const Picture p = place_picture(icon_picture(IconKind{tool_action(Tool::Arrow)}, kGrey), {0, 0}, 2.0);
    ASSERT_EQ(p.size(), 1u);
    const SceneObject arrow = icon_arrow_object(std::get<ArrowShape>(p[0].geometry), p[0].colour, p[0].width);
    ASSERT_NE(as_line(arrow), nullptr);
    EXPECT_TRUE(as_line(arrow)->head);
    EXPECT_EQ(as_line(arrow)->to, (Point{34, 6}));
    EXPECT_DOUBLE_EQ(arrow.width, 4.8);
}

}  // namespace
}  // namespace glimmerly
