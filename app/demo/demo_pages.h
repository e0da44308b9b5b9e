#pragma once
// The second stage of "--render-demo": the program's own small windows
// painted off screen in fixed states by their real painters and written
// under "target/".

#include "core/base/result.h"

namespace glimmerly {

Status render_demo_pages();

}  // namespace glimmerly
