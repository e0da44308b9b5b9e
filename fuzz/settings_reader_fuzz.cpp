// Any bytes as "settings.txt".
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "core/settings/settings_checks.h"
#include "core/settings/settings_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace glimmerly;
    const auto read = parse_settings(std::string_view(reinterpret_cast<const char*>(data), size));
    if (!read) return 0;
    // A record the reader gave out must pass the writer's check and read back
    // as itself; otherwise the next save would lose or refuse the user's settings.
    if (!validate_settings(*read)) std::abort();
    const auto again = parse_settings(format_settings(*read));
    if (!again || !(*again == *read)) std::abort();
    return 0;
}
