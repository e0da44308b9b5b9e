#pragma once
#include <windows.h>

#include <string>
#include <string_view>

#include "core/base/result.h"
#include "text/text_table.h"

namespace glimmerly {

// The text in a message box titled "Glimmerly" with the information icon;
// returns when it is closed. An empty text gives an empty box.
void show_message_box(HWND owner, std::wstring_view text);
// The same with a UTF-8 text.
void show_message_box(HWND owner, std::string_view text);

// Shows a refused action's error in the current language, in a message box
// titled "Glimmerly" with the information icon; returns when it is closed.
void show_error_box(HWND owner, const Failure& error);
// The same under a caption that names what failed, with the error icon.
void show_error_box(HWND owner, const Failure& error, TextId caption);

// The text show_error_box shows: the error as error_to_text gives it, with
// the system's message for a failure that carries none.
std::wstring error_box_text(const Failure& error);

}  // namespace glimmerly
