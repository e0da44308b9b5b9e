#pragma once
// The composed loupe's bookkeeping: the round clips of its five bands, how a
// band's entries (one per window beneath) are kept, taken over or retired
// when the windows beneath change, and the box a captured frame is copied
// through.

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace glimmerly {

enum class LoupeEntryKind : std::uint8_t { Thumbnail = 0, Capture = 1, Nothing = 2 };

// Thumbnail entries of windows that left, kept per band for their return.
inline constexpr std::size_t kRetiredEntryLimit = 16;

// A circle of `radius` about the window's centre, as a rounded rectangle.
struct LoupeClip {
    float left = 0;
    float top = 0;
    float right = 0;
    float bottom = 0;
    float radius = 0;
};

// The five band clips for a window of side `diameter`: radii r - 4 to r,
// innermost first, so the edge fades over the last four pixels.
std::array<LoupeClip, 5> loupe_band_clips(std::int32_t diameter);

struct FrameCopySize {
    std::int32_t width = 0;
    std::int32_t height = 0;
    bool empty() const { return width <= 0 || height <= 0; }
};

// The part of a captured frame that is copied: its content size, but never
// beyond the frame's texture (after a window grows the content can be
// larger than the buffers it came in) nor beyond the destination surface.
FrameCopySize frame_copy_size(std::int32_t content_width, std::int32_t content_height, std::uint32_t source_width,
                              std::uint32_t source_height, std::int32_t surface_width, std::int32_t surface_height);

// Whether a band's entries already name these windows, in this order.
template <class Entry, class Window>
bool band_entries_match(const std::vector<Entry>& current, const std::vector<Window>& windows) {
    if (current.size() != windows.size()) return false;
    for (std::size_t k = 0; k < windows.size(); ++k)
        if (!(current[k].window == windows[k])) return false;
    return true;
}

// The band's entries made again for `windows` (bottom-most first): each
// window takes over an entry set aside from the band's list, else one from
// the retired list; only then is `make(window)` asked for a new one. An
// entry that shows nothing is never taken over. Left over afterwards:
// capture entries are dropped (their window is no longer beneath), thumbnail
// entries retire, and only the newest `kRetiredEntryLimit` retired ones stay.
template <class Entry, class Window, class Make>
void rebuild_band_entries(std::vector<Entry>& current, std::vector<Entry>& retired, const std::vector<Window>& windows,
                          Make&& make) {
    std::vector<Entry> aside = std::move(current);
    current.clear();
    const auto take = [](std::vector<Entry>& from, const Window& window, std::vector<Entry>& into) {
        const auto found = std::find_if(from.begin(), from.end(), [&](const Entry& entry) {
            return entry.kind != LoupeEntryKind::Nothing && entry.window == window;
        });
        if (found == from.end()) return false;
        into.push_back(std::move(*found));
        from.erase(found);
        return true;
    };
    for (const Window& window : windows) {
        if (take(aside, window, current) || take(retired, window, current)) continue;
        current.push_back(make(window));
    }
    for (Entry& entry : aside)
        if (entry.kind == LoupeEntryKind::Thumbnail) retired.push_back(std::move(entry));
    aside.clear();
    if (retired.size() > kRetiredEntryLimit)
        retired.erase(retired.begin(), retired.begin() + std::ptrdiff_t(retired.size() - kRetiredEntryLimit));
}

}  // namespace glimmerly
