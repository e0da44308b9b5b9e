// The capture's output words, run on a capture opened in this process: what
// reaches the clipboard, the disk, the browser's stand-in and the notices.

#include "app/app/session_output.h"

#include <gtest/gtest.h>

#include <functional>

#include "app/app/document.h"
#include "app/image/image_decoder.h"
#include "app/win/paths.h"
#include "core/paths/save_types.h"
#include "tests/app/support/app_window.h"
#include "tests/app/support/clipboard.h"
#include "tests/app/support/files.h"
#include "tests/app/support/pictures.h"
#include "tests/app/support/temp_folder.h"
#include "tests/core/support/objects.h"

namespace glimmerly {
namespace {

using namespace testing_support;
using Pixel = std::array<std::uint8_t, 3>;

// The stand-ins are plain functions: the running test's answers live here.
// No dialog shows and no browser opens.
std::optional<SaveDialogChoice> g_choice;
int g_dialogs = 0;
std::wstring g_opened;
Result<std::optional<SaveDialogChoice>> choose(HWND, std::wstring_view, ImageFormat) { return ++g_dialogs, g_choice; }
bool open_page(HWND, const std::wstring& file, const std::wstring& parameters) {
    g_opened = parameters.empty() ? file : parameters.substr(1, parameters.size() - 2);  // a browser gets it quoted
    return true;
}

std::wstring notice_of(TestAppWindow& test) {
    wchar_t text[256] = {};
    GetWindowTextW(test.cell().try_borrow()->notice.get(), text, 256);
    return text;
}

bool pump_until(const std::function<bool()>& done) {
    MSG message;
    for (const ULONGLONG end = GetTickCount64() + 30000; !done(); MsgWaitForMultipleObjects(0, nullptr, 0, 50, QS_ALLINPUT)) {
        if (GetTickCount64() > end) return false;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    }
    return true;
}

class CaptureOutput : public ::testing::Test {
protected:
    // The frame with the region (16, 8)-(80, 56) and a red rectangle in it.
    void open_capture(TestAppWindow& test, std::optional<std::wstring> document = std::nullopt) {
        EditorState state{.objects = objects_, .last_id = 1, .frame_width = 96, .frame_height = 64, .frozen_frame = frame_,
                          .capture_selection = Box{16, 8, 80, 56}};
        auto app = test.cell().try_borrow();
        app->outputs = {{open_page, [](const std::wstring&) { return true; }}, choose};
        ASSERT_TRUE(install_editor_state(*app, test.window(), std::move(state), {0, 0}).ok());
        if (document) open_editor_session(*app)->set_document_path(*document);
    }
    Status run(TestAppWindow& test, SessionOutput output) {
        return run_session_output(*test.cell().try_borrow(), test.window(), {output, {237, 79, 92}});
    }
    EditorState& state_of(TestAppWindow& test) { return open_editor_session(*test.cell().try_borrow())->state(); }
    // The region's own pixels, but red on the rectangle's left edge.
    bool shows_region(const BgraImage& picture) const {
        const auto at = [](const BgraImage& p, std::uint32_t x, std::uint32_t y) {
            const std::uint8_t* b = &p.pixels[(y * p.width + x) * 4];
            return Pixel{b[0], b[1], b[2]};
        };
        return picture.width == 64 && picture.height == 48 && at(picture, 2, 2) == at(frame_, 18, 10) &&
               at(picture, 60, 45) == at(frame_, 76, 53) && at(picture, 24, 24) == Pixel{30, 30, 200};
    }

    win::ComApartment com_;
    TempFolder folder_;
    BgraImage frame_ = noise_picture(96, 64, 5);
    std::vector<SceneObject> objects_{testing::rectangle(1, {40, 24, 60, 40})};
};

TEST_F(CaptureOutput, EachWordWritesWhatItNamesTellsItsNoticeAndEndsTheCaptureOnlyAfterACopySaveOrClose) {
    ASSERT_TRUE(write_test_file(folder_.path() + L"\\004.png", "taken"));
    const wchar_t *saved = L"Image saved.", *editable = L"Editable image saved, screen included.";
    const struct {
        const char* name;
        SessionOutput output;
        const wchar_t* chosen;  // the dialog's answer, of type `type`; null cancels it
        std::uint32_t type;
        bool from_document;
        const wchar_t* notice;
        bool stays_open;
        const wchar_t* written;  // with a picture of `format`, none for the editable document
        std::optional<ImageFormat> format;
    } rows[] = {
        {"colour code", SessionOutput::CopyColourCode, nullptr, 0, false, L"Color code copied.", true, nullptr, {}},
        {"close", SessionOutput::Close, nullptr, 0, false, L"", false, nullptr, {}},
        {"save, dialog cancelled", SessionOutput::Save, nullptr, 0, false, L"", true, nullptr, {}},
        {"the extension wins over the type", SessionOutput::SaveAs, L"x.png", SAVE_TYPE_JPEG, false, saved, false, L"x.png", ImageFormat::Png},
        {"a proposed number taken meanwhile", SessionOutput::SaveAs, L"004.png", SAVE_TYPE_PNG, false, saved, false, L"005.png", ImageFormat::Png},
        {"editable document", SessionOutput::SaveAs, L"z.vexil", SAVE_TYPE_PNG, false, editable, false, L"z.vexil", {}},
        {"save in place", SessionOutput::Save, nullptr, 0, true, editable, false, L"in.vexil", {}},
        {"save as, opened from a document", SessionOutput::SaveAs, nullptr, 0, true, L"", true, nullptr, {}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        TestAppWindow test(AppOptions{.keeps_settings = false});
        test.cell().try_borrow()->settings.save_format = ImageFormat::Jpeg;
        open_capture(test, row.from_document ? std::optional(folder_.path() + L"\\in.vexil") : std::nullopt);
        g_choice = row.chosen ? std::optional(SaveDialogChoice{folder_.path() + L"\\" + row.chosen, row.type}) : std::nullopt;
        g_dialogs = 0;
        ASSERT_TRUE(run(test, row.output).ok());
        EXPECT_EQ(notice_of(test), row.notice);
        EXPECT_EQ(test.cell().try_borrow()->capture_session != nullptr, row.stays_open);
        EXPECT_EQ(IsWindowVisible(test.window()) != FALSE, row.stays_open);
        const bool asked = row.output == SessionOutput::SaveAs || (row.output == SessionOutput::Save && !row.from_document);
        EXPECT_EQ(g_dialogs, asked ? 1 : 0);
        EXPECT_TRUE(row.output != SessionOutput::CopyColourCode || clipboard_contents().second == L"#ED4F5C");
        // A document shows its picture to image readers, and reopens with its objects.
        const std::wstring written = folder_.path() + L"\\" + (row.written ? row.written : L"none");
        const BgraImage shown = load_image_file(written).value_or(BgraImage{});
        EXPECT_TRUE(!row.written || shows_region(shown));
        EXPECT_TRUE(!row.written || row.format || load_vexil_document(written).value_or(OpenedDocument{}).scene.objects == objects_);
        // Only a save through the dialog remembers where, and only a picture its format.
        auto app = test.cell().try_borrow();
        const bool remembers = row.written && row.chosen;
        EXPECT_EQ(app->settings.save_folder, remembers ? win::to_u16(folder_.path()) : u"");
        EXPECT_EQ(app->settings.save_format, remembers && row.format ? *row.format : ImageFormat::Jpeg);
    }
    EXPECT_EQ(read_test_file(folder_.path() + L"\\004.png"), "taken");
}

TEST_F(CaptureOutput, AnEditorChildsNoticeIsShownByItsResidentOnlyForItsOwnChild) {
    TestAppWindow resident;
    const DWORD child = GetCurrentProcessId();
    resident.cell().try_borrow()->editor.emplace().process_id = child;
    const std::tuple<DWORD, LPARAM, const wchar_t*> requests[] = {
        {child + 4, 2, L""}, {child, 7, L""}, {child, 0, L""}, {child, 2, L"Image saved."}};
    for (const auto& [process, kind, shown] : requests) {
        SendMessageW(resident.window(), WM_APP_NOTICE, process, kind);
        EXPECT_EQ(notice_of(resident), shown);
    }
}

TEST_F(CaptureOutput, AnImageSearchRunsOnceHandsItsPageToTheOpenerAndKeepsTheCapture) {
    TestAppWindow test(AppOptions{.keeps_settings = false});
    open_capture(test);
    g_opened.clear();
    ASSERT_TRUE(run(test, SessionOutput::ImageSearch).ok());
    ASSERT_TRUE(run(test, SessionOutput::ImageSearch).ok());  // while one runs: nothing
    EXPECT_EQ(notice_of(test), L"Searching Google…");
    EXPECT_TRUE(state_of(test).image_search_in_progress);
    ASSERT_TRUE(pump_until([&] { return !test.cell().try_borrow()->lens.receiver; }));
    EXPECT_TRUE(read_test_file(g_opened).value_or("").starts_with("<!doctype html>"));
    DeleteFileW(g_opened.c_str());
    EXPECT_FALSE(state_of(test).image_search_in_progress);
}

}  // namespace
}  // namespace glimmerly
