#pragma once
// The confirmation notice: a short text bubble near the bottom of the screen
// that confirms an action and fades out by itself. It never takes the focus,
// lets every click through and is kept out of screenshots. Its window holds
// no pointer: GWLP_USERDATA counts the timer's ticks (bits 0-15) and marks
// an anchored notice (bit 16). After its life it hides; it is destroyed when
// its owner replaces or drops it.

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

#include "app/app/messages.h"
#include "app/win/owners.h"
#include "core/base/pixel_rect.h"
#include "core/base/result.h"
#include "core/notice/notice_layout.h"

namespace glimmerly {

inline constexpr wchar_t NOTICE_WINDOW_CLASS[] = L"Glimmerly.Confirmation";
inline constexpr LONG_PTR NOTICE_ANCHORED_BIT = 0x10000;

using NoticeWindow = win::TimedWindow<TIMER_NOTICE>;

// A notice showing `text`: free (centred low in the work area of the monitor
// under the pointer, opaque, 2.1 s) or over `anchor` (smaller, translucent,
// 750 ms). Shown at once when `show` is set.
Result<NoticeWindow> create_notice_window(std::wstring_view text, bool show, std::optional<PixelRect> anchor);

// Shows the notice of a kind in the current language in place of `current`:
// the new notice is on screen before the old one goes. A kind outside 1..6
// changes nothing; a notice that cannot be made leaves none.
void replace_notice(NoticeWindow& current, NoticeKind kind);

// The same with a text of its own (a notice that names shortcuts, say).
void replace_notice_text(NoticeWindow& current, std::wstring_view text);

struct App;

// The App's notice of a kind. An editor child never shows one itself: it
// posts WM_APP_NOTICE to the resident that owns it (a failed post is
// dropped). A process that runs the editor in itself or keeps no settings
// shows notices only while a capture is open.
void show_notice(App& app, NoticeKind kind);

// WM_APP_NOTICE at the resident: shown only when `process_id` is the linked
// editor child's and the kind is 1..6.
void show_requested_notice(App& app, WPARAM process_id, LPARAM kind);

// The text's extent in pixels in the notice's font at that pixel height.
Result<SIZE> measure_notice_text(std::wstring_view text, int pixel_height);

// The design width of a free notice of that text (360..640).
Result<std::int32_t> notice_window_width(std::wstring_view text, UINT dpi);

// The two bubbles as the notice window paints them, filling the DC's box:
// an anchored notice in pixels at the dpi, and a free notice drawn in a
// design box (`design_width` x 56) stretched to the DC's size.
void paint_notice_bubble(HDC dc, int width, int height, std::wstring_view text, UINT dpi);
void paint_notice_bubble_scaled(HDC dc, int design_width, int width, int height, std::wstring_view text);

LRESULT CALLBACK notice_window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) noexcept;

}  // namespace glimmerly
