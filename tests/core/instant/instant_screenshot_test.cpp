#include "core/instant/instant_screenshot.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

#include "core/instant/shutter_sound.h"

namespace glimmerly {
namespace {

TEST(CapturePulse, RisesToAFaintPeakFallsBackAndHidesAtTheSixteenthTick) {
    EXPECT_FALSE(capture_pulse_alpha(CAPTURE_PULSE_LAST_TICK).has_value());
    std::uint8_t peak = 0;
    for (std::uint32_t tick = 1; tick < CAPTURE_PULSE_LAST_TICK; ++tick) {
        SCOPED_TRACE(tick);
        const auto alpha = capture_pulse_alpha(tick);
        ASSERT_TRUE(alpha.has_value());
        EXPECT_GT(*alpha, 0);
        peak = std::max(peak, *alpha);
        const std::uint32_t toward_peak = tick < 8 ? tick + 1 : tick > 8 ? tick - 1 : tick;
        EXPECT_TRUE(tick == 8 || *alpha < *capture_pulse_alpha(toward_peak)) << "rising to tick 8, falling after it";
        EXPECT_LE(std::abs(*alpha - *capture_pulse_alpha(16 - tick)), 1);
    }
    EXPECT_EQ(peak, 89);  // never more than a tint
}

TEST(ShutterSound, AnEmptyFileSilencesAndOnlyARegularFileIsPlayed) {
    struct Row { const char* name; std::optional<ShutterFileFacts> facts; ShutterSound sound; };
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

TEST(ShutterSound, TheBuiltInClickIsAShortMonoPcmWaveThatStartsLoudAndEndsSilent) {
    const std::vector<std::uint8_t> wav = builtin_shutter_wav();
    ASSERT_EQ(wav.size(), 17'844u);
    const auto at = [&](std::size_t i) { return std::string(wav.begin() + i, wav.begin() + i + 4); };
    const auto le32 = [&](std::size_t i) { return wav[i] | wav[i + 1] << 8 | wav[i + 2] << 16 | wav[i + 3] << 24; };
    const auto sample = [&](std::size_t i) {
        return static_cast<std::int16_t>(wav[44 + 2 * i] | wav[45 + 2 * i] << 8);
    };
    EXPECT_EQ(at(0) + at(8) + at(12) + at(36), "RIFFWAVEfmt data");
    EXPECT_EQ(le32(4), 17'836);
    EXPECT_EQ(le32(20), 0x00010001);  // PCM, one channel
    EXPECT_EQ(le32(24), 44'100);
    EXPECT_EQ(le32(32), 0x00100002);  // 2 bytes a frame, 16 bits
    EXPECT_EQ(le32(40), 17'800);
    int loudest_first_10_ms = 0;
    for (std::size_t i = 0; i < 441; ++i) loudest_first_10_ms = std::max(loudest_first_10_ms, std::abs(sample(i)));
    EXPECT_GT(loudest_first_10_ms, 8000);
    EXPECT_EQ(sample(SHUTTER_SAMPLES - 1), 0);
}

}  // namespace
}  // namespace glimmerly
