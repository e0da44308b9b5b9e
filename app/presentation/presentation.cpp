#include "app/presentation/presentation.h"

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

Status handle_presentation_hotkey(PresentationState&, int) { return ok_status(); }
Status tick_presentation(PresentationState&) { return ok_status(); }
Status refresh_loupe_sources(PresentationState&) { return ok_status(); }
Status drain_loupe_frames(PresentationState&) { return ok_status(); }

Status record_key_report(PresentationState&, WPARAM, LPARAM) { return ok_status(); }

Status handle_raw_input(PresentationState&, const RAWINPUT&) { return ok_status(); }
Status rebuild_presentation_windows(PresentationState&) { return ok_status(); }

}  // namespace glimmerly
