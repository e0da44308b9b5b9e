#include "core/board/board_names.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdio>
#include <map>
#include <span>
#include <string>

#include "core/board/bake_fingerprint.h"
#include "tests/core/board/fake_path_rules.h"

namespace glimmerly {
namespace {

using testing::FakePathRules;

TEST(ScreenFileStem, KeepsTheFirstLettersAndDigitsBeforeTheHash) {
    const std::string stem = screen_file_stem("DISPLAY#ABC#1&2#{x}");
    EXPECT_TRUE(stem.starts_with("DISPLAYABC12x-")) << stem;
    EXPECT_EQ(stem.size(), std::string("DISPLAYABC12x-").size() + 16);
    // Punctuation does not reach the prefix, but it does reach the hash.
    const std::string other = screen_file_stem("DISPLAY#ABC#1&2#(x)");
    EXPECT_EQ(other.substr(0, 14), stem.substr(0, 14));
    EXPECT_NE(other, stem);
    EXPECT_EQ(screen_file_stem("#&"), "-" + screen_file_stem("#&").substr(1));
    EXPECT_EQ(screen_file_stem("abcdefghijklmnopqrstuvwxyz0123").substr(0, 25), "abcdefghijklmnopqrstuvwx-");
}

TEST(ScreenFileStem, HashesWithFnv1a64) {
    EXPECT_EQ(fnv1a_64(""), 0xcbf29ce484222325ull);
    EXPECT_EQ(fnv1a_64("a"), 0xaf63dc4c8601ec8cull);
    EXPECT_EQ(screen_file_stem("a"), "a-af63dc4c8601ec8c");
}

TEST(BakedPictureName, EveryStemMakesANameThatIsRecognised) {
    for (const char* id : {"\\\\?\\DISPLAY#ABC#1&2#{x}", "#", "Écran", "a-b-c"}) {
        SCOPED_TRACE(id);
        EXPECT_TRUE(is_baked_picture_path(u"C:\\board\\" + baked_picture_name(id)));
    }
}

TEST(BakedPictureName, RecognisesTheNamesOfAnyScreenOrBake) {
    struct Row {
        const char16_t* path;
        bool baked;
    };
    const Row rows[] = {
        {u"Baked-Foo-0123456789ABCDEF.PNG", true},
        {u"baked--0123456789abcdef.png", true},
        {u"C:/board/baked-a-b-0123456789abcdef.png", true},
        {u"baked-0123456789abcdef.png", false},
        {u"baked-x-0123456789abcde.png", false},
        {u"baked-x-0123456789abcdef.jpg", false},
        {u"baked-x-0123456789abcdeg.png", false},
        {u"C:\\board\\", false},
        {u"", false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.path, row.path + std::char_traits<char16_t>::length(row.path)));
        EXPECT_EQ(is_baked_picture_path(row.path), row.baked);
    }
    EXPECT_FALSE(is_baked_picture_path(std::u16string(u"baked-") + char16_t(0xDC00) + u"-0123456789abcdef.png"));
}

TEST(SameWallpaperPath, IgnoresSeparatorsAndCaseOfOneText) {
    const FakePathRules rules;
    EXPECT_EQ(normalise_wallpaper_path(u"C:/Pics/A.JPG", rules), u"c:\\pics\\a.jpg");
    EXPECT_TRUE(same_wallpaper_path(u"C:/Pics/A.JPG", u"c:\\pics\\a.jpg", rules));
    EXPECT_TRUE(same_wallpaper_path(std::nullopt, std::nullopt, rules));
    EXPECT_FALSE(same_wallpaper_path(u"a.jpg", std::nullopt, rules));
    EXPECT_FALSE(same_wallpaper_path(std::nullopt, u"a.jpg", rules));
}

TEST(SameWallpaperPath, ComparesCanonicalFoldersOfExistingFolders) {
    FakePathRules rules;
    rules.folders[u"C:\\Pics"] = u"\\\\?\\C:\\Pics";
    rules.folders[u"C:\\Pics\\sub\\.."] = u"\\\\?\\C:\\Pics\\";
    rules.folders[u"C:\\Other"] = u"\\\\?\\C:\\Other";
    EXPECT_TRUE(same_wallpaper_path(u"C:\\Pics\\sub\\..\\Sea.JPG", u"C:\\Pics\\sea.jpg", rules));
    EXPECT_FALSE(same_wallpaper_path(u"C:\\Pics\\sub\\..\\Sea.JPG", u"C:\\Pics\\lake.jpg", rules));
    EXPECT_FALSE(same_wallpaper_path(u"C:\\Pics\\a.jpg", u"C:\\Other\\a.jpg", rules));
    // Files that do not exist, in folders that do not exist.
    EXPECT_FALSE(same_wallpaper_path(u"X:\\one\\a.jpg", u"Y:\\two\\a.jpg", rules));
}

TEST(UserWallpaperPath, DropsBakedPictures) {
    EXPECT_EQ(user_wallpaper_path(u"C:\\a.png"), std::u16string(u"C:\\a.png"));
    EXPECT_EQ(user_wallpaper_path(u"C:\\b\\baked-x-0123456789abcdef.png"), std::nullopt);
    EXPECT_EQ(user_wallpaper_path(std::nullopt), std::nullopt);
}

// Reference values: CPython's bytes hash, which is SipHash-1-3, with
// PYTHONHASHSEED=0 (both keys zero).
TEST(BakeFingerprint, HashesWithSipHash13UnderZeroKeys) {
    EXPECT_EQ(siphash_1_3("a"), 0x407448d2b89b1813ull);
    EXPECT_EQ(siphash_1_3("abcdefgh"), 0x3f7b849c0b8e35eaull);
    EXPECT_EQ(siphash_1_3("hello world, board"), 0x1f08d33748255fa6ull);
}

// A stored "baked.txt" must keep matching: the fingerprint is the hash of
// its pieces joined, wherever the pieces meet the hash's 8-byte blocks.
TEST(BakeFingerprint, IsTheHashOfItsPiecesJoined) {
    BoardBase base;
    base.screens = {{"DISPLAY1", u"C:\\a.jpg", u"C:\\b\\baked-DISPLAY1-0123456789abcdef.png"}};
    const std::vector<BoardScreen> two = {{"DISPLAY1", {0, 0, 1920, 1080}}, {"D2", {-1280.5, 0, 0, 1024}}};
    struct Row {
        const char* name;
        std::size_t page_bytes;
        std::size_t monitors;
    } rows[] = {
        {"no page, no monitor", 0, 0}, {"one byte", 1, 1},     {"one short of a block", 7, 2},
        {"a block", 8, 2},             {"a block and one", 9, 1}, {"two blocks", 16, 2},
        {"a long page", 1000, 2},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        std::string page;
        for (std::size_t i = 0; i < row.page_bytes; ++i) page += static_cast<char>('a' + i % 26);
        const std::span<const BoardScreen> monitors(two.data(), row.monitors);
        std::string joined = page + '\xFF' + format_board_base(base) + '\xFF';
        for (const BoardScreen& monitor : monitors) {
            joined += monitor.name + '\xFF';
            for (const double edge : {monitor.rect.left, monitor.rect.top, monitor.rect.right, monitor.rect.bottom})
                for (int i = 0; i < 8; ++i) joined += static_cast<char>(std::bit_cast<std::uint64_t>(edge) >> (8 * i));
        }
        char expected[17];
        std::snprintf(expected, sizeof expected, "%016llx", static_cast<unsigned long long>(siphash_1_3(joined)));
        EXPECT_EQ(bake_fingerprint(page, base, monitors), expected);
    }
}

TEST(BakeFingerprint, ChangesWithOneNoteOneMonitorPixelOrOneBakedPath) {
    BoardBase base;
    base.screens = {{"DISPLAY1", u"C:\\a.jpg", u"C:\\b\\baked-DISPLAY1-0123456789abcdef.png"}};
    const std::vector<BoardScreen> monitors = {{"DISPLAY1", {0, 0, 1920, 1080}}};
    const std::string page = "glimmerly-board 1\nscreen DISPLAY1 10\n0123456789";
    const std::string fingerprint = bake_fingerprint(page, base, monitors);
    EXPECT_EQ(fingerprint.size(), 16u);
    EXPECT_EQ(fingerprint.find_first_not_of("0123456789abcdef"), std::string::npos);
    EXPECT_EQ(bake_fingerprint(page, base, monitors), fingerprint);

    std::string other_page = page;
    other_page.back() = '8';
    EXPECT_NE(bake_fingerprint(other_page, base, monitors), fingerprint);
    auto moved = monitors;
    moved[0].rect.left += 1;
    moved[0].rect.right += 1;
    EXPECT_NE(bake_fingerprint(page, base, moved), fingerprint);
    BoardBase rebaked = base;
    rebaked.screens[0].baked = u"C:\\b\\baked-DISPLAY1-0123456789abcdee.png";
    EXPECT_NE(bake_fingerprint(page, rebaked, monitors), fingerprint);
}

}  // namespace
}  // namespace glimmerly
