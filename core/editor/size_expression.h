#pragma once
// The selection's width and height fields take a number or a small sum such
// as 800+20 or 1920/2: f64 arithmetic with + - * /, unary signs, parentheses,
// and "." or "," as the decimal point. Every refusal is the one application
// error "crop.invalid", which the fields show as their hint.
//
// The evaluator is recursive descent over the UTF-8 bytes with a cursor that
// advances as the text is consumed. Nesting (parentheses and unary signs
// together) is limited to 15 levels, which bounds the recursion.

#include "core/base/result.h"

#include <cstddef>
#include <string_view>

namespace glimmerly {

inline constexpr int kMaxExpressionDepth = 15;

// A sum of terms; stops at the first byte that continues none (the cursor on
// it). Division by zero, a number that does not parse, an unbalanced
// parenthesis, nesting past the limit and a result that overflows to
// infinity are refused.
Result<double> evaluate_field_expression(std::string_view text, std::size_t& cursor, int depth);
// A product of factors.
Result<double> evaluate_field_term(std::string_view text, std::size_t& cursor, int depth);
// A signed number or a parenthesised expression.
Result<double> evaluate_field_factor(std::string_view text, std::size_t& cursor, int depth);

// The whole field: an expression followed by nothing but whitespace.
Result<double> evaluate_size_expression(std::string_view text);

}  // namespace glimmerly
