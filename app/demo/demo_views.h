#pragma once
// The editor pictures of the demonstration: the capture editor caught at
// fixed moments (a colour picker, a brush preview, a hint, a fill preview,
// a hover, a label) and rendered off screen by its own frame renderer.

#include <string>

#include "app/render/renderer_resources.h"
#include "core/base/result.h"
#include "core/editor/editor_state.h"

namespace glimmerly {

// The eleven editor pictures, in order, written beside `title_path`. The
// first seven change `state` (the title picture's editor, its region the
// light page) one after another. Every editor but `state`, which has its
// renderer already, draws through the factories of `sharing`.
Status render_editor_views(EditorState& state, const RendererResources& sharing, const std::wstring& title_path);

// The editor at a 200 % interface scale: a region, an arrow, a rectangle
// selected by a click, the pointer hovering.
Status render_interface_200(const RendererResources& sharing, const std::wstring& path);

// The toolbar folded and unfolded, side by side with a 20-pixel gap.
Status render_mini_toolbar(const RendererResources& sharing, const std::wstring& path);

}  // namespace glimmerly
