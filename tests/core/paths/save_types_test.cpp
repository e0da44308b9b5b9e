#include "core/paths/save_types.h"

#include <gtest/gtest.h>

namespace glimmerly {
namespace {

std::string trace(std::u16string_view name) { return std::string(name.begin(), name.end()); }

TEST(SaveNameChange, SwapsOnlyAnotherTypesExtensionAndRenumbersDefaultNames) {
    using enum SaveNameAction;
    struct Row { const char16_t* name; std::uint32_t type; bool names_folder; SaveNameChange change; };
    const Row rows[] = {
        {u"report.png", SAVE_TYPE_DOCUMENT, false, {Rename, u"report.vexil"}},
        {u"report.JPEG", SAVE_TYPE_JPEG, false, {Keep, {}}},
        {u"report.vexil", SAVE_TYPE_DOCUMENT, false, {Keep, {}}},
        {u"report", SAVE_TYPE_JPEG, false, {Keep, {}}},  // the dialog adds the default extension
        {u"report.txt", SAVE_TYPE_PNG, false, {Keep, {}}},
        {u"", SAVE_TYPE_PNG, false, {Renumber, {}}},
        {u"Pictures", SAVE_TYPE_PNG, true, {Renumber, {}}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(trace(row.name) + " as type " + std::to_string(row.type));
        const SaveNameChange change = save_name_change(row.name, row.type, row.names_folder);
        EXPECT_EQ(change.action, row.change.action);
        EXPECT_EQ(change.name, row.change.name);
    }
}

TEST(ChosenImageFormat, ThePathsExtensionWinsOverTheType) {
    struct Row { const char16_t* path; std::uint32_t type; std::optional<ImageFormat> format; };
    const Row rows[] = {
        {u"C:\\a\\x.png", SAVE_TYPE_JPEG, ImageFormat::Png},
        {u"C:\\a\\x", SAVE_TYPE_JPEG, ImageFormat::Jpeg},
        {u"C:\\a\\x.VEXIL", SAVE_TYPE_PNG, std::nullopt},
        {u"C:\\a\\x.bmp", 7, ImageFormat::Png},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(trace(row.path) + " as type " + std::to_string(row.type));
        EXPECT_EQ(chosen_image_format(row.path, row.type), row.format);
    }
}

}  // namespace
}  // namespace glimmerly
