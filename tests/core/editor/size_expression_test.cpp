#include "core/editor/size_expression.h"

#include "text/app_error.h"

#include <gtest/gtest.h>

#include <string>

namespace glimmerly {
namespace {

std::string nested(std::size_t levels, std::string inner) {
    return std::string(levels, '(') + inner + std::string(levels, ')');
}

TEST(SizeExpression, EvaluatesArithmeticExactly) {
    const struct { const char* name; std::string text; double value; } rows[] = {
        {"sum", "800+20", 820},
        {"product before sum", "2*3+4", 10},
        {"parentheses", "2*(3+4)", 14},
        {"left-associative minus", "10-2-3", 5},
        {"left-associative divide", "8/2/2", 2},
        {"comma as decimal point", "1,5", 1.5},
        {"trailing point", "1.", 1},
        {"leading point", ".5", 0.5},
        {"double negation", "--5", 5},
        {"signed factors", "-3*-2", 6},
        {"every accepted kind of space", " \t800 +\n20\f*\r1 ", 820},
        {"fifteen levels of parentheses", nested(15, "2"), 2},
        {"fifteen plus signs", std::string(15, '+') + "7", 7},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const auto value = evaluate_size_expression(row.text);
        ASSERT_TRUE(value) << value.failure().message;
        EXPECT_EQ(*value, row.value);
    }
}

TEST(SizeExpression, RefusesWithTheFieldHintAndNeverANumberThatIsNone) {
    const struct { const char* name; std::string text; } rows[] = {
        {"empty", ""},
        {"two decimal points", "1.2.3"},
        {"lone point", "."},
        {"lone minus", "-"},
        {"dangling operator", "3-"},
        {"missing closing parenthesis", "(4"},
        {"division by zero", "5/0"},
        {"division by a zero sum", "5/(2-2)"},
        {"division by negative zero", "5/-0"},
        {"sixteen levels of parentheses", nested(16, "2")},
        {"sixteen plus signs", std::string(16, '+') + "7"},
        {"exponent", "1e3"},
        {"vertical tab is no space", "\v4"},
        {"a number beyond f64", std::string(400, '9')},
        {"a product beyond f64", std::string(200, '9') + "*" + std::string(200, '9')},
        {"a sum beyond f64", std::string(308, '9') + "+" + std::string(308, '9')},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const auto value = evaluate_size_expression(row.text);
        ASSERT_FALSE(value) << *value;
        const auto error = parse_app_error(value.failure());
        ASSERT_TRUE(error);
        EXPECT_EQ(error->text, TextId::crop_invalid);
    }
}

TEST(SizeExpression, StopsAtTheFirstByteThatContinuesNothing) {
    std::size_t cursor = 0;
    const auto value = evaluate_field_expression("12 *3e5", cursor, 0);
    ASSERT_TRUE(value);
    EXPECT_EQ(*value, 36);
    EXPECT_EQ(cursor, 5u) << "on the e, which the whole-field check refuses";
}

}  // namespace
}  // namespace glimmerly
