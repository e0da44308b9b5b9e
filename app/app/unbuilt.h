#pragma once
// The operations of parts of the program that are not built yet, behind the
// names their callers use. Each one that the user can reach says plainly
// that the feature is not available; the others do nothing, and say why.

#include <windows.h>

#include <string>
#include <string_view>

#include "core/base/result.h"

namespace glimmerly {

struct App;

// "This part of Glimmerly is not available in this version yet." in the
// user's language, with "<what> is not available ..." as its detail.
Failure not_available(std::string_view what);

}  // namespace glimmerly
