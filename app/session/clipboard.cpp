#include "app/session/clipboard.h"

#include <cstring>
#include <string>

#include "app/win/failure.h"
#include "app/win/owners.h"
#include "core/editor/colour_picker.h"
#include "core/image/dib.h"

namespace glimmerly {
namespace {

// A movable global block until the clipboard takes it over.
struct GlobalBlockTraits : win::NullInvalidTraits<HGLOBAL> {
    static void close(Type h) noexcept { GlobalFree(h); }
};
using GlobalBlock = win::UniqueResource<GlobalBlockTraits>;

// Closes the clipboard when this call opened it.
class OpenedClipboard {
public:
    explicit OpenedClipboard(HWND owner) noexcept : opened_(OpenClipboard(owner) != FALSE) {}
    OpenedClipboard(const OpenedClipboard&) = delete;
    OpenedClipboard& operator=(const OpenedClipboard&) = delete;
    ~OpenedClipboard() {
        if (opened_) CloseClipboard();
    }
    bool opened() const noexcept { return opened_; }

private:
    bool opened_;
};

// A block of `size` bytes filled by `fill` while it is locked.
template <class Fill>
Result<GlobalBlock> make_block(std::size_t size, Fill&& fill) {
    GlobalBlock block(GlobalAlloc(GMEM_MOVEABLE, size));
    if (!block) return win::win32_failure("GlobalAlloc");
    void* bytes = GlobalLock(block.get());
    if (!bytes) return win::win32_failure("GlobalLock");
    fill(static_cast<std::uint8_t*>(bytes));
    GlobalUnlock(block.get());
    return block;
}

// Hands the block to the clipboard; the clipboard's sequence number after.
Result<std::uint32_t> hand_over(HWND owner, UINT format, GlobalBlock block) {
    const OpenedClipboard clipboard(owner);
    if (!clipboard.opened()) return win::win32_failure("OpenClipboard");
    if (!EmptyClipboard()) return win::win32_failure("EmptyClipboard");
    if (!SetClipboardData(format, block.get())) return win::win32_failure("SetClipboardData");
    (void)block.release();  // the system's now
    return static_cast<std::uint32_t>(GetClipboardSequenceNumber());
}

}  // namespace

Result<std::uint32_t> put_on_clipboard(HWND owner, UINT format, std::span<const std::uint8_t> bytes) {
    auto block = make_block(bytes.size(), [&](std::uint8_t* out) { std::memcpy(out, bytes.data(), bytes.size()); });
    if (!block) return std::move(block).failure();
    return hand_over(owner, format, std::move(*block));
}

Status put_image_on_clipboard(HWND owner, const BgraImage& picture) {
    const std::optional<std::size_t> size = dib_size(picture);
    if (!size) return invalid_input("Invalid BGRA image dimensions or buffer length");
    // Written straight into the clipboard's block: a 4K picture is 33 MB, and
    // a second copy of it would double the cost of every copy.
    auto block = make_block(*size, [&](std::uint8_t* out) { write_dib(picture, std::span(out, *size)); });
    if (!block) return std::move(block).failure();
    GLIM_TRY(hand_over(owner, CF_DIB, std::move(*block)));
    return ok_status();
}

Status put_colour_code_on_clipboard(HWND owner, Rgb colour) {
    const std::string code = colour_code(colour);
    if (code.find('\0') != std::string::npos) return invalid_input("Clipboard text contains a null character");
    std::u16string text(code.begin(), code.end());  // ASCII
    text += u'\0';
    GLIM_TRY(put_on_clipboard(owner, CF_UNICODETEXT,
                              std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size() * 2)));
    return ok_status();
}

bool clipboard_holds_session(std::uint32_t sequence) {
    if (sequence == 0 || GetClipboardSequenceNumber() != sequence) return false;
    const UINT format = RegisterClipboardFormatW(SESSION_CLIPBOARD_FORMAT);
    return format != 0 && IsClipboardFormatAvailable(format);
}

Status copy_objects_to_clipboard(HWND owner, HeldObjects& held, std::vector<SceneObject> copied) {
    const UINT format = RegisterClipboardFormatW(SESSION_CLIPBOARD_FORMAT);
    if (format == 0) return win::win32_failure("RegisterClipboardFormatW");
    const std::uint8_t marker = 0x01;
    auto sequence = put_on_clipboard(owner, format, std::span(&marker, 1));
    if (!sequence) return std::move(sequence).failure();
    hold_copied_objects(held, std::move(copied), *sequence);
    return ok_status();
}

}  // namespace glimmerly
