// The whole road of a capture with the real program: the shortcut, the
// frozen screen in the prepared child, a region and a drawing made with the
// mouse and the keyboard as a person makes them (SendInput, so that the
// program reads real key states), and each way out: the clipboard, a file
// named in the Save dialog, or Escape; then the notice in the resident and
// the next prepared child.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <string_view>
#include <vector>

#include "app/app/document.h"
#include "app/app/notice.h"
#include "app/image/image_decoder.h"
#include "app/lib/settings_store.h"
#include "app/win/com.h"
#include "app/win/paths.h"
#include "tests/app/support/child_process.h"
#include "tests/app/support/clipboard.h"
#include "tests/app/support/injected_input.h"
#include "tests/app/support/resident.h"
#include "tests/app/support/temp_folder.h"

namespace glimmerly {
namespace {

using namespace testing_support;
using Pixel = std::array<std::uint8_t, 3>;  // blue, green, red

// Screen pixels, which are the frame's: the virtual screen starts at 0, 0 here.
constexpr RECT kRegion{300, 200, 700, 500};
constexpr RECT kShape{360, 260, 560, 420};
constexpr POINT kTextAt{340, 240};
constexpr Pixel kBlue{244, 153, 80};  // the palette's fourth colour, key 4
constexpr int kNameBox = 1152;        // the Save dialog's file name box (edt1)
constexpr wchar_t kCopied[] = L"Screenshot copied to clipboard.";
// The capture shortcut of the fixture's settings.
constexpr std::initializer_list<WORD> kCaptureShortcut = {VK_CONTROL, VK_MENU, VK_SHIFT, VK_F19};

// Every pixel of the screen has a colour of its own, so a picture shifted
// by one pixel shows; red stays at 0x80 and above, never the tool's colour.
Pixel pattern_at(LONG x, LONG y) {
    return {static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y),
            static_cast<std::uint8_t>(0x80 | (x >> 8 & 7) << 3 | (y >> 8 & 7))};
}

Pixel pixel_of(const BgraImage& picture, LONG x, LONG y) {
    const std::uint8_t* p = &picture.pixels[(static_cast<std::size_t>(y) * picture.width + x) * 4];
    return {p[0], p[1], p[2]};
}

Pixel screen_pixel(POINT at) {
    const COLORREF shown = GetPixel(win::WindowDc::of(nullptr).get(), at.x, at.y);
    return {GetBValue(shown), GetGValue(shown), GetRValue(shown)};
}

// The pattern over the whole screen, under the capture.
class PatternWindow {
public:
    PatternWindow() {
        width_ = GetSystemMetrics(SM_CXSCREEN);
        height_ = GetSystemMetrics(SM_CYSCREEN);
        for (LONG y = 0; y < height_; ++y)
            for (LONG x = 0; x < width_; ++x) {
                const Pixel p = pattern_at(x, y);
                pixels_.push_back(p[0] | p[1] << 8 | p[2] << 16);
            }
        WNDCLASSW window_class{.lpfnWndProc = proc, .lpszClassName = L"Glimmerly.Tests.ScreenPattern"};
        RegisterClassW(&window_class);
        window_.reset(CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, window_class.lpszClassName, L"", WS_POPUP, 0,
                                      0, width_, height_, nullptr, nullptr, nullptr, nullptr));
        SetWindowLongPtrW(window_.get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        ShowWindow(window_.get(), SW_SHOWNOACTIVATE);
        UpdateWindow(window_.get());
    }

private:
    static LRESULT CALLBACK proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) noexcept {
        auto* self = reinterpret_cast<PatternWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        if (message == WM_ERASEBKGND) return 1;
        if (message != WM_PAINT || !self) return DefWindowProcW(window, message, wparam, lparam);
        win::PaintDc paint(window);
        BITMAPINFO info{.bmiHeader = {.biSize = sizeof(BITMAPINFOHEADER), .biWidth = self->width_,
                                      .biHeight = -self->height_, .biPlanes = 1, .biBitCount = 32}};
        SetDIBitsToDevice(paint.get(), 0, 0, self->width_, self->height_, 0, 0, 0, self->height_,
                          self->pixels_.data(), &info, DIB_RGB_COLORS);
        return 0;
    }

    LONG width_ = 0, height_ = 0;
    std::vector<std::uint32_t> pixels_;
    win::UniqueWindow window_;
};

// The keys down in order, then up the other way round.
void press(std::initializer_list<WORD> chord) {
    std::vector<INPUT> inputs;
    for (const WORD key : chord) inputs.push_back(key_input(key, false));
    for (auto key = std::rbegin(chord); key != std::rend(chord); ++key) inputs.push_back(key_input(*key, true));
    send(std::move(inputs));
}

void type(std::wstring_view text) {
    std::vector<INPUT> inputs;
    for (const wchar_t c : text) inputs.insert(inputs.end(), {key_input(0, false, c), key_input(0, true, c)});
    send(std::move(inputs));
}

void drag(POINT from, POINT to) {
    const POINT middle{(from.x + to.x) / 2, (from.y + to.y) / 2};
    send({mouse_input(from, 0), mouse_input(from, MOUSEEVENTF_LEFTDOWN), mouse_input(middle, 0),
          mouse_input(to, 0), mouse_input(to, MOUSEEVENTF_LEFTUP)});
}

// The distance of a region pixel from the rectangle's outline, in pixels.
LONG outline_distance(LONG x, LONG y) {
    const LONG dx = std::max({kShape.left - x, x - kShape.right, LONG{0}});
    const LONG dy = std::max({kShape.top - y, y - kShape.bottom, LONG{0}});
    if (dx || dy) return std::max(dx, dy);
    return std::min({x - kShape.left, kShape.right - x, y - kShape.top, kShape.bottom - y});
}

enum class Drawing { Rectangle, Text };

// The region's pixels where nothing was drawn; the rectangle's outline in
// the tool's colour, or ink near the text's place and nowhere else.
void expect_region_with(const BgraImage& picture, Drawing drawing) {
    ASSERT_EQ(picture.width, static_cast<std::uint32_t>(kRegion.right - kRegion.left));
    ASSERT_EQ(picture.height, static_cast<std::uint32_t>(kRegion.bottom - kRegion.top));
    const RECT text_room{kTextAt.x - 4, kTextAt.y - 4, kTextAt.x + 120, kTextAt.y + 48};
    int stray = 0, ink = 0, outline_missing = 0;
    for (LONG y = kRegion.top; y < kRegion.bottom; ++y)
        for (LONG x = kRegion.left; x < kRegion.right; ++x) {
            const Pixel shown = pixel_of(picture, x - kRegion.left, y - kRegion.top);
            const bool drawn_near = drawing == Drawing::Rectangle ? outline_distance(x, y) <= 3
                                                                  : PtInRect(&text_room, POINT{x, y});
            if (!drawn_near && shown != pattern_at(x, y)) ++stray;
            if (drawing == Drawing::Text && drawn_near && shown == kBlue) ++ink;
            if (drawing == Drawing::Rectangle && outline_distance(x, y) == 0 && shown != kBlue) ++outline_missing;
        }
    EXPECT_EQ(stray, 0) << "pixels changed away from the drawing";
    EXPECT_EQ(outline_missing, 0) << "outline pixels not in the tool's colour";
    EXPECT_TRUE(drawing == Drawing::Rectangle || ink > 20) << ink << " pixels of ink";
}

std::wstring title_of(HWND window) {
    wchar_t text[256] = {};
    GetWindowTextW(window, text, 256);
    return text;
}

// A saved file: the region's picture (only its size for a JPEG), and an
// editable document's one rectangle where it was drawn, `width` wide, over
// the frame it was drawn on.
void expect_file(const std::wstring& file, Drawing drawing, double width) {
    auto picture = load_image_file(file);
    ASSERT_TRUE(picture.ok()) << picture.failure().message;
    if (file.ends_with(L".jpg"))
        EXPECT_TRUE(picture->width == kRegion.right - kRegion.left && picture->height == kRegion.bottom - kRegion.top);
    else
        expect_region_with(*picture, drawing);
    if (!file.ends_with(L".vexil")) return;
    auto document = load_vexil_document(file);
    ASSERT_TRUE(document.ok()) << document.failure().message;
    const Scene& scene = document->scene;
    ASSERT_EQ(scene.objects.size(), 1u);
    const SceneObject& shape = scene.objects[0];
    const Box* rect = object_rect(shape);
    ASSERT_TRUE(rect && shape.kind() == ObjectKind::Rectangle);
    const double x = scene.origin.x, y = scene.origin.y;
    EXPECT_EQ((Box{rect->left + x, rect->top + y, rect->right + x, rect->bottom + y}),
              (Box{kShape.left, kShape.top, kShape.right, kShape.bottom}));
    EXPECT_EQ(shape.color, (Rgb{kBlue[2], kBlue[1], kBlue[0]}));
    EXPECT_EQ(shape.width, width);
    EXPECT_EQ(pixel_of(document->frame, kShape.left - 10 - scene.origin.x, kShape.top - scene.origin.y),
              pattern_at(kShape.left - 10, kShape.top));
}

class CaptureRoad : public ResidentTest {
protected:
    // Selects the region and draws in it, waiting for the screen to show
    // each step before the next; the wheel first changes the tool's size.
    void select_and_draw(Drawing drawing, int wheel_notches) {
        drag({kRegion.left, kRegion.top}, {kRegion.right, kRegion.bottom});
        const POINT inside{kRegion.left + 20, kRegion.top + 20}, outside{kRegion.left - 20, kRegion.top + 20};
        ASSERT_TRUE(eventually([&] {  // the region bright, the rest shaded
            const Pixel dim = screen_pixel(outside), under = pattern_at(outside.x, outside.y);
            return screen_pixel(inside) == pattern_at(inside.x, inside.y) &&
                   std::abs(dim[0] - under[0] * 0.52) < 2 && std::abs(dim[2] - under[2] * 0.52) < 2;
        }));
        press({drawing == Drawing::Rectangle ? WORD{'R'} : WORD{'T'}});
        press({'4'});
        if (wheel_notches)
            send({mouse_input(inside, MOUSEEVENTF_WHEEL, static_cast<DWORD>(wheel_notches * WHEEL_DELTA))});
        if (drawing == Drawing::Rectangle) {
            drag({kShape.left, kShape.top}, {kShape.right, kShape.bottom});
            const POINT edge{kShape.left, (kShape.top + kShape.bottom) / 2};
            ASSERT_TRUE(eventually([&] { return screen_pixel(edge) == kBlue; }));
        } else {
            send({mouse_input(kTextAt, MOUSEEVENTF_LEFTDOWN), mouse_input(kTextAt, MOUSEEVENTF_LEFTUP)});
            type(L"Hi!");
            press({VK_CONTROL, VK_RETURN});
        }
    }
    // Types the name into the Save dialog, after choosing the file type
    // with `type_key` in the type box when one is given.
    void answer_save_dialog(DWORD process, WORD type_key, const wchar_t* name) {
        HWND dialog = nullptr;
        ASSERT_TRUE(eventually([&] { return IsWindowVisible(dialog = window_of(process, L"#32770")); }));
        GUITHREADINFO focus{.cbSize = sizeof focus};
        ASSERT_TRUE(eventually([&] {  // the keys go where its focus is: the name box first
            return GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &focus) &&
                   GetDlgCtrlID(focus.hwndFocus) == kNameBox;
        }));
        if (type_key) {
            press({VK_TAB});
            press({type_key});
            press({VK_SHIFT, VK_TAB});
        }
        press({VK_CONTROL, 'A'});  // the proposed name goes
        type(name);
        press({VK_RETURN});
    }

    win::ComApartment com_;
    TempFolder saves_;
};

TEST_F(CaptureRoad, ARegionAndADrawingMadeWithMouseAndKeysReachTheClipboardOrAFileAndThePreparedChildFollows) {
    write_settings(false, saves_.path());
    sweeper_.leave_alone(L"Save");  // Wine's title of the Save dialog
    PatternWindow pattern;
    const struct {
        const char* name;
        Drawing drawing;
        int wheel_notches;                 // before drawing
        std::initializer_list<WORD> keys;  // the way out
        WORD type_key;                     // chooses the Save dialog's file type; 0 keeps it
        const wchar_t* typed;              // into the Save dialog's name box
        const wchar_t* file;               // what that saves; null: no dialog
        const wchar_t* notice;             // null: none
    } rows[] = {
        {"copy", Drawing::Rectangle, 2, {VK_CONTROL, VK_SHIFT, 'C'}, 0, nullptr, nullptr, kCopied},
        {"escape", Drawing::Rectangle, 0, {VK_ESCAPE}, 0, nullptr, nullptr, nullptr},
        {"save png", Drawing::Rectangle, 0, {VK_CONTROL, 'S'}, 0, L"road.png", L"road.png", L"Image saved."},
        {"save as document", Drawing::Rectangle, 0, {VK_CONTROL, VK_SHIFT, 'S'}, VK_END, L"road", L"road.vexil",
         L"Editable image saved, screen included."},
        {"save jpeg", Drawing::Rectangle, 0, {VK_CONTROL, 'S'}, VK_DOWN, L"road", L"road.jpg", L"Image saved."},
        {"text", Drawing::Text, 0, {VK_CONTROL, VK_SHIFT, 'C'}, 0, nullptr, nullptr, kCopied},
    };
    Process child = wait_for_child();
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const DWORD clipboard_before = GetClipboardSequenceNumber();
        press(kCaptureShortcut);
        wait_for_capture(child);  // which has the keyboard focus from here on
        select_and_draw(row.drawing, row.wheel_notches);
        press(row.keys);
        if (row.file) answer_save_dialog(child.id, row.type_key, row.typed);
        EXPECT_EQ(wait_for_exit(child.handle), 0);
        Process next = wait_for_child(child.id);
        EXPECT_FALSE(IsWindowVisible(app_window_of(next.id)));
        child = std::move(next);

        // Each capture drops the notice before it: none is left when it told nothing.
        const HWND notice = window_of(resident_.id, NOTICE_WINDOW_CLASS);
        EXPECT_EQ(notice != nullptr, row.notice != nullptr);
        EXPECT_EQ(title_of(notice), row.notice ? row.notice : L"");
        if (row.file) {
            // The width the wheel chose in the first capture is every later one's.
            expect_file(saves_.path() + L"\\" + row.file, row.drawing, 5.0);
            const Settings stored = read_settings_file(folder_ + L"\\settings.txt").value_or(Settings{});
            EXPECT_EQ(stored.save_folder, win::to_u16(saves_.path()));  // for the next save
            if (row.type_key != VK_END) {
                EXPECT_EQ(stored.save_format, row.type_key == VK_DOWN ? ImageFormat::Jpeg : ImageFormat::Png);
            }
        } else if (row.notice) {
            expect_region_with(clipboard_contents().first, row.drawing);
        } else {
            EXPECT_EQ(GetClipboardSequenceNumber(), clipboard_before);
        }
    }
    for (const AnsweredBox& box : sweeper_.answered())
        ADD_FAILURE() << "a box: " << win::to_utf8(box.title) << ": " << win::to_utf8(box.text);
}

}  // namespace
}  // namespace glimmerly
