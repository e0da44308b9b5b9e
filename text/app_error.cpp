#include "text/app_error.h"

#include <charconv>
#include <cstdio>

namespace glimmerly {
namespace {

constexpr std::string_view kDetail = "detail";
constexpr std::string_view kCode = "code";

void append_cleaned(std::string& out, std::string_view part) {
    for (char c : part) {
        if (c == APP_ERROR_ARG_SEPARATOR || c == APP_ERROR_VALUE_SEPARATOR)
            out += "\xEF\xBF\xBD";
        else
            out += c;
    }
}

std::string hex_code(std::int32_t code) {
    char hex[16];
    std::snprintf(hex, sizeof hex, "0x%08X", static_cast<unsigned>(code));
    return hex;
}

std::optional<std::int32_t> parse_hex_code(std::string_view text) {
    if (!text.starts_with("0x")) return std::nullopt;
    std::uint32_t code = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data() + 2, end, code, 16);
    if (error != std::errc{} || stop != end) return std::nullopt;
    return static_cast<std::int32_t>(code);
}

// An application error's message carried inside another's argument: its
// separators, and the escape character itself, become %1F, %1E and %25, so
// that it survives whole however deep it is nested.
std::string escape_nested(std::string_view message) {
    std::string out;
    for (char c : message) {
        if (c == '%')
            out += "%25";
        else if (c == APP_ERROR_ARG_SEPARATOR)
            out += "%1F";
        else if (c == APP_ERROR_VALUE_SEPARATOR)
            out += "%1E";
        else
            out += c;
    }
    return out;
}

std::string unescape_nested(std::string_view value) {
    std::string out;
    for (std::size_t i = 0; i < value.size(); ++i) {
        const std::string_view escape = value.substr(i, 3);
        if (escape == "%25" || escape == "%1F" || escape == "%1E") {
            out += escape == "%25" ? '%' : escape == "%1F" ? APP_ERROR_ARG_SEPARATOR : APP_ERROR_VALUE_SEPARATOR;
            i += 2;
        } else {
            out += value[i];
        }
    }
    return out;
}

// The failure an application error reports through its "detail" and "code".
std::optional<Failure> reported_cause(const ParsedAppError& parsed) {
    const std::string* detail = nullptr;
    const std::string* code = nullptr;
    for (const auto& [name, value] : parsed.args) {
        if (name == kDetail && !detail) detail = &value;
        if (name == kCode && !code) code = &value;
    }
    const auto cause_code = code ? parse_hex_code(*code) : std::nullopt;
    if (!detail || !cause_code) return std::nullopt;
    return Failure{*cause_code, *cause_code == APP_ERROR_CODE ? unescape_nested(*detail) : *detail};
}

std::string localize_parsed(const ParsedAppError& parsed, Language language, SystemMessageFunction system_message) {
    const auto cause = reported_cause(parsed);
    const std::string cause_text = cause ? error_to_text(*cause, language, system_message) : std::string();
    std::vector<TextArg> args;
    args.reserve(parsed.args.size());
    for (const auto& [name, value] : parsed.args)
        args.push_back({name, cause && name == kDetail ? std::string_view(cause_text) : std::string_view(value)});
    return localized_text(language, parsed.text, args);
}

}  // namespace

Failure make_app_error(TextId text, std::span<const TextArg> args) {
    std::string message(text_key(text));
    for (const TextArg& arg : args) {
        message += APP_ERROR_ARG_SEPARATOR;
        append_cleaned(message, arg.name);
        message += APP_ERROR_VALUE_SEPARATOR;
        append_cleaned(message, arg.value);
    }
    return Failure{APP_ERROR_CODE, std::move(message)};
}

std::optional<ParsedAppError> parse_app_error(const Failure& error) {
    if (error.code != APP_ERROR_CODE) return std::nullopt;
    const std::string_view message = error.message;
    std::size_t cut = message.find(APP_ERROR_ARG_SEPARATOR);
    const auto id = text_id_from_key(message.substr(0, cut));
    if (!id) return std::nullopt;
    ParsedAppError parsed{*id, {}};
    while (cut != std::string_view::npos) {
        const std::size_t start = cut + 1;
        cut = message.find(APP_ERROR_ARG_SEPARATOR, start);
        const std::string_view piece =
            message.substr(start, cut == std::string_view::npos ? std::string_view::npos : cut - start);
        const std::size_t split = piece.find(APP_ERROR_VALUE_SEPARATOR);
        if (split == std::string_view::npos)
            parsed.args.emplace_back(std::string(piece), std::string());
        else
            parsed.args.emplace_back(std::string(piece.substr(0, split)), std::string(piece.substr(split + 1)));
    }
    return parsed;
}

std::string localize_error(const Failure& error, Language language, std::string fallback) {
    if (const auto parsed = parse_app_error(error)) return localize_parsed(*parsed, language, nullptr);
    return localized_text(language, TextId::error_unexpected, {{"detail", fallback}});
}

std::string error_to_text(const Failure& error, Language language, SystemMessageFunction system_message) {
    if (const auto parsed = parse_app_error(error)) return localize_parsed(*parsed, language, system_message);
    if (!error.message.empty()) return error.message;
    if (system_message) {
        std::string text = system_message(error.code);
        if (!text.empty()) return text;
    }
    return hex_code(error.code);
}

Failure make_app_error_with_cause(TextId text, const Failure& cause, std::span<const TextArg> args) {
    const std::string detail = cause.code == APP_ERROR_CODE ? escape_nested(cause.message) : cause.message;
    const std::string code = hex_code(cause.code);
    std::vector<TextArg> all(args.begin(), args.end());
    all.push_back({kDetail, detail});
    all.push_back({kCode, code});
    return make_app_error(text, all);
}

std::int32_t cause_code(const Failure& failure) {
    const auto parsed = parse_app_error(failure);
    const auto cause = parsed ? reported_cause(*parsed) : std::nullopt;
    return cause ? cause_code(*cause) : failure.code;
}

Failure error_from_io(const std::error_code& error) { return error_from_io(error.message()); }

Failure error_from_io(std::string display_text) { return Failure{E_FAIL_CODE, std::move(display_text)}; }

Failure document_read_error(DocumentReadErrorKind kind, std::string_view detail) {
    TextId text = TextId::document_damaged;
    switch (kind) {
        case DocumentReadErrorKind::NotEditable:
            text = TextId::document_not_editable;
            break;
        case DocumentReadErrorKind::Newer:
            text = TextId::document_newer;
            break;
        case DocumentReadErrorKind::Damaged:
            text = TextId::document_damaged;
            break;
    }
    if (detail.empty()) return make_app_error(text);
    return make_app_error(text, {{"detail", detail}});
}

Failure settings_unsaved_error(const Failure& cause) {
    return make_app_error_with_cause(TextId::error_settings_unsaved, cause);
}

}  // namespace glimmerly
