#include "core/base/wav_file.h"

#include <string_view>

namespace glimmerly {
namespace {

void put_u16(std::vector<std::uint8_t>& out, std::uint32_t value) {
    out.push_back(static_cast<std::uint8_t>(value));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}
void put_u32(std::vector<std::uint8_t>& out, std::uint32_t value) {
    put_u16(out, value & 0xFFFF);
    put_u16(out, value >> 16);
}
void put_tag(std::vector<std::uint8_t>& out, std::string_view tag) { out.insert(out.end(), tag.begin(), tag.end()); }

}  // namespace

void append_wav_header(std::vector<std::uint8_t>& out, std::uint32_t samples, std::uint32_t rate) {
    const std::uint32_t data_bytes = samples * 2;
    put_tag(out, "RIFF");
    put_u32(out, 36 + data_bytes);
    put_tag(out, "WAVE");
    put_tag(out, "fmt ");
    put_u32(out, 16);
    put_u16(out, 1);  // PCM
    put_u16(out, 1);  // mono
    put_u32(out, rate);
    put_u32(out, rate * 2);  // bytes per second
    put_u16(out, 2);         // bytes per frame
    put_u16(out, 16);
    put_tag(out, "data");
    put_u32(out, data_bytes);
}

void append_wav_sample(std::vector<std::uint8_t>& out, std::int16_t sample) {
    put_u16(out, static_cast<std::uint16_t>(sample));
}

}  // namespace glimmerly
