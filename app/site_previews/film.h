#pragma once
// One site-preview film being recorded: the real editor, filmed frame by
// frame off screen into a folder of numbered PNG pictures, with the pointer
// position of every frame kept for "pointer.txt". The editor is driven
// between frames by the scripted input (scripted_input.h) or, for the films
// that need no window, by the editing operations directly.

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/app/tray_icon.h"
#include "core/base/result.h"
#include "core/editor/editor_state.h"
#include "ui/capture/cursor_cache.h"
#include "ui/capture/window_typing.h"

namespace glimmerly {

// The film's own clock, one step per frame written: what the editor draws
// from the time (the caret's blink, the toolbar's hover and highlights)
// then looks the same however fast a machine writes the frames.
inline constexpr std::chrono::milliseconds kFilmFrameInterval{40};

// The state and everything that refers to it live here together: the typing
// controls keep a reference to the state, so a film never moves.
struct Film {
    // With a host window the editor's typing controls (its text box and size
    // fields, EDIT controls on that window) are made on it; without one the
    // editor has none open, ever.
    Film(EditorState state, std::wstring frames_folder, HWND host_window, bool draw_cursor);
    Film(const Film&) = delete;
    Film& operator=(const Film&) = delete;
    ~Film();

    EditorState state;
    std::wstring frames_folder;  // exists before the first frame
    std::vector<Point> pointer_track;  // one point per frame written, in frame order
    HWND host_window = nullptr;  // not owned: its maker destroys it after the film
    bool draw_cursor = false;    // the editor's mouse cursor painted into every frame
    std::unique_ptr<WindowTyping> typing;
    CursorCache cursors;
    ChromeClock::time_point clock_start = ChromeClock::now();
};

// The film's time at the frame about to be written.
ChromeClock::time_point film_now(const Film& film);

// The hidden window that hosts the editor's handlers and typing controls
// while a film drives them: a STATIC popup titled "Site preview" of the
// film's size at (0, 0), never shown.
Result<OwnedWindow> create_site_preview_host(std::uint32_t width, std::uint32_t height);

// Creates the frames folder with its missing parents, emptied of whatever
// an earlier run left in it: a film that stops part way must not look
// complete through the frames and "pointer.txt" of the run before. A
// failure is E_FAIL with the system's text.
Status create_frames_folder(const std::wstring& folder);

// The next frame with the pointer at (x, y): the editor's view as its window
// would show it, with the cursor when the film draws one, every pixel
// opaque, saved as the next numbered picture; then (x, y) joins the track. A
// failed frame leaves no picture and no track entry, and the film stays
// usable. A pointer that is not a finite point is refused.
Status render_view_to_dib(Film& film, double x, double y);

// n frames with the pointer resting on the last track point; the first
// failure stops them.
Status hold_film_frames(Film& film, std::uint32_t n);

// "pointer.txt" in the frames folder, written whole; a failure is E_FAIL
// with the system's text.
Status write_pointer_track(const Film& film);

// Releases the editor state with everything it owns, the folder and the
// track. The host window stays for its maker to destroy.
void drop_film(Film& film);

}  // namespace glimmerly
