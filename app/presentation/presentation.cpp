#include "app/presentation/presentation.h"

#include "app/app/unbuilt.h"
#include "app/win/failure.h"

namespace glimmerly {

Result<std::unique_ptr<PresentationCell>> attach_presentation_state(HWND window, const Settings&) {
    auto cell = std::make_unique<PresentationCell>();
    {
        auto state = cell->try_borrow();
        state->window = window;
    }
    if (!SetPropW(window, PRESENTATION_STATE_PROPERTY, cell.get()))
        return win::win32_failure("SetPropW", L"Glimmerly.PresentationState");
    return cell;
}

void destroy_presentation_state(std::unique_ptr<PresentationCell> cell) {
    if (!cell) return;
    if (auto state = cell->try_borrow(); state && state->window)
        RemovePropW(state->window, PRESENTATION_STATE_PROPERTY);
}

PresentationCell* attached_presentation_state(HWND window) {
    return static_cast<PresentationCell*>(GetPropW(window, PRESENTATION_STATE_PROPERTY));
}

Result<std::vector<TextId>> apply_startup_presentation(PresentationState&) {
    // No presentation shortcut is registered until its feature exists: a
    // system-wide key that does nothing would only be taken from other programs.
    return std::vector<TextId>{};
}

void stop_presentation(PresentationState& state) {
    state.saved_features.reset();
    state.features = PresentationFeatures{};
}

Status handle_presentation_hotkey(PresentationState&, int id) {
    if (id >= 91 && id <= 93) return not_available("Drawing temporary shapes");
    return ok_status();
}

bool temporary_shape_armed(const PresentationState&) { return false; }

Status toggle_presentation_feature(PresentationState& state, std::uint32_t command) {
    PresentationFeatures& on = state.features;
    switch (command) {
        case 101: on.pointer_effects = !on.pointer_effects; break;
        case 102: on.temporary_shapes = !on.temporary_shapes; break;
        case 103: on.keyboard = !on.keyboard; break;
        case 104: on.mouse = !on.mouse; break;
        case 106: return not_available("Moving the keyboard and mouse display");
        case 107: on.magnifier = !on.magnifier; break;
        default: break;
    }
    return ok_status();
}

Status apply_presentation_settings(PresentationState&, const Settings&) { return ok_status(); }
Status tick_presentation(PresentationState&) { return ok_status(); }
Status refresh_loupe_sources(PresentationState&) { return ok_status(); }
Status drain_loupe_frames(PresentationState&) { return ok_status(); }

Status record_key_report(PresentationState&, WPARAM, LPARAM) { return ok_status(); }

Status handle_raw_input(PresentationState&, const RAWINPUT&) { return ok_status(); }
Status rebuild_presentation_windows(PresentationState&) { return ok_status(); }

}  // namespace glimmerly
