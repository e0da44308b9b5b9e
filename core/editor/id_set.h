#pragma once
// Membership in a list of ids (a selection, an eraser's list). Most lists are
// a handful of ids and a walk is quickest; a marquee over a large scene can
// select thousands, and asking each object of the scene whether it is among
// them must not cost the product of the two.

#include "core/document/scene_object.h"

#include <algorithm>
#include <cstddef>
#include <span>
#include <unordered_set>

namespace glimmerly {

class IdSet {
public:
    explicit IdSet(std::span<const ObjectId> ids) : ids_(ids) {
        if (ids.size() > kWalkLimit) hashed_.insert(ids.begin(), ids.end());
    }

    bool contains(ObjectId id) const {
        if (ids_.size() > kWalkLimit) return hashed_.count(id) != 0;
        return std::find(ids_.begin(), ids_.end(), id) != ids_.end();
    }
    bool empty() const { return ids_.empty(); }

private:
    static constexpr std::size_t kWalkLimit = 16;
    std::span<const ObjectId> ids_;
    std::unordered_set<ObjectId> hashed_;
};

}  // namespace glimmerly
