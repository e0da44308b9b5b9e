#pragma once
// The editor's objects in drawing order. Anything may read them; every change
// goes through a member that drops what was derived from them, so that the
// hit-test bounds are built once per change of the objects rather than once
// per pointer move. A reference taken by edit() must not be written through
// after a later read of the bounds: the bounds would not see that change.

#include "core/document/scene_object.h"

#include <cstddef>
#include <initializer_list>
#include <memory>
#include <utility>
#include <vector>

namespace glimmerly {

class HitBounds;

class EditorObjects {
public:
    using value_type = SceneObject;
    using size_type = std::size_t;
    using const_iterator = std::vector<SceneObject>::const_iterator;
    using iterator = const_iterator;  // reading only: changes go through edit()
    using const_reverse_iterator = std::vector<SceneObject>::const_reverse_iterator;

    EditorObjects() = default;
    EditorObjects(std::vector<SceneObject> objects) : objects_(std::move(objects)) {}
    EditorObjects(std::initializer_list<SceneObject> objects) : objects_(objects) {}
    // A copy holds the same objects, so it may share the bounds.
    EditorObjects(const EditorObjects&) = default;
    EditorObjects(EditorObjects&& other) noexcept
        : objects_(std::move(other.objects_)), hit_bounds_(std::move(other.hit_bounds_)) {
        other.changed();
    }
    EditorObjects& operator=(const EditorObjects& other) {
        objects_ = other.objects_;
        hit_bounds_ = other.hit_bounds_;
        return *this;
    }
    EditorObjects& operator=(EditorObjects&& other) noexcept {
        objects_ = std::move(other.objects_);
        hit_bounds_ = std::move(other.hit_bounds_);
        other.changed();
        return *this;
    }
    EditorObjects& operator=(std::vector<SceneObject> objects) {
        objects_ = std::move(objects);
        changed();
        return *this;
    }
    EditorObjects& operator=(std::initializer_list<SceneObject> objects) {
        objects_ = objects;
        changed();
        return *this;
    }

    const std::vector<SceneObject>& list() const { return objects_; }
    operator const std::vector<SceneObject>&() const { return objects_; }
    const_iterator begin() const { return objects_.begin(); }
    const_iterator end() const { return objects_.end(); }
    const_iterator cbegin() const { return objects_.cbegin(); }
    const_iterator cend() const { return objects_.cend(); }
    const_reverse_iterator rbegin() const { return objects_.rbegin(); }
    const_reverse_iterator rend() const { return objects_.rend(); }
    std::size_t size() const { return objects_.size(); }
    bool empty() const { return objects_.empty(); }
    const SceneObject& operator[](std::size_t i) const { return objects_[i]; }
    const SceneObject& front() const { return objects_.front(); }
    const SceneObject& back() const { return objects_.back(); }
    const SceneObject* data() const { return objects_.data(); }

    // The objects to change.
    std::vector<SceneObject>& edit() {
        changed();
        return objects_;
    }
    void push_back(SceneObject object) { edit().push_back(std::move(object)); }
    void clear() { edit().clear(); }

    // The bounds of the current objects, built on first use after a change.
    // Reads from one thread at a time, like the editor state that holds them.
    const HitBounds& hit_bounds() const;

    friend bool operator==(const EditorObjects& a, const EditorObjects& b) { return a.objects_ == b.objects_; }
    friend bool operator==(const EditorObjects& a, const std::vector<SceneObject>& b) { return a.objects_ == b; }

private:
    void changed() { hit_bounds_.reset(); }

    std::vector<SceneObject> objects_;
    mutable std::shared_ptr<const HitBounds> hit_bounds_;
};

}  // namespace glimmerly
