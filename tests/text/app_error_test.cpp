#include "text/app_error.h"

#include <gtest/gtest.h>

namespace glimmerly {
namespace {

using Args = std::vector<std::pair<std::string, std::string>>;

TEST(AppError, BareKeyRoundTrips) {
    const Failure error = make_app_error(TextId::error_settings_busy);
    EXPECT_EQ(error.code, APP_ERROR_CODE);
    EXPECT_EQ(static_cast<std::uint32_t>(error.code), 0xA0530001u);
    EXPECT_EQ(error.message, "error.settings_busy");
    const auto parsed = parse_app_error(error);
    ASSERT_TRUE(parsed.has_value());
    EXPECT_EQ(parsed->text, TextId::error_settings_busy);
    EXPECT_TRUE(parsed->args.empty());
}

TEST(AppError, ArgumentsAreLaidOutAndReadBackInOrder) {
    const Failure error = make_app_error(TextId::error_document_unread, {{"path", "C:\\a.vexil"}, {"detail", "D"}});
    EXPECT_EQ(error.message, std::string("error.document_unread\x1Fpath\x1E" "C:\\a.vexil\x1F" "detail\x1E" "D"));
    const auto parsed = parse_app_error(error);
    ASSERT_TRUE(parsed.has_value());
    EXPECT_EQ(parsed->args, (Args{{"path", "C:\\a.vexil"}, {"detail", "D"}}));
    EXPECT_EQ(localize_error(error, 0, "unused"), "Could not open C:\\a.vexil: D");
}

TEST(AppError, SeparatorBytesInsideValuesCannotForgeArguments) {
    // A nested application error given as the detail of another one.
    const Failure inner = make_app_error(TextId::error_document_unread, {{"path", "p"}, {"detail", "d"}});
    const Failure outer = make_app_error(TextId::error_settings_unsaved, {{"detail", inner.message}, {"na\x1Eme", "v"}});
    const auto parsed = parse_app_error(outer);
    ASSERT_TRUE(parsed.has_value());
    ASSERT_EQ(parsed->args.size(), 2u);
    EXPECT_EQ(parsed->args[0].first, "detail");
    EXPECT_EQ(parsed->args[0].second,
              "error.document_unread\xEF\xBF\xBDpath\xEF\xBF\xBDp\xEF\xBF\xBD" "detail\xEF\xBF\xBD" "d");
    EXPECT_EQ(parsed->args[1].first, "na\xEF\xBF\xBDme");
}

TEST(AppError, ReaderSplitsPiecesAsWritten) {
    struct Row { const char* name; std::string message; Args args; };
    const Row rows[] = {
        {"piece without value separator", "error.settings_busy\x1Fname", {{"name", ""}}},
        {"trailing separator", "error.settings_busy\x1Fx\x1E" "1\x1F", {{"x", "1"}, {"", ""}}},
        {"second value separator belongs to the value", "error.settings_busy\x1Fx\x1E" "a\x1E" "b", {{"x", "a\x1E" "b"}}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const auto parsed = parse_app_error(Failure{APP_ERROR_CODE, row.message});
        ASSERT_TRUE(parsed.has_value());
        EXPECT_EQ(parsed->args, row.args);
    }
}

TEST(AppError, ForeignErrorsAreNotApplicationErrors) {
    EXPECT_FALSE(parse_app_error(Failure{APP_ERROR_CODE, "error.not_a_key"}).has_value());
    EXPECT_FALSE(parse_app_error(Failure{APP_ERROR_CODE, ""}).has_value());
    EXPECT_FALSE(parse_app_error(Failure{E_FAIL_CODE, "error.settings_busy"}).has_value());
    EXPECT_FALSE(parse_app_error(Failure{APP_ERROR_CODE, "ERROR.SETTINGS_BUSY"}).has_value());
}

TEST(LocalizeError, ForeignErrorsBecomeSomethingWentWrongWithTheFallback) {
    EXPECT_EQ(localize_error(Failure{APP_ERROR_CODE, "error.unknown_key"}, 0, "fallback text"),
              "Something went wrong.\nfallback text");
    EXPECT_EQ(localize_error(plain_failure("disk"), 0, "disk"), "Something went wrong.\ndisk");
}

TEST(ErrorToText, ShowsForeignMessagesAsTheyAre) {
    set_current_language(5);
    EXPECT_EQ(error_to_text(error_from_io(std::string("The disk is full.")), 5), "The disk is full.");
    set_current_language(0);
    EXPECT_EQ(error_to_text(Failure{E_INVALIDARG_CODE, ""}, 0), "0x80070057");
    EXPECT_EQ(error_to_text(Failure{E_INVALIDARG_CODE, ""}, 0, [](std::int32_t) { return std::string("Bad arg"); }),
              "Bad arg");
    EXPECT_EQ(error_to_text(make_app_error(TextId::error_settings_busy), 0), "Settings are busy. Please try again.");
}

TEST(ErrorToText, ApplicationErrorsFollowTheLanguageAtShowTime) {
    const Failure error = make_app_error(TextId::error_settings_busy);
    EXPECT_EQ(error_to_text(error, 0), "Settings are busy. Please try again.");
    EXPECT_EQ(error_to_text(error, 5), std::string(text_of(5, TextId::error_settings_busy)));
}

TEST(ErrorBuilders, IoDocumentAndSettings) {
    const Failure io = error_from_io(std::make_error_code(std::errc::no_such_file_or_directory));
    EXPECT_EQ(io.code, E_FAIL_CODE);
    EXPECT_FALSE(io.message.empty());

    set_current_language(5);
    const Failure newer = document_read_error(DocumentReadErrorKind::Newer);
    set_current_language(0);
    EXPECT_EQ(newer.code, E_FAIL_CODE);
    EXPECT_EQ(newer.message, text_of(5, TextId::document_newer));
    EXPECT_FALSE(parse_app_error(newer).has_value());
    EXPECT_EQ(document_read_error(DocumentReadErrorKind::Damaged).message,
              "This editable image is damaged and cannot be opened for editing.");

    const Failure unsaved = settings_unsaved_error("Access is denied.");
    EXPECT_EQ(error_to_text(unsaved, 0), "Could not save settings: Access is denied.");
}

}  // namespace
}  // namespace glimmerly
