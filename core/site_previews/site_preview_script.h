#pragma once
// The fixed parts of "--render-site-previews <in> <out>" that need no
// window: finding the option and its two operands, the input sizes the
// films are made for, the eyedropper film's pointer path and the editing
// film's closing check.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/base/result.h"
#include "core/document/scene_object.h"
#include "core/startup/command_line.h"

namespace glimmerly {

inline constexpr std::u16string_view kRenderSitePreviewsOption = u"--render-site-previews";
// The desktop capture the capture films are drawn over.
inline constexpr std::uint32_t kSiteCaptureWidth = 1100;
inline constexpr std::uint32_t kSiteCaptureHeight = 680;
// The region the films over the capture work in.
inline constexpr Box kSiteCaptureRegion{100, 86, 1040, 612};

// The position of the first argument that is exactly the option.
std::optional<std::size_t> find_render_site_previews_option(const Arguments& args);

struct SitePreviewFolders {
    std::u16string in;
    std::u16string out;

    friend bool operator==(const SitePreviewFolders&, const SitePreviewFolders&) = default;
};
// The two arguments after the option; arguments after them are ignored.
// Fewer than two: E_INVALIDARG "usage: --render-site-previews <in> <out>".
Result<SitePreviewFolders> site_preview_folders(const Arguments& args);

// "desktop-capture.png must be 1100x680" unless it is.
Status check_site_capture_size(std::uint32_t width, std::uint32_t height);

// The presentation and board films are drawn at the size of their desktop
// pictures, frame after frame: no larger than a 4K screen.
inline constexpr std::uint32_t kSiteDesktopMaxWidth = 3840;
inline constexpr std::uint32_t kSiteDesktopMaxHeight = 2160;
// The input pictures, in the order they are read.
inline constexpr std::string_view kSiteCapturePicture = "desktop-capture.png";
inline constexpr std::string_view kSitePresentationPicture = "desktop-presentation.png";
inline constexpr std::array<std::string_view, 5> kSiteInputPictures{
    kSiteCapturePicture, kSitePresentationPicture, "desktop-board-wallpaper.png", "desktop-board-icons.png",
    "desktop-board-screen.png"};
// The judgement of the size an input picture's header claims: the capture's
// as above; any other "<file> is <w>x<h>; it must be at most 3840x2160"
// when it is larger either way.
Status check_site_input_size(std::string_view file, std::uint32_t width, std::uint32_t height);
// The judgement of an input picture from its first bytes (a PNG's
// signature and header chunk): "<file> is not a PNG picture" unless they
// are a PNG's, else its size as above.
Status check_site_input_header(std::string_view file, std::span<const std::uint8_t> head);

// The eyedropper film's 150 pointer positions: a figure eight 12 pixels
// wide and 8 high around (406, 317), once, starting at its centre.
std::vector<Point> eyedropper_film_points();

// The editing film's closing check: the turned note's bounds must stay
// clear of the card frame's bottom edge and its stroke (touching passes).
bool note_runs_into_frame(const Box& note, const Box& frame, double frame_stroke_width);

}  // namespace glimmerly
