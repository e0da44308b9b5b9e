#include "app/lib/ui_language.h"

#include <gtest/gtest.h>

#include <windows.h>

#include "app/win/failure.h"
#include "text/language_choice.h"

namespace glimmerly {
namespace {

TEST(ApplyUiLanguage, TakesAnExplicitChoiceAndFollowsTheSystemForAutomatic) {
    apply_ui_language(5);
    EXPECT_EQ(current_language(), 5);

    apply_ui_language(LANGUAGE_AUTO);
    ULONG count = 0, size = 0;
    Language expected = LANGUAGE_ENGLISH;
    if (GetUserPreferredUILanguages(MUI_LANGUAGE_NAME, &count, nullptr, &size) && size) {
        std::wstring names(size, L'\0');
        if (GetUserPreferredUILanguages(MUI_LANGUAGE_NAME, &count, names.data(), &size) && count)
            expected = language_from_ui_tag(win::to_utf8(names.c_str()));
    }
    EXPECT_EQ(current_language(), expected);
    set_current_language(LANGUAGE_ENGLISH);
}

}  // namespace
}  // namespace glimmerly
