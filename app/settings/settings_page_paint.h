#pragma once
// One settings page drawn in one pass: background, tabs, title, group
// headings and cards, every row with its icon, texts and control, the row
// being recorded, the pointer-effects preview and the focus ring. It reads
// the panel and changes nothing, so that any Direct2D target (the window's
// DC, a DIB, a picture of the pages) can take it.

#include <cstdint>

#include "app/render/painting_kit.h"
#include "core/base/result.h"
#include "core/menu/popup_rows.h"
#include "ui/settings_panel/settings_panel.h"

namespace glimmerly {

// `scale` turns the panel's DIPs into the target's pixels; `now` is the
// preview's clock (ms since the window opened). The first failing drawing
// operation ends the pass. `recording` is what the row being recorded shows
// (the keys held so far, a refusal's message), kept by the window's row editing.
Status paint_settings_page(const SettingsPanel& panel, Painter& painter, double scale, std::uint64_t now,
                           const ShortcutRecording* recording = nullptr);

// The preview box of the Pointer effects page: the two-tone sample page,
// the spotlight, and the pointer effects at 0.7 of their size.
Status paint_pointer_preview(const SettingsPanel& panel, Painter& painter, double scale, std::uint64_t now);

}  // namespace glimmerly
