#include "ui/capture/typing_edit.h"

#include <mutex>
#include <string_view>

#include "app/render/embedded_font.h"
#include "app/win/failure.h"
#include "app/win/subclassing.h"
#include "ui/caret/text_box_painting.h"

namespace glimmerly {

namespace {

constexpr UINT_PTR kSubclassId = 1;
constexpr wchar_t kAnnotationFace[] = L"Roboto Medium";
constexpr int kAnnotationWeight = 500;
constexpr wchar_t kInterfaceFace[] = L"Segoe UI";
constexpr int kInterfaceWeight = 400;

// The annotation font is added to the process once, from the executable's
// own bytes, so that GDI fonts can name it; it stays for the life of the
// process. It counts as registered only when the call also reports a font:
// a handle for no font would leave every text box in a fallback face.
class AnnotationFontRegistration {
public:
    AnnotationFontRegistration() = default;
    AnnotationFontRegistration(const AnnotationFontRegistration&) = delete;
    AnnotationFontRegistration& operator=(const AnnotationFontRegistration&) = delete;
    ~AnnotationFontRegistration() {
        if (handle_) RemoveFontMemResourceEx(handle_);
    }

    bool registered() {
        std::call_once(once_, [this] { add(); });
        return handle_ != nullptr;
    }

private:
    void add() {
        const auto bytes = embedded_font_bytes();
        if (!bytes) return;
        DWORD fonts = 0;
        // GDI copies the bytes; the parameter is only declared writable.
        const HANDLE added = AddFontMemResourceEx(const_cast<std::uint8_t*>(bytes->data()),
                                                  static_cast<DWORD>(bytes->size()), nullptr, &fonts);
        if (added && fonts >= 1) handle_ = added;
        else if (added) RemoveFontMemResourceEx(added);
    }

    std::once_flag once_;
    HANDLE handle_ = nullptr;
};
AnnotationFontRegistration g_annotation_font;

// Messages after which the text, the selection or the focus may have moved.
bool may_change_text(UINT message) {
    switch (message) {
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
        case WM_SETTEXT:
        case WM_KEYDOWN:
        case WM_KEYUP:
        case WM_CHAR:
        case WM_IME_COMPOSITION:
        case WM_CUT:
        case WM_PASTE:
        case WM_CLEAR:
        case WM_UNDO:
        case EM_SETSEL: return true;
        default: return false;
    }
}

// Enter puts a line break of two units into a multiline control.
constexpr char16_t kLineBreak[] = u"\r\n";

}  // namespace

Result<win::UniqueFont> create_typing_font(EditFont font, double size) {
    const bool annotation = font == EditFont::Annotation;
    if (annotation && !g_annotation_font.registered())
        return Failure{E_FAIL_CODE, "Annotation font not registered"};
    const wchar_t* face = annotation ? kAnnotationFace : kInterfaceFace;
    win::UniqueFont made(CreateFontW(text_box_font_height(size), 0, 0, 0,
                                     annotation ? kAnnotationWeight : kInterfaceWeight, FALSE, FALSE, FALSE,
                                     DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY,
                                     DEFAULT_PITCH, face));
    if (!made) return win::win32_failure("CreateFontW", face);
    return made;
}

Result<std::unique_ptr<TypingEdit>> TypingEdit::create(HWND parent, const EditSetup& setup, EditHooks hooks) {
    std::unique_ptr<TypingEdit> self(new TypingEdit(std::move(hooks), setup.unit_limit));
    auto calls = win::load_subclass_calls();
    if (!calls) return std::move(calls).failure();
    self->calls_ = *calls;
    const HWND edit = CreateWindowExW(WS_EX_TRANSPARENT, L"EDIT", setup.text.c_str(), setup.style, setup.place.x,
                                      setup.place.y, setup.place.width, setup.place.height, parent, nullptr,
                                      nullptr, nullptr);
    if (!edit) return win::win32_failure("CreateWindowExW", L"EDIT");
    self->edit_.reset(edit);
    SendMessageW(edit, WM_SETREDRAW, FALSE, 0);
    if (!self->calls_.set(edit, subclass, kSubclassId, reinterpret_cast<DWORD_PTR>(self.get())))
        return win::win32_failure("SetWindowSubclass", L"EDIT");
    GLIM_TRY(self->set_font(setup.font, setup.size));
    SendMessageW(edit, EM_LIMITTEXT, setup.unit_limit, 0);
    SendMessageW(edit, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, 0);
    const int length = GetWindowTextLengthW(edit);
    SendMessageW(edit, EM_SETSEL, length, length);
    return self;
}

TypingEdit::~TypingEdit() {
    // Taken off first: the control's last messages must not reach a half
    // destroyed owner.
    if (edit_) calls_.remove(edit_.get(), subclass, kSubclassId);
}

std::u16string TypingEdit::text() const { return read_edit_text(edit_.get()); }

std::pair<std::uint32_t, std::uint32_t> TypingEdit::selection() const {
    DWORD start = 0, end = 0;
    SendMessageW(edit_.get(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return {start, end};
}

void TypingEdit::select(std::uint32_t anchor, std::uint32_t caret) const {
    SendMessageW(edit_.get(), EM_SETSEL, anchor, caret);
}

void TypingEdit::select_all() const { SendMessageW(edit_.get(), EM_SETSEL, 0, -1); }

Status TypingEdit::set_font(EditFont font, double size) {
    auto made = create_typing_font(font, size);
    if (!made) return std::move(made).failure();
    const auto [start, end] = selection();
    SendMessageW(edit_.get(), WM_SETFONT, reinterpret_cast<WPARAM>(made->get()), FALSE);
    font_ = std::move(*made);
    select(start, end);
    return ok_status();
}

Status TypingEdit::place(EditPlacement place) const {
    if (!SetWindowPos(edit_.get(), nullptr, place.x, place.y, place.width, place.height,
                      SWP_NOZORDER | SWP_NOACTIVATE))
        return win::win32_failure("SetWindowPos", L"EDIT");
    return ok_status();
}

bool TypingEdit::refuse_insertion(std::u16string_view inserted) {
    const auto [start, end] = selection();
    Status accepted = text_box_accepts_insertion(text(), start, end, inserted);
    if (accepted) return false;
    hooks_.refused(accepted.failure());
    return true;
}

bool TypingEdit::refuse_char(WPARAM character) {
    if (!hooks_.refused) return false;
    if (character == L'\r') return refuse_insertion(kLineBreak);
    // Other control characters are commands (Backspace, Ctrl+V), not text.
    if (character != L'\t' && (character < 0x20 || character == 0x7F)) return false;
    const auto unit = static_cast<char16_t>(character);
    return refuse_insertion({&unit, 1});
}

bool TypingEdit::refuse_paste() {
    if (!hooks_.refused || !IsClipboardFormatAvailable(CF_UNICODETEXT) || !OpenClipboard(edit_.get()))
        return false;
    std::u16string pasted;
    if (const HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* units = static_cast<const char16_t*>(GlobalLock(data))) {
            // The text ends at its NUL, and never past the memory that holds it.
            const std::u16string_view held(units, GlobalSize(data) / sizeof(char16_t));
            pasted = held.substr(0, held.find(u'\0'));
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return refuse_insertion(pasted);
}

LRESULT CALLBACK TypingEdit::subclass(HWND edit, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR,
                                      DWORD_PTR data) noexcept {
    auto* self = reinterpret_cast<TypingEdit*>(data);
    try {
        switch (message) {
            case WM_PAINT: ValidateRect(edit, nullptr); return 0;
            case WM_ERASEBKGND: return 1;
            case WM_NCHITTEST: return HTTRANSPARENT;
            case WM_NCDESTROY:
                // The editor window went first and took its children along.
                self->calls_.remove(edit, subclass, kSubclassId);
                (void)self->edit_.release();
                return self->calls_.call_next(edit, message, wparam, lparam);
            case WM_CHAR:
                if (self->refuse_char(wparam)) return 0;
                break;
            case WM_PASTE:
                if (self->refuse_paste()) return 0;
                break;
            default: break;
        }
        const LRESULT result = self->calls_.call_next(edit, message, wparam, lparam);
        if (message == WM_SETFOCUS) HideCaret(edit);
        if (may_change_text(message) && self->hooks_.changed) self->hooks_.changed();
        return result;
    } catch (...) {
        return self->calls_.call_next(edit, message, wparam, lparam);  // nothing crosses a window procedure
    }
}

}  // namespace glimmerly
