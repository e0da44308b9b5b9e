#include "core/board/wallpaper_restore.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

#include "tests/core/board/fake_path_rules.h"
#include "tests/core/board/fake_wallpaper.h"

namespace glimmerly {
namespace {

using testing::FakePathRules;
using testing::FakeWallpaper;

constexpr char16_t kOwnA[] = u"C:\\pictures\\a.jpg";
constexpr char16_t kOwnB[] = u"C:\\pictures\\b.jpg";
constexpr char16_t kBakedA[] = u"C:\\board\\baked-A-0123456789abcdef.png";
constexpr char16_t kBakedB[] = u"C:\\board\\baked-B-0123456789abcdef.png";

// A clock that moves only when the restore sleeps; the empty wallpaper
// taken off every monitor of the fake desktop.
struct FakeHost : RestoreHost {
    FakeWallpaper* desktop = nullptr;
    std::set<std::u16string> files;
    Clock::time_point clock{};
    int sleeps = 0;
    int removals = 0;

    Status remove_all_wallpapers() override {
        ++removals;
        for (auto& [id, path] : desktop->wallpapers) path.reset();
        return ok_status();
    }
    bool image_exists(const std::u16string& path) override { return files.count(path) != 0; }
    Clock::time_point now() override { return clock; }
    void sleep(Clock::duration wait) override {
        ++sleeps;
        clock += wait;
    }
};

BoardBase base_of_two() {
    BoardBase base;
    base.screens = {{"A", kOwnA, kBakedA}, {"B", kOwnB, kBakedB}};
    base.position = WallpaperPosition::Center;
    return base;
}

struct Restore {
    FakeWallpaper desktop;
    FakeHost host;
    FakePathRules rules;
    Restore() {
        desktop.add_monitor("A", {0, 0, 100, 100}, kBakedA);
        desktop.add_monitor("B", {100, 0, 200, 100}, kBakedB);
        host.desktop = &desktop;
        host.files = {kOwnA, kOwnB};
    }
    std::vector<BoardScreen> monitors() { return list_wallpaper_monitors(desktop).value(); }
    Status run(const BoardBase& base) { return apply_wallpaper_base(base, monitors(), desktop, rules, host); }
};

TEST(ApplyWallpaperBase, GivesEveryMonitorItsPictureAndThePositionWithoutEmptyingTheDesktop) {
    Restore restore;
    ASSERT_TRUE(restore.run(base_of_two()).ok());
    EXPECT_EQ(restore.desktop.wallpapers["A"], std::u16string(kOwnA));
    EXPECT_EQ(restore.desktop.wallpapers["B"], std::u16string(kOwnB));
    EXPECT_EQ(restore.desktop.position_calls, std::vector<WallpaperPosition>{WallpaperPosition::Center});
    EXPECT_EQ(restore.host.removals, 0);
    EXPECT_EQ(restore.host.sleeps, 1);
}

TEST(ApplyWallpaperBase, AMissingPictureEmptiesTheDesktopAndTheOthersGetTheirsAgain) {
    Restore restore;
    restore.host.files = {kOwnB};
    ASSERT_TRUE(restore.run(base_of_two()).ok());
    EXPECT_EQ(restore.host.removals, 1);
    EXPECT_EQ(restore.desktop.wallpapers["A"], std::nullopt);
    EXPECT_EQ(restore.desktop.wallpapers["B"], std::u16string(kOwnB));
}

TEST(ApplyWallpaperBase, ADesktopThatNeverTakesThePictureFailsInTheFirstPassAfterTheDeadline) {
    Restore restore;
    // Every set is swallowed: the desktop keeps showing the bake.
    struct Deaf : FakeWallpaper {
        Status set_wallpaper(std::string_view, std::u16string_view) override { return ok_status(); }
    } deaf;
    deaf.add_monitor("A", {0, 0, 100, 100}, kBakedA);
    const auto monitors = list_wallpaper_monitors(deaf).value();
    const Status result = apply_wallpaper_base(base_of_two(), monitors, deaf, restore.rules, restore.host);
    ASSERT_FALSE(result.ok());
    EXPECT_EQ(result.failure().message, "The desktop did not take the base back");
    EXPECT_EQ(restore.host.sleeps, 8);  // 8 x 250 ms reaches the 2 s deadline
}

TEST(ApplyWallpaperBase, AFailureMetOnTheWayIsToldWhenTheDesktopNeverMatches) {
    Restore restore;
    restore.desktop.fail_set = Failure{std::int32_t(0x80070005), "SetWallpaper"};
    const Status result = restore.run(base_of_two());
    ASSERT_FALSE(result.ok());
    EXPECT_EQ(result.failure().code, std::int32_t(0x80070005));
}

TEST(ApplyWallpaperBase, NoMonitorSucceedsAfterOnePause) {
    Restore restore;
    ASSERT_TRUE(apply_wallpaper_base(base_of_two(), {}, restore.desktop, restore.rules, restore.host).ok());
    EXPECT_EQ(restore.host.sleeps, 1);
    EXPECT_EQ(restore.desktop.position_calls.size(), 1u);
}

// A busy shell: each change lands some time after it is asked for, in the
// order those times fall (a removal queued behind its change notice may
// land after the pictures set behind it); a look sees what has landed.
struct LateDesktop : FakeWallpaper, FakeHost {
    std::chrono::milliseconds set_delay{}, removal_delay{};
    std::multimap<Clock::time_point, std::pair<std::string, std::u16string>> queued;  // no monitor: the removal

    void land(Clock::time_point until) {
        for (; !queued.empty() && queued.begin()->first <= until; queued.erase(queued.begin())) {
            const auto& [id, path] = queued.begin()->second;
            for (auto& [monitor, shown] : wallpapers)
                if (id.empty() || id == monitor) shown = id.empty() ? std::nullopt : std::optional(path);
        }
    }
    Result<std::optional<std::u16string>> wallpaper(std::string_view id) override {
        land(clock);
        return FakeWallpaper::wallpaper(id);
    }
    Status set_wallpaper(std::string_view id, std::u16string_view path) override {
        queued.emplace(clock + set_delay, std::pair{std::string(id), std::u16string(path)});
        return ok_status();
    }
    Status remove_all_wallpapers() override {
        queued.emplace(clock + removal_delay, std::pair{std::string(), std::u16string()});
        return ok_status();
    }
};

// Whatever the shell is slow to take, once it has taken everything a
// monitor whose picture is there shows it, never none; a success is what
// the desktop showed when the restore returned.
TEST(ApplyWallpaperBase, ADesktopThatTakesChangesLateNeverEndsWithoutThePicture) {
    using std::chrono::milliseconds;
    const struct {
        const char* name;
        bool b_missing;
        milliseconds set_delay, removal_delay;
    } rows[] = {
        {"the removal lands after the picture set behind it", true, milliseconds(0), milliseconds(1900)},
        {"the picture lands after the deadline", true, milliseconds(2500), milliseconds(0)},
        {"both land after the deadline, the removal last", true, milliseconds(2500), milliseconds(3000)},
        {"every picture there, taken after the deadline", false, milliseconds(2500), milliseconds(0)},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        LateDesktop late;
        late.set_delay = row.set_delay;
        late.removal_delay = row.removal_delay;
        late.add_monitor("A", {0, 0, 100, 100}, kBakedA);
        late.add_monitor("B", {100, 0, 200, 100}, kBakedB);
        late.files = row.b_missing ? std::set<std::u16string>{kOwnA} : std::set<std::u16string>{kOwnA, kOwnB};
        const auto monitors = list_wallpaper_monitors(late).value();
        const Status result = apply_wallpaper_base(base_of_two(), monitors, late, FakePathRules{}, late);
        const auto returned = late.wallpapers;
        late.land(RestoreHost::Clock::time_point::max());
        const std::map<std::string, std::optional<std::u16string>> wanted = {
            {"A", kOwnA}, {"B", row.b_missing ? std::nullopt : std::optional<std::u16string>(kOwnB)}};
        if (result.ok()) {
            EXPECT_EQ(returned, wanted);
        }
        EXPECT_EQ(late.wallpapers, wanted);
    }
}

TEST(MatchScreensToWallpaperBase, GivesBackOnlyWhileSomeMonitorShowsTheBoard) {
    FakePathRules rules;
    const struct {
        const char* name;
        std::vector<MonitorWallpaper> wallpapers;
        bool base;
    } rows[] = {
        {"no monitor", {}, false},
        {"the user's own pictures everywhere", {{"A", u"C:\\new.jpg"}, {"B", kOwnB}}, false},
        {"one own bake", {{"A", u"C:\\new.jpg"}, {"B", kBakedB}}, true},
        {"another screen's bake", {{"A", kBakedB}, {"B", std::nullopt}}, true},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const auto matched =
            match_screens_to_wallpaper_base(base_of_two(), row.wallpapers, WallpaperPosition::Fill, {}, rules);
        ASSERT_EQ(matched.has_value(), row.base);
    }
    // A wallpaper chosen since the bake is what the restore gives back.
    const std::vector<MonitorWallpaper> changed = {{"A", u"C:\\new.jpg"}, {"B", kBakedB}};
    const auto matched = match_screens_to_wallpaper_base(base_of_two(), changed, WallpaperPosition::Fill, {}, rules);
    ASSERT_TRUE(matched);
    EXPECT_EQ(find_base_screen(*matched, "A")->image, std::u16string(u"C:\\new.jpg"));
    EXPECT_EQ(find_base_screen(*matched, "B")->image, std::u16string(kOwnB));
}

// The user's pictures on the bake's own style, left by a bake cut off
// before its pictures: hiding the board gives the recorded style back.
TEST(MatchScreensToWallpaperBase, GivesTheStyleBackFromADesktopLeftHalfBaked) {
    FakePathRules rules;
    const std::vector<MonitorWallpaper> own = {{"A", kOwnA}, {"B", kOwnB}};
    const auto half_baked = match_screens_to_wallpaper_base(base_of_two(), own, WallpaperPosition::Fill, {}, rules, true);
    ASSERT_TRUE(half_baked);
    EXPECT_EQ(half_baked->position, WallpaperPosition::Center);
    EXPECT_FALSE(match_screens_to_wallpaper_base(base_of_two(), own, WallpaperPosition::Fill, {}, rules, false));
    EXPECT_FALSE(match_screens_to_wallpaper_base(base_of_two(), own, WallpaperPosition::Center, {}, rules, true));

    Restore restore;
    restore.desktop.wallpapers = {{"A", kOwnA}, {"B", kOwnB}};
    ASSERT_TRUE(restore.run(*half_baked).ok());
    EXPECT_EQ(restore.desktop.raw_position, 0u);
    EXPECT_EQ(restore.host.removals, 0);
}

}  // namespace
}  // namespace glimmerly
