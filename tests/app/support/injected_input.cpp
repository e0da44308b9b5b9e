#include "tests/app/support/injected_input.h"

#include <gtest/gtest.h>

namespace glimmerly::testing_support {

INPUT key_input(WORD key, bool up, wchar_t unicode) {
    INPUT input{.type = INPUT_KEYBOARD};
    input.ki = {.wVk = unicode ? WORD{0} : key, .wScan = unicode, .dwFlags = DWORD(up ? KEYEVENTF_KEYUP : 0)};
    if (unicode) input.ki.dwFlags |= KEYEVENTF_UNICODE;
    return input;
}

INPUT mouse_input(POINT at, DWORD flags, DWORD wheel) {
    INPUT input{.type = INPUT_MOUSE};
    // Rounded up, so that the system's truncation back to pixels lands on the pixel.
    const auto normal = [](LONG v, int extent) { return static_cast<LONG>((v * 65536 + extent - 1) / extent); };
    input.mi = {.dx = normal(at.x, GetSystemMetrics(SM_CXSCREEN)),
                .dy = normal(at.y, GetSystemMetrics(SM_CYSCREEN)),
                .mouseData = wheel,
                .dwFlags = flags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE};
    return input;
}

void send(std::vector<INPUT> inputs) {
    EXPECT_EQ(SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT)), inputs.size());
}

}  // namespace glimmerly::testing_support
