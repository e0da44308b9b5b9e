#pragma once
// "--editor-diagnostic": what a capture costs before anything is shown, the
// grab of the whole virtual screen and the editor state built over it, in
// "target/editor-diagnostics.txt".

#include "core/base/result.h"

namespace glimmerly {

Status run_editor_diagnostic();

}  // namespace glimmerly
