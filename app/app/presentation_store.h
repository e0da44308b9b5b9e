#pragma once
// What the presentation's own windows change (the shapes' stroke width by
// the wheel, the keys-and-mouse display's dragged place) kept in the
// settings, on the presentation's request.

#include "app/app/app.h"

namespace glimmerly {

// With file-backed settings: the two values patched into the file under the
// lock and the App's settings read again (taking over what other processes
// wrote meanwhile); answers true then. Otherwise only the App's copy
// changes; answers false.
Result<bool> store_presentation_settings(App& app, std::uint32_t stroke_width,
                                         const std::optional<InputDisplayOffset>& placement);

// The same with the values the presentation state holds now.
Status store_presentation_changes(App& app);

}  // namespace glimmerly
