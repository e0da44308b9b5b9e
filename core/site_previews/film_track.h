#pragma once
// The names and the pointer track of a site-preview film: a folder of
// numbered frames ("000.png", "001.png", ... "1000.png") and "pointer.txt",
// one line per frame with the pointer's x and y to one decimal, so that a
// player can draw the pointer over the pictures.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "core/document/scene_object.h"

namespace glimmerly {

inline constexpr char kPointerTrackName[] = "pointer.txt";

// Frame `index` (from 0) in decimal, at least three digits, then ".png".
std::string frame_file_name(std::size_t index);

// "x y\n", each with exactly one decimal, rounded; a value that rounds to
// zero is written "0.0", never "-0.0".
std::string pointer_track_line(Point point);

// The lines of every point in order; empty text for an empty track.
std::string format_pointer_track(std::span<const Point> track);

// Where every scripted move starts: the last point, or (0, 0) while the
// track is empty.
Point last_track_point(std::span<const Point> track);

// A pointer coordinate as a pixel for the cursor's picture: the nearest
// integer (halves away from zero), clamped to 32 bits; NaN gives 0.
std::int32_t nearest_pixel(double value);

}  // namespace glimmerly
