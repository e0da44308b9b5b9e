#pragma once
// The application error: a failure with code APP_ERROR_CODE whose message is a
// text key followed by named arguments, each as 0x1F name 0x1E value. It is
// turned into words only when shown, in the language current at that moment.

#include <string>
#include <string_view>
#include <system_error>
#include <utility>
#include <vector>

#include "core/base/result.h"
#include "text/text_table.h"

namespace glimmerly {

inline constexpr char APP_ERROR_ARG_SEPARATOR = '\x1F';
inline constexpr char APP_ERROR_VALUE_SEPARATOR = '\x1E';

// Bytes 0x1F and 0x1E inside a name or value would split it into false
// arguments when read back (a nested error message as "detail", say), so they
// are stored as U+FFFD.
Failure make_app_error(TextId text, std::span<const TextArg> args = {});
inline Failure make_app_error(TextId text, std::initializer_list<TextArg> args) {
    return make_app_error(text, std::span<const TextArg>(args.begin(), args.size()));
}

struct ParsedAppError {
    TextId text;
    std::vector<std::pair<std::string, std::string>> args;
};

// None for any failure that is not an application error of this build's table.
std::optional<ParsedAppError> parse_app_error(const Failure& error);

// An application error in the given language; any other failure as
// "Something went wrong." with the fallback as its detail.
std::string localize_error(const Failure& error, Language language, std::string fallback);

// What the user sees of a failure: an application error in the given
// language, any other failure as its own message, or, without one, the
// system's text for its code (`system_message`, when given and not empty) or
// the code in hexadecimal.
using SystemMessageFunction = std::string (*)(std::int32_t code);
std::string error_to_text(const Failure& error, Language language, SystemMessageFunction system_message = nullptr);

// An application error that reports the failure behind it, keeping both its
// words and its code: `args`, then "detail" = the cause's message and "code" =
// the cause's failure code in hexadecimal ("0x80070005"). When shown, the
// detail is the cause as error_to_text shows it, in the same language (an
// application error as its own text, a failure without a message as the
// system's text for its code); templates that name no {code} ignore it.
Failure make_app_error_with_cause(TextId text, const Failure& cause, std::span<const TextArg> args = {});
inline Failure make_app_error_with_cause(TextId text, const Failure& cause, std::initializer_list<TextArg> args) {
    return make_app_error_with_cause(text, cause, std::span<const TextArg>(args.begin(), args.size()));
}

// The code of the failure underneath: for an application error that reports
// a cause, the cause's own cause code, through any number of wrappings; for
// any other failure its own code. It tells "access denied" from "disk full"
// after either has become "Could not save settings".
std::int32_t cause_code(const Failure& failure);

// An I/O failure as E_FAIL with the error's display text (no message when empty).
Failure error_from_io(const std::error_code& error);
Failure error_from_io(std::string display_text);

// Opening an editable document failed: it holds no editable data, a newer
// version wrote it, or it is damaged. An application error
// ("document.not_editable", "document.newer", "document.damaged") with the
// reader's `detail`, when given, as its argument.
enum class DocumentReadErrorKind : std::uint8_t { NotEditable = 0, Newer = 1, Damaged = 2 };
Failure document_read_error(DocumentReadErrorKind kind, std::string_view detail = {});

// "Could not save settings: {detail}", reporting the failure that stopped the save.
Failure settings_unsaved_error(const Failure& cause);

}  // namespace glimmerly
