#include "core/instant/shutter_sound.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "core/base/wav_file.h"

namespace glimmerly {
namespace {

// One blade's snap at `start` seconds: a burst of noise and a short metallic
// ring that both die within a few milliseconds, over a soft body thump.
double click(double t, double start, double loudness, std::uint32_t& noise) {
    if (t < start) return 0.0;
    const double u = t - start;
    noise = noise * 1664525u + 1013904223u;  // a fixed sequence: the sound is the same on every run
    const double white = static_cast<double>(noise >> 8) / 8388608.0 - 1.0;
    const double burst = white * std::exp(-u / 0.004);
    const double ring = std::sin(2 * std::numbers::pi * 2350.0 * u) * std::exp(-u / 0.009);
    const double thump = std::sin(2 * std::numbers::pi * 170.0 * u) * std::exp(-u / 0.018);
    return loudness * (0.55 * burst + 0.3 * ring + 0.35 * thump);
}

}  // namespace

ShutterSound choose_shutter_sound(const std::optional<ShutterFileFacts>& facts) {
    if (!facts || facts->directory || facts->link) return ShutterSound::BuiltIn;
    return facts->size == 0 ? ShutterSound::Silent : ShutterSound::CustomFile;
}

std::vector<std::uint8_t> builtin_shutter_wav() {
    std::vector<std::uint8_t> wav;
    wav.reserve(kWavHeaderBytes + SHUTTER_SAMPLES * 2);
    append_wav_header(wav, SHUTTER_SAMPLES, SHUTTER_SAMPLE_RATE);

    std::uint32_t open_noise = 0x2545F491u, close_noise = 0x9E3779B9u;
    for (std::uint32_t i = 0; i < SHUTTER_SAMPLES; ++i) {
        const double t = static_cast<double>(i) / SHUTTER_SAMPLE_RATE;
        double value = click(t, 0.0, 0.8, open_noise) + click(t, 0.085, 0.65, close_noise);
        // The last 10 ms fade to nothing, so the sound ends without a click of its own.
        const double left = static_cast<double>(SHUTTER_SAMPLES - 1 - i) / SHUTTER_SAMPLE_RATE;
        value *= std::min(1.0, left / 0.010);
        const long sample = std::lround(std::clamp(value, -1.0, 1.0) * 32767.0);
        append_wav_sample(wav, static_cast<std::int16_t>(sample));
    }
    return wav;
}

}  // namespace glimmerly
