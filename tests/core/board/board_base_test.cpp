#include "core/board/board_base.h"

#include <gtest/gtest.h>

#include "text/app_error.h"

namespace glimmerly {
namespace {

constexpr std::string_view kHeader = "glimmerly-board-base 1\n";

bool is_damaged(const Result<BoardBase>& result) {
    return !result && result.failure() == make_app_error(TextId::error_board_base_damaged);
}

struct Row {
    const char* name;
    std::string text;
    bool accepted;
};

TEST(BoardBaseReader, AcceptsTheNumberFormsAndRefusesEveryOtherFault) {
    const std::string colour = "color 000000\n";
    const std::string screen = "screen DISPLAY1\nimage \nbaked \n";
    const Row rows[] = {
        {"plain", std::string(kHeader) + "position 4\n" + colour, true},
        {"version 01", "glimmerly-board-base 01\nposition 4\n" + colour, true},
        {"version +1", "glimmerly-board-base +1\nposition 4\n" + colour, true},
        {"position +3", std::string(kHeader) + "position +3\n" + colour, true},
        {"with a screen", std::string(kHeader) + "position 0\n" + colour + screen, true},
        {"version 2", "glimmerly-board-base 2\nposition 4\n" + colour, false},
        {"version beyond 32 bits", "glimmerly-board-base 4294967297\nposition 4\n" + colour, false},
        {"no version", "glimmerly-board-base \nposition 4\n" + colour, false},
        {"lone plus", "glimmerly-board-base +\nposition 4\n" + colour, false},
        {"two spaces", "glimmerly-board-base  1\nposition 4\n" + colour, false},
        {"position 6", std::string(kHeader) + "position 6\n" + colour, false},
        {"position empty", std::string(kHeader) + "position \n" + colour, false},
        {"position -0", std::string(kHeader) + "position -0\n" + colour, false},
        {"colour 0x00ff", std::string(kHeader) + "position 4\ncolor 0x00ff\n", false},
        {"colour with a space after", std::string(kHeader) + "position 4\ncolor 00ff7f \n", false},
        {"colour short", std::string(kHeader) + "position 4\ncolor 00ff7\n", false},
        {"empty file", "", false},
        {"no final line feed", std::string(kHeader) + "position 4\ncolor 000000", false},
        {"CRLF", "glimmerly-board-base 1\r\nposition 4\r\ncolor 000000\r\n", false},
        {"trailing empty line", std::string(kHeader) + "position 4\n" + colour + "\n", false},
        {"screen without id", std::string(kHeader) + "position 4\n" + colour + "screen \nimage \nbaked \n", false},
        {"screen id with space", std::string(kHeader) + "position 4\n" + colour + "screen a b\nimage \nbaked \n", false},
        {"screen id with no-break space",
         std::string(kHeader) + "position 4\n" + colour + "screen a\xC2\xA0" "b\nimage \nbaked \n", false},
        {"screen without image and baked", std::string(kHeader) + "position 4\n" + colour + "screen x\n", false},
        {"screen lines out of order",
         std::string(kHeader) + "position 4\n" + colour + "screen x\nbaked \nimage \n", false},
        {"only header", std::string(kHeader), false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const auto base = parse_board_base(row.text);
        if (row.accepted) {
            EXPECT_TRUE(base.ok());
        } else {
            EXPECT_TRUE(is_damaged(base));
        }
    }
}

TEST(BoardBaseReader, ReadsColourPairsAsRedGreenBlueInEitherCase) {
    const auto base = parse_board_base(std::string(kHeader) + "position +3\ncolor 00FF7f\n");
    ASSERT_TRUE(base.ok());
    EXPECT_EQ(base->colour, (Rgb{0, 255, 127}));
    EXPECT_EQ(base->position, WallpaperPosition::Fit);
    EXPECT_TRUE(base->screens.empty());
}

TEST(BoardBaseReader, RefusesTextThatIsNotUtf8AsAnIoFailureNotAsDamage) {
    const auto base = parse_board_base(std::string(kHeader) + "position 4\ncolor 000000\nscreen \xFF\nimage \nbaked \n");
    ASSERT_FALSE(base.ok());
    EXPECT_EQ(base.failure().code, E_FAIL_CODE);
}

TEST(BoardBase, WritesAndReadsBackTheSameRecordAndTheSameBytes) {
    BoardBase base;
    base.position = WallpaperPosition::Span;
    base.colour = Rgb{1, 0xAB, 0xFF};
    base.screens = {{"\\\\?\\DISPLAY#ABC#1&2#{x}", u"C:\\Pics\\Sea é.jpg", u"C:\\Board\\baked-x-0123456789abcdef.png"},
                    {"second", std::nullopt, std::nullopt},
                    {"second", u"D:\\dup.png", std::nullopt}};
    const std::string text = format_board_base(base);
    EXPECT_TRUE(text.starts_with("glimmerly-board-base 1\nposition 5\ncolor 01abff\nscreen \\\\?\\DISPLAY#ABC#1&2#{x}\n"));
    const auto read = parse_board_base(text);
    ASSERT_TRUE(read.ok());
    EXPECT_EQ(*read, base);
    EXPECT_EQ(format_board_base(*read), text);
    // Duplicates are kept; a lookup takes the first.
    EXPECT_FALSE(find_base_screen(*read, "second")->image.has_value());
    EXPECT_EQ(find_base_screen(*read, "absent"), nullptr);
}

TEST(BoardBaseWriter, WritesAnUnpairedSurrogateAsTheReplacementCharacter) {
    BoardBase base;
    base.screens = {{"s", std::u16string(u"C:\\a") + char16_t(0xD800) + u".png", std::nullopt}};
    const auto read = parse_board_base(format_board_base(base));
    ASSERT_TRUE(read.ok());
    EXPECT_EQ(read->screens[0].image, std::u16string(u"C:\\a\uFFFD.png"));
}

}  // namespace
}  // namespace glimmerly
