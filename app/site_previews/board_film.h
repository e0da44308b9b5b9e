#pragma once
// The board film of the site previews: over pictures of a real desktop the
// editor opens in board mode, draws two zones around groups of desktop
// icons, fills them with the bucket, writes three notes and an arrow, ends
// the session with Escape and bakes the notes into the wallpaper as the
// board does. The session and the bake are then checked against the
// desktop's pictures, and the baked wallpaper is written beside the frames
// as "baked.png".

#include <string>
#include <string_view>

#include "core/base/result.h"
#include "core/image/bgra_image.h"

namespace glimmerly {

// One desktop, three pictures of one size.
struct BoardFilmPictures {
    BgraImage wallpaper;  // without the icons: the bake's desktop picture
    BgraImage icons;      // the icons alone, premultiplied by their alpha
    BgraImage screen;     // as the screen shows it, for the opening frames
};

// "desktop-board-<name>.png" of the input folder.
Result<BgraImage> read_desktop_board_picture(const std::wstring& input_folder, std::wstring_view name);

// 426 frames, "baked.png" and "pointer.txt" into the folder, created with
// its parents. A check that fails stops the film with its English message;
// "baked.png" and "pointer.txt" are written only when every check passed.
Status film_board(const BoardFilmPictures& pictures, const std::wstring& frames_folder);

}  // namespace glimmerly
