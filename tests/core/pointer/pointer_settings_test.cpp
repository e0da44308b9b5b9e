#include "core/pointer/pointer_settings.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace glimmerly {
namespace {

constexpr std::string_view kDefaultLine = "1,48,100,2,0,0,1,0,ed4f5c,409cff,0,1,-,0,240,60,0,-,0,0,240,2,-,0";

std::vector<std::string> fields_of(std::string_view line) {
    std::vector<std::string> fields(1);
    for (char c : line) c == ',' ? fields.emplace_back() : fields.back() += c;
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

// Every field away from its default, at the ends of the ranges.
PointerSettings varied() {
    return PointerSettings{3,       160, 10,  12,  1,  4,  2,   3,   {0x01, 0xAB, 0xFF}, {0, 0, 0}, 2, 0,
                           Shortcut{6, 65}, 2, 600, 20, true, Shortcut{0, 1}, 100, 120, 8, Shortcut{15, 254}, true};
}

TEST(PointerSettingsLine, DefaultIsTheKnownLineAndEveryRecordReadsBack) {
    EXPECT_EQ(format_pointer_settings(PointerSettings{}), kDefaultLine);
    for (const PointerSettings& record : {PointerSettings{}, varied()}) {
        auto read = parse_pointer_settings(format_pointer_settings(record));
        ASSERT_TRUE(read.ok()) << read.failure().message;
        EXPECT_EQ(*read, record);
    }
}

// The older forms are the first 19 and 20 fields of a full line; the fields
// they lack keep their defaults.
TEST(PointerSettingsLine, ShorterFormsDefaultTheFieldsTheyLack) {
    const auto full = fields_of(format_pointer_settings(varied()));
    const auto defaults = fields_of(kDefaultLine);
    for (long count : {19, 20}) {
        SCOPED_TRACE(count);
        auto read = parse_pointer_settings(joined({full.begin(), full.begin() + count}));
        ASSERT_TRUE(read.ok()) << read.failure().message;
        auto expected = full;
        std::copy(defaults.begin() + count, defaults.end(), expected.begin() + count);
        EXPECT_EQ(format_pointer_settings(*read), joined(expected));
    }
}

TEST(PointerSettingsLine, OlderDiscValueReadsAsDiscAndIsWrittenAsOne) {
    auto read = parse_pointer_settings(default_with(0, "4"));
    ASSERT_TRUE(read.ok());
    EXPECT_EQ(read->halo_shape, 1u);
    EXPECT_EQ(format_pointer_settings(*read), kDefaultLine);
}

TEST(PointerSettingsLine, RefusesEveryFaultWithOneMessage) {
    struct Row { const char* name; std::string line; };
    const auto full = fields_of(kDefaultLine);
    const std::vector<Row> rows = {
        {"21 fields", joined({full.begin(), full.begin() + 21})},
        {"25 fields", std::string(kDefaultLine) + ",0"},
        {"retired field 2", default_with(18, "2")},
        {"halo size below", default_with(1, "23")},
        {"halo size above", default_with(1, "161")},
        {"leading zero", default_with(1, "048")},
        {"flag 2", default_with(16, "2")},
        {"colour not hex", default_with(9, "40g cff")},
        {"shortcut key 0", default_with(12, "3:0")},
        {"shortcut modifiers 16", default_with(17, "16:65")},
        {"shortcut without colon", default_with(12, "365")},
        {"shortcut leading zero", default_with(12, "01:65")},
        {"zoom 9", default_with(21, "9")},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        auto read = parse_pointer_settings(row.line);
        ASSERT_FALSE(read.ok());
        EXPECT_EQ(read.failure().message, "Invalid pointer settings");
    }
}

}  // namespace
}  // namespace glimmerly
