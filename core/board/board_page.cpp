#include "core/board/board_page.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <unordered_map>
#include <unordered_set>

#include "core/document/geometry.h"
#include "core/document/object_transform.h"

namespace glimmerly {
namespace {

const BoardEntry* find_entry(const BoardFile& board, std::string_view name) {
    for (const BoardEntry& entry : board.entries)
        if (entry.name == name) return &entry;
    return nullptr;
}

// An entry's old ids -> their page ids, b + the position of the first object
// with that id.
std::unordered_map<ObjectId, ObjectId> page_ids(const std::vector<SceneObject>& objects, ObjectId base) {
    std::unordered_map<ObjectId, ObjectId> ids;
    ids.reserve(objects.size());
    for (std::size_t j = 0; j < objects.size(); ++j) ids.emplace(objects[j].id, base + j);
    return ids;
}

void rewrite_fill_ids(std::vector<FillRegion>& regions, const std::unordered_map<ObjectId, ObjectId>& ids) {
    for (FillRegion& region : regions) {
        std::vector<ObjectId> kept;
        for (const ObjectId id : region.ids)
            if (const auto it = ids.find(id); it != ids.end()) kept.push_back(it->second);
        region.ids = std::move(kept);
    }
}

void rewrite_attachment(std::optional<ObjectAttachment>& attachment,
                        const std::unordered_map<ObjectId, ObjectId>& ids) {
    if (!attachment) return;
    if (const auto it = ids.find(attachment->id); it != ids.end())
        attachment->id = it->second;
    else
        attachment.reset();  // the end stays at its stored point
}

bool same_colours(const std::vector<FillRegion>& a, const std::vector<FillRegion>& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (a[i].color != b[i].color) return false;
    return true;
}

bool contains(const Box& r, Point p) { return p.x >= r.left && p.x <= r.right && p.y >= r.top && p.y <= r.bottom; }

double distance_to(const Box& r, Point p) {
    const double dx = std::max({r.left - p.x, p.x - r.right, 0.0});
    const double dy = std::max({r.top - p.y, p.y - r.bottom, 0.0});
    return std::hypot(dx, dy);
}

// The screen that takes an object centred at `p`: the first that holds it,
// else the nearest, ties to the earlier. A screen whose distance cannot be
// measured never wins over one that can; the first screen stands in when
// none can, so that no note is lost on saving.
std::size_t screen_for(std::span<const BoardScreen> screens, Point p) {
    for (std::size_t i = 0; i < screens.size(); ++i)
        if (contains(screens[i].rect, p)) return i;
    std::size_t best = 0;
    double best_distance = std::numeric_limits<double>::quiet_NaN();
    for (std::size_t i = 0; i < screens.size(); ++i) {
        const double d = distance_to(screens[i].rect, p);
        if (!std::isnan(d) && (std::isnan(best_distance) || d < best_distance)) {
            best = i;
            best_distance = d;
        }
    }
    return best;
}

// A screen's extent as a stored frame side: at least one pixel, and no more
// than a scene may hold (a larger frame would make the whole file unreadable).
std::uint32_t frame_side(double extent) {
    if (std::isnan(extent)) return 1;
    return static_cast<std::uint32_t>(std::clamp(extent, 1.0, static_cast<double>(kMaxFrameSide)));
}

std::int32_t origin_coordinate(double v) {
    if (std::isnan(v)) return 0;
    return static_cast<std::int32_t>(std::clamp(v, static_cast<double>(std::numeric_limits<std::int32_t>::min()),
                                                static_cast<double>(std::numeric_limits<std::int32_t>::max())));
}

bool is_screen(std::span<const BoardScreen> screens, std::string_view name) {
    return std::any_of(screens.begin(), screens.end(), [&](const BoardScreen& s) { return s.name == name; });
}

}  // namespace

BoardPage join_screen_scenes(const BoardFile& board, std::span<const BoardScreen> screens) {
    BoardPage page;
    ObjectId base = 1;
    for (const BoardScreen& screen : screens) {
        const BoardEntry* entry = find_entry(board, screen.name);
        if (!entry) continue;
        const std::vector<SceneObject>& objects = entry->scene.objects;
        const auto ids = page_ids(objects, base);
        for (std::size_t i = 0; i < objects.size(); ++i) {
            SceneObject copy = objects[i];
            copy.id = base + i;
            rewrite_fill_ids(copy.fill, ids);
            if (LinePayload* line = as_line(copy)) {
                rewrite_attachment(line->start, ids);
                rewrite_attachment(line->end, ids);
            }
            move_object_by(copy, {screen.rect.left, screen.rect.top});
            page.objects.push_back(std::move(copy));
        }

        std::vector<FillRegion> regions = entry->scene.background;
        rewrite_fill_ids(regions, ids);
        if (page.background.empty()) {
            page.background = std::move(regions);
        } else if (same_colours(page.background, regions)) {
            for (std::size_t k = 0; k < regions.size(); ++k)
                page.background[k].ids.insert(page.background[k].ids.end(), regions[k].ids.begin(),
                                              regions[k].ids.end());
        }
        base += objects.size();
    }
    page.last = base - 1;
    return page;
}

void merge_screen_objects(BoardFile& board, const BoardPage& page, std::span<const BoardScreen> screens) {
    if (screens.empty()) return;
    const ObjectIndex index(page.objects);
    const SceneObjects scene(page.objects, index);

    std::vector<std::size_t> owner(page.objects.size());
    for (std::size_t i = 0; i < page.objects.size(); ++i) {
        const Box bounds = object_bounds_in_scene(page.objects[i], scene);
        owner[i] = screen_for(screens, box_centre(bounds));
    }

    for (std::size_t s = 0; s < screens.size(); ++s) {
        const BoardScreen& screen = screens[s];
        std::unordered_set<ObjectId> mine;
        for (std::size_t i = 0; i < page.objects.size(); ++i)
            if (owner[i] == s) mine.insert(page.objects[i].id);

        Scene cut;
        for (std::size_t i = 0; i < page.objects.size(); ++i) {
            if (owner[i] != s) continue;
            SceneObject copy = page.objects[i];
            if (const LinePayload* line = as_line(copy)) {
                const bool leaves = (line->start && !mine.contains(line->start->id)) ||
                                    (line->end && !mine.contains(line->end->id));
                if (leaves) settle_arrow_ends(copy, scene, mine);
            }
            move_object_by(copy, {-screen.rect.left, -screen.rect.top});
            cut.objects.push_back(std::move(copy));
        }
        cut.background = page.background;
        for (FillRegion& region : cut.background)
            std::erase_if(region.ids, [&](ObjectId id) { return !mine.contains(id); });
        renumber_object_ids(cut.objects, cut.background);

        cut.frame = {frame_side(screen.rect.right - screen.rect.left),
                     frame_side(screen.rect.bottom - screen.rect.top)};
        cut.origin = {origin_coordinate(screen.rect.left), origin_coordinate(screen.rect.top)};
        cut.region = {0.0, 0.0, static_cast<double>(cut.frame.width), static_cast<double>(cut.frame.height)};
        cut.last = std::max<ObjectId>(page.last, cut.objects.size());

        auto entry = std::find_if(board.entries.begin(), board.entries.end(),
                                  [&](const BoardEntry& e) { return e.name == screen.name; });
        if (entry != board.entries.end())
            entry->scene = std::move(cut);
        else if (!cut.objects.empty() || !cut.background.empty())
            board.entries.push_back(BoardEntry{screen.name, std::move(cut)});
    }

    std::erase_if(board.entries, [&](const BoardEntry& entry) {
        return entry.scene.objects.empty() && !is_screen(screens, entry.name);
    });
}

}  // namespace glimmerly
