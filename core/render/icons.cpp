#include "core/render/icons.h"

#include <array>
#include <cmath>
#include <initializer_list>
#include <numbers>
#include <span>

namespace glimmerly {

namespace {

// What a design shape is, before it becomes a picture shape.
enum class Op : std::uint8_t {
    Polyline,     // round ends
    Closed,       // round ends, last point joined to the first
    Polygon,      // filled
    Line,         // flat ends, for the lines the designs give a width and colour of their own
    Rect,         // outlined, corners p0 and p1
    FillRect,     // filled
    Rounded,      // outlined, radius a
    FillRounded,  // filled
    Ellipse,      // outlined, centre p0, radii a and b
    Disc,         // filled
    Arc,          // one polyline about p0, radius a, from angle b to c in `steps`
    ArcLines,     // the same arc as `steps` separate flat lines
    Spoke,        // a line along angle c from radius a to radius b about p0
    Turn,         // turn what follows by a radians about p0
    Unturn,
    Arrow,        // an arrow object from p0 to p1
};

// Where a shape's colour comes from.
enum class Ink : std::uint8_t { Stroke, Foreground, Contrast, Shade, First, Second, FirstContrast, Fixed };

// One shape of a design, a literal so that the designs are constant tables.
struct Design {
    Op op = Op::Polyline;
    std::array<Point, 9> p{};
    std::uint8_t n = 0;
    double a = 0.0, b = 0.0, c = 0.0;
    int steps = 0;
    double width = kIconLineWidth;
    Ink ink = Ink::Stroke;
    float opacity = 1.0f;
    Rgb fixed{};

    constexpr Design wide(double w) const {
        Design d = *this;
        d.width = w;
        return d;
    }
    constexpr Design in(Ink i, float o = 1.0f) const {
        Design d = *this;
        d.ink = i;
        d.opacity = o;
        return d;
    }
    constexpr Design in(Rgb colour) const {
        Design d = in(Ink::Fixed);
        d.fixed = colour;
        return d;
    }
};

constexpr Design points(Op op, std::initializer_list<Point> ps) {
    Design d;
    d.op = op;
    for (const Point p : ps) d.p[d.n++] = p;
    return d;
}
constexpr Design poly(std::initializer_list<Point> ps) { return points(Op::Polyline, ps); }
constexpr Design closed(std::initializer_list<Point> ps) { return points(Op::Closed, ps); }
constexpr Design polygon(std::initializer_list<Point> ps) { return points(Op::Polygon, ps); }
constexpr Design line(Point from, Point to) { return poly({from, to}); }
constexpr Design flat(Point from, Point to) { return points(Op::Line, {from, to}); }
constexpr Design box(Op op, double l, double t, double r, double b, double radius = 0.0) {
    Design d = points(op, {{l, t}, {r, b}});
    d.a = radius;
    return d;
}
constexpr Design rect(double l, double t, double r, double b) { return box(Op::Rect, l, t, r, b); }
// `toolbar_rect`: corner, width and height.
constexpr Design rect_wh(double x, double y, double w, double h) { return rect(x, y, x + w, y + h); }
constexpr Design fill_rect(double l, double t, double r, double b) { return box(Op::FillRect, l, t, r, b); }
constexpr Design rounded(double l, double t, double r, double b, double radius) {
    return box(Op::Rounded, l, t, r, b, radius);
}
constexpr Design fill_rounded(double l, double t, double r, double b, double radius) {
    return box(Op::FillRounded, l, t, r, b, radius);
}
constexpr Design ellipse(Point centre, double rx, double ry, Op op = Op::Ellipse) {
    Design d = points(op, {centre});
    d.a = rx;
    d.b = ry;
    return d;
}
constexpr Design circle(Point centre, double r) { return ellipse(centre, r, r); }
constexpr Design disc(Point centre, double r) { return ellipse(centre, r, r, Op::Disc); }
constexpr Design arc(Point centre, double r, double a0, double a1, int steps = 16, Op op = Op::Arc) {
    Design d = points(op, {centre});
    d.a = r;
    d.b = a0;
    d.c = a1;
    d.steps = steps;
    return d;
}
constexpr Design spoke(Point centre, double r0, double r1, double degrees) {
    Design d = points(Op::Spoke, {centre});
    d.a = r0;
    d.b = r1;
    d.c = degrees;
    return d;
}
constexpr Design turn(double radians, Point centre) {
    Design d = points(Op::Turn, {centre});
    d.a = radians;
    return d;
}
constexpr Design unturn() { return points(Op::Unturn, {}); }
constexpr Design arrow(Point from, Point to) { return points(Op::Arrow, {from, to}); }

// ---- The kit's icons, IconKind 22 to 45 --------------------------------------

constexpr Design kRegionCorners[] = {
    poly({{2, 7}, {2, 2}, {7, 2}}),
    poly({{13, 2}, {18, 2}, {18, 7}}),
    poly({{18, 13}, {18, 18}, {13, 18}}),
    poly({{7, 18}, {2, 18}, {2, 13}}),
};
constexpr Design kLightning[] = {
    closed({{11.5, 1.5}, {4, 11.5}, {9.5, 11.5}, {8.5, 18.5}, {16, 8.5}, {10.5, 8.5}}),
};
constexpr Design kRecordDot[] = {circle({10, 10}, 8), disc({10, 10}, 2.8)};
constexpr Design kMagnifier[] = {circle({8.5, 8.5}, 6), line({13, 13}, {18, 18})};
constexpr Design kKeyboard[] = {
    rounded(1, 4, 19, 16, 2.5),          line({4.5, 8.5}, {6, 8.5}),       line({9.25, 8.5}, {10.75, 8.5}),
    line({14, 8.5}, {15.5, 8.5}),        line({6.5, 12.5}, {13.5, 12.5}),
};
constexpr Design kMouse[] = {rounded(5, 1.5, 15, 18.5, 5), line({10, 5}, {10, 8.5})};
constexpr Design kDocumentPencil[] = {
    poly({{13, 8.5}, {13, 4.5}, {11, 2.5}, {4.5, 2.5}, {2.5, 4.5}, {2.5, 15}, {4.5, 17}, {8, 17}}),
    line({5.5, 7}, {10, 7}),
    line({5.5, 10.5}, {8.5, 10.5}),
    closed({{16.2, 9.4}, {18.4, 11.6}, {12.6, 17.4}, {9.8, 18.2}, {10.6, 15}}),
};
constexpr Design kEyeLower = arc({10, 16}, 10, -145, -35);
constexpr Design kEyeUpper = arc({10, 4}, 10, 35, 145);
constexpr Design kPupil = circle({10, 10}, 2.6);
constexpr Design kEye[] = {kEyeLower, kEyeUpper, kPupil};
constexpr Design kEyeSlashed[] = {kEyeLower, kEyeUpper, kPupil, line({3, 3}, {17, 17})};
constexpr Design kGear[] = {
    circle({10, 10}, 5.5),           circle({10, 10}, 2),             spoke({10, 10}, 5.5, 8.5, 0),
    spoke({10, 10}, 5.5, 8.5, 45),   spoke({10, 10}, 5.5, 8.5, 90),   spoke({10, 10}, 5.5, 8.5, 135),
    spoke({10, 10}, 5.5, 8.5, 180),  spoke({10, 10}, 5.5, 8.5, 225),  spoke({10, 10}, 5.5, 8.5, 270),
    spoke({10, 10}, 5.5, 8.5, 315),
};
constexpr Design kGlobe[] = {circle({10, 10}, 8), ellipse({10, 10}, 3.5, 8), line({2, 10}, {18, 10})};
constexpr Design kPower[] = {arc({10, 10.5}, 7.5, -55, 235), line({10, 2}, {10, 10})};
constexpr Design kSignIn[] = {
    poly({{11.5, 2.8}, {15.3, 2.8}, {17, 4.5}, {17, 15.5}, {15.3, 17.2}, {11.5, 17.2}}),
    line({2.5, 10}, {12, 10}),
    poly({{8.5, 6.5}, {12, 10}, {8.5, 13.5}}),
};
constexpr Design kSliders[] = {
    line({3, 6}, {10, 6}),   line({14, 6}, {17, 6}), line({3, 14}, {6, 14}),
    line({10, 14}, {17, 14}), circle({12, 6}, 2),    circle({8, 14}, 2),
};
constexpr Design kMonitor[] = {
    rounded(2, 2.5, 18, 13, 1.8),
    line({10, 13}, {10, 15.5}),
    poly({{6, 18.5}, {10, 15.5}, {14, 18.5}}),
};
constexpr Design kPopOut[] = {
    rounded(2, 9, 9, 16, 1.2),
    poly({{12, 3}, {17, 3}, {17, 8}}),
    line({17, 3}, {10.5, 9.5}),
};
constexpr Design kClock[] = {circle({10, 10}, 8), poly({{10, 5.5}, {10, 10}, {13, 12}})};
constexpr Design kMoveArrows[] = {
    line({10, 2}, {10, 18}),
    line({2, 10}, {18, 10}),
    poly({{7.5, 4.5}, {10, 2}, {12.5, 4.5}}),
    poly({{7.5, 15.5}, {10, 18}, {12.5, 15.5}}),
    poly({{4.5, 7.5}, {2, 10}, {4.5, 12.5}}),
    poly({{15.5, 7.5}, {18, 10}, {15.5, 12.5}}),
};
constexpr Design kPointerClick[] = {
    closed({{8, 8}, {17.5, 11.5}, {13.5, 13}, {12, 17}}),
    line({5.2, 1.8}, {6, 4.4}),
    line({1.8, 5.2}, {4.4, 6}),
    line({2.6, 10.6}, {4.8, 9}),
    line({10.6, 2.6}, {9, 4.8}),
};
constexpr Design kPanel[] = {
    rounded(1.5, 2.5, 18.5, 17.5, 2),
    line({1.5, 8}, {18.5, 8}),
    line({1.5, 12}, {18.5, 12}),
};
constexpr Design kTrail[] = {
    poly({{2, 16}, {3.8, 14.8}, {5, 12}, {6.4, 10.4}, {8, 10}, {9.8, 10.6}, {11, 12.4}, {12.4, 13.6}, {14, 14}}),
    disc({16.5, 5.5}, 2.5),
};
constexpr Design kCheck[] = {poly({{4, 10.5}, {8.5, 15}, {16, 5.5}})};
constexpr Design kChevron[] = {poly({{6, 4}, {12, 10}, {6, 16}})};

constexpr std::uint32_t kFirstKitIcon = 22;
// In IconKind order from `None`.
constexpr std::span<const Design> kKitIcons[] = {
    {},          kRegionCorners, kLightning, kRecordDot,   kMagnifier, kKeyboard,   kMouse,       kDocumentPencil,
    kEye,        kEyeSlashed,    kGear,      kGlobe,       kPower,     kSignIn,     kSliders,     kMonitor,
    kPopOut,     kClock,         kMoveArrows, kPointerClick, kPanel,   kTrail,      kCheck,       kChevron,
};
static_assert(std::size(kKitIcons) == 45 - kFirstKitIcon + 1);

// ---- Toolbar pictures by action code ------------------------------------------

constexpr Design kBoxPalette[] = {
    fill_rounded(3, 3, 17, 17, 3).in(Ink::Foreground),
    rounded(3, 3, 17, 17, 3),
};
constexpr Design kTextPalette[] = {
    fill_rounded(1.5, 1.5, 18.5, 18.5, 3).in(Ink::Foreground),
    rounded(1.5, 1.5, 18.5, 18.5, 3),
    poly({{5.5, 15}, {10, 4.5}, {14.5, 15}}).wide(2.2).in(Ink::Contrast),
    flat({7.4, 11.5}, {12.6, 11.5}).wide(2).in(Ink::Contrast),
};
constexpr Design kEyedropper[] = {
    poly({{2, 18}, {3, 14}, {12, 5}, {15, 8}, {6, 17}, {2, 18}}),
    line({10, 3}, {17, 10}),
    disc({16, 4}, 3),
};
// The drop that shows the fill colour follows in code: it gets a ring when
// it would not stand out from the bucket.
constexpr Design kFillMode[] = {
    polygon({{2, 11}, {16, 11}, {9, 18}}).in(Ink::Shade),
    poly({{2, 11}, {9, 4}, {16, 11}, {9, 18}}),
    line({2, 11}, {16, 11}),
    line({9, 4}, {6, 1}),
};
constexpr Design kSizeDown[] = {line({4, 10}, {16, 10})};
constexpr Design kSizeUp[] = {line({4, 10}, {16, 10}), line({10, 4}, {10, 16})};
constexpr Design kUndo[] = {
    poly({{8, 3}, {2, 8}, {8, 13}}),
    poly({{2, 8}, {12, 8}, {17, 11}, {17, 17}}),
};
constexpr Design kRedo[] = {
    poly({{12, 3}, {18, 8}, {12, 13}}),
    poly({{18, 8}, {8, 8}, {3, 11}, {3, 17}}),
};
constexpr Design kImageSearch[] = {
    arc({10, 10}, 8, -42, -135, 24, Op::ArcLines).wide(3.4).in(Rgb{234, 67, 53}),
    arc({10, 10}, 8, -135, -195, 24, Op::ArcLines).wide(3.4).in(Rgb{251, 188, 5}),
    arc({10, 10}, 8, -195, -285, 24, Op::ArcLines).wide(3.4).in(Rgb{52, 168, 83}),
    arc({10, 10}, 8, -285, -360, 24, Op::ArcLines).wide(3.4).in(Rgb{66, 133, 244}),
    flat({10, 10}, {18.8, 10}).wide(3.4).in(Rgb{66, 133, 244}),
};
constexpr Design kLiveCapture[] = {
    rect(1, 3, 19, 15),
    line({6, 19}, {14, 19}),
    line({10, 15}, {10, 19}),
    closed({{8, 6}, {13, 9}, {8, 12}, {8, 6}}),
};
constexpr Design kCopyImage[] = {
    rect(6, 6, 18, 19),
    poly({{3, 14}, {1, 14}, {1, 1}, {13, 1}, {13, 3}}),
};
constexpr Design kSave[] = {
    poly({{2, 1}, {15, 1}, {19, 5}, {19, 19}, {2, 19}, {2, 1}}),
    rect_wh(6, 1, 7, 6),
    rect_wh(6, 12, 9, 7),
};
constexpr Design kClearBoard[] = {
    line({3, 5.5}, {17, 5.5}),
    poly({{7.5, 5.5}, {7.5, 2.8}, {12.5, 2.8}, {12.5, 5.5}}),
    poly({{4.8, 5.5}, {5.8, 17.8}, {14.2, 17.8}, {15.2, 5.5}}),
    line({8.3, 9}, {8.3, 14.5}),
    line({11.7, 9}, {11.7, 14.5}),
};
constexpr Design kMoreTools[] = {disc({4, 10}, 1.9), disc({10, 10}, 1.9), disc({16, 10}, 1.9)};
constexpr Design kClose[] = {line({4, 4}, {16, 16}), line({16, 4}, {4, 16})};

// By action code; choose tool, the swatches and fill mode are worked out.
constexpr std::span<const Design> kActionPictures[] = {
    {},           {},       kBoxPalette, kTextPalette, {},          {},         kEyedropper, kFillMode,
    kSizeDown,    kSizeUp,  kUndo,       kRedo,        kImageSearch, kLiveCapture, {},       {},
    kCopyImage,   kSave,    {},          kClearBoard,  kMoreTools,  kClose,
};
static_assert(std::size(kActionPictures) == kEditorActionCodeCount);

// ---- Tool pictures --------------------------------------------------------------

constexpr Design kSelectTool[] = {
    line({1.5, 1.5}, {5.25, 1.5}),
    line({7.75, 1.5}, {11.5, 1.5}),
    line({14, 1.5}, {14, 5.25}),
    line({14, 7.75}, {14, 9}),
    line({6.4, 14}, {4, 14}),
    line({1.5, 14}, {1.5, 10.25}),
    line({1.5, 7.75}, {1.5, 4}),
    polygon({{8, 7}, {8, 18}, {10.9, 15.3}, {12.8, 19.4}, {14.6, 18.6}, {12.7, 14.5}, {16.6, 14.5}}),
};
constexpr Design kRectangleTool[] = {rect_wh(2, 4, 16, 12)};
constexpr Design kEllipseTool[] = {ellipse({10, 10}, 8, 7)};
constexpr Design kLineTool[] = {line({3, 17}, {17, 3})};
constexpr Design kArrowTool[] = {arrow({3, 17}, {17, 3}).wide(2.4)};
constexpr Design kPenTool[] = {
    polygon({{2, 18}, {5, 11}, {9, 15}}),
    poly({{2, 18}, {5, 11}, {14, 2}, {18, 6}, {9, 15}, {2, 18}}),
    line({5, 11}, {9, 15}),
    line({12, 4}, {16, 8}),
};
// The ink line under the tip is what the highlighter leaves; the tip itself
// shows the ink at full strength.
constexpr Design kHighlighterTool[] = {
    flat({6.5, 17}, {19, 17}).wide(4.6).in(Ink::First, 0.6f),
    polygon({{4, 10}, {9, 10}, {9, 12.5}, {6.5, 15}, {4, 15}}).in(Ink::First),
    closed({{4, 10}, {9, 10}, {9, 12.5}, {6.5, 15}, {4, 15}}),
    rounded(3, 1, 10, 10, 1.6),
    line({3, 4.5}, {10, 4.5}),
};
constexpr Design kTextTool[] = {
    line({3, 3}, {17, 3}),
    line({10, 3}, {10, 18}),
    line({3, 3}, {3, 6}),
    line({17, 3}, {17, 6}),
};
constexpr Design kLabelTool[] = {
    fill_rounded(1.5, 4, 18.5, 16, 3).in(Ink::First),
    rounded(1.5, 4, 18.5, 16, 3),
    flat({6, 8}, {14, 8}).in(Ink::FirstContrast),
    flat({10, 8}, {10, 13}).in(Ink::FirstContrast),
};
constexpr Design kEraserTool[] = {
    turn(-std::numbers::pi / 4.0, {12.5, 8.5}),
    fill_rounded(11.85, 5, 19, 12, 1.8),
    fill_rect(11.85, 5, 14.35, 12),
    rounded(6, 5, 19, 12, 1.8),
    unturn(),
    flat({1, 18.5}, {3, 18.5}).in(Ink::First, 0.35f),
    flat({5, 18.5}, {7, 18.5}).in(Ink::First, 0.35f),
    line({12, 18.5}, {19, 18.5}),
};
// Three rows of a line and four blocks, the blocks' strengths a checker.
constexpr double kBlockTop = -0.875, kBlockBottom = 0.875;
constexpr Design blur_block(double x, double row, float opacity) {
    return fill_rect(x, row + kBlockTop, x + 1.25, row + kBlockBottom).in(Ink::First, opacity);
}
constexpr Design kBlurTool[] = {
    flat({3, 5.5}, {8.5, 5.5}),   blur_block(9.5, 5.5, 0.9f),   blur_block(11.5, 5.5, 0.55f),
    blur_block(13.5, 5.5, 0.9f),  blur_block(15.5, 5.5, 0.55f), flat({3, 10}, {8.5, 10}),
    blur_block(9.5, 10, 0.55f),   blur_block(11.5, 10, 0.9f),   blur_block(13.5, 10, 0.55f),
    blur_block(15.5, 10, 0.9f),   flat({3, 14.5}, {8.5, 14.5}), blur_block(9.5, 14.5, 0.9f),
    blur_block(11.5, 14.5, 0.55f), blur_block(13.5, 14.5, 0.9f), blur_block(15.5, 14.5, 0.55f),
};

// In `Tool` order.
constexpr std::span<const Design> kToolPictures[] = {
    kSelectTool, kRectangleTool, kEllipseTool, kLineTool,  kArrowTool,  kPenTool,
    kHighlighterTool, kTextTool, kLabelTool,   kEraserTool, kBlurTool,
};
static_assert(std::size(kToolPictures) == kToolCount);

// The custom-colour swatch's hue ring: six colours, six segments each.
constexpr Rgb kHueRing[] = {{240, 80, 80},  {245, 205, 60}, {80, 200, 90},
                            {70, 210, 225}, {90, 130, 245}, {220, 100, 235}};
constexpr int kHueRingSegments = 36;
constexpr double kHueRingRadius = 11.0;
constexpr Point kSwatchCentre{10, 10};

// ---- Turning designs into pictures -------------------------------------------

struct Inks {
    Rgb stroke, foreground, contrast, shade, first, second;
};

Rgb ink_colour(const Design& d, const Inks& k) {
    switch (d.ink) {
        case Ink::Stroke: return k.stroke;
        case Ink::Foreground: return k.foreground;
        case Ink::Contrast: return k.contrast;
        case Ink::Shade: return k.shade;
        case Ink::First: return k.first;
        case Ink::Second: return k.second;
        case Ink::FirstContrast: return contrast_color(k.first);
        case Ink::Fixed: break;
    }
    return d.fixed;
}

Point on_circle(Point centre, double radius, double radians) {
    return {centre.x + radius * std::cos(radians), centre.y + radius * std::sin(radians)};
}

void append(Picture& out, const Design& d, const Inks& inks) {
    const PictureShape blank{{}, ink_colour(d, inks), d.opacity, d.width};
    const auto add = [&](ShapeGeometry geometry) {
        out.push_back(blank);
        out.back().geometry = std::move(geometry);
    };
    const auto listed = [&] { return std::vector<Point>(d.p.begin(), d.p.begin() + d.n); };
    const Box corners{d.p[0].x, d.p[0].y, d.p[1].x, d.p[1].y};
    switch (d.op) {
        case Op::Polyline: return add(PolylineShape{listed(), false});
        case Op::Closed: return add(PolylineShape{listed(), true});
        case Op::Polygon: return add(PolygonShape{listed()});
        case Op::Line: return add(LineShape{d.p[0], d.p[1]});
        case Op::Rect: return add(RectShape{corners, false});
        case Op::FillRect: return add(RectShape{corners, true});
        case Op::Rounded: return add(RoundedRectShape{corners, d.a, false});
        case Op::FillRounded: return add(RoundedRectShape{corners, d.a, true});
        case Op::Ellipse: return add(EllipseShape{d.p[0], {d.a, d.b}, false});
        case Op::Disc: return add(EllipseShape{d.p[0], {d.a, d.b}, true});
        case Op::Arc: return add(PolylineShape{arc_points(d.p[0], d.a, d.b, d.c, d.steps), false});
        case Op::ArcLines: {
            const auto ps = arc_points(d.p[0], d.a, d.b, d.c, d.steps);
            for (std::size_t i = 1; i < ps.size(); ++i) add(LineShape{ps[i - 1], ps[i]});
            return;
        }
        case Op::Spoke: {
            const double a = d.c * std::numbers::pi / 180.0;
            return add(PolylineShape{{on_circle(d.p[0], d.a, a), on_circle(d.p[0], d.b, a)}, false});
        }
        case Op::Turn: return add(RotationShape{true, d.a, d.p[0]});
        case Op::Unturn: return add(RotationShape{});
        case Op::Arrow: return add(ArrowShape{d.p[0], d.p[1]});
    }
}

void append_all(Picture& out, std::span<const Design> designs, const Inks& inks) {
    for (const Design& d : designs) append(out, d, inks);
}

double brightness(Rgb c) { return 0.2126 * c.r + 0.7152 * c.g + 0.0722 * c.b; }

void append_swatch(Picture& out, EditorAction action, const ToolbarIconStyle& style, ColourPair pair) {
    const auto code = editor_action_code(action);
    const bool picker = code == EditorActionCode::ColourPicker;
    const Rgb fill = picker ? pair.first : editor_action_colour(action).value_or(kBlack);
    const double r = 8.0 * (style.swatch == SwatchState::FixedSize ? 1.0 : style.swatch_factor);
    out.push_back({EllipseShape{kSwatchCentre, {r, r}, true}, fill});
    out.push_back({EllipseShape{kSwatchCentre, {r, r}, false}, style.stroke, 1.0f, 1.0});
    if (style.swatch == SwatchState::Selected && !picker) {
        const double ring = 10.2 * style.ring_factor;
        out.push_back({EllipseShape{kSwatchCentre, {ring, ring}, false}, kWhite, style.ring_opacity, 1.8});
    }
    if (!picker) return;
    const double step = 2.0 * std::numbers::pi / kHueRingSegments;
    for (int i = 0; i < kHueRingSegments; ++i) {
        const LineShape segment{on_circle(kSwatchCentre, kHueRingRadius, step * i),
                                on_circle(kSwatchCentre, kHueRingRadius, step * (i + 1))};
        out.push_back({segment, kHueRing[i * 171 / 1024], 1.0f, 2.0});
    }
}

}  // namespace

Picture icon_picture(IconKind kind, Rgb colour) {
    const auto value = static_cast<std::uint32_t>(kind);
    const std::uint32_t low = value & 0xFFu;
    if (low < kFirstKitIcon) return toolbar_picture(value, icon_toolbar_style(value, colour), {colour, colour});
    Picture out;
    if (low - kFirstKitIcon < std::size(kKitIcons))
        append_all(out, kKitIcons[low - kFirstKitIcon], Inks{colour, colour, colour, colour, colour, colour});
    return out;
}

Picture toolbar_picture(EditorAction action, const ToolbarIconStyle& style, ColourPair pair) {
    const Inks inks{style.stroke, style.foreground, style.contrast, style.shade, pair.first, pair.second};
    Picture out;
    const auto code = editor_action_code(action);
    if (!code) return out;
    switch (*code) {
        case EditorActionCode::ChooseTool:
            if (const auto tool = editor_action_tool(action))
                append_all(out, kToolPictures[static_cast<std::size_t>(*tool)], inks);
            return out;
        case EditorActionCode::Colour:
        case EditorActionCode::ColourPicker: append_swatch(out, action, style, pair); return out;
        case EditorActionCode::FillMode: {
            append_all(out, kFillMode, inks);
            constexpr Point drop{17.5, 16.5};
            out.push_back({EllipseShape{drop, {1.8, 1.8}, true}, pair.second});
            // A drop as dark (or as light) as the bucket would vanish into it.
            if (std::abs(brightness(pair.second) - brightness(style.shade)) < 40.0)
                out.push_back({EllipseShape{drop, {2.4, 2.4}, false}, style.stroke, 1.0f, 1.0});
            return out;
        }
        default: append_all(out, kActionPictures[static_cast<std::size_t>(*code)], inks); return out;
    }
}

ToolbarIconStyle icon_toolbar_style(EditorAction action, Rgb colour) {
    const auto code = editor_action_code(action);
    const bool selected = code == EditorActionCode::ColourPicker ||
                          (code == EditorActionCode::Colour && editor_action_argument(action) == pack_rgb(colour));
    ToolbarIconStyle style;
    style.swatch = selected ? SwatchState::Selected : SwatchState::Plain;
    style.ring_opacity = kSwatchRingOpacity;
    style.ring_factor = 1.0;
    style.swatch_factor = selected ? kSelectedSwatchFactor : 1.0;
    style.foreground = colour;
    style.contrast = contrast_color(colour);
    style.stroke = colour;
    style.shade = Rgb{32, 32, 32};
    return style;
}

SceneObject icon_arrow_object(const ArrowShape& arrow, Rgb colour, double width) {
    SceneObject object;
    LinePayload line;
    line.from = arrow.from;
    line.to = arrow.to;
    line.head = true;
    object.payload = line;
    object.color = colour;
    object.width = width;
    return object;
}

}  // namespace glimmerly
