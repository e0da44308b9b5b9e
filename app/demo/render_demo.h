#pragma once
// "--render-demo": a fixed series of demonstration pictures drawn through
// the program's real editing operations, editor and painters, written as PNG
// files into the folder "target" of the current directory (never created
// here). The first stage makes the editor and annotation pictures, the
// second the pictures of the program's own windows. No window is shown.

#include "core/base/result.h"

namespace glimmerly {

// The first stage; the first failure ends it, the pictures written so far stay.
Status render_demo_images();

// Both stages: the second runs only when the first succeeded.
Status run_render_demo();

}  // namespace glimmerly
