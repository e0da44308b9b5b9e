#include "core/pointer/pointer_settings.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace glimmerly {
namespace {

constexpr std::string_view kDefaultLine = "1,48,100,2,0,0,1,0,ed4f5c,409cff,0,1,-,0,240,60,0,-,0,0,240,2,-,0";

std::vector<std::string> fields_of(std::string_view line) {
    std::vector<std::string> fields;
    std::string current;
    for (char c : line) {
        if (c == ',') {
            fields.push_back(current);
            current.clear();
        } else {
            current += c;
        }
    }
    fields.push_back(current);
    return fields;
}

std::string joined(const std::vector<std::string>& fields) {
    std::string line;
    for (std::size_t i = 0; i < fields.size(); ++i) line += (i ? "," : "") + fields[i];
    return line;
}

// The default line with field `index` replaced.
std::string default_with(std::size_t index, std::string value) {
    auto fields = fields_of(kDefaultLine);
    fields[index] = std::move(value);
    return joined(fields);
}

PointerSettings varied() {
    PointerSettings p;
    p.halo_shape = 3;
    p.halo_size = 160;
    p.halo_opacity = 10;
    p.halo_thickness = 12;
    p.halo_movement = 1;
    p.trail_style = 4;
    p.trail_length = 2;
    p.click_animation = 3;
    p.left_click_color = {0x01, 0xAB, 0xFF};
    p.right_click_color = {0, 0, 0};
    p.click_sound = 2;
    p.click_volume = 0;
    p.show_click_shortcut = Shortcut{6, 65};
    p.spotlight_shape = 2;
    p.spotlight_size = 600;
    p.spotlight_darkness = 20;
    p.spotlight_hide_moving = true;
    p.spotlight_shortcut = Shortcut{0, 1};
    p.halo_softness = 100;
    p.magnifier_size = 120;
    p.magnifier_zoom = 8;
    p.magnifier_shortcut = Shortcut{15, 254};
    p.magnifier_hold = true;
    return p;
}

TEST(PointerSettingsLine, DefaultRecordIsTheKnownLineAndReadsBack) {
    EXPECT_EQ(format_pointer_settings(PointerSettings{}), kDefaultLine);
    auto read = parse_pointer_settings(kDefaultLine);
    ASSERT_TRUE(read.ok()) << read.failure().message;
    EXPECT_EQ(*read, PointerSettings{});
}

TEST(PointerSettingsLine, VariedRecordRoundTrips) {
    const std::string line = format_pointer_settings(varied());
    EXPECT_EQ(fields_of(line).size(), 24u);
    EXPECT_NE(line.find("6:65"), std::string::npos);
    auto read = parse_pointer_settings(line);
    ASSERT_TRUE(read.ok()) << read.failure().message;
    EXPECT_EQ(*read, varied());
}

TEST(PointerSettingsLine, ShorterFormsDefaultTheFieldsTheyLack) {
    // The older forms are the first 19 and 20 fields of a full line.
    const auto full = fields_of(format_pointer_settings(varied()));
    const PointerSettings defaults;
    for (std::size_t count : {19u, 20u}) {
        SCOPED_TRACE(count);
        auto read = parse_pointer_settings(joined({full.begin(), full.begin() + static_cast<long>(count)}));
        ASSERT_TRUE(read.ok()) << read.failure().message;
        PointerSettings expected = varied();
        if (count == 19) expected.halo_softness = defaults.halo_softness;
        expected.magnifier_size = defaults.magnifier_size;
        expected.magnifier_zoom = defaults.magnifier_zoom;
        expected.magnifier_shortcut = defaults.magnifier_shortcut;
        expected.magnifier_hold = defaults.magnifier_hold;
        EXPECT_EQ(*read, expected);
    }
}

TEST(PointerSettingsLine, OlderDiscValueReadsAsDiscAndIsWrittenAsOne) {
    auto read = parse_pointer_settings(default_with(0, "4"));
    ASSERT_TRUE(read.ok());
    EXPECT_EQ(read->halo_shape, 1u);
    EXPECT_EQ(format_pointer_settings(*read), kDefaultLine);
}

TEST(PointerSettingsLine, RefusesEveryFaultWithOneMessage) {
    struct Row {
        const char* name;
        std::string line;
    };
    const auto full = fields_of(kDefaultLine);
    const std::vector<Row> rows = {
        {"21 fields", joined({full.begin(), full.begin() + 21})},
        {"25 fields", std::string(kDefaultLine) + ",0"},
        {"empty", ""},
        {"retired field 2", default_with(18, "2")},
        {"retired field empty", default_with(18, "")},
        {"halo size below", default_with(1, "23")},
        {"halo size above", default_with(1, "161")},
        {"leading zero", default_with(1, "048")},
        {"plus sign", default_with(1, "+48")},
        {"halo shape 5", default_with(0, "5")},
        {"flag 2", default_with(16, "2")},
        {"magnifier hold 2", default_with(23, "2")},
        {"colour too short", default_with(8, "ed4f5")},
        {"colour not hex", default_with(9, "40g cff")},
        {"shortcut key 0", default_with(12, "3:0")},
        {"shortcut modifiers 16", default_with(17, "16:65")},
        {"shortcut key 255", default_with(22, "1:255")},
        {"shortcut without colon", default_with(12, "365")},
        {"shortcut two colons", default_with(12, "1:2:3")},
        {"shortcut leading zero", default_with(12, "01:65")},
        {"shortcut empty", default_with(12, "")},
        {"zoom 9", default_with(21, "9")},
        {"spaces", default_with(2, " 100")},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        auto read = parse_pointer_settings(row.line);
        ASSERT_FALSE(read.ok());
        EXPECT_EQ(read.failure().message, "Invalid pointer settings");
    }
}

TEST(PointerSettingsLine, RangeEndsAreAcceptedAndTheirNeighboursRefused) {
    struct Row {
        std::size_t field;
        unsigned min;
        unsigned max;
    };
    const Row rows[] = {{0, 0, 3},   {1, 24, 160},  {2, 10, 100}, {3, 1, 12},   {4, 0, 1},  {5, 0, 4},
                        {6, 0, 2},   {7, 0, 3},     {10, 0, 2},   {11, 0, 2},   {13, 0, 3}, {14, 60, 600},
                        {15, 20, 90}, {19, 0, 100}, {20, 120, 480}, {21, 2, 8}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.field);
        EXPECT_TRUE(parse_pointer_settings(default_with(row.field, std::to_string(row.min))).ok());
        EXPECT_TRUE(parse_pointer_settings(default_with(row.field, std::to_string(row.max))).ok());
        // Field 0's "4" is the older disc, so its refused neighbour is 5.
        const unsigned above = row.field == 0 ? row.max + 2 : row.max + 1;
        EXPECT_FALSE(parse_pointer_settings(default_with(row.field, std::to_string(above))).ok());
        if (row.min > 0) {
            EXPECT_FALSE(parse_pointer_settings(default_with(row.field, std::to_string(row.min - 1))).ok());
        }
    }
}

TEST(PointerSettingsLine, ValidityOfARecordMatchesReadingItsLine) {
    PointerSettings p;
    EXPECT_TRUE(pointer_settings_valid(p));
    p.magnifier_zoom = 9;
    EXPECT_FALSE(pointer_settings_valid(p));
    EXPECT_FALSE(parse_pointer_settings(format_pointer_settings(p)).ok());
    p = PointerSettings{};
    p.spotlight_shortcut = Shortcut{1, 0};
    EXPECT_FALSE(pointer_settings_valid(p));
    EXPECT_FALSE(parse_pointer_settings(format_pointer_settings(p)).ok());
}

}  // namespace
}  // namespace glimmerly
