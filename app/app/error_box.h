#pragma once
#include <windows.h>

#include <string>
#include <string_view>

#include "core/base/result.h"

namespace glimmerly {

// A message in a box titled "Glimmerly" with the information icon; returns
// when it is closed. Its result is of no interest.
void show_message_box(HWND owner, std::string_view text);

// Shows a refused action's error in the current language, in a message box
// titled "Glimmerly" with the information icon; returns when it is closed.
void show_error_box(HWND owner, const Failure& error);

// The text show_error_box shows: the error as error_to_text gives it, with
// the system's message for a failure that carries none.
std::wstring error_box_text(const Failure& error);

}  // namespace glimmerly
