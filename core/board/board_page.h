#pragma once
// The board editor and the bake work on one page across the whole virtual
// screen, while the board file keeps one scene per screen in that screen's
// own coordinates. Joining builds the page from the file for the screens
// there are now; merging cuts the page back into the file before it is
// saved. Screens are matched by name, so notes follow their screen.

#include <span>
#include <string>
#include <vector>

#include "core/board/board_file.h"
#include "core/document/scene_object.h"

namespace glimmerly {

struct BoardPage {
    std::vector<SceneObject> objects;     // ascending ids
    std::vector<FillRegion> background;   // page-wide
    ObjectId last = 0;

    friend bool operator==(const BoardPage&, const BoardPage&) = default;
};

// One screen as the board sees it: the name that keys its entry and its
// rectangle in virtual-screen pixels.
struct BoardScreen {
    std::string name;
    Box rect;
};

// The page of the screens' entries, in screen order: objects moved by their
// screen's top-left corner and numbered 1..n, fills and line attachments
// kept within their own screen, background regions reunited when every
// screen carries the same list. Entries of absent screens take no part.
BoardPage join_screen_scenes(const BoardFile& board, std::span<const BoardScreen> screens);

// Cuts the page back into the board's entries: each object goes to the
// screen that holds the centre of its bounds (else the nearest one), in that
// screen's coordinates, and every screen's scene carries the page's
// background regions restricted to its objects. Lines fastened across
// screens come loose where they are drawn.
//
// So that the result can always be saved and read back: frames are held to
// 1..32768, and entries of screens that are gone and hold no objects are
// dropped (their background lists only repeat the page's, which the present
// screens carry); entries of absent screens with notes are kept for when the
// screen returns. With no screens at all nothing changes.
void merge_screen_objects(BoardFile& board, const BoardPage& page, std::span<const BoardScreen> screens);

}  // namespace glimmerly
