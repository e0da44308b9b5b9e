#include "app/win/com.h"

#include <mutex>

namespace glimmerly::win {
namespace {

// Process-wide by nature: the reference is the process's, not any thread's.
std::once_flag g_multithreaded_apartment_kept;

}  // namespace

void keep_multithreaded_apartment() noexcept {
    try {
        std::call_once(g_multithreaded_apartment_kept, [] {
            CO_MTA_USAGE_COOKIE cookie = nullptr;
            (void)CoIncrementMTAUsage(&cookie);  // held until the process ends
        });
    } catch (...) {
        // call_once reports a failure of the platform's once-primitive by
        // throwing; the apartment reference is an optimisation only.
    }
}

}  // namespace glimmerly::win
