#pragma once
// The five switches of presentation mode. Stored and compared as one word,
// a byte per switch, because the masks of a group of switches (the cursor
// features, the device features) are what most decisions ask about.

#include <cstdint>

namespace glimmerly {

struct PresentationFeatures {
    bool pointer_effects = false;
    bool magnifier = false;
    bool temporary_shapes = false;
    bool keyboard = false;
    bool mouse = false;

    friend bool operator==(const PresentationFeatures&, const PresentationFeatures&) = default;
};

// Byte i of the word is switch i in the order above.
inline constexpr std::uint64_t kCursorFeatures = 0x101;
inline constexpr std::uint64_t kDeviceFeatures = 0x101000000;
inline constexpr std::uint64_t kAnyFeature = 0x101010101;

constexpr std::uint64_t feature_word(const PresentationFeatures& f) {
    return std::uint64_t{f.pointer_effects} | std::uint64_t{f.magnifier} << 8 | std::uint64_t{f.temporary_shapes} << 16 |
           std::uint64_t{f.keyboard} << 24 | std::uint64_t{f.mouse} << 32;
}

constexpr PresentationFeatures features_of_word(std::uint64_t word) {
    return {(word & 0x1) != 0, (word & 0x100) != 0, (word & 0x10000) != 0, (word & 0x1000000) != 0,
            (word & 0x100000000) != 0};
}

constexpr bool any_feature(const PresentationFeatures& f) { return (feature_word(f) & kAnyFeature) != 0; }
constexpr bool cursor_feature(const PresentationFeatures& f) { return (feature_word(f) & kCursorFeatures) != 0; }
constexpr bool device_feature(const PresentationFeatures& f) { return (feature_word(f) & kDeviceFeatures) != 0; }

}  // namespace glimmerly
