#pragma once
// Waiting on the test's own thread for something its windows will be told:
// messages are dispatched while waiting. The limit only keeps a broken run
// from hanging; a test asserts on what arrived, never on how long it took.

#include <windows.h>

#include <functional>

namespace glimmerly::testing_support {

inline bool pump_until(const std::function<bool()>& done, ULONGLONG limit_ms = 30000) {
    MSG message;
    for (const ULONGLONG end = GetTickCount64() + limit_ms; !done();) {
        if (GetTickCount64() >= end) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_ALLINPUT);
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    return true;
}

}  // namespace glimmerly::testing_support
