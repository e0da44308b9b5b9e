#include "app/app/unbuilt.h"

#include <string>

#include "text/app_error.h"

namespace glimmerly {

Failure not_available(std::string_view what) {
    // The words are the user's language; the detail names the part for a report.
    return make_app_error(TextId::error_not_available,
                          {{"detail", std::string(what) + " is not available in this version of Glimmerly."}});
}

}  // namespace glimmerly
