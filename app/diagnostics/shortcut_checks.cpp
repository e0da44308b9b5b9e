#include "app/diagnostics/shortcut_checks.h"

#include <windows.h>

#include <array>
#include <utility>

#include "app/app/hotkeys.h"
#include "app/diagnostics/report_file.h"
#include "app/win/paths.h"

namespace glimmerly {

Status run_google_diagnostic(const LensOpeners& openers) { return run_google_diagnostic_into(L"target", openers); }

Status run_google_diagnostic_into(const std::wstring& report_folder, const LensOpeners& openers) {
    BgraImage picture{std::vector<std::uint8_t>(64 * 64 * 4), 64, 64};
    for (std::size_t i = 0; i < picture.pixels.size(); i += 4) {
        picture.pixels[i] = 0x28;
        picture.pixels[i + 1] = 0x5A;
        picture.pixels[i + 2] = 0xB4;
        picture.pixels[i + 3] = 0xFF;
    }
    auto page = write_lens_page(picture);
    if (!page) return std::move(page).failure();
    if (!open_in_browser(nullptr, *page, openers)) return plain_failure("The default browser did not open the page.");
    return write_report_file(win::join_path(report_folder, L"google-diagnostic.txt"),
                             "OPENED: synthetic search handed to the default browser; check that Google shows results.");
}

Status run_hotkey_diagnostic() {
    constexpr std::array<std::pair<UINT, UINT>, 6> kTrials = {{
        {0, VK_PAUSE},
        {MOD_CONTROL | MOD_SHIFT, VK_PAUSE},
        {0, 'A'},
        {0, VK_NUMPAD0},
        {0, VK_ESCAPE},
        {MOD_ALT | MOD_CONTROL, 'A'},
    }};
    for (const auto& [modifiers, key] : kTrials) {
        HotkeyRegistration registration{false, 0, nullptr, 1};
        GLIM_TRY(register_hotkey(registration, modifiers, key));
        unregister_hotkey(registration);
    }
    return ok_status();
}

}  // namespace glimmerly
