#pragma once
// A scene is one annotated frame as it is stored: the body of an editable
// document and of each screen of the board file. Every scene that is read,
// and every scene about to be written, is checked here first.

#include "core/base/result.h"
#include "core/document/scene_object.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace glimmerly {

inline constexpr std::uint32_t kMaxFrameSide = 32768;
inline constexpr std::size_t kMaxSceneObjects = 100'000;
// Stroke points plus stroke widths over a whole scene.
inline constexpr std::size_t kMaxStrokeValues = 4'000'000;
inline constexpr std::size_t kMaxTextBytes = 1'048'576;
inline constexpr double kMinTextSize = 8.0;
inline constexpr double kMaxTextSize = 300.0;
constexpr bool usable_text_size(double size) { return size >= kMinTextSize && size <= kMaxTextSize; }
inline constexpr double kMinBlurStrength = 1.0;
inline constexpr double kMaxBlurStrength = 64.0;

struct FrameSize {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    friend bool operator==(const FrameSize&, const FrameSize&) = default;
};

// The frame's top-left pixel on the virtual screen.
struct ScreenOrigin {
    std::int32_t x = 0;
    std::int32_t y = 0;
    friend bool operator==(const ScreenOrigin&, const ScreenOrigin&) = default;
};

struct Scene {
    std::vector<FillRegion> background;
    // Drawing order, which in a stored scene is also strictly ascending id order.
    std::vector<SceneObject> objects;
    FrameSize frame;
    ScreenOrigin origin;
    // The selected area in frame pixels.
    Box region;
    // The highest id handed out; new objects take ids above it.
    ObjectId last = 0;

    friend bool operator==(const Scene&, const Scene&) = default;
};

// The first rule the scene breaks, as an E_INVALIDARG failure naming it; the
// rules are checked in a fixed order so that the same scene always gives the
// same message.
Status check_scene(const Scene& scene);
inline bool validate_scene(const Scene& scene) { return check_scene(scene).ok(); }

// Bisection over a list sorted by strictly ascending id, as stored scenes are.
const SceneObject* find_object_in_sorted(std::span<const SceneObject> objects, ObjectId id);

// Byte length of a UTF-8 text without leading and trailing characters of the
// Unicode White_Space property; 0 means blank. Invalid bytes count as text.
std::size_t trimmed_len(std::string_view text);

// Gives the objects ids 1..n in list order and rewrites every id held inside
// them and in `background` to match. Fill ids that name no object are
// dropped and line ends fastened to such ids come loose. `last` is the
// caller's to set.
void renumber_object_ids(std::vector<SceneObject>& objects, std::vector<FillRegion>& background);

}  // namespace glimmerly
