#include "core/presentation/presentation_shortcuts.h"

#include "text/app_error.h"
#include "text/shortcut_text.h"

namespace glimmerly {
namespace {

constexpr std::array<TextId, 3> kDrawingNames = {TextId::toolbar_arrow, TextId::toolbar_rectangle,
                                                 TextId::toolbar_ellipse};

Failure shortcut_in_use(Shortcut shortcut, Language language) {
    const std::string label = shortcut_label(shortcut.modifiers, shortcut.key, language);
    return make_app_error(TextId::error_shortcut_in_use, {{"shortcut", label}});
}

Status register_raw_input(PresentationInputHost& host, const PresentationFeatures& f) {
    return host.register_raw_input(wants_raw_mouse(f), f.keyboard);
}

void unregister_drawing(PresentationInputHost& host, int count = 3) {
    for (int i = 0; i < count; ++i) host.unregister_hotkey(kHotkeyDrawArrow + i);
}

Status turn_input_off(PresentationShortcuts& shortcuts, PresentationInputHost& host) {
    shortcuts.failed = {};
    Status raw = register_raw_input(host, {});
    if (any_feature(shortcuts.applied)) host.unregister_hotkey(kHotkeyPresentationStop);
    if (shortcuts.applied.temporary_shapes) unregister_drawing(host);
    shortcuts.applied = {};
    return raw;
}

}  // namespace

Status set_presentation_input(PresentationShortcuts& shortcuts, PresentationFeatures wanted,
                              PresentationInputHost& host, Language language) {
    const PresentationFeatures before = shortcuts.applied;
    if (!wanted.temporary_shapes) host.stop_listener();
    if (!any_feature(wanted)) return turn_input_off(shortcuts, host);

    bool stop_now = false;
    if (!any_feature(before)) {
        if (!host.register_hotkey(kHotkeyPresentationStop, shortcuts.stop)) return shortcut_in_use(shortcuts.stop, language);
        stop_now = true;
    }
    const bool shapes_now = wanted.temporary_shapes && !before.temporary_shapes;
    if (shapes_now) {
        for (int i = 0; i < 3; ++i) {
            if (host.register_hotkey(kHotkeyDrawArrow + i, shortcuts.drawing[i])) continue;
            if (stop_now) host.unregister_hotkey(kHotkeyPresentationStop);
            unregister_drawing(host, i);
            return shortcut_in_use(shortcuts.drawing[i], language);
        }
    }
    if (Status raw = register_raw_input(host, wanted); !raw) {
        (void)register_raw_input(host, before);
        if (stop_now) host.unregister_hotkey(kHotkeyPresentationStop);
        if (shapes_now) unregister_drawing(host);
        return raw;
    }
    if (before.temporary_shapes && !wanted.temporary_shapes) unregister_drawing(host);
    // Stored before the listener starts: should it fail, the caller's
    // turning off must find what this call registered.
    shortcuts.applied = wanted;
    if (wanted.keyboard && !host.listener_running()) return host.start_listener(HookSlots{}, true);
    return ok_status();
}

Result<std::vector<TextId>> apply_presentation_shortcuts(PresentationShortcuts& shortcuts, PresentationFeatures wanted,
                                                         PresentationInputHost& host) {
    GLIM_TRY(set_presentation_input(shortcuts, {}, host));
    std::vector<TextId> unavailable;
    if (any_feature(wanted) && !host.register_hotkey(kHotkeyPresentationStop, shortcuts.stop)) {
        shortcuts.failed[0] = true;
        unavailable.push_back(TextId::presentation_stop);
    }
    HookSlots handed{};
    bool any_handed = false;
    if (wanted.temporary_shapes) {
        for (int i = 0; i < 3; ++i) {
            const Shortcut shortcut = shortcuts.drawing[i];
            Status registered = host.register_hotkey(kHotkeyDrawArrow + i, shortcut);
            if (registered) continue;
            if (registered.failure().code == HOTKEY_IN_USE_CODE) {
                handed[i] = HookSlot{true, shortcut.modifiers, shortcut.key, kHotkeyDrawArrow + i};
                any_handed = true;
            } else {
                shortcuts.failed[1 + i] = true;
                unavailable.push_back(kDrawingNames[i]);
            }
        }
    }
    shortcuts.applied = wanted;
    if (Status raw = register_raw_input(host, wanted); !raw) {
        (void)set_presentation_input(shortcuts, {}, host);
        return std::move(raw).failure();
    }
    if (wanted.keyboard || any_handed) {
        if (Status started = host.start_listener(handed, wanted.keyboard); !started) {
            (void)set_presentation_input(shortcuts, {}, host);
            return std::move(started).failure();
        }
    }
    return unavailable;
}

Status register_pointer_shortcuts(PointerShortcuts& pointer, bool cursor_on, PresentationInputHost& host) {
    unregister_pointer_shortcuts(pointer, host);
    Status last;
    if (!cursor_on) return last;
    for (int i = 0; i < 3; ++i) {
        if (!pointer.shortcuts[i]) continue;
        last = host.register_hotkey(kHotkeyShowClick + i, *pointer.shortcuts[i]);
        pointer.registered[i] = static_cast<bool>(last);
        pointer.failed[i] = !last;
    }
    return last;
}

void unregister_pointer_shortcuts(PointerShortcuts& pointer, PresentationInputHost& host) {
    for (int i = 0; i < 3; ++i) {
        if (pointer.registered[i]) host.unregister_hotkey(kHotkeyShowClick + i);
        pointer.registered[i] = false;
    }
    pointer.failed = {};
}

}  // namespace glimmerly
