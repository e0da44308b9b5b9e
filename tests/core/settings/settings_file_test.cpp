#include "core/settings/settings_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/core/settings/settings_test_support.h"

namespace glimmerly {
namespace {

using testing_support::join_settings_lines;
using testing_support::split_settings_lines;
using testing_support::varied_settings;

constexpr std::string_view kDefaultFile =
    "glimmerly-settings-21\n0\n0\n0\n\n0\n3000\nffd340\ned4f5c\n4\n1,65\n1,82\n1,67\n5\n28\n-\n1\ned4f5c\n1\n3\n"
    "0,145\n1\n0\n100\n0\n1,66\n0\n14\nauto\n1,48,100,2,0,0,1,0,ed4f5c,409cff,0,1,-,0,240,60,0,-,0,0,240,2,-,0\n"
    "0\n0\n0\n0\n";

// The default version-21 file with one line (numbered from 1) replaced.
std::string default_file_with(std::size_t line, const std::string& value) {
    auto lines = split_settings_lines(std::string(kDefaultFile));
    lines[line - 1] = value;
    return join_settings_lines(lines);
}

std::string message_of(const Result<Settings>& read) { return read.ok() ? "(read)" : read.failure().message; }

TEST(SettingsFile, DefaultRecordIsWrittenAsTheKnownFileAndReadsBack) {
    EXPECT_EQ(format_settings(Settings{}), kDefaultFile);
    auto read = parse_settings(kDefaultFile);
    ASSERT_TRUE(read.ok()) << read.failure().message;
    EXPECT_EQ(*read, Settings{});
}

// An older file is the first lines of a newer one, under either header word;
// what it lacks keeps its default.
TEST(SettingsFile, ReadsEveryVersionWithTheLinesItLacksDefaulted) {
    const std::size_t line_counts[] = {5, 6, 9, 10, 13, 15, 17, 18, 20, 22, 22, 24, 25, 27, 28, 29, 30, 31, 32, 33, 34};
    const auto varied = split_settings_lines(format_settings(varied_settings()));
    const auto defaults = split_settings_lines(std::string(kDefaultFile));
    for (std::uint32_t version = 1; version <= 21; ++version) {
        const auto count = static_cast<long>(line_counts[version - 1]);
        for (const char* word : {"glimmerly-settings-", "brindlet-settings-"}) {
            SCOPED_TRACE(word + std::to_string(version));
            std::vector<std::string> lines(varied.begin(), varied.begin() + count);
            lines[0] = word + std::to_string(version);
            auto read = parse_settings(join_settings_lines(lines));
            ASSERT_TRUE(read.ok()) << read.failure().message;
            std::vector<std::string> expected(varied.begin(), varied.begin() + count);
            expected.insert(expected.end(), defaults.begin() + count, defaults.end());
            EXPECT_EQ(split_settings_lines(format_settings(*read)), expected);
        }
    }
}

TEST(SettingsFile, LineEndsDoNotChangeTheRecordButExtraOrMissingLinesDo) {
    const std::string lf = format_settings(varied_settings());
    std::string crlf;
    for (char c : lf) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    for (const std::string& text : {crlf, lf.substr(0, lf.size() - 1)}) {
        auto read = parse_settings(text);
        ASSERT_TRUE(read.ok()) << read.failure().message;
        EXPECT_EQ(*read, varied_settings());
    }
    // An empty line after the last one is a 35th line.
    EXPECT_EQ(message_of(parse_settings(lf + "\n")), "unsupported settings: 35 fields for this version");
    EXPECT_EQ(message_of(parse_settings(lf.substr(0, lf.rfind('\n', lf.size() - 2) + 1))),
              "unsupported settings: 33 fields for this version");
    EXPECT_EQ(message_of(parse_settings("")), "unsupported settings: 0 fields for this version");
}

// Editors that save UTF-8 with a byte-order mark put one in front of the file.
TEST(SettingsFile, OneLeadingByteOrderMarkIsSkippedAndNeverWrittenBack) {
    const std::string file = format_settings(varied_settings());
    const std::string mark = "\xEF\xBB\xBF";
    struct Row { const char* name; std::string content; const char* message; };
    const Row rows[] = {
        {"one mark", mark + file, "(read)"},
        {"two marks", mark + mark + file, "unsupported settings: 34 fields for this version"},
        {"a mark alone", mark, "unsupported settings: 0 fields for this version"},
        {"a mark inside the header", "glimmerly-" + mark + file.substr(10), "unsupported settings: 34 fields for this version"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const auto read = parse_settings(row.content);
        EXPECT_EQ(message_of(read), row.message);
        if (read.ok()) {
            EXPECT_EQ(format_settings(*read), file);
        }
    }
}

struct LineRow { std::size_t line; const char* value; const char* message; };

// Bad values and their messages. The first row of each line fails on that
// line alone, whatever the others hold; the check-order test relies on it.
constexpr LineRow kBadLines[] = {
    {1, "glimmerly-settings-22", "unsupported settings: 34 fields for this version"},
    {1, "glimmerly-settings-+21", "unsupported settings: 34 fields for this version"},
    {1, "Glimmerly-settings-21", "unsupported settings: 34 fields for this version"},
    {1, "glimmerly-settings-21 ", "unsupported settings: 34 fields for this version"},
    {2, "x", "Invalid settings number"},
    {2, "16", "Invalid shortcut or drawing style"},
    {3, "4294967296", "Invalid settings number"},
    {3, "4294967295", "Invalid shortcut or drawing style"},
    {4, "2", "Invalid shortcut or drawing style"},
    {5, "43,,5c", "Invalid folder encoding"},
    {5, "12345", "Invalid folder encoding"},
    {5, "+41", "Invalid folder encoding"},
    {5, "43,0,5c", "Invalid folder encoding"},
    {5, "\xC3", "The settings file is not UTF-8 text"},
    {6, "2", "Invalid live capture setting"},
    {7, "03000", "Invalid presentation duration"},
    {8, "ffd34", "Invalid presentation color"},
    {9, "gg0000", "Invalid presentation color"},
    {10, "6", "Invalid input display position"},
    {11, "1;65", "Invalid shape shortcut"},
    {11, "16,65", "refused shortcut (setup.invalid_shape)"},
    {13, "4,65", "refused shortcut (setup.shape_needs_modifier)"},
    {11, "3,27", "refused shortcut (setup.reserved)"},
    {12, "1,65", "refused shortcut (setup.duplicate_shape)"},
    {13, "+1,82", "refused shortcut (setup.duplicate_shape)"},
    {14, "+5", "Invalid presentation stroke width"},
    {14, "41", "Invalid presentation stroke width"},
    {15, "20", "Invalid presentation arrow size"},
    {16, "10001,0", "Invalid input display offset"},
    {17, "2", "Invalid input display lock"},
    {18, "ED4F5", "Invalid custom color"},
    {19, "yes", "Invalid startup setting"},
    {20, "0", "Invalid capture stroke width"},
    {21, "0,0", "Invalid instant capture shortcut"},
    {22, "2", "Invalid instant capture sound setting"},
    {23, "3", "Invalid input display layout"},
    {24, "125", "Invalid input display size"},
    {25, "2", "Invalid save format"},
    {26, "1,255", "refused shortcut (setup.invalid_board)"},
    {26, "4,66", "refused shortcut (setup.board_needs_modifier)"},
    {26, "3,27", "refused shortcut (setup.reserved)"},
    {27, "2", "Invalid board visibility"},
    {28, "3", "Invalid capture eraser size"},
    {30, "x", "Invalid pointer settings"},
    {31, "2", "Invalid wheel hint setting"},
    {32, "2", "Invalid mini toolbar setting"},
    {33, "2", "Invalid mini toolbar fold"},
    {34, "2", "Invalid OBS mirror setting"},
};

TEST(SettingsFile, RefusesEachBadLineWithItsMessage) {
    for (const auto& row : kBadLines) {
        SCOPED_TRACE("line " + std::to_string(row.line) + " \"" + row.value + "\"");
        EXPECT_EQ(message_of(parse_settings(default_file_with(row.line, row.value))), row.message);
    }
}

TEST(SettingsFile, AcceptsTheLenientForms) {
    const auto read = [](std::size_t line, const char* value) {
        auto settings = parse_settings(default_file_with(line, value));
        EXPECT_TRUE(settings.ok()) << "line " << line << ": " << message_of(settings);
        return settings.value_or(Settings{});
    };
    EXPECT_EQ(read(2, "+5").capture_shortcut.modifiers, 5u);
    EXPECT_EQ(read(29, "PT-br").language, 4);
    EXPECT_EQ(read(29, "xx").language, LANGUAGE_AUTO);
    EXPECT_EQ(read(5, "43,3A,5c").save_folder, u"C:\\");
    EXPECT_EQ(read(5, "d800").save_folder, std::u16string(1, 0xD800));
    EXPECT_EQ(read(16, "+5,007").input_display_offset, (InputDisplayOffset{5, 7}));
    EXPECT_EQ(read(21, "0,44").instant_capture_shortcut, (Shortcut{0, 44}));
}

TEST(SettingsFile, TheEarlierLineInCheckOrderDecidesTheMessage) {
    // Line 29 never fails and is left out; lines 12 and 13 are checked with 11.
    const std::size_t order[] = {6,  7,  8,  9,  10, 11, 14, 15, 16, 17, 30, 34, 23, 24, 3,
                                 2,  4,  5,  21, 26, 22, 27, 31, 32, 33, 19, 20, 28, 25, 18};
    const auto first_bad = [](std::size_t line) {
        return *std::find_if(std::begin(kBadLines), std::end(kBadLines), [&](const LineRow& r) { return r.line == line; });
    };
    for (std::size_t i = 0; i + 1 < std::size(order); ++i) {
        const LineRow first = first_bad(order[i]);
        const LineRow second = first_bad(order[i + 1]);
        SCOPED_TRACE("lines " + std::to_string(first.line) + " and " + std::to_string(second.line));
        auto lines = split_settings_lines(std::string(kDefaultFile));
        lines[first.line - 1] = first.value;
        lines[second.line - 1] = second.value;
        EXPECT_EQ(message_of(parse_settings(join_settings_lines(lines))), first.message);
    }
}

TEST(SettingsFile, ShapeShortcutsAreRefusedInArrowRectangleEllipseOrder) {
    auto lines = split_settings_lines(std::string(kDefaultFile));
    lines[11 - 1] = "4,65";   // needs a modifier
    lines[12 - 1] = "16,82";  // invalid
    EXPECT_EQ(message_of(parse_settings(join_settings_lines(lines))), "refused shortcut (setup.shape_needs_modifier)");
}

TEST(SettingsFile, OldAltFArrowBecomesAltAOnlyWhereNothingElseHasAltA) {
    struct Row { const char* name; std::uint32_t version; const char* rectangle; const char* ellipse; Shortcut arrow; };
    const Shortcut alt_a{kShortcutAlt, 65};
    const Shortcut alt_f{kShortcutAlt, 70};
    const Row rows[] = {
        {"version 10 migrates", 10, "1,82", "1,67", alt_a},
        {"version 11 keeps", 11, "1,82", "1,67", alt_f},
        {"rectangle holds Alt+A", 7, "1,65", "1,67", alt_f},
        {"ellipse holds Alt+A", 7, "1,82", "+1,65", alt_f},
    };
    auto full = split_settings_lines(std::string(kDefaultFile));
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        std::vector<std::string> lines(full.begin(), full.begin() + static_cast<long>(settings_line_count(row.version)));
        lines[0] = "glimmerly-settings-" + std::to_string(row.version);
        lines[11 - 1] = "1,70";
        lines[12 - 1] = row.rectangle;
        lines[13 - 1] = row.ellipse;
        auto read = parse_settings(join_settings_lines(lines));
        ASSERT_TRUE(read.ok()) << read.failure().message;
        EXPECT_EQ(read->shape_shortcuts[kShapeArrow], row.arrow);
    }
}

}  // namespace
}  // namespace glimmerly
