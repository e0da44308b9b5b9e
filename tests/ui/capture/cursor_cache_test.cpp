#include "ui/capture/cursor_cache.h"

#include <gtest/gtest.h>

#include <set>

namespace glimmerly {
namespace {

TEST(CursorCache, MakesEachDrawnCursorOnceForItsKindAndSizeWithItsHotSpot) {
    const struct {
        CursorId id;
        std::uint32_t size;
        std::pair<DWORD, DWORD> hot;
    } rows[] = {{CursorId::CrosshairBlack, 32, {16, 16}},
                {CursorId::CrosshairBlack, 16, {8, 8}},
                {CursorId::CrosshairWhite, 32, {16, 16}},
                {CursorId::TextInsertion, 32, {11, 16}}};  // on its stem
    CursorCache cache;
    std::set<HCURSOR> made;
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << int(row.id) << " at " << row.size);
        const HCURSOR cursor = cache.cursor(row.id, row.size).value();
        EXPECT_EQ(cache.cursor(row.id, row.size).value(), cursor) << "made once";
        EXPECT_TRUE(made.insert(cursor).second) << "a cursor of its own";
        ICONINFO info{};
        ASSERT_TRUE(GetIconInfo(cursor, &info));
        const win::UniqueBitmap colour(info.hbmColor), mask(info.hbmMask);
        EXPECT_EQ(std::make_pair(info.xHotspot, info.yHotspot), row.hot);
    }
    EXPECT_EQ(cache.cursor(CursorId::Arrow, 32).value(), LoadCursorW(nullptr, IDC_ARROW)) << "the system's own";
    EXPECT_FALSE(cache.cursor(CursorId::CrosshairBlack, kMaxCursorSize + 1));
}

}  // namespace
}  // namespace glimmerly
