#include "core/presentation/click_sounds.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace glimmerly {
namespace {

std::uint32_t u32_at(const std::vector<std::uint8_t>& b, std::size_t at) {
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | std::uint32_t{b[at + 3]} << 24;
}
std::uint16_t u16_at(const std::vector<std::uint8_t>& b, std::size_t at) {
    return static_cast<std::uint16_t>(b[at] | b[at + 1] << 8);
}
std::int16_t sample_at(const std::vector<std::uint8_t>& b, std::size_t i) {
    return static_cast<std::int16_t>(u16_at(b, 44 + 2 * i));
}
int peak(const std::vector<std::uint8_t>& b) {
    int most = 0;
    for (std::size_t i = 0; 44 + 2 * i < b.size(); ++i) most = std::max(most, std::abs(int{sample_at(b, i)}));
    return most;
}

TEST(ClickSounds, EachImageIsACompleteWaveFileOfItsLength) {
    const auto& sounds = click_sounds();
    for (std::size_t index = 0; index < kClickSoundCount; ++index) {
        SCOPED_TRACE(index);
        const auto& wav = sounds[index];
        const std::uint32_t data = index < 3 ? 3528 : 4410;
        ASSERT_EQ(wav.size(), 44 + data);
        EXPECT_EQ(std::string(wav.begin(), wav.begin() + 4), "RIFF");
        EXPECT_EQ(u32_at(wav, 4), 36 + data);
        EXPECT_EQ(std::string(wav.begin() + 8, wav.begin() + 16), "WAVEfmt ");
        EXPECT_EQ(u32_at(wav, 16), 16u);
        EXPECT_EQ(u16_at(wav, 20), 1);  // PCM
        EXPECT_EQ(u16_at(wav, 22), 1);  // mono
        EXPECT_EQ(u32_at(wav, 24), 44100u);
        EXPECT_EQ(u32_at(wav, 28), 88200u);
        EXPECT_EQ(u16_at(wav, 32), 2);
        EXPECT_EQ(u16_at(wav, 34), 16);
        EXPECT_EQ(std::string(wav.begin() + 36, wav.begin() + 40), "data");
        EXPECT_EQ(u32_at(wav, 40), data);
        EXPECT_EQ(sample_at(wav, 0), 0);  // the attack starts from silence
        EXPECT_GT(peak(wav), 1000);
    }
}

TEST(ClickSounds, StylesAndLevelsPickTheirImage) {
    struct Row {
        const char* name;
        std::uint32_t style;
        std::uint32_t level;
        std::size_t index;
    };
    for (const Row& row : {Row{"soft low", 1, 0, 0}, Row{"soft medium", 1, 1, 1}, Row{"soft high", 1, 2, 2},
                           Row{"click low", 2, 0, 3}, Row{"click high", 2, 2, 5}, Row{"style 7 is the click", 7, 1, 4},
                           Row{"level 5 is high", 1, 5, 2}}) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(click_sound_index(row.style, row.level), row.index);
    }
    EXPECT_EQ(click_gain(5), 0.9f);
}

TEST(ClickSounds, LevelsScaleOneShapeAndAreTheSameOnEveryRun) {
    const auto& sounds = click_sounds();
    EXPECT_EQ(make_click_sounds(), sounds);
    for (const std::size_t base : {std::size_t{0}, std::size_t{3}}) {
        // The same wave at 0.25 and 0.9: its peak scales by 3.6 (to a sample's rounding).
        const double ratio = double(peak(sounds[base + 2])) / peak(sounds[base]);
        EXPECT_NEAR(ratio, 0.9 / 0.25, 0.01);
        for (std::size_t i = 1; i < 50; ++i)
            EXPECT_NEAR(sample_at(sounds[base + 1], i), sample_at(sounds[base], i) * 2.0, 2.0) << i;
    }
}

}  // namespace
}  // namespace glimmerly
