#pragma once
// Opening an editable document from disk for editing.

#include <string>

#include "core/base/result.h"
#include "core/vexil/document.h"

namespace glimmerly {

// The document's scene and its decoded frame. A file above the document
// size limit is damaged and is refused from its size alone, before a byte is
// read; every other fault is document_read_error as open_vexil_document gives
// it, and a failure to read the file is the system's. The file is never
// changed. The calling thread must have a COM apartment.
Result<OpenedDocument> load_vexil_document(const std::wstring& path);

}  // namespace glimmerly
