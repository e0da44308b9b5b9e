#pragma once
// Interface pictures drawn with the painting kit: any `Picture` replayed shape
// by shape, and on top of that the icons, the toolbar pictures, key caps and
// the shortcut recording field. What each picture holds is decided in the
// core (core/render/icons.h, key_caps.h); here it is only drawn.

#include <optional>
#include <span>
#include <string>

#include "app/render/painting_kit.h"
#include "core/render/icons.h"
#include "core/render/key_caps.h"
#include "core/render/picture.h"

namespace glimmerly {

// Each shape becomes its one kit call, in order. A rotation shape turns what
// follows on top of the target's transform at the call; the transform is put
// back however the picture ends. The first failing shape ends the picture
// with its failure; what was drawn stays.
Status draw_picture(Painter& painter, const Picture& picture);

// The picture, every shape of it inside `bounds`, drawn from the bitmap kept
// in `kept`: into it afresh only when the picture or its place differ from
// the kept ones. The target's transform must move by whole pixels only (the
// bitmap lands on whole pixels, so that its pixels are those the shapes give
// drawn straight). Text in the picture would lose ClearType: keep pictures
// without text. A picture too large for a bitmap is drawn straight.
Status draw_kept_picture(Painter& painter, KeptPicture& kept, const Picture& picture, const Box& bounds);

// A 20 x 20-unit icon with its top-left corner at `origin`, one unit being
// `scale` pixels, in one opaque colour. Action words (low byte below 22) draw
// their toolbar picture.
Status draw_icon(Painter& painter, IconKind kind, Point origin, double scale, Rgb colour);
Status draw_toolbar_icon(Painter& painter, EditorAction action, Point origin, double scale,
                         const ToolbarIconStyle& style, ColourPair pair);

// A row of key caps ending at `right`; the labels are measured here.
Status paint_key_caps(Painter& painter, std::span<const std::string> labels, double right, double centre_y,
                      double half_height, double scale, bool unavailable);
// The same row outlined in `outline` (a recording's colour).
Status paint_outlined_key_caps(Painter& painter, std::span<const std::string> labels, double right, double centre_y,
                               double half_height, double scale, Rgb outline);
// The shortcut recording field: its caps, or the placeholder, or neither.
Status paint_shortcut_keys(Painter& painter, const ShortcutFieldLayout& layout, std::span<const std::string> labels,
                           const std::optional<std::string>& placeholder, Rgb colour, double scale);
Status paint_circular_arrow(Painter& painter, Point centre, double scale);

}  // namespace glimmerly
