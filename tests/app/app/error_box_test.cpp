#include "app/app/error_box.h"

#include <gtest/gtest.h>

#include "app/win/failure.h"
#include "tests/app/support/dialogs.h"
#include "text/app_error.h"

namespace glimmerly {
namespace {

testing_support::AnsweredBox show_and_read(const Failure& error) {
    return testing_support::answer_message_box([&] { show_error_box(nullptr, error); });
}

TEST(ErrorBox, ShowsTheLocalisedTextTitledGlimmerlyWithTheInformationIcon) {
    const auto shown = show_and_read(make_app_error(TextId::error_settings_busy));
    EXPECT_EQ(shown.title, L"Glimmerly");
    EXPECT_EQ(shown.text, L"Settings are busy. Please try again.");
    EXPECT_EQ(shown.icon, LoadIconW(nullptr, IDI_INFORMATION));
}

TEST(ErrorBox, AMessageBoxShowsItsTextTheSameWay) {
    const auto shown = testing_support::answer_message_box([] { show_message_box(nullptr, L"Select a capture region first"); });
    EXPECT_EQ(shown.title, L"Glimmerly");
    EXPECT_EQ(shown.text, L"Select a capture region first");
    EXPECT_EQ(shown.icon, LoadIconW(nullptr, IDI_INFORMATION));
}

TEST(ErrorBox, ShowsForeignErrorsAsTheirOwnMessage) {
    EXPECT_EQ(show_and_read(plain_failure("Disk full")).text, L"Disk full");
    // Without a message the system's words for the code stand in.
    EXPECT_EQ(error_box_text(Failure{static_cast<std::int32_t>(0x80070005u), ""}),
              win::to_wide(win::system_message(static_cast<std::int32_t>(0x80070005u))));
}

}  // namespace
}  // namespace glimmerly
