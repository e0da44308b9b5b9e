#include "core/shortcuts/shortcut_hook.h"

namespace glimmerly {
namespace {

class BusyMark {
public:
    explicit BusyMark(bool& busy) : busy_(busy) { busy_ = true; }
    BusyMark(const BusyMark&) = delete;
    BusyMark& operator=(const BusyMark&) = delete;
    ~BusyMark() { busy_ = false; }

private:
    bool& busy_;
};

bool names_key(const HookSlots& slots, std::uint32_t key) {
    for (const HookSlot& slot : slots)
        if (slot.enabled && slot.key == key) return true;
    return false;
}

}  // namespace

HookSlots lock_key_slots(const HookSlots& shortcuts) {
    HookSlots slots = shortcuts;
    for (HookSlot& slot : slots) slot.enabled = slot.enabled && is_lock_key(slot.key);
    return slots;
}

bool any_slot_enabled(const HookSlots& slots) {
    for (const HookSlot& slot : slots)
        if (slot.enabled) return true;
    return false;
}

bool hook_swallows_key(ShortcutHookState& state, const HookKeyEvent& event, HookHost& host) {
    if (event.injected || state.busy) return false;
    const BusyMark mark(state.busy);
    if (state.report_keys) (void)host.post_key_report(event.key, key_report_flags(event));
    if (event.key > 255) return false;
    std::uint8_t& latch = state.latch[event.key];
    if (latch) {
        if (!event.down) latch = 0;
        return true;
    }
    if (!event.down || !names_key(state.slots, event.key)) return false;
    // Read only for a key that a slot names: each read is a call into the
    // system (under Wine 8 a wait on its server and a flush of every window
    // surface of the process under the lock its painting takes), on the
    // path of every key typed anywhere on the desktop.
    const std::uint32_t modifiers = host.modifiers();
    for (const HookSlot& slot : state.slots) {
        if (!slot.enabled || slot.key != event.key || slot.modifiers != modifiers) continue;
        latch = 1;
        if (host.post_hotkey(slot)) return true;
        latch = 0;  // nobody will hear of it: let the key through instead
        return false;
    }
    return false;
}

}  // namespace glimmerly
