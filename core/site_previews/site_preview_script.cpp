#include "core/site_previews/site_preview_script.h"

#include <cmath>
#include <numbers>
#include <string>

#include "core/vexil/png.h"

namespace glimmerly {

std::optional<std::size_t> find_render_site_previews_option(const Arguments& args) {
    return find_option(args, kRenderSitePreviewsOption);
}

Result<SitePreviewFolders> site_preview_folders(const Arguments& args) {
    const auto at = find_render_site_previews_option(args);
    if (!at || args.size() - *at < 3) return invalid_input("usage: --render-site-previews <in> <out>");
    return SitePreviewFolders{args[*at + 1], args[*at + 2]};
}

Status check_site_capture_size(std::uint32_t width, std::uint32_t height) {
    if (width != kSiteCaptureWidth || height != kSiteCaptureHeight)
        return invalid_input("desktop-capture.png must be 1100x680");
    return ok_status();
}

Status check_site_input_size(std::string_view file, std::uint32_t width, std::uint32_t height) {
    if (file == kSiteCapturePicture) return check_site_capture_size(width, height);
    if (width <= kSiteDesktopMaxWidth && height <= kSiteDesktopMaxHeight) return ok_status();
    return invalid_input(std::string(file) + " is " + std::to_string(width) + "x" + std::to_string(height) +
                         "; it must be at most " + std::to_string(kSiteDesktopMaxWidth) + "x" +
                         std::to_string(kSiteDesktopMaxHeight));
}

Status check_site_input_header(std::string_view file, std::span<const std::uint8_t> head) {
    const auto size = png_header_size(head);
    if (!size) return invalid_input(std::string(file) + " is not a PNG picture");
    return check_site_input_size(file, size->width, size->height);
}

std::vector<Point> eyedropper_film_points() {
    constexpr int kFrames = 150;
    std::vector<Point> points;
    points.reserve(kFrames);
    for (int i = 0; i < kFrames; ++i) {
        const double t = 2.0 * std::numbers::pi * i / kFrames;
        points.push_back({406.0 + 6.0 * std::sin(t), 317.0 + 4.0 * std::sin(2.0 * t)});
    }
    return points;
}

bool note_runs_into_frame(const Box& note, const Box& frame, double frame_stroke_width) {
    return frame.bottom + frame_stroke_width > note.top;
}

}  // namespace glimmerly
