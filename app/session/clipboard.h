#pragma once
// What the editor puts on the Windows clipboard: the picture as CF_DIB, a
// colour code as text, and for copied annotation objects a one-byte marker
// under the program's own format. The objects themselves stay in the
// editor's process; the marker and the clipboard's sequence number tell a
// later paste whether the clipboard still holds that copy. The clipboard is
// opened and closed within each call, on the window's own thread.

#include <windows.h>

#include <cstdint>
#include <span>
#include <vector>

#include "core/base/result.h"
#include "core/base/rgb.h"
#include "core/document/scene_object.h"
#include "core/image/bgra_image.h"

#include "core/editor/editor_routing.h"

namespace glimmerly {

inline constexpr wchar_t SESSION_CLIPBOARD_FORMAT[] = L"Glimmerly.Annotations.Session";

// Empties the clipboard and puts the bytes on it under `format`, owned by
// `owner`; the clipboard's sequence number right after. A failure is the
// failing call's Win32 failure, and leaves no memory block behind.
Result<std::uint32_t> put_on_clipboard(HWND owner, UINT format, std::span<const std::uint8_t> bytes);

// The picture as CF_DIB (a bottom-up 32-bit bitmap, alpha kept in the fourth
// byte), and nothing else. An invalid picture fails with E_INVALIDARG.
Status put_image_on_clipboard(HWND owner, const BgraImage& picture);

// "#" and the colour's six upper-case hexadecimal digits as CF_UNICODETEXT.
Status put_colour_code_on_clipboard(HWND owner, Rgb colour);

// True only while the clipboard still holds the marker put there at
// `sequence` (0 means none): any copy since, by any program, ends it.
bool clipboard_holds_session(std::uint32_t sequence);

// Puts the marker on the clipboard and holds the copied objects in place of
// the previous ones. A failure leaves `held` as it was.
Status copy_objects_to_clipboard(HWND owner, HeldObjects& held, std::vector<SceneObject> copied);

}  // namespace glimmerly
