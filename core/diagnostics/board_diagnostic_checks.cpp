#include "core/diagnostics/board_diagnostic_checks.h"

#include <algorithm>
#include <cstdlib>

#include "core/diagnostics/diagnostic_report.h"

namespace glimmerly {
namespace {

bool within_two(std::uint8_t value, std::uint8_t wanted) { return std::abs(int(value) - int(wanted)) <= 2; }

}  // namespace

BoardFile diagnostic_board_page(std::span<const BoardScreen> monitors) {
    BoardPage page;
    for (const BoardScreen& monitor : monitors) {
        SceneObject note;
        note.id = ++page.last;
        const double left = monitor.rect.left;
        const double top = monitor.rect.top;
        note.payload = RectanglePayload{Box{left + 40, top + 40, left + 240, top + 140}};
        note.color = kDiagnosticNoteColour;
        note.width = 6.0;
        page.objects.push_back(std::move(note));
    }
    BoardFile board;
    merge_screen_objects(board, page, monitors);
    return board;
}

Result<const BoardScreen*> find_screen_for_picture(std::span<const BoardScreen> monitors, std::string_view screen) {
    const auto found = std::find_if(monitors.begin(), monitors.end(),
                                    [&](const BoardScreen& monitor) { return monitor.name == screen; });
    if (found == monitors.end()) return plain_failure("A picture belongs to no screen");
    return &*found;
}

Status check_baked_pixels(const BgraImage& picture, const BoardScreen& monitor) {
    const std::uint32_t width = saturating_u32(monitor.rect.right - monitor.rect.left);
    const std::uint32_t height = saturating_u32(monitor.rect.bottom - monitor.rect.top);
    GLIM_TRY(ensure_condition(picture.width == width && picture.height == height,
                              "A baked picture is not screen-sized"));
    const std::uint64_t at = std::uint64_t{picture.width} * kNotePixelY * 4 + kNotePixelX * 4;
    GLIM_TRY(ensure_condition(at + 4 <= picture.pixels.size(), "A baked picture is too small for the note"));
    const std::uint8_t* pixel = picture.pixels.data() + at;
    return ensure_condition(within_two(pixel[2], kDiagnosticNoteColour.r) &&
                                within_two(pixel[1], kDiagnosticNoteColour.g) &&
                                within_two(pixel[0], kDiagnosticNoteColour.b),
                            "The note is not on the baked picture");
}

std::string_view base_word(const BoardBase& base) {
    const bool pictures = std::any_of(base.screens.begin(), base.screens.end(),
                                      [](const BoardBaseScreen& screen) { return screen.image.has_value(); });
    return pictures ? "pictures" : "solid colour";
}

std::string board_dry_run_report(std::size_t screens, const BoardBase& base, std::size_t pictures,
                                 std::string_view folder, bool desktop_rendered) {
    std::string text = "PASS: ";
    text += std::to_string(screens);
    text += " screen(s), base ";
    text += base_word(base);
    text += ", ";
    text += std::to_string(pictures);
    text += " picture(s) baked in ";
    text += folder;
    text += ", desktop rendering ";
    text += desktop_rendered ? "available" : "unavailable (base only)";
    text += ".\n";
    return text;
}

void StepFailures::record(std::string_view step, const Status& status) {
    if (status) return;
    std::string line(step);
    line += ": ";
    line += status.failure().message;
    lines.push_back(std::move(line));
}

Status StepFailures::result() const {
    if (lines.empty()) return ok_status();
    std::string joined;
    for (const std::string& line : lines) {
        if (!joined.empty()) joined += "; ";
        joined += line;
    }
    return plain_failure(std::move(joined));
}

bool last_resort_applies(const BoardBase& base, std::span<const BoardScreen> monitors,
                         const std::vector<bool>& shows_baked) {
    for (const BoardScreen& monitor : monitors) {
        const BoardBaseScreen* screen = find_base_screen(base, monitor.name);
        if (screen && screen->image) return false;
    }
    return std::any_of(shows_baked.begin(), shows_baked.end(), [](bool shown) { return shown; });
}

}  // namespace glimmerly
