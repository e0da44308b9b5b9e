#pragma once
// What the low-level keyboard hook does with one key event: turn up to three
// shortcuts into hotkey messages, as if they had been registered, and report
// every real key when asked. The hook procedure reads the event and the
// modifier keys and posts; the decision is made here.

#include <array>
#include <cstdint>

namespace glimmerly {

struct HookSlot {
    bool enabled = false;
    std::uint32_t modifiers = 0;  // MOD_ALT 1, MOD_CONTROL 2, MOD_SHIFT 4, MOD_WIN 8
    std::uint32_t key = 0;        // virtual-key code
    std::int32_t id = 0;          // the hotkey id posted on a match
};
using HookSlots = std::array<HookSlot, 3>;

struct HookKeyEvent {
    std::uint32_t key = 0;  // virtual-key code
    std::uint32_t scan = 0;
    bool down = false;  // WM_KEYDOWN or WM_SYSKEYDOWN
    bool extended = false;
    bool injected = false;  // sent by a program (SendInput), not typed
};

// The hook's side of the platform: the modifier keys held now, and the two
// messages it posts to its window: a hotkey as the system would post it for
// the slot's registered combination. A post answers whether it was queued.
class HookHost {
public:
    virtual std::uint32_t modifiers() = 0;
    virtual bool post_key_report(std::uint32_t key, std::uint32_t flags) = 0;
    virtual bool post_hotkey(const HookSlot& slot) = 0;

protected:
    ~HookHost() = default;
};

// The key report's lParam: the scan code in bits 0-15, bit 16 for a release,
// bit 17 for an extended key.
constexpr std::uint32_t key_report_flags(const HookKeyEvent& event) {
    return (event.scan & 0xFFFF) | (event.down ? 0 : 0x10000u) | (event.extended ? 0x20000u : 0);
}

struct ShortcutHookState {
    HookSlots slots{};
    bool report_keys = false;
    // One byte per virtual-key code: set while a matched key is held, so that
    // its auto-repeats and its release are swallowed with it.
    std::array<std::uint8_t, 256> latch{};
    // Set while an event is being decided; a nested call passes its key on.
    bool busy = false;
};

// Caps Lock, Num Lock and Scroll Lock: the system also records a press of
// one as its light turned on or off.
constexpr bool is_lock_key(std::uint32_t key) { return key == 0x14 || key == 0x90 || key == 0x91; }

// The slots of those shortcuts whose key is a lock key, each in its place;
// the others disabled. A hook holding these takes a lock-key shortcut's
// press before the system records it, so the light stays as it was: under
// Wine, a light that Wine's record has on while the X server has no such
// modifier is set right at the next key typed anywhere by a replayed press
// of the lock key, which a registered hotkey cannot tell from a real one.
HookSlots lock_key_slots(const HookSlots& shortcuts);

// Whether any slot is enabled.
bool any_slot_enabled(const HookSlots& slots);

// True when the hook swallows the key, false when it passes it on. Injected
// keys are passed on untouched (never matched, never reported). A report
// comes before the matching, so a matched key is reported too. A key down
// matches the first enabled slot whose key and modifiers are exactly these;
// the hotkey is posted once per hold. The modifier keys are asked for only
// when a key down is one that an enabled slot names.
bool hook_swallows_key(ShortcutHookState& state, const HookKeyEvent& event, HookHost& host);

}  // namespace glimmerly
