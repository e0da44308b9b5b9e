#include "text/app_error.h"

#include <gtest/gtest.h>

namespace glimmerly {
namespace {

using Args = std::vector<std::pair<std::string, std::string>>;
constexpr auto kDenied = static_cast<std::int32_t>(0x80070005u);

TEST(AppError, CarriesItsKeyAndArgumentsAsWrittenAndReadsThemBack) {
    struct Row { const char* name; Failure error; std::string message; Args args; };
    const Row rows[] = {
        {"bare key", make_app_error(TextId::error_settings_busy), "error.settings_busy", {}},
        {"arguments in order", make_app_error(TextId::error_document_unread, {{"path", "C:\\a"}, {"detail", "D"}}),
         "error.document_unread\x1Fpath\x1E" "C:\\a\x1F" "detail\x1E" "D", {{"path", "C:\\a"}, {"detail", "D"}}},
        {"separators inside cannot forge arguments", make_app_error(TextId::error_settings_busy, {{"n\x1E", "v\x1F"}}),
         "error.settings_busy\x1Fn\xEF\xBF\xBD\x1Ev\xEF\xBF\xBD", {{"n\xEF\xBF\xBD", "v\xEF\xBF\xBD"}}},
        {"piece without value separator", {APP_ERROR_CODE, "error.settings_busy\x1Fname"}, "", {{"name", ""}}},
        {"trailing separator", {APP_ERROR_CODE, "error.settings_busy\x1Fx\x1E" "1\x1F"}, "", {{"x", "1"}, {"", ""}}},
        {"second value separator belongs to the value", {APP_ERROR_CODE, "error.settings_busy\x1Fx\x1E" "a\x1E" "b"},
         "", {{"x", "a\x1E" "b"}}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(row.error.code, APP_ERROR_CODE);
        if (!row.message.empty()) {
            EXPECT_EQ(row.error.message, row.message);
        }
        const auto parsed = parse_app_error(row.error);
        ASSERT_TRUE(parsed.has_value());
        EXPECT_EQ(parsed->args, row.args);
    }
}

TEST(AppError, OtherFailuresAreShownAsTheirOwnWordsInAnyLanguage) {
    struct Row { const char* name; Failure error; std::string shown; };
    const Row rows[] = {
        {"key not in the table", {APP_ERROR_CODE, "error.not_a_key"}, "error.not_a_key"},
        {"key under another code", {E_FAIL_CODE, "error.settings_busy"}, "error.settings_busy"},
        {"key in another case", {APP_ERROR_CODE, "ERROR.SETTINGS_BUSY"}, "ERROR.SETTINGS_BUSY"},
        {"I/O text", error_from_io(std::string("The disk is full.")), "The disk is full."},
        {"no message: the system's text", {E_INVALIDARG_CODE, ""}, "Bad arg"},
        {"no message and no system text: the code", {kDenied, ""}, "0x80070005"},
    };
    const auto system_text = [](std::int32_t code) { return std::string(code == E_INVALIDARG_CODE ? "Bad arg" : ""); };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_FALSE(parse_app_error(row.error).has_value());
        EXPECT_EQ(error_to_text(row.error, 5, system_text), row.shown);
        // In English past the end of the table too.
        EXPECT_EQ(localize_error(row.error, 99, "fallback"), "Something went wrong.\nfallback");
    }
}

TEST(AppErrorWithCause, ShowsTheCauseInTheSameLanguageAndKeepsItsCode) {
    const auto system_text = [](std::int32_t code) { return std::string(code == kDenied ? "Access is denied." : ""); };
    const Failure nested = make_app_error_with_cause(TextId::error_document_unread, {kDenied, "50% \x1F"}, {{"path", "p"}});
    struct Row { const char* name; Failure cause; Language language; std::string detail; std::int32_t code; };
    const Row rows[] = {
        {"platform failure", {kDenied, "MoveFileExW a: Access is denied."}, 0, "MoveFileExW a: Access is denied.", kDenied},
        {"platform failure without words", {kDenied, ""}, 0, "Access is denied.", kDenied},
        {"application error, worded when shown", make_app_error(TextId::error_settings_busy), 5,
         std::string(text_of(5, TextId::error_settings_busy)), APP_ERROR_CODE},
        {"application error with a cause of its own", nested, 0, "Could not open p: 50% \xEF\xBF\xBD", kDenied},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const Failure unsaved = settings_unsaved_error(row.cause);
        EXPECT_EQ(unsaved.code, APP_ERROR_CODE);
        EXPECT_EQ(error_to_text(unsaved, row.language, system_text),
                  localized_text(row.language, TextId::error_settings_unsaved, {{"detail", row.detail}}));
        EXPECT_EQ(cause_code(unsaved), row.code);
    }
    EXPECT_EQ(cause_code(Failure{kDenied, "not wrapped"}), kDenied);
}

TEST(DocumentReadError, IsTheApplicationErrorOfItsKindWithTheReadersDetail) {
    using Kind = DocumentReadErrorKind;
    const std::pair<Kind, TextId> rows[] = {{Kind::NotEditable, TextId::document_not_editable},
                                            {Kind::Newer, TextId::document_newer},
                                            {Kind::Damaged, TextId::document_damaged}};
    for (const auto& [kind, text] : rows) {
        SCOPED_TRACE(std::string(text_key(text)));
        EXPECT_EQ(document_read_error(kind), make_app_error(text));
        EXPECT_EQ(document_read_error(kind, "line 3"), make_app_error(text, {{"detail", "line 3"}}));
        EXPECT_EQ(error_to_text(document_read_error(kind, "line 3"), 5), text_of(5, text));
    }
}

}  // namespace
}  // namespace glimmerly
