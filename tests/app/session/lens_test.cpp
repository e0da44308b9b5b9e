#include "app/session/lens.h"

#include <gtest/gtest.h>

#include "app/app/messages.h"
#include "app/image/image_encoder.h"
#include "app/lib/folder_tree.h"
#include "app/win/com.h"
#include "app/win/paths.h"
#include "core/base/base64.h"
#include "core/lens/lens_page.h"
#include "tests/app/support/files.h"
#include "tests/app/support/message_wait.h"
#include "tests/app/support/pictures.h"
#include "tests/app/support/temp_folder.h"

namespace glimmerly {
namespace {

using testing_support::path_exists;
using testing_support::TempFolder;
using testing_support::write_test_file;

void write_aged_file(const std::wstring& path, std::uint64_t seconds) {
    ASSERT_TRUE(write_test_file(path, "old"));
    ULARGE_INTEGER time{};
    GetSystemTimeAsFileTime(reinterpret_cast<FILETIME*>(&time));
    time.QuadPart -= seconds * 10'000'000;
    win::UniqueFileHandle file(CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(SetFileTime(file.get(), nullptr, nullptr, reinterpret_cast<FILETIME*>(&time)));
}

TEST(LensPageFile, CarriesThePictureAndClearsOnlyMinuteOldPagesOfItsFolder) {
    const win::ComApartment com;
    TempFolder folder;
    const std::tuple<const wchar_t*, std::uint64_t, bool> leftovers[] = {
        {L"lens-1-1.html", 61, false}, {L"lens-1-2.html", 45, true}, {L"lens-1-3.htm", 600, true},
        {L"Lens-1-4.html", 600, true}, {L"notes.html", 600, true}};
    for (const auto& [name, age, kept] : leftovers) write_aged_file(folder.path() + L"\\" + name, age);
    const BgraImage picture = testing_support::noise_picture(7, 5, 3);
    auto page = write_lens_page_in(folder.path(), picture);
    ASSERT_TRUE(page.ok()) << page.failure().message;

    const std::u16string name(file_name_of(win::to_u16(*page)));
    EXPECT_TRUE(is_lens_page_file(name));
    EXPECT_TRUE(name.starts_with(u"lens-" + win::to_u16(std::to_wstring(GetCurrentProcessId())) + u"-"));
    const auto png = encode_png(picture);
    const auto text = testing_support::read_test_file(*page);
    ASSERT_TRUE(png.ok() && text.has_value());
    EXPECT_TRUE(text->starts_with("<!doctype html>\n<html lang=\"en\">"));
    EXPECT_NE(text->find("atob(\"" + base64_encode(*png) + "\")"), std::string::npos);
    for (const auto& [name, age, kept] : leftovers) {
        SCOPED_TRACE(win::to_utf8(name));
        EXPECT_EQ(path_exists(folder.path() + L"\\" + name), kept);
    }
}

// What the fakes were asked. The openers are plain functions, so the log of
// the running test is noted here; the platform's shell is never called.
struct OpenerLog {
    bool opens = true;
    std::wstring file, parameters, forgotten;
};
OpenerLog* g_log = nullptr;

LensOpeners fake_openers(OpenerLog& log) {
    g_log = &log;
    return {[](HWND, const std::wstring& file, const std::wstring& parameters) {
                g_log->file = file;
                g_log->parameters = parameters;
                return g_log->opens;
            },
            [](const std::wstring& page) { return !(g_log->forgotten = page).empty(); }};
}

TEST(LensHandOff, OpensThePageAndForgetsItLaterOrDeletesItWhenNothingOpened) {
    TempFolder folder;
    for (const bool opens : {true, false}) {
        SCOPED_TRACE(opens ? "opened" : "nothing opened");
        const std::wstring page = folder.path() + L"\\lens-7-7.html";
        ASSERT_TRUE(write_test_file(page, "<!doctype html>\n"));
        OpenerLog log{opens};
        EXPECT_EQ(open_in_browser(nullptr, page, fake_openers(log)), opens);
        // The registered browser with the page as its argument, or the page itself.
        EXPECT_TRUE(log.file == page ? log.parameters.empty() : log.parameters == L"\"" + page + L"\"");
        EXPECT_EQ(path_exists(page), opens);
        EXPECT_EQ(log.forgotten, opens ? page : L"");
    }
}

TEST(LensHandOff, TheWorkerWritesThePageTheHandlerOpensItAndTheForgetProcessDeletesIt) {
    const testing_support::MessageLog window{WM_APP_LENS_DONE};
    LensSearch search;
    const BgraImage picture = testing_support::solid_picture(4, 4, 1, 2, 3, 255);
    ASSERT_TRUE(start_lens_search(search, picture, window.window()).ok());
    EXPECT_FALSE(start_lens_search(search, picture, window.window()).ok());  // one at a time
    ASSERT_TRUE(window.wait_past(WM_APP_LENS_DONE, 0));
    OpenerLog log;
    EXPECT_EQ(finish_lens_search(search, window.window(), fake_openers(log)), std::nullopt);
    EXPECT_FALSE(search.receiver.has_value());
    ASSERT_TRUE(path_exists(log.forgotten));
    // The forget process's work without its minute's wait; a page already gone is fine.
    for (int round = 0; round < 2; ++round) EXPECT_TRUE(forget_lens_page_after(log.forgotten, 0).ok());
    EXPECT_FALSE(path_exists(log.forgotten));
}

TEST(ForgetLensPage, RefusesAnythingButAPageOfItsFolderAndDeletesNothing) {
    TempFolder elsewhere;
    const auto folder = lens_page_folder();
    ASSERT_TRUE(folder.ok() && create_directories(*folder).ok());
    const std::wstring id = std::to_wstring(GetCurrentProcessId());
    const std::wstring paths[] = {elsewhere.path() + L"\\lens-" + id + L".html",
                                  *folder + L"\\capture-" + id + L".html", *folder + L"\\lens-" + id + L".HTML", L""};
    for (const std::wstring& path : paths) {
        SCOPED_TRACE(win::to_utf8(path));
        const bool written = write_test_file(path, "kept");
        const Status status = run_forget_lens_page(path);
        ASSERT_FALSE(status.ok());
        EXPECT_EQ(status.failure(), invalid_input("Not a Google Lens page"));
        EXPECT_EQ(path_exists(path), written);
        DeleteFileW(path.c_str());
    }
}

}  // namespace
}  // namespace glimmerly
