#include "core/render/region_geometry.h"

#include <algorithm>
#include <cmath>

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
// so that no two edges change places inside one.
void add_crossings(std::vector<Edge>& edges, std::vector<double>& ys) {
    std::sort(edges.begin(), edges.end(), [](const Edge& a, const Edge& b) { return a.top.y < b.top.y; });
    for (std::size_t i = 0; i < edges.size(); ++i) {
        const Edge& e = edges[i];
        const Point d = e.bottom - e.top;
        for (std::size_t j = i + 1; j < edges.size() && edges[j].top.y < e.bottom.y; ++j) {
            const Edge& f = edges[j];
            if (std::max(e.top.x, e.bottom.x) < std::min(f.top.x, f.bottom.x) ||
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

std::vector<Polyline> subtract_polygons(std::span<const Point> subject, std::span<const Polyline> holes) {
    if (subject.size() < 3 || !finite_ring(subject)) return {};
    std::vector<Edge> edges;
    std::vector<double> ys;
    add_edges(subject, 0, edges, ys);
    std::size_t owners = 1;
    for (const Polyline& hole : holes)
        if (hole.size() >= 3 && finite_ring(hole)) add_edges(hole, owners++, edges, ys);
    add_crossings(edges, ys);
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
        for (const auto& [x, e] : across) {
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

}  // namespace glimmerly
