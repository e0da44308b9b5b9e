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

using testing_support::folder_names;
using testing_support::path_exists;
using testing_support::read_test_file;
using testing_support::TempFolder;
using testing_support::write_test_file;

void age_file(const std::wstring& path, std::uint64_t seconds) {
    FILETIME now{};
    GetSystemTimeAsFileTime(&now);
    const std::uint64_t then = ((std::uint64_t{now.dwHighDateTime} << 32) | now.dwLowDateTime) - seconds * 10'000'000;
    const FILETIME stamp{static_cast<DWORD>(then), static_cast<DWORD>(then >> 32)};
    win::UniqueFileHandle file(CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    SetFileTime(file.get(), nullptr, nullptr, &stamp);
}

TEST(LensPageFile, CarriesThePictureAndClearsOnlyMinuteOldPagesOfItsFolder) {
    const win::ComApartment com;
    TempFolder folder;
    struct Leftover {
        const wchar_t* name;
        std::uint64_t age_seconds;
        bool kept;
    };
    const Leftover leftovers[] = {{L"lens-1-1.html", 61, false}, {L"lens-1-2.html", 45, true},
                                  {L"lens-1-3.htm", 600, true},  {L"Lens-1-4.html", 600, true},
                                  {L"notes.html", 600, true}};
    for (const Leftover& file : leftovers) {
        ASSERT_TRUE(write_test_file(folder.path() + L"\\" + file.name, "old"));
        age_file(folder.path() + L"\\" + file.name, file.age_seconds);
    }
    const BgraImage picture = testing_support::noise_picture(7, 5, 3);
    auto page = write_lens_page_in(folder.path(), picture);
    ASSERT_TRUE(page.ok()) << page.failure().message;

    const std::wstring name = win::from_u16(file_name_of(win::to_u16(*page)));
    EXPECT_TRUE(name.starts_with(L"lens-" + std::to_wstring(GetCurrentProcessId()) + L"-"));
    EXPECT_TRUE(is_lens_page_file(win::to_u16(name)));
    const auto png = encode_png(picture);
    ASSERT_TRUE(png.ok());
    const auto text = read_test_file(*page);
    ASSERT_TRUE(text.has_value());
    EXPECT_TRUE(text->starts_with("<!doctype html>\n<html lang=\"en\">"));
    EXPECT_NE(text->find("atob(\"" + base64_encode(*png) + "\")"), std::string::npos);
    for (const Leftover& file : leftovers) {
        SCOPED_TRACE(win::to_utf8(file.name));
        EXPECT_EQ(path_exists(folder.path() + L"\\" + file.name), file.kept);
    }
}

// What the fakes were asked; the platform's shell is never called.
struct OpenerLog {
    bool opens = true;
    std::wstring file, parameters, forgotten;
};
OpenerLog* g_log = nullptr;  // the openers are plain functions: the test's log is noted here

LensOpeners fake_openers(OpenerLog& log) {
    g_log = &log;
    return {[](HWND, const std::wstring& file, const std::wstring& parameters) {
                g_log->file = file;
                g_log->parameters = parameters;
                return g_log->opens;
            },
            [](const std::wstring& page) {
                g_log->forgotten = page;
                return true;
            }};
}

TEST(LensHandOff, OpensThePageAndForgetsItLaterOrDeletesItWhenNothingOpened) {
    TempFolder folder;
    for (const bool opens : {true, false}) {
        SCOPED_TRACE(opens ? "opened" : "nothing opened");
        const std::wstring page = folder.path() + L"\\lens-7-7.html";
        ASSERT_TRUE(write_test_file(page, "<!doctype html>\n"));
        OpenerLog log;
        log.opens = opens;
        EXPECT_EQ(open_in_browser(nullptr, page, fake_openers(log)), opens);
        // The registered browser with the page as its argument, or the page itself.
        EXPECT_TRUE(log.file == page ? log.parameters.empty() : log.parameters == L"\"" + page + L"\"");
        EXPECT_EQ(path_exists(page), opens);
        EXPECT_EQ(log.forgotten, opens ? page : L"");
    }
}

TEST(LensHandOff, TheWorkerWritesThePageAndTheHandlerOpensIt) {
    const testing_support::MessageLog done{WM_APP_LENS_DONE};
    LensSearch search;
    ASSERT_TRUE(start_lens_search(search, testing_support::solid_picture(4, 4, 1, 2, 3, 255), done.window()).ok());
    EXPECT_FALSE(start_lens_search(search, testing_support::solid_picture(4, 4, 1, 2, 3, 255), done.window()).ok());
    ASSERT_TRUE(done.wait_past(WM_APP_LENS_DONE, 0));
    OpenerLog log;
    EXPECT_EQ(finish_lens_search(search, done.window(), fake_openers(log)), std::nullopt);
    EXPECT_FALSE(search.receiver.has_value());
    ASSERT_FALSE(log.forgotten.empty());
    EXPECT_TRUE(path_exists(log.forgotten));
    // The forget process's own work, without its minute's wait; a second
    // deletion finds nothing and is content.
    EXPECT_TRUE(forget_lens_page_after(log.forgotten, 0).ok());
    EXPECT_FALSE(path_exists(log.forgotten));
    EXPECT_TRUE(forget_lens_page_after(log.forgotten, 0).ok());
}

TEST(ForgetLensPage, RefusesAnythingButAPageOfItsFolderAndDeletesNothing) {
    TempFolder elsewhere;
    const auto folder = lens_page_folder();
    ASSERT_TRUE(folder.ok());
    ASSERT_TRUE(create_directories(*folder).ok());
    const std::wstring id = std::to_wstring(GetCurrentProcessId());
    const std::wstring paths[] = {elsewhere.path() + L"\\lens-" + id + L".html",
                                  *folder + L"\\capture-" + id + L".html", *folder + L"\\lens-" + id + L".HTML"};
    for (const std::wstring& path : paths) {
        SCOPED_TRACE(win::to_utf8(path));
        ASSERT_TRUE(write_test_file(path, "kept"));
        const Status status = run_forget_lens_page(path);
        ASSERT_FALSE(status.ok());
        EXPECT_EQ(status.failure().code, E_INVALIDARG_CODE);
        EXPECT_EQ(status.failure().message, "Not a Google Lens page");
        EXPECT_TRUE(path_exists(path));
        DeleteFileW(path.c_str());
    }
    EXPECT_EQ(run_forget_lens_page(L"").failure().message, "Not a Google Lens page");
}

}  // namespace
}  // namespace glimmerly
