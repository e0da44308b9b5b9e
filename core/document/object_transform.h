#pragma once
// The transformations of single objects that the editor, the capture
// composition and the board share: shifting an object, and fixing a line's
// attached ends before the objects they are fastened to move or vanish.

#include <span>
#include <unordered_set>

#include "core/document/geometry.h"
#include "core/document/scene_object.h"

namespace glimmerly {

// Moves the object by the offset: the offset is added to its coordinates and
// nothing else changes (letter size, extent, wrap width, bend, attachments),
// so that a scene shifted and shifted back, or saved again and again, keeps
// every value. An offset that would give a coordinate that is not finite
// leaves the object as it was.
void move_object_by(SceneObject& object, Point offset);

// Sets a line's ends to where they are drawn now (attachments and elbow
// routes resolved against `scene`) and drops each attachment whose target is
// not among `kept`, so that the line stays where the user sees it when its
// target is left behind. Other kinds are not touched.
void settle_arrow_ends(SceneObject& object, SceneObjects scene, std::span<const ObjectId> kept);
// The same with the kept ids as a set, for callers that settle many lines.
void settle_arrow_ends(SceneObject& object, SceneObjects scene, const std::unordered_set<ObjectId>& kept);

}  // namespace glimmerly
