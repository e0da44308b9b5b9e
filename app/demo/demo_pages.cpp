#include "app/demo/demo_pages.h"

namespace glimmerly {

Status render_demo_pages() { return ok_status(); }

}  // namespace glimmerly
