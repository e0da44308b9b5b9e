#include "text/app_error.h"

#include <algorithm>
#include <cstdio>

namespace glimmerly {
namespace {

void append_cleaned(std::string& out, std::string_view part) {
    for (char c : part) {
        if (c == APP_ERROR_ARG_SEPARATOR || c == APP_ERROR_VALUE_SEPARATOR)
            out += "\xEF\xBF\xBD";
        else
            out += c;
    }
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

namespace {

std::string localize_parsed(const ParsedAppError& parsed, Language language) {
    std::vector<TextArg> args;
    args.reserve(parsed.args.size());
    for (const auto& [name, value] : parsed.args) args.push_back({name, value});
    return localized_text(language, parsed.text, args);
}

}  // namespace

std::string localize_error(const Failure& error, Language language, std::string fallback) {
    if (const auto parsed = parse_app_error(error)) return localize_parsed(*parsed, language);
    return localized_text(language, TextId::error_unexpected, {{"detail", fallback}});
}

std::string error_to_text(const Failure& error, Language language, SystemMessageFunction system_message) {
    if (const auto parsed = parse_app_error(error)) return localize_parsed(*parsed, language);
    if (!error.message.empty()) return error.message;
    if (system_message) {
        std::string text = system_message(error.code);
        if (!text.empty()) return text;
    }
    char hex[32];
    std::snprintf(hex, sizeof hex, "0x%08X", static_cast<unsigned>(error.code));
    return hex;
}

Failure error_from_io(const std::error_code& error) { return error_from_io(error.message()); }

Failure error_from_io(std::string display_text) { return Failure{E_FAIL_CODE, std::move(display_text)}; }

Failure document_read_error(DocumentReadErrorKind kind, [[maybe_unused]] std::string_view detail) {
    const auto offset = std::min<std::uint16_t>(static_cast<std::uint16_t>(kind), 2);
    const auto id = text_id(text_index(TextId::document_not_editable) + offset);
    return Failure{E_FAIL_CODE, std::string(text_of(current_language(), id))};
}

Failure settings_unsaved_error(std::string detail) {
    return make_app_error(TextId::error_settings_unsaved, {{"detail", detail}});
}

}  // namespace glimmerly
