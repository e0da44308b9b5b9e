// The capture's output words, run on a capture opened in this process: what
// reaches the clipboard, the disk, the browser's stand-in and the notices.

#include "app/app/session_output.h"

#include <gtest/gtest.h>

#include <functional>

#include "app/app/document.h"
#include "app/image/image_decoder.h"
#include "core/paths/save_types.h"
#include "tests/app/support/app_window.h"
#include "tests/app/support/files.h"
#include "tests/app/support/temp_folder.h"
#include "tests/core/support/objects.h"

namespace glimmerly {
namespace {

using namespace testing_support;

// What the stand-ins were asked; they are plain functions, so the running
// test's answers live here. No dialog shows and no browser opens.
std::optional<SaveDialogChoice> g_choice;
int g_dialogs = 0;
std::wstring g_opened;
LensOpeners fake_openers() {
    return {[](HWND, const std::wstring& file, const std::wstring& parameters) {
                g_opened = parameters.empty() ? file : parameters;
                return true;
            },
            [](const std::wstring&) { return true; }};
}
Result<std::optional<SaveDialogChoice>> choose(HWND, std::wstring_view, ImageFormat) {
    ++g_dialogs;
    return g_choice;
}

std::wstring title_of(HWND window) {
    wchar_t text[256] = {};
    GetWindowTextW(window, text, 256);
    return window ? text : L"";
}

bool pump_until(const std::function<bool()>& done) {
    MSG message;
    for (const ULONGLONG end = GetTickCount64() + 30000; !done(); MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT)) {
        if (GetTickCount64() > end) return false;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    }
    return true;
}

// The CF_DIB on the clipboard, rows turned top-down.
BgraImage clipboard_picture() {
    BgraImage picture;
    if (!OpenClipboard(nullptr)) return picture;
    if (const HANDLE block = GetClipboardData(CF_DIB)) {
        const auto* header = static_cast<const BITMAPINFOHEADER*>(GlobalLock(block));
        picture.width = static_cast<std::uint32_t>(header->biWidth);
        picture.height = static_cast<std::uint32_t>(header->biHeight);
        const auto* rows = reinterpret_cast<const std::uint8_t*>(header + 1);
        for (std::uint32_t y = picture.height; y-- > 0;)
            picture.pixels.insert(picture.pixels.end(), rows + y * picture.width * 4, rows + (y + 1) * picture.width * 4);
        GlobalUnlock(block);
    }
    CloseClipboard();
    return picture;
}

class CaptureOutput : public ::testing::Test {
protected:
    CaptureOutput() {
        frame_.pixels.resize(96 * 64 * 4);
        for (std::size_t i = 0; i < frame_.pixels.size(); ++i) frame_.pixels[i] = i % 4 == 3 ? 255 : (i * 7) % 251;
    }

    // A capture of the frame with the region (16, 8)-(80, 56) and a red rectangle in it.
    void open_capture(TestAppWindow& test) {
        EditorState state;
        state.frozen_frame = frame_;
        state.frame_width = frame_.width;
        state.frame_height = frame_.height;
        state.capture_selection = Box{16, 8, 80, 56};
        state.objects = objects_;
        state.last_id = 1;
        auto app = test.cell().try_borrow();
        app->outputs = {fake_openers(), choose};
        ASSERT_TRUE(install_editor_state(*app, test.window(), std::move(state), {0, 0}).ok());
    }
    Status run(TestAppWindow& test, SessionOutput output, Rgb colour = {}) {
        return run_session_output(*test.cell().try_borrow(), test.window(), {output, colour});
    }
    // The region's pixels, except the rectangle's left edge, which is red.
    ::testing::AssertionResult shows_region(const BgraImage& picture) {
        const auto at = [](const BgraImage& p, std::uint32_t x, std::uint32_t y) {
            return std::vector<std::uint8_t>(p.pixels.begin() + (y * p.width + x) * 4, p.pixels.begin() + (y * p.width + x) * 4 + 3);
        };
        if (picture.width != 64 || picture.height != 48) return ::testing::AssertionFailure() << "size";
        if (at(picture, 2, 2) != at(frame_, 18, 10) || at(picture, 60, 45) != at(frame_, 76, 53))
            return ::testing::AssertionFailure() << "the picture's pixels";
        if (at(picture, 24, 24) != std::vector<std::uint8_t>{30, 30, 200}) return ::testing::AssertionFailure() << "the object";
        return ::testing::AssertionSuccess();
    }

    win::ComApartment com_;
    TempFolder folder_;
    BgraImage frame_{{}, 96, 64};
    std::vector<SceneObject> objects_{testing::rectangle(1, {40, 24, 60, 40})};
};

TEST_F(CaptureOutput, EachWordTellsItsNoticeAndEndsTheCaptureOnlyAfterACopySaveOrClose) {
    const struct {
        const char* name;
        SessionOutput output;
        const wchar_t* chosen;  // the dialog's answer; null cancels it
        bool from_document;
        const wchar_t* notice;
        bool stays_open;
        int dialogs;
    } rows[] = {
        {"colour code", SessionOutput::CopyColourCode, nullptr, false, L"Color code copied.", true, 0},
        {"copy image", SessionOutput::CopyImage, nullptr, false, L"Screenshot copied to clipboard.", false, 0},
        {"close", SessionOutput::Close, nullptr, false, L"", false, 0},
        {"save, dialog cancelled", SessionOutput::Save, nullptr, false, L"", true, 1},
        {"save as a picture", SessionOutput::SaveAs, L"a.png", false, L"Image saved.", false, 1},
        {"save as editable", SessionOutput::SaveAs, L"a.vexil", false, L"Editable image saved, screen included.", false, 1},
        {"save in place", SessionOutput::Save, nullptr, true, L"Editable image saved, screen included.", false, 0},
        {"save as, opened from a document", SessionOutput::SaveAs, nullptr, true, L"", true, 1},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        TestAppWindow test(AppOptions{.keeps_settings = false});
        open_capture(test);
        if (row.from_document) open_editor_session(*test.cell().try_borrow())->set_document_path(folder_.path() + L"\\in.vexil");
        g_choice = row.chosen ? std::optional(SaveDialogChoice{folder_.path() + L"\\" + row.chosen, 1}) : std::nullopt;
        g_dialogs = 0;
        ASSERT_TRUE(run(test, row.output, {237, 79, 92}).ok());
        auto app = test.cell().try_borrow();
        EXPECT_EQ(title_of(app->notice.get()), row.notice);
        EXPECT_EQ(app->capture_session != nullptr, row.stays_open);
        EXPECT_EQ(IsWindowVisible(test.window()) != FALSE, row.stays_open);
        EXPECT_EQ(g_dialogs, row.dialogs);
    }
}

TEST_F(CaptureOutput, CopiesTheRegionWithItsObjectsAndTheColourCode) {
    TestAppWindow test(AppOptions{.keeps_settings = false});
    open_capture(test);
    ASSERT_TRUE(run(test, SessionOutput::CopyColourCode, {237, 79, 92}).ok());
    ASSERT_TRUE(OpenClipboard(nullptr));
    const auto* text = static_cast<const wchar_t*>(GlobalLock(GetClipboardData(CF_UNICODETEXT)));
    EXPECT_EQ(std::wstring(text ? text : L""), L"#ED4F5C");
    CloseClipboard();
    ASSERT_TRUE(run(test, SessionOutput::CopyImage).ok());
    EXPECT_TRUE(shows_region(clipboard_picture()));
}

TEST_F(CaptureOutput, SavesThePictureOrTheDocumentTheChosenNameAsksForAndRemembersWhere) {
    ASSERT_TRUE(write_test_file(folder_.path() + L"\\004.png", "taken"));
    const struct {
        const char* name;
        const wchar_t* chosen;
        std::uint32_t type;
        const wchar_t* written;
        std::optional<ImageFormat> format;  // none: the editable document
    } rows[] = {
        {"the extension wins over the type", L"x.png", SAVE_TYPE_JPEG, L"x.png", ImageFormat::Png},
        {"JPEG", L"y", SAVE_TYPE_JPEG, L"y", ImageFormat::Jpeg},
        {"a proposed number taken meanwhile", L"004.png", SAVE_TYPE_PNG, L"005.png", ImageFormat::Png},
        {"editable document", L"z.vexil", SAVE_TYPE_PNG, L"z.vexil", std::nullopt},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        TestAppWindow test(AppOptions{.keeps_settings = false});
        test.cell().try_borrow()->settings.save_format = ImageFormat::Jpeg;
        open_capture(test);
        g_choice = SaveDialogChoice{folder_.path() + L"\\" + row.chosen, row.type};
        ASSERT_TRUE(run(test, SessionOutput::SaveAs).ok());
        const std::wstring written = folder_.path() + L"\\" + row.written;
        const BgraImage shown = load_image_file(written).value_or(BgraImage{});  // a document shows its picture
        if (row.format == ImageFormat::Jpeg) {
            EXPECT_EQ(std::pair(shown.width, shown.height), std::pair(64u, 48u));
        } else {
            EXPECT_TRUE(shows_region(shown));
        }
        if (!row.format) {
            EXPECT_EQ(load_vexil_document(written).value_or(OpenedDocument{}).scene.objects, objects_);
        }
        auto app = test.cell().try_borrow();
        EXPECT_EQ(app->settings.save_folder, std::u16string(folder_.path().begin(), folder_.path().end()));
        EXPECT_EQ(app->settings.save_format, row.format.value_or(ImageFormat::Jpeg));
    }
    EXPECT_EQ(read_test_file(folder_.path() + L"\\004.png"), "taken");
}

TEST_F(CaptureOutput, AnEditorChildsNoticeIsShownByItsResidentOnlyForItsOwnChild) {
    TestAppWindow resident;
    resident.cell().try_borrow()->editor.emplace().process_id = GetCurrentProcessId();
    const DWORD child = GetCurrentProcessId();
    const std::tuple<DWORD, LPARAM, const wchar_t*> requests[] = {
        {child + 4, 2, L""}, {child, 7, L""}, {child, 0, L""}, {child, 2, L"Image saved."}};
    for (const auto& [process, kind, shown] : requests) {
        SendMessageW(resident.window(), WM_APP_NOTICE, process, kind);
        EXPECT_EQ(title_of(resident.cell().try_borrow()->notice.get()), shown);
    }
    TestAppWindow editor(AppOptions{.in_process_editor = true, .notification_owner = resident.window()});
    open_capture(editor);
    ASSERT_TRUE(run(editor, SessionOutput::CopyColourCode).ok());
    EXPECT_TRUE(pump_until([&] { return title_of(resident.cell().try_borrow()->notice.get()) == L"Color code copied."; }));
    EXPECT_FALSE(editor.cell().try_borrow()->notice);
}

TEST_F(CaptureOutput, AnImageSearchRunsOnceHandsItsPageToTheOpenerAndKeepsTheCapture) {
    TestAppWindow test(AppOptions{.keeps_settings = false});
    open_capture(test);
    g_opened.clear();
    ASSERT_TRUE(run(test, SessionOutput::ImageSearch).ok());
    ASSERT_TRUE(run(test, SessionOutput::ImageSearch).ok());  // while one runs: nothing
    EXPECT_EQ(title_of(test.cell().try_borrow()->notice.get()), L"Searching Google…");
    EXPECT_TRUE(open_editor_session(*test.cell().try_borrow())->state().image_search_in_progress);
    ASSERT_TRUE(pump_until([&] { return !test.cell().try_borrow()->lens.receiver; }));
    const std::wstring page = g_opened.substr(g_opened.front() == L'"', g_opened.size() - 2 * (g_opened.front() == L'"'));
    EXPECT_TRUE(read_test_file(page).value_or("").starts_with("<!doctype html>"));
    DeleteFileW(page.c_str());
    EXPECT_FALSE(open_editor_session(*test.cell().try_borrow())->state().image_search_in_progress);
}

TEST_F(CaptureOutput, LiveCaptureSwitchesWholeOrNotAtAll) {
    TestAppWindow test(AppOptions{.keeps_settings = false});
    open_capture(test);
    // Wine never keeps a window out of screen grabs: the switch is refused there.
    const Status switched = run(test, SessionOutput::LiveCapture);
    auto app = test.cell().try_borrow();
    const bool layered = GetWindowLongPtrW(test.window(), GWL_EXSTYLE) & WS_EX_LAYERED;
    EXPECT_EQ(open_editor_session(*app)->state().live_capture, switched.ok());
    EXPECT_EQ(layered, switched.ok());
}

}  // namespace
}  // namespace glimmerly
