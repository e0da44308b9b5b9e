// Interface and annotation text: formats and measurement.

#include "app/render/text_formats.h"

#include <gtest/gtest.h>

#include <thread>

#include "tests/app/render/render_support.h"

namespace glimmerly {
namespace {

class TextFormats : public testing::RenderTest {};

TEST_F(TextFormats, MeasuringWithoutWrapLeavesTheSharedFormatWrappingForLaterUses) {
    auto format = ui_text_format(*resources_, 16.0f, LANGUAGE_ENGLISH);
    ASSERT_TRUE(format) << format.failure().message;
    const std::string text = "several words that need more than one line";
    auto unwrapped = measure_text(*resources_, text, format->get(), false, 0);
    auto wrapped = measure_text(*resources_, text, format->get(), true, 80);
    ASSERT_TRUE(unwrapped) << unwrapped.failure().message;
    ASSERT_TRUE(wrapped) << wrapped.failure().message;
    EXPECT_GT(wrapped->h, 2 * unwrapped->h);
    EXPECT_LE(wrapped->w, 80);

    // The cache hands out the same format, still wrapping.
    auto again = ui_text_format(*resources_, 16.0f, LANGUAGE_ENGLISH);
    ASSERT_TRUE(again);
    EXPECT_EQ(again->get(), format->get());
    EXPECT_EQ((*again)->GetWordWrapping(), DWRITE_WORD_WRAPPING_WRAP);
}

TEST_F(TextFormats, OnlyUnwrappedMeasurementCountsTrailingSpaces) {
    auto format = ui_text_format(*resources_, 16.0f, LANGUAGE_ENGLISH);
    ASSERT_TRUE(format);
    const auto width = [&](std::string_view text, bool wrap) {
        return measure_text(*resources_, text, format->get(), wrap, 500).value_or({}).w;
    };
    EXPECT_GT(width("ab    ", false), width("ab", false));
    EXPECT_NEAR(width("ab    ", true), width("ab", true), 0.01);
}

TEST_F(TextFormats, AnnotationTextIsTheEmbeddedRobotoMediumOnEveryThread) {
    auto format = annotation_text_format(resources_->dwrite_factory.get(), 24.0f);
    ASSERT_TRUE(format) << format.failure().message;
    win::ComPtr<IDWriteFontCollection> collection;
    ASSERT_EQ((*format)->GetFontCollection(collection.put()), S_OK);
    UINT32 index = 0;
    BOOL exists = FALSE;
    ASSERT_EQ(collection->FindFamilyName(L"Roboto", &index, &exists), S_OK);
    ASSERT_TRUE(exists);
    win::ComPtr<IDWriteFontFamily> family;
    win::ComPtr<IDWriteFont> font;
    ASSERT_EQ(collection->GetFontFamily(index, family.put()), S_OK);
    ASSERT_EQ(family->GetFirstMatchingFont(DWRITE_FONT_WEIGHT_MEDIUM, DWRITE_FONT_STRETCH_NORMAL,
                                           DWRITE_FONT_STYLE_NORMAL, font.put()),
              S_OK);
    EXPECT_EQ(font->GetWeight(), DWRITE_FONT_WEIGHT_MEDIUM);

    // Another thread builds its own collection and lays out alike.
    auto here = measure_annotation_line(*resources_, "Glimmerly 42", 24.0f);
    Result<Size> there = Failure{};
    std::thread([&] { there = measure_annotation_line(*resources_, "Glimmerly 42", 24.0f); }).join();
    ASSERT_TRUE(here && there) << (here ? there.failure().message : here.failure().message);
    EXPECT_EQ(here->w, there->w);
    EXPECT_GT(here->w, 0);
}

}  // namespace
}  // namespace glimmerly
