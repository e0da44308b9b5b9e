#include "core/editor/cursor_choice.h"

#include "tests/core/support/input.h"
#include "tests/core/support/objects.h"

#include <gtest/gtest.h>

#include <array>
#include <functional>

namespace glimmerly {
namespace {

using namespace glimmerly::testing;

TEST(CursorChoice, TheCursorTellsWhatAPressThereWouldDo) {
    using C = CursorId;
    using Setup = std::function<void(EditorState&, FakeTyping&)>;
    const struct { const char* name; Tool tool; Point at; Setup setup; CursorId cursor; } rows[] = {
        {"select over an object", Tool::Select, {300, 350}, nullptr, C::SizeAll},
        {"a drawing tool over a light frame", Tool::Rectangle, {200, 200}, nullptr, C::CrosshairBlack},
        {"a drawing tool over a dark frame", Tool::Rectangle, {200, 200},
         [](EditorState& s, FakeTyping&) { s.frozen_frame.pixels.assign(64, 0); }, C::CrosshairWhite},
        {"the text tool", Tool::Text, {200, 200}, nullptr, C::TextInsertion},
        {"over the open text box's text", Tool::Rectangle, {200, 160},
         [](EditorState&, FakeTyping& t) { t.open = true; }, C::IBeam},
        {"a corner handle of the region", Tool::Select, {700, 100}, nullptr, C::SizeNesw},
        {"while the region is chosen", Tool::Select, {300, 350},
         [](EditorState& s, FakeTyping&) { s.selecting = true, s.capture_selection.reset(); }, C::CrosshairBlack},
        {"the size panel", Tool::Select, {650, 80}, nullptr, C::IBeam},
        {"the toolbar", Tool::Select, {725, 300}, nullptr, C::Arrow},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EditorState s = canvas(row.tool, {rectangle(1, {300, 300, 400, 400})});
        s.frozen_frame = {std::vector<std::uint8_t>(64, 255), 4, 4};
        FakeTyping typing;
        if (row.setup) row.setup(s, typing);
        EXPECT_EQ(choose_capture_cursor(s, typing, row.at), row.cursor);
    }
}

TEST(CursorPictures, BarsKeepAPixelAndTheTextCursorARimOfOneDesignUnit) {
    const struct { const char* name; CursorImageKind kind; std::uint32_t size, hot_x, hot_y, black, white; } rows[] = {
        {"crosshair at the design size: 24 x 2 bars", CursorImageKind::CrosshairBlack, 32, 16, 16, 92, 0},
        {"text at 32: a rim of 1", CursorImageKind::TextInsertion, 32, 11, 16, 45, 102},
        {"text at 48: a rim of 2", CursorImageKind::TextInsertion, 48, 17, 24, 90, 320},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const CursorPicture p = cursor_picture(row.kind, row.size);
        std::uint32_t black = 0, white = 0;  // opaque pixels of each shade
        for (std::size_t i = 0; i < p.bgra.size(); i += 4) (p.bgra[i] ? white : black) += p.bgra[i + 3] == 255;
        EXPECT_EQ(p.bgra.size(), row.size * row.size * 4);
        EXPECT_EQ((std::array{p.hot_x, p.hot_y, black, white}),
                  (std::array{row.hot_x, row.hot_y, row.black, row.white}));
    }
    EXPECT_TRUE(cursor_picture(CursorImageKind::CrosshairBlack, kMaxCursorSize + 1).bgra.empty());
}

}  // namespace
}  // namespace glimmerly
