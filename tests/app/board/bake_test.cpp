#include "app/board/bake/bake.h"

#include <gtest/gtest.h>

#include <thread>

#include "app/board/board_bake.h"
#include "app/board/board_files.h"
#include "app/image/image_decoder.h"
#include "app/session/image_save.h"
#include "app/win/com.h"
#include "app/win/paths.h"
#include "core/board/bake_fingerprint.h"
#include "tests/app/board/board_support.h"
#include "tests/app/support/files.h"
#include "tests/app/support/pictures.h"
#include "tests/app/support/temp_folder.h"
#include "tests/core/board/fake_wallpaper.h"

namespace glimmerly {
namespace {

using testing::FakeWallpaper;
using testing_support::kNoteColour;
using testing_support::one_note_page;
using testing_support::pixel_matches;
using testing_support::read_test_file;
using testing_support::TempFolder;
using testing_support::write_test_file;

constexpr Rgb kBlue{0, 0, 255};
constexpr std::uint32_t kBackgroundColourRef = 0x00102030;  // R 0x30, G 0x20, B 0x10
constexpr Rgb kBackground{0x30, 0x20, 0x10};

class BoardBake : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(apartment_.status().ok());
        wallpaper_path_ = temp_.path() + L"\\own.png";
        ASSERT_TRUE(save_image_atomically(testing_support::solid_picture(32, 32, 255, 0, 0, 255), wallpaper_path_,
                                          ImageFormat::Png)
                        .ok());
        desktop_.add_monitor("A", {0, 0, 64, 48}, win::to_u16(wallpaper_path_));
        desktop_.add_monitor("B", {64, 0, 128, 48});
        desktop_.colour = kBackgroundColourRef;
    }

    std::wstring file(const std::u16string& name) const { return temp_.path() + L"\\" + win::from_u16(name); }
    BgraImage baked_picture(const std::string& id) const {
        return load_image_file(file(baked_picture_name(id))).value_or(BgraImage{});
    }

    win::ComApartment apartment_{COINIT_APARTMENTTHREADED};
    TempFolder temp_;
    std::wstring wallpaper_path_;
    FakeWallpaper desktop_;
};

TEST_F(BoardBake, WritesEveryFileSetsEachMonitorInOrderAndDrawsTheNotes) {
    const std::string page = one_note_page("B", {10, 10, 50, 40}, 64, 48);
    ASSERT_TRUE(write_test_file(file(kPageFileName), page));
    const auto baked = bake_board(temp_.path(), desktop_, windows_path_rules());
    ASSERT_TRUE(baked.ok()) << baked.failure().message;

    ASSERT_EQ(desktop_.set_calls.size(), 2u);
    EXPECT_EQ(desktop_.set_calls[0].first, "A");
    EXPECT_EQ(desktop_.set_calls[1].first, "B");
    EXPECT_EQ(desktop_.set_calls[0].second, win::to_u16(file(baked_picture_name("A"))));
    EXPECT_EQ(desktop_.set_calls[1].second, win::to_u16(file(baked_picture_name("B"))));
    EXPECT_EQ(desktop_.position_calls, std::vector<WallpaperPosition>{WallpaperPosition::Fill});

    const auto base = read_board_base(temp_.path());
    ASSERT_TRUE(base.ok() && *base);
    ASSERT_EQ((*base)->screens.size(), 2u);
    EXPECT_EQ((*base)->screens[0].image, win::to_u16(wallpaper_path_));
    EXPECT_EQ((*base)->screens[0].baked, desktop_.set_calls[0].second);
    EXPECT_EQ((*base)->screens[1].image, std::nullopt);
    EXPECT_EQ((*base)->colour, kBackground);
    const std::vector<BoardScreen> monitors = {{"A", {0, 0, 64, 48}}, {"B", {64, 0, 128, 48}}};
    EXPECT_EQ(read_test_file(file(kBakedFingerprintFileName)), bake_fingerprint(page, **base, monitors));

    // A: its own blue wallpaper filling it. B: the background colour, with
    // the note's left edge where the page put it.
    const BgraImage a = baked_picture("A"), b = baked_picture("B");
    ASSERT_EQ(a.width, 64u);
    ASSERT_EQ(b.height, 48u);
    EXPECT_TRUE(pixel_matches(a, 32, 24, kBlue));
    EXPECT_TRUE(pixel_matches(b, 30, 25, kBackground));
    EXPECT_TRUE(pixel_matches(b, 10, 25, kNoteColour));
    EXPECT_TRUE(pixel_matches(b, 30, 10, kNoteColour));
    EXPECT_EQ(baked->pictures.size(), 2u);
    EXPECT_EQ(baked->desktop.image.width, 128u);
}

TEST_F(BoardBake, WithoutAPageSetsThePlainDesktopPictures) {
    ASSERT_TRUE(bake_board(temp_.path(), desktop_, windows_path_rules()).ok());
    EXPECT_TRUE(pixel_matches(baked_picture("B"), 10, 25, kBackground));
    EXPECT_EQ(desktop_.set_calls.size(), 2u);
    EXPECT_EQ(read_test_file(file(kBakedFingerprintFileName)).value_or("").size(), 16u);
}

TEST_F(BoardBake, ASecondBakeKeepsTheUsersOwnWallpaperRecorded) {
    ASSERT_TRUE(bake_board(temp_.path(), desktop_, windows_path_rules()).ok());
    ASSERT_TRUE(bake_board(temp_.path(), desktop_, windows_path_rules()).ok());
    const auto base = read_board_base(temp_.path());
    ASSERT_TRUE(base.ok() && *base);
    EXPECT_EQ((*base)->screens[0].image, win::to_u16(wallpaper_path_));
    EXPECT_TRUE(pixel_matches(baked_picture("A"), 32, 24, kBlue));
}

TEST_F(BoardBake, UpToDateOnlyUntilThePageOrTheDesktopChanges) {
    EXPECT_FALSE(board_bake_up_to_date(temp_.path(), desktop_, windows_path_rules()).value_or(true));
    ASSERT_TRUE(write_test_file(file(kPageFileName), one_note_page("A", {1, 1, 20, 20}, 64, 48)));
    ASSERT_TRUE(bake_board(temp_.path(), desktop_, windows_path_rules()).ok());
    EXPECT_TRUE(board_bake_up_to_date(temp_.path(), desktop_, windows_path_rules()).value_or(false));
    ASSERT_TRUE(write_test_file(file(kPageFileName), one_note_page("A", {2, 1, 20, 20}, 64, 48)));
    EXPECT_FALSE(board_bake_up_to_date(temp_.path(), desktop_, windows_path_rules()).value_or(true));
    ASSERT_TRUE(bake_board(temp_.path(), desktop_, windows_path_rules()).ok());
    desktop_.wallpapers["B"] = u"C:\\other.png";
    EXPECT_FALSE(board_bake_up_to_date(temp_.path(), desktop_, windows_path_rules()).value_or(true));
    ASSERT_TRUE(bake_board(temp_.path(), desktop_, windows_path_rules()).ok());
    ASSERT_TRUE(DeleteFileW(file(kBakedFingerprintFileName).c_str()));
    EXPECT_FALSE(board_bake_up_to_date(temp_.path(), desktop_, windows_path_rules()).value_or(true));
}

TEST_F(BoardBake, RefusesADesktopWithoutScreensAndADamagedPage) {
    FakeWallpaper empty;
    const auto none = bake_board(temp_.path(), empty, windows_path_rules());
    ASSERT_FALSE(none.ok());
    EXPECT_EQ(none.failure().message, "No screen");
    ASSERT_TRUE(write_test_file(file(kPageFileName), "glimmerly-board 1\nrubbish"));
    const auto damaged = bake_board(temp_.path(), desktop_, windows_path_rules());
    ASSERT_FALSE(damaged.ok());
    EXPECT_EQ(damaged.failure(), board_file_error(BoardFileError::Damaged));
    EXPECT_TRUE(desktop_.set_calls.empty());
}

TEST_F(BoardBake, AFailedSetLeavesTheFingerprintUnwritten) {
    desktop_.fail_set = Failure{E_FAIL_CODE, "SetWallpaper"};
    EXPECT_FALSE(bake_board(temp_.path(), desktop_, windows_path_rules()).ok());
    EXPECT_EQ(read_test_file(file(kBakedFingerprintFileName)), std::nullopt);
    EXPECT_TRUE(read_test_file(file(kBaseFileName)).has_value());
}

TEST(BoardBakeMutex, IsHeldByOneThreadAtATime) {
    auto held = lock_board_bake(0);
    ASSERT_TRUE(held.ok() && *held);
    std::optional<bool> other_got_it;
    std::thread other([&] {
        auto second = lock_board_bake(50);
        other_got_it = second.ok() && second->has_value();
    });
    other.join();
    EXPECT_EQ(other_got_it, false);
    held->reset();
    std::thread after([&] {
        auto second = lock_board_bake(5000);
        other_got_it = second.ok() && second->has_value();
    });
    after.join();
    EXPECT_EQ(other_got_it, true);
}

}  // namespace
}  // namespace glimmerly
