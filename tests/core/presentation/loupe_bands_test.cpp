#include "core/presentation/loupe_bands.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace glimmerly {
namespace {

TEST(LoupeBandClips, FiveCirclesFromFourPixelsInsideToTheEdge) {
    const auto clips = loupe_band_clips(240);
    for (std::size_t b = 0; b < clips.size(); ++b) {
        SCOPED_TRACE(b);
        const float radius = 116.0f + float(b);
        EXPECT_FLOAT_EQ(clips[b].radius, radius);
        EXPECT_FLOAT_EQ(clips[b].left, 120.0f - radius);
        EXPECT_FLOAT_EQ(clips[b].top, 120.0f - radius);
        EXPECT_FLOAT_EQ(clips[b].right, 120.0f + radius);
        EXPECT_FLOAT_EQ(clips[b].bottom, 120.0f + radius);
    }
    // An odd side keeps the centre between pixels.
    EXPECT_FLOAT_EQ(loupe_band_clips(239)[4].right, 239.0f);
}

TEST(FrameCopySize, ContentClampedToTheFramesTextureAndTheSurface) {
    struct Row {
        const char* name;
        std::int32_t content_w, content_h;
        std::uint32_t source_w, source_h;
        std::int32_t surface_w, surface_h;
        std::int32_t w, h;
    };
    const Row rows[] = {
        {"all equal", 800, 600, 800, 600, 800, 600, 800, 600},
        {"window grew past its buffers", 1000, 700, 800, 600, 1000, 700, 800, 600},
        {"texture larger than the content", 640, 480, 800, 600, 640, 480, 640, 480},
        {"surface smaller", 800, 600, 800, 600, 300, 200, 300, 200},
        {"empty content", 0, 600, 800, 600, 1, 600, 0, 600},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const FrameCopySize size =
            frame_copy_size(row.content_w, row.content_h, row.source_w, row.source_h, row.surface_w, row.surface_h);
        EXPECT_EQ(size.width, row.w);
        EXPECT_EQ(size.height, row.h);
    }
    EXPECT_TRUE(frame_copy_size(-5, 10, 10, 10, 10, 10).empty());
    EXPECT_EQ(frame_copy_size(10, 10, 0xFFFFFFFFu, 10, 10, 10).width, 10);
}

// A stand-in for a visual: its number, and a count of the live ones so that
// a dropped entry shows as released.
struct FakeEntry {
    LoupeEntryKind kind = LoupeEntryKind::Nothing;
    int window = 0;
    int visual = 0;
    std::shared_ptr<int> live;
};

struct Band {
    std::vector<FakeEntry> current, retired;
    std::shared_ptr<int> live = std::make_shared<int>(0);
    int next_visual = 1;
    std::vector<int> made_for;
    // Windows above 100 have no thumbnail and are captured; 0 shows nothing.
    void update(const std::vector<int>& windows) {
        if (band_entries_match(current, windows)) return;
        rebuild_band_entries(current, retired, windows, [&](int window) {
            made_for.push_back(window);
            const LoupeEntryKind kind = window == 0    ? LoupeEntryKind::Nothing
                                        : window > 100 ? LoupeEntryKind::Capture
                                                       : LoupeEntryKind::Thumbnail;
            return FakeEntry{kind, window, next_visual++, live};
        });
    }
    std::vector<int> visuals() const {
        std::vector<int> out;
        for (const FakeEntry& e : current) out.push_back(e.visual);
        return out;
    }
    long held() const { return live.use_count() - 1; }
};

TEST(BandEntries, WindowsKeepTheirVisualsAcrossUpdatesAndComeBackFromRetirement) {
    Band band;
    band.update({1, 2, 101});
    EXPECT_EQ(band.visuals(), (std::vector<int>{1, 2, 3}));
    band.update({1, 2, 101});
    band.update({2, 1, 101});  // same windows, new order: taken over, none made
    EXPECT_EQ(band.visuals(), (std::vector<int>{2, 1, 3}));
    EXPECT_EQ(band.made_for, (std::vector<int>{1, 2, 101}));

    band.update({1});  // 2 retires, the capture of 101 is released
    EXPECT_EQ(band.retired.size(), 1u);
    EXPECT_EQ(band.retired[0].window, 2);
    EXPECT_EQ(band.held(), 2);

    band.update({1, 2, 101});  // 2 comes back with its visual; 101 is captured anew
    EXPECT_EQ(band.visuals(), (std::vector<int>{1, 2, 4}));
    EXPECT_TRUE(band.retired.empty());
}

TEST(BandEntries, NothingShownIsNeverTakenOverAndRetirementKeepsTheNewestSixteen) {
    Band band;
    band.update({0, 1});
    band.update({1, 0});
    EXPECT_EQ(band.made_for, (std::vector<int>{0, 1, 0}));

    for (int window = 2; window < 22; ++window) {
        band.update({window});
        band.update({});
    }
    ASSERT_EQ(band.retired.size(), kRetiredEntryLimit);
    EXPECT_EQ(band.retired.front().window, 6);
    EXPECT_EQ(band.retired.back().window, 21);
    EXPECT_EQ(band.held(), long(kRetiredEntryLimit));
}

}  // namespace
}  // namespace glimmerly
