#include "app/session/clipboard.h"

#include <gtest/gtest.h>

#include <cstring>

#include "app/win/owners.h"
#include "tests/app/support/pictures.h"

namespace glimmerly {
namespace {

// The clipboard's block of a format as bytes; none when it holds none.
std::optional<std::vector<std::uint8_t>> clipboard_bytes(UINT format) {
    if (!OpenClipboard(nullptr)) return std::nullopt;
    std::optional<std::vector<std::uint8_t>> bytes;
    if (HANDLE block = GetClipboardData(format)) {
        if (const auto* data = static_cast<const std::uint8_t*>(GlobalLock(block))) {
            bytes.emplace(data, data + GlobalSize(block));
            GlobalUnlock(block);
        }
    }
    CloseClipboard();
    return bytes;
}

// Every case in one test: the clipboard is one for the whole prefix, and
// cases of their own could run side by side in the test's shards.
TEST(Clipboard, HoldsThePictureTheColourCodeAndTheObjectMarkerUntilSomethingElseIsCopied) {
    const win::UniqueWindow owner(CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                                  GetModuleHandleW(nullptr), nullptr));
    ASSERT_TRUE(owner);

    const BgraImage picture = testing_support::noise_picture(5, 3, 11);
    ASSERT_TRUE(put_image_on_clipboard(owner.get(), picture).ok());
    const auto dib = clipboard_bytes(CF_DIB);
    ASSERT_TRUE(dib && dib->size() >= 40 + 60);
    BITMAPINFOHEADER header;
    std::memcpy(&header, dib->data(), sizeof header);
    EXPECT_EQ(header.biWidth, 5);
    EXPECT_EQ(header.biHeight, 3);  // positive: bottom-up rows
    EXPECT_EQ(header.biBitCount, 32);
    for (std::size_t row = 0; row < 3; ++row) {
        SCOPED_TRACE(row);
        const auto shown = dib->begin() + 40 + static_cast<std::ptrdiff_t>((2 - row) * 20);
        EXPECT_TRUE(std::equal(shown, shown + 20, picture.pixels.begin() + static_cast<std::ptrdiff_t>(row * 20)));
    }
    EXPECT_EQ(put_image_on_clipboard(owner.get(), BgraImage{{}, 5, 3}).failure().code, E_INVALIDARG_CODE);

    ASSERT_TRUE(put_colour_code_on_clipboard(owner.get(), Rgb{0, 0, 10}).ok());
    const auto text = clipboard_bytes(CF_UNICODETEXT);
    ASSERT_TRUE(text && text->size() >= 16);
    EXPECT_EQ(std::u16string(reinterpret_cast<const char16_t*>(text->data())), u"#00000A");

    HeldObjects held;
    ASSERT_TRUE(copy_objects_to_clipboard(owner.get(), held, std::vector<SceneObject>(2)).ok());
    EXPECT_EQ(held.objects.size(), 2u);
    const UINT marker = RegisterClipboardFormatW(SESSION_CLIPBOARD_FORMAT);
    EXPECT_EQ(clipboard_bytes(marker), std::vector<std::uint8_t>{0x01});
    EXPECT_TRUE(clipboard_holds_session(held.clipboard_sequence));

    // Another copy, even of text, ends the held copy though the old marker's
    // format may linger.
    ASSERT_TRUE(put_colour_code_on_clipboard(owner.get(), Rgb{237, 79, 92}).ok());
    EXPECT_FALSE(clipboard_holds_session(held.clipboard_sequence));
    EXPECT_FALSE(clipboard_holds_session(0));
}

}  // namespace
}  // namespace glimmerly
