#pragma once
// The instant screenshot's shutter: the user's own sound file when there is
// one, silence when that file is empty, else the built-in click.

#include <cstdint>
#include <optional>
#include <vector>

namespace glimmerly {

// What the file system says of the custom sound's path, read without
// following a link.
struct ShutterFileFacts {
    bool directory = false;
    bool link = false;  // a name-surrogate reparse point (symbolic link, junction)
    std::uint64_t size = 0;
};

enum class ShutterSound : std::uint8_t { BuiltIn, Silent, CustomFile };

// None (no such file, or its folder unknown) gives the built-in sound; so do
// a folder and a link, which are never played (the program folder is the
// user's, but a link could point anywhere). An empty regular file is the
// user's way to silence the shutter.
ShutterSound choose_shutter_sound(const std::optional<ShutterFileFacts>& facts);

// The built-in click as a complete RIFF/WAVE file: PCM, mono, 44,100 Hz,
// 16 bits, 8,900 samples (about 0.2 s), 17,844 bytes. Made on demand rather
// than shipped as bytes.
inline constexpr std::uint32_t SHUTTER_SAMPLE_RATE = 44'100;
inline constexpr std::uint32_t SHUTTER_SAMPLES = 8'900;
std::vector<std::uint8_t> builtin_shutter_wav();

}  // namespace glimmerly
