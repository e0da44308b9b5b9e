#pragma once
// An editable document opened in this process's editor: started as
// `glimmerly.exe <file>` (a saved document double-clicked), its objects can
// be edited again, and saving writes the same file in place.

#include <windows.h>

#include <string>

#include "app/app/app.h"
#include "core/base/result.h"

namespace glimmerly {

// The document's frame goes where its monitors are (choose_document_origin),
// one-to-one, with its objects and region. Refused, leaving the file as it
// is: unreadable ("error.document_unread" with the path), not editable,
// newer or damaged (a file past 256 MiB from its size alone), or too large
// for the screens ("error.document_too_large"). With "--document-probe" on
// the command line the last object moves one pixel right and the document is
// saved in place, which ends the process.
Status open_document_editor(App& app, HWND window, const std::wstring& path);

}  // namespace glimmerly
