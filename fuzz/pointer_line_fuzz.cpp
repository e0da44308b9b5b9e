// Any bytes as the pointer-settings line.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "core/pointer/pointer_settings.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace glimmerly;
    const auto read = parse_pointer_settings(std::string_view(reinterpret_cast<const char*>(data), size));
    if (!read) return 0;
    if (!pointer_settings_valid(*read)) std::abort();
    const auto again = parse_pointer_settings(format_pointer_settings(*read));
    if (!again || !(*again == *read)) std::abort();
    return 0;
}
