#pragma once
// The document round-trip check ("--document-diagnostic"): a capture of a
// synthetic screen with one rectangle is saved as an editable document in
// "target", opened again by a second copy of the program as a user would
// open it, edited there and saved in place; then the file must hold the
// edited objects, the original screen, and show the edited picture.

#include <windows.h>

#include <string>

#include "core/base/result.h"
#include "core/editor/editor_state.h"
#include "core/image/bgra_image.h"

namespace glimmerly {

inline constexpr DWORD kDocumentProbeTimeoutMs = 60000;

// The capture's region with the frame, fills and objects, drawn with the
// state's renderer resources (made for it when it has none). Without a
// region: "error.no_region".
Result<BgraImage> render_edited_capture(EditorState& state);

// Starts `program` with the document as its first argument and
// "--document-probe", and waits for it. A probe that has not ended within
// `timeout_ms` (a box it met waits for ever) is ended; that, or an exit code
// other than 0, fails with "The reopened document did not save and leave".
Status run_document_probe_process(const std::wstring& program, const std::wstring& document, DWORD timeout_ms);

// Sets up its own COM apartment; the document and the report
// "target/document-diagnostics.txt" go under the current directory.
Status run_document_diagnostic();

}  // namespace glimmerly
