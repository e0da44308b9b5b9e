#pragma once
// Notices: a short text in a dark bubble near the bottom of the screen that
// confirms or reports something and fades out by itself. It never takes the
// focus, lets clicks through and stays out of screenshots. The window stays,
// hidden, until the next notice or the end replaces it.

#include <windows.h>

#include <optional>
#include <string_view>

#include "app/app/tray_icon.h"
#include "core/base/result.h"

namespace glimmerly {

struct App;

inline constexpr wchar_t NOTICE_WINDOW_CLASS[] = L"Glimmerly.Confirmation";

// A free notice sits centred above the bottom of the work area of the
// monitor under the pointer; an anchored one in the upper part of the
// anchor, smaller, fainter and shorter-lived. The window's title is the text.
Result<TrayHostWindow> create_notice_window(std::string_view text, bool show, const std::optional<RECT>& anchor);

// Makes a free notice the App's current one; the new one is on screen
// before the old one goes. A notice that cannot be made leaves none.
void replace_app_notice(App& app, std::string_view text);

// The design width of a free notice: the text and its margins, 360 to 640
// units of 1/96 inch.
int notice_window_width(std::string_view text, UINT dpi);

}  // namespace glimmerly
