#pragma once
// The image-search hand-off: the "Glimmerly Google Lens" worker writes a
// self-submitting page with the capture into the program's folder under the
// temporary folder; the application window opens it with the browser; a
// copy of the program started with "--forget-lens-page" deletes it a minute
// later, and the next page's writer deletes pages left behind.
//
// The App (or the capture session) keeps one LensSearch and calls:
//   the search action:   start_lens_search (after its searching notice)
//   WM_APP_LENS_DONE:    finish_lens_search, then shows the text it returns
//                        in a message box, clears the searching flag and
//                        repaints
//   "--forget-lens-page" <path>:  run_forget_lens_page, in a process of its own

#include <windows.h>

#include <optional>
#include <string>

#include "app/win/owners.h"
#include "core/base/channel.h"
#include "core/base/result.h"
#include "core/image/bgra_image.h"

namespace glimmerly {

inline constexpr wchar_t FORGET_LENS_PAGE_OPTION[] = L"--forget-lens-page";

// The temporary folder + "Glimmerly".
Result<std::wstring> lens_page_folder();

// Writes the picture's page into `folder` (made with its parents when
// missing), after deleting the folder's pages that are at least 60 s old.
// Refuses a PNG above 20 MiB with "error.lens_too_large". Returns the
// page's path. The calling thread must have a COM apartment.
Result<std::wstring> write_lens_page_in(const std::wstring& folder, const BgraImage& picture);

// The same into lens_page_folder(), in an apartment of its own.
Result<std::wstring> write_lens_page(const BgraImage& picture);

// The worker's one result: the page written, or the display text of the
// failure that stopped it.
struct LensSearchResult {
    std::optional<std::wstring> page;
    std::string failure;
};

// What the owner of a search keeps: the receiver is present while it runs.
struct LensSearch {
    LensSearch() = default;
    LensSearch(const LensSearch&) = delete;
    LensSearch& operator=(const LensSearch&) = delete;
    ~LensSearch();  // waits for a worker still writing

    std::optional<ChannelReceiver<LensSearchResult>> receiver;
    win::UniqueHandle worker;
};

// Starts the worker, which posts WM_APP_LENS_DONE to `window` once its
// result is in the channel. A second search while one runs is refused by the
// caller; here it fails with E_FAIL. A thread that cannot start is E_FAIL
// with the system's text.
Status start_lens_search(LensSearch& search, BgraImage picture, HWND window);

// How a page leaves the program: the platform's shell and process start,
// replaced by tests, which must never open a page (a browser would upload it).
struct LensOpeners {
    // ShellExecuteW "open" of `file` with `parameters`; whether it started.
    bool (*shell_open)(HWND owner, const std::wstring& file, const std::wstring& parameters);
    // Starts this program with "--forget-lens-page" and the page; whether it started.
    bool (*start_forget)(const std::wstring& page);
};
LensOpeners platform_lens_openers();

// Opens the page with the executable registered for "https" links, or, when
// there is none, with the shell's association for the page. When nothing
// opened it the page is deleted at once and the result is false; otherwise a
// forget process is started (a failure to start it leaves the page to a
// later clean-up).
bool open_in_browser(HWND owner, const std::wstring& page, const LensOpeners& openers);

// On WM_APP_LENS_DONE: takes the result (nothing happens when no search runs
// or its worker has not sent yet) and opens the page. Returns the text of
// the message box the caller shows: the browser could not be opened, the
// search failed (with its detail), or the worker ended without a result.
std::optional<std::wstring> finish_lens_search(LensSearch& search, HWND window, const LensOpeners& openers);

// The "--forget-lens-page" process: only a page (a "lens-" file with the
// extension "html") of lens_page_folder() is accepted, else E_INVALIDARG
// "Not a Google Lens page" and nothing is deleted. Then it waits 60 s and
// deletes the page; a page already gone counts as deleted.
Status run_forget_lens_page(const std::wstring& page);
// The same after `delay_ms`.
Status forget_lens_page_after(const std::wstring& page, DWORD delay_ms);

}  // namespace glimmerly
