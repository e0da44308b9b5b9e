#pragma once
// The scene the benchmarks measure on: every kind of object, some turned,
// filled, bent, fastened or routed, spread over a 3000 x 3000 capture with a
// fixed seed.

#include <cstddef>
#include <vector>

#include "core/document/scene_object.h"

namespace glimmerly::bench {

SceneObject base(ObjectId id, ObjectPayload payload, double width = 3.0, double rotation = 0.0);
std::vector<SceneObject> mixed_scene(std::size_t count);

}  // namespace glimmerly::bench
