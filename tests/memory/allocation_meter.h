#pragma once
// How much heap a piece of code takes at its peak, counted by an operator new
// of this test program's own. Linked only into the memory tests: it would
// count every other test's allocations too, and hide the sanitizer's check
// that new and delete are paired.

#include <cstddef>
#include <functional>

namespace glimmerly::testing {

// The most bytes from operator new held at once while `work` ran, beyond
// what was held when it began.
std::size_t peak_heap_bytes(const std::function<void()>& work);

}  // namespace glimmerly::testing
