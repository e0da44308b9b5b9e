#pragma once
// Board pages and pixels for the board's Windows tests.

#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/board/board_file.h"
#include "core/image/bgra_image.h"
#include "tests/core/support/objects.h"
#include "tests/core/support/scenes.h"

namespace glimmerly::testing_support {

inline constexpr Rgb kNoteColour{200, 30, 30};

// One thick rectangle note in the screen's own coordinates.
inline std::string one_note_page(const std::string& screen, Box note, std::uint32_t width, std::uint32_t height) {
    Scene scene = testing::empty_scene(width, height);
    SceneObject object = testing::rectangle(1, note);
    object.width = 8.0;
    scene.objects = {object};
    scene.last = 1;
    return write_board_file(BoardFile{{{screen, scene}}}).value_or(std::string());
}

// The board's pixel match: blue, green and red each within 2.
inline bool pixel_matches(const BgraImage& picture, std::uint32_t x, std::uint32_t y, Rgb colour) {
    const std::uint8_t* p = &picture.pixels[(std::size_t{y} * picture.width + x) * 4];
    return std::abs(p[0] - colour.b) <= 2 && std::abs(p[1] - colour.g) <= 2 && std::abs(p[2] - colour.r) <= 2;
}

}  // namespace glimmerly::testing_support
