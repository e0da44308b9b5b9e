#include "core/render/region_geometry.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "core/document/point_math.h"

namespace glimmerly {

std::vector<Polyline> collect_region_boundaries(const FillRegion& region, std::span<const SceneObject> objects,
                                                std::size_t from) {
    std::vector<Polyline> outlines;
    if (region.ids.empty()) return outlines;
    for (std::size_t i = from; i < objects.size(); ++i) {
        const SceneObject& object = objects[i];
        if (object.kind() != ObjectKind::Rectangle && object.kind() != ObjectKind::Ellipse) continue;
        if (std::find(region.ids.begin(), region.ids.end(), object.id) == region.ids.end()) continue;
        for (Polyline& outline : build_object_geometry(object, objects)) outlines.push_back(std::move(outline));
    }
    return outlines;
}

std::array<Point, 5> inset_rect_outline(const Box& rect, double unit) {
    const double d = 3.0 * unit;
    const Point first{rect.left + d, rect.top + d};
    return {first, Point{rect.right - d, rect.top + d}, Point{rect.right - d, rect.bottom - d},
            Point{rect.left + d, rect.bottom - d}, first};
}

namespace {

// An edge that is not horizontal, top end first. `rise` is +1 when the
// polygon runs down along it, -1 when up; `owner` 0 is the subject.
struct Edge {
    Point top;
    Point bottom;
    std::size_t owner = 0;
    int rise = 0;

    double x_at(double y) const {
        const double t = (y - top.y) / (bottom.y - top.y);
        return top.x + t * (bottom.x - top.x);
    }
};

// Bands thinner than this are left out; no renderer can show them.
constexpr double kThinnestBand = 1e-9;

void add_edges(std::span<const Point> ring, std::size_t owner, std::vector<Edge>& edges, std::vector<double>& ys) {
    for (std::size_t i = 0; i < ring.size(); ++i) {
        const Point a = ring[i], b = ring[(i + 1) % ring.size()];
        ys.push_back(a.y);
        if (a.y == b.y) continue;
        edges.push_back(a.y < b.y ? Edge{a, b, owner, 1} : Edge{b, a, owner, -1});
    }
}

// Where two edges cross inside both, as a height; crossings split the bands
// so that no two edges change places inside one. Edges are first put into
// the cells of a grid they touch, and only edges sharing a cell are compared:
// a stroke's many short edges each meet only their neighbours. A pair that
// shares several cells adds its height more than once; heights are made
// unique afterwards anyway.
void add_crossings(const std::vector<Edge>& edges, std::vector<double>& ys) {
    if (edges.size() < 2) return;
    double left = edges[0].top.x, right = left, top = edges[0].top.y, bottom = edges[0].bottom.y;
    for (const Edge& e : edges) {
        left = std::min({left, e.top.x, e.bottom.x});
        right = std::max({right, e.top.x, e.bottom.x});
        top = std::min(top, e.top.y);
        bottom = std::max(bottom, e.bottom.y);
    }
    const auto side = static_cast<std::size_t>(std::clamp(std::sqrt(double(edges.size())), 1.0, 256.0));
    const double cell_w = std::max((right - left) / side, 1e-9), cell_h = std::max((bottom - top) / side, 1e-9);
    const auto cell_of = [&](double v, double origin, double size) {
        return std::min(static_cast<std::size_t>(std::max((v - origin) / size, 0.0)), side - 1);
    };
    std::vector<std::vector<std::uint32_t>> cells(side * side);
    for (std::size_t i = 0; i < edges.size(); ++i) {
        const Edge& e = edges[i];
        const std::size_t x0 = cell_of(std::min(e.top.x, e.bottom.x), left, cell_w);
        const std::size_t x1 = cell_of(std::max(e.top.x, e.bottom.x), left, cell_w);
        const std::size_t y0 = cell_of(e.top.y, top, cell_h), y1 = cell_of(e.bottom.y, top, cell_h);
        for (std::size_t y = y0; y <= y1; ++y)
            for (std::size_t x = x0; x <= x1; ++x) cells[y * side + x].push_back(static_cast<std::uint32_t>(i));
    }
    for (const auto& cell : cells)
        for (std::size_t a = 0; a < cell.size(); ++a) {
            const Edge& e = edges[cell[a]];
            const Point d = e.bottom - e.top;
            for (std::size_t b = a + 1; b < cell.size(); ++b) {
                const Edge& f = edges[cell[b]];
                if (f.top.y >= e.bottom.y || e.top.y >= f.bottom.y ||
                    std::max(e.top.x, e.bottom.x) < std::min(f.top.x, f.bottom.x) ||
                    std::max(f.top.x, f.bottom.x) < std::min(e.top.x, e.bottom.x))
                    continue;
                const Point g = f.bottom - f.top;
                const double denominator = cross(d, g);
                if (denominator == 0.0) continue;
                const Point w = f.top - e.top;
                const double t = cross(w, g) / denominator, u = cross(w, d) / denominator;
                if (t > 0.0 && t < 1.0 && u > 0.0 && u < 1.0) ys.push_back(e.top.y + t * d.y);
            }
        }
}

bool finite_ring(std::span<const Point> ring) {
    return std::all_of(ring.begin(), ring.end(), [](Point p) { return is_finite(p); });
}

// A figure still growing downwards: the edges it lies between and where in
// the output it is.
struct OpenPiece {
    std::size_t left = 0;
    std::size_t right = 0;
    std::size_t figure = 0;
};

}  // namespace

namespace {

// The area where the subject rings together wind nonzero and no hole does.
std::vector<Polyline> sweep_bands(std::span<const Polyline> subject, std::span<const Polyline> holes) {
    std::vector<Edge> edges;
    std::vector<double> ys;
    for (const Polyline& ring : subject)
        if (ring.size() >= 3 && finite_ring(ring)) add_edges(ring, 0, edges, ys);
    if (edges.empty()) return {};
    std::size_t owners = 1;
    for (const Polyline& hole : holes)
        if (hole.size() >= 3 && finite_ring(hole)) add_edges(hole, owners++, edges, ys);
    add_crossings(edges, ys);
    std::sort(edges.begin(), edges.end(), [](const Edge& a, const Edge& b) { return a.top.y < b.top.y; });
    std::sort(ys.begin(), ys.end());
    ys.erase(std::unique(ys.begin(), ys.end()), ys.end());

    std::vector<Polyline> figures;
    std::vector<int> winding(owners, 0);
    std::vector<std::size_t> active;  // indices into edges
    std::vector<std::pair<double, std::size_t>> across;
    std::vector<OpenPiece> open, next_open;
    std::size_t next_edge = 0;
    double open_until = -INFINITY;
    for (std::size_t band = 0; band + 1 < ys.size(); ++band) {
        const double y0 = ys[band], y1 = ys[band + 1];
        while (next_edge < edges.size() && edges[next_edge].top.y <= y0) active.push_back(next_edge++);
        std::erase_if(active, [&](std::size_t e) { return edges[e].bottom.y <= y0; });
        if (y1 - y0 < kThinnestBand) continue;

        const double middle = (y0 + y1) / 2.0;
        across.clear();
        for (std::size_t e : active) across.push_back({edges[e].x_at(middle), e});
        std::sort(across.begin(), across.end());

        std::fill(winding.begin(), winding.end(), 0);
        std::size_t holes_inside = 0;
        std::size_t left = 0;
        next_open.clear();
        for (const auto& crossing : across) {
            const std::size_t e = crossing.second;
            const bool was_inside = winding[0] != 0 && holes_inside == 0;
            int& w = winding[edges[e].owner];
            const bool hole = edges[e].owner != 0;
            if (hole && w != 0) --holes_inside;
            w += edges[e].rise;
            if (hole && w != 0) ++holes_inside;
            const bool inside = winding[0] != 0 && holes_inside == 0;
            if (!was_inside && inside) left = e;
            if (!was_inside || inside) continue;

            const Edge& l = edges[left];
            const Edge& r = edges[e];
            const Point bottom_right{r.x_at(y1), y1}, bottom_left{l.x_at(y1), y1};
            // The same two edges bounded a figure that ended just above: it
            // grows on, since its sides are straight.
            const auto same = std::find_if(open.begin(), open.end(), [&](const OpenPiece& p) {
                return p.left == left && p.right == e;
            });
            if (same != open.end() && open_until == y0) {
                Polyline& figure = figures[same->figure];
                figure[2] = bottom_right;
                figure[3] = bottom_left;
                next_open.push_back(*same);
            } else {
                figures.push_back({{l.x_at(y0), y0}, {r.x_at(y0), y0}, bottom_right, bottom_left});
                next_open.push_back({left, e, figures.size() - 1});
            }
        }
        open.swap(next_open);
        open_until = y1;
    }
    return figures;
}

std::vector<Polyline> transposed(std::span<const Polyline> rings) {
    std::vector<Polyline> out;
    out.reserve(rings.size());
    for (const Polyline& ring : rings) {
        Polyline& t = out.emplace_back();
        t.reserve(ring.size());
        for (const Point& p : ring) t.push_back({p.y, p.x});
    }
    return out;
}

// The bands run across the subject's longer side. Along it, a long stroke
// would put nearly all its edges into every band; across it, only the few
// pieces at one place. Mirroring x and y turns the winding round, so the
// figures are reversed to stay clockwise.
std::vector<Polyline> sweep(std::span<const Polyline> subject, std::span<const Polyline> holes) {
    double left = INFINITY, right = -INFINITY, top = INFINITY, bottom = -INFINITY;
    for (const Polyline& ring : subject)
        if (finite_ring(ring))
            for (const Point& p : ring) {
                left = std::min(left, p.x), right = std::max(right, p.x);
                top = std::min(top, p.y), bottom = std::max(bottom, p.y);
            }
    if (!(right - left > bottom - top)) return sweep_bands(subject, holes);
    std::vector<Polyline> figures = transposed(sweep_bands(transposed(subject), transposed(holes)));
    for (Polyline& figure : figures) std::reverse(figure.begin(), figure.end());
    return figures;
}

}  // namespace

std::vector<Polyline> subtract_polygons(std::span<const Point> subject, std::span<const Polyline> holes) {
    if (subject.size() < 3 || !finite_ring(subject)) return {};
    const Polyline ring(subject.begin(), subject.end());
    return sweep(std::span<const Polyline>(&ring, 1), holes);
}

std::vector<Polyline> merge_polygons(std::span<const Polyline> figures) { return sweep(figures, {}); }

}  // namespace glimmerly
