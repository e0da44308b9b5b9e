#include "core/instant/instant_screenshot.h"

#include <gtest/gtest.h>

#include <cstring>
#include <cstdlib>

#include "core/instant/shutter_sound.h"

namespace glimmerly {
namespace {

TEST(CapturePulse, RisesToAFaintPeakFallsBackAndHidesAtTheSixteenthTick) {
    EXPECT_FALSE(capture_pulse_alpha(CAPTURE_PULSE_LAST_TICK).has_value());
    EXPECT_FALSE(capture_pulse_alpha(CAPTURE_PULSE_LAST_TICK + 1).has_value());
    std::uint8_t peak = 0;
    for (std::uint32_t tick = 1; tick < CAPTURE_PULSE_LAST_TICK; ++tick) {
        SCOPED_TRACE(tick);
        const auto alpha = capture_pulse_alpha(tick);
        ASSERT_TRUE(alpha.has_value());
        EXPECT_GT(*alpha, 0);
        EXPECT_LE(*alpha, 89);
        peak = std::max(peak, *alpha);
        const std::uint32_t toward_peak = tick < 8 ? tick + 1 : tick > 8 ? tick - 1 : tick;
        EXPECT_TRUE(tick == 8 || *alpha < *capture_pulse_alpha(toward_peak)) << "rising to tick 8, falling after it";
        EXPECT_LE(std::abs(*alpha - *capture_pulse_alpha(16 - tick)), 1);
    }
    EXPECT_EQ(peak, 89);
}

TEST(ShutterSound, AnEmptyFileSilencesAndOnlyARegularFileIsPlayed) {
    struct Row {
        const char* name;
        std::optional<ShutterFileFacts> facts;
        ShutterSound sound;
    };
    const Row rows[] = {
        {"no such file", std::nullopt, ShutterSound::BuiltIn},
        {"a folder", ShutterFileFacts{true, false, 0}, ShutterSound::BuiltIn},
        {"a link to a file", ShutterFileFacts{false, true, 4000}, ShutterSound::BuiltIn},
        {"an empty link", ShutterFileFacts{false, true, 0}, ShutterSound::BuiltIn},
        {"an empty file", ShutterFileFacts{false, false, 0}, ShutterSound::Silent},
        {"a sound file", ShutterFileFacts{false, false, 4000}, ShutterSound::CustomFile},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(choose_shutter_sound(row.facts), row.sound);
    }
}

std::uint32_t le32(const std::vector<std::uint8_t>& b, std::size_t at) {
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (std::uint32_t{b[at + 3]} << 24);
}
std::int16_t sample(const std::vector<std::uint8_t>& b, std::size_t i) {
    return static_cast<std::int16_t>(b[44 + 2 * i] | (b[45 + 2 * i] << 8));
}

TEST(ShutterSound, TheBuiltInClickIsAShortMonoPcmWaveThatStartsLoudAndEndsSilent) {
    const std::vector<std::uint8_t> wav = builtin_shutter_wav();
    ASSERT_EQ(wav.size(), 17'844u);
    EXPECT_EQ(std::memcmp(wav.data(), "RIFF", 4), 0);
    EXPECT_EQ(le32(wav, 4), wav.size() - 8);
    EXPECT_EQ(std::memcmp(wav.data() + 8, "WAVEfmt ", 8), 0);
    EXPECT_EQ(le32(wav, 20), 0x00010001u);  // PCM, one channel
    EXPECT_EQ(le32(wav, 24), 44'100u);
    EXPECT_EQ(le32(wav, 32), 0x00100002u);  // 2 bytes a frame, 16 bits
    EXPECT_EQ(std::memcmp(wav.data() + 36, "data", 4), 0);
    EXPECT_EQ(le32(wav, 40), wav.size() - 44);

    int loudest_early = 0;
    for (std::size_t i = 0; i < 441; ++i) loudest_early = std::max(loudest_early, std::abs(sample(wav, i)));
    EXPECT_GT(loudest_early, 8000);  // heard
    EXPECT_EQ(sample(wav, SHUTTER_SAMPLES - 1), 0);
    EXPECT_EQ(builtin_shutter_wav(), wav);  // the same every time
}

}  // namespace
}  // namespace glimmerly
