#pragma once
// The tray popup's rows measured and painted with Direct2D and DirectWrite
// through the painting kit, on one set of renderer resources per
// user-interface thread (the menu painter), kept between paints and
// released when a popup goes away.

#include <windows.h>

#include <optional>
#include <span>

#include "app/render/renderer_resources.h"
#include "app/win/owners.h"
#include "core/base/result.h"
#include "core/image/bgra_image.h"
#include "core/menu/popup_rows.h"

namespace glimmerly {

// This thread's menu painter, made on first use (software, no premultiplied alpha).
Result<RendererResources*> menu_resources();
void release_menu_resources() noexcept;

// The rows laid out at the scale with the interface language's texts.
Result<PopupLayout> layout_popup(std::span<const PopupRow> rows, const ShortcutBindings& bindings, double scale);

// Paints one level with its top-left corner at (x, y) of the device context.
Status paint_popup_rows(const PopupLayout& layout, HDC dc, int x, int y, const ShortcutBindings& bindings,
                        std::optional<std::size_t> hover, const PopupRowState& row_state, double scale);

// A still picture of the menu at scale 1 with the row of `command` hovered
// (the separator for 0); for the language row, with its submenu beside it.
// The row state shows a row recording, a row just saved or hovered key caps.
Result<BgraImage> paint_tray_popup(AppCommand command, const ShortcutBindings& bindings,
                                   const PopupRowState& row_state = {});

// A memory DC with a top-down 32-bit DIB section selected into it.
class DibCanvas {
public:
    static Result<DibCanvas> make(int width, int height);
    HDC dc() const { return dc_.get(); }
    // GdiFlush, then the pixels, opaque.
    BgraImage pixels() const;

private:
    win::UniqueMemoryDc dc_;
    win::UniqueBitmap bitmap_;
    win::SelectedObject selected_;
    void* bits_ = nullptr;
    int width_ = 0;
    int height_ = 0;
};

}  // namespace glimmerly
