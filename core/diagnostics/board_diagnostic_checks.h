#pragma once
// The decisions of "--board-diagnostic" and "--board-diagnostic-set": the
// sample page, the checks of a baked picture read back from disk, and the
// texts of the report and of a set run's failed steps.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/base/result.h"
#include "core/board/board_base.h"
#include "core/board/board_file.h"
#include "core/board/board_page.h"
#include "core/image/bgra_image.h"

namespace glimmerly {

// The note's colour, and the pixel of a baked picture that lies on the
// middle of its top edge.
inline constexpr Rgb kDiagnosticNoteColour{237, 79, 92};
inline constexpr std::uint32_t kNotePixelX = 140;
inline constexpr std::uint32_t kNotePixelY = 40;

// One rectangle per monitor, (40, 40) to (240, 140) from its top-left
// corner, ids 1..n, merged into an empty board.
BoardFile diagnostic_board_page(std::span<const BoardScreen> monitors);

// The first monitor named `screen`; "A picture belongs to no screen".
Result<const BoardScreen*> find_screen_for_picture(std::span<const BoardScreen> monitors, std::string_view screen);

// A picture read back from disk: the monitor's size, and the note's colour
// (within 2) at (140, 40).
Status check_baked_pixels(const BgraImage& picture, const BoardScreen& monitor);

// "pictures" when any screen of the base has a wallpaper picture.
std::string_view base_word(const BoardBase& base);

std::string board_dry_run_report(std::size_t screens, const BoardBase& base, std::size_t pictures,
                                 std::string_view folder, bool desktop_rendered);

inline constexpr char kBoardSetRunReport[] = "PASS: baked pictures set on every screen and the base given back.\n";

// The failed steps of a set run, "bake: ...; check: ...".
struct StepFailures {
    std::vector<std::string> lines;
    void record(std::string_view step, const Status& status);
    Status result() const;
};

// Whether the last-resort clear may help: every listed monitor's screen in
// the base is a solid colour, and a monitor still shows the baked picture
// the base records for it (`shows_baked` answers per monitor, in order).
bool last_resort_applies(const BoardBase& base, std::span<const BoardScreen> monitors,
                         const std::vector<bool>& shows_baked);

}  // namespace glimmerly
