#include "core/editor/size_expression.h"

#include "text/app_error.h"

#include <charconv>
#include <cmath>
#include <string>

namespace glimmerly {

namespace {

Failure invalid() { return make_app_error(TextId::crop_invalid); }

// Vertical tab is not among them: the fields never produce it, and a stray
// one is better refused than ignored.
bool is_space(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\f' || c == '\r'; }

void skip_space(std::string_view text, std::size_t& cursor) {
    while (cursor < text.size() && is_space(text[cursor])) ++cursor;
}

bool next_is(std::string_view text, std::size_t cursor, char c) { return cursor < text.size() && text[cursor] == c; }

// Infinity (a product or a number too large for f64) and the NaN that would
// follow from it have no place in a size.
Result<double> finite(double value) {
    if (!std::isfinite(value)) return invalid();
    return value;
}

Result<double> parse_number(std::string_view text, std::size_t& cursor) {
    skip_space(text, cursor);
    const std::size_t start = cursor;
    int digits = 0, points = 0;
    while (cursor < text.size()) {
        const char c = text[cursor];
        if (c >= '0' && c <= '9') {
            ++digits;
        } else if (c == '.' || c == ',') {
            ++points;
        } else {
            break;
        }
        ++cursor;
    }
    if (digits == 0 || points > 1) return invalid();
    std::string run(text.substr(start, cursor - start));
    for (char& c : run)
        if (c == ',') c = '.';
    double value = 0.0;
    const auto [end, error] = std::from_chars(run.data(), run.data() + run.size(), value, std::chars_format::fixed);
    if (error != std::errc{} || end != run.data() + run.size()) return invalid();
    return finite(value);
}

}  // namespace

Result<double> evaluate_field_expression(std::string_view text, std::size_t& cursor, int depth) {
    auto value = evaluate_field_term(text, cursor, depth);
    if (!value) return value;
    double sum = *value;
    for (;;) {
        skip_space(text, cursor);
        const bool plus = next_is(text, cursor, '+');
        if (!plus && !next_is(text, cursor, '-')) return sum;
        ++cursor;
        auto term = evaluate_field_term(text, cursor, depth);
        if (!term) return term;
        auto next = finite(plus ? sum + *term : sum - *term);
        if (!next) return next;
        sum = *next;
    }
}

Result<double> evaluate_field_term(std::string_view text, std::size_t& cursor, int depth) {
    auto value = evaluate_field_factor(text, cursor, depth);
    if (!value) return value;
    double product = *value;
    for (;;) {
        skip_space(text, cursor);
        const bool times = next_is(text, cursor, '*');
        if (!times && !next_is(text, cursor, '/')) return product;
        ++cursor;
        auto factor = evaluate_field_factor(text, cursor, depth);
        if (!factor) return factor;
        if (!times && *factor == 0.0) return invalid();  // +0 and -0 alike
        auto next = finite(times ? product * *factor : product / *factor);
        if (!next) return next;
        product = *next;
    }
}

Result<double> evaluate_field_factor(std::string_view text, std::size_t& cursor, int depth) {
    if (depth < 0 || depth > kMaxExpressionDepth) return invalid();
    for (;;) {
        skip_space(text, cursor);
        if (!next_is(text, cursor, '+')) break;
        ++cursor;
        if (++depth > kMaxExpressionDepth) return invalid();
    }
    skip_space(text, cursor);
    if (next_is(text, cursor, '-')) {
        ++cursor;
        auto value = evaluate_field_factor(text, cursor, depth + 1);
        if (!value) return value;
        return -*value;
    }
    if (next_is(text, cursor, '(')) {
        ++cursor;
        auto value = evaluate_field_expression(text, cursor, depth + 1);
        if (!value) return value;
        skip_space(text, cursor);
        if (!next_is(text, cursor, ')')) return invalid();
        ++cursor;
        return value;
    }
    return parse_number(text, cursor);
}

Result<double> evaluate_size_expression(std::string_view text) {
    std::size_t cursor = 0;
    auto value = evaluate_field_expression(text, cursor, 0);
    if (!value) return value;
    skip_space(text, cursor);
    if (cursor != text.size()) return invalid();
    return value;
}

}  // namespace glimmerly
