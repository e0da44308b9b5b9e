#include "core/base/result.h"

#include <gtest/gtest.h>

namespace glimmerly {
namespace {

Result<int> parse_digit(char c) {
    if (c < '0' || c > '9') return invalid_input(std::string("not a digit: ") + c);
    return c - '0';
}

Status add_digits(const char* text, int& sum) {
    for (; *text; ++text) {
        auto digit = parse_digit(*text);
        GLIM_TRY(digit);
        sum += *digit;
    }
    return ok_status();
}

TEST(Result, CarriesValueOrFailure) {
    auto good = parse_digit('7');
    ASSERT_TRUE(good.ok());
    EXPECT_EQ(*good, 7);

    auto bad = parse_digit('x');
    ASSERT_FALSE(bad.ok());
    EXPECT_EQ(bad.failure().code, E_INVALIDARG_CODE);
    EXPECT_EQ(bad.failure().message, "not a digit: x");
}

TEST(Result, EarlyReturnPassesTheFirstFailureUp) {
    int sum = 0;
    EXPECT_TRUE(add_digits("123", sum).ok());
    EXPECT_EQ(sum, 6);

    sum = 0;
    const auto status = add_digits("12y4", sum);
    ASSERT_FALSE(status.ok());
    EXPECT_EQ(status.failure().message, "not a digit: y");
    EXPECT_EQ(sum, 3);
}

TEST(Result, HresultFromWin32KeepsTheLowSixteenBits) {
    EXPECT_EQ(static_cast<std::uint32_t>(hresult_from_win32(5)), 0x80070005u);
    EXPECT_EQ(static_cast<std::uint32_t>(hresult_from_win32(1409)), 0x80070581u);
    EXPECT_EQ(static_cast<std::uint32_t>(hresult_from_win32(0x12345)), 0x80072345u);
    EXPECT_EQ(hresult_from_win32(0), 0);
}

}  // namespace
}  // namespace glimmerly
