#include "app/session/lens.h"

#include <shellapi.h>
#include <shlwapi.h>

#include "app/app/messages.h"
#include "app/image/image_encoder.h"
#include "app/lib/folder_tree.h"
#include "app/lib/start_with_windows.h"
#include "app/win/com.h"
#include "app/win/failure.h"
#include "app/win/paths.h"
#include "app/win/threads.h"
#include "core/lens/lens_page.h"
#include "text/app_error.h"

namespace glimmerly {
namespace {

// FILETIME counts 100 ns from 1601; the page's clock counts from 1970.
constexpr std::uint64_t kUnixEpochAsFileTime = 116'444'736'000'000'000;

std::uint64_t file_time_value(const FILETIME& time) {
    return (std::uint64_t{time.dwHighDateTime} << 32) | time.dwLowDateTime;
}

std::uint64_t now_as_file_time() {
    FILETIME now{};
    GetSystemTimeAsFileTime(&now);
    return file_time_value(now);
}

// Pages a hand-off left behind. Another running copy of the program may be
// handing off a page right now: only pages a minute old are taken.
void delete_old_pages(const std::wstring& folder) {
    const std::uint64_t now = now_as_file_time();
    WIN32_FIND_DATAW entry{};
    const win::UniqueFindHandle listing(FindFirstFileExW(win::join_path(folder, L"*").c_str(), FindExInfoBasic,
                                                         &entry, FindExSearchNameMatch, nullptr, 0));
    for (bool more = listing.valid(); more; more = FindNextFileW(listing.get(), &entry)) {
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
        if (!is_lens_page_file(win::to_u16(entry.cFileName))) continue;
        if (!lens_page_expired(now, file_time_value(entry.ftLastWriteTime))) continue;
        DeleteFileW(win::join_path(folder, entry.cFileName).c_str());
    }
}

Status write_whole_file(const std::wstring& path, const std::string& bytes) {
    const win::UniqueFileHandle file(
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return win::win32_failure("CreateFileW", path);
    DWORD written = 0;
    if (!WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr))
        return win::win32_failure("WriteFile", path);
    if (written != bytes.size()) return plain_failure("The image-search page was written only in part");
    return ok_status();
}

std::wstring full_path(const std::wstring& path) {
    const DWORD length = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (length == 0) return path;
    std::wstring full(length, L'\0');
    const DWORD written = GetFullPathNameW(path.c_str(), length, full.data(), nullptr);
    full.resize(written < length ? written : 0);
    while (full.size() > 3 && (full.back() == L'\\' || full.back() == L'/')) full.pop_back();
    return full;
}

bool same_folder(const std::wstring& a, const std::wstring& b) {
    const std::wstring x = full_path(a), y = full_path(b);
    return !x.empty() && CompareStringOrdinal(x.c_str(), static_cast<int>(x.size()), y.c_str(),
                                              static_cast<int>(y.size()), TRUE) == CSTR_EQUAL;
}

// The executable registered for "https" links, when it is a plain file.
std::optional<std::wstring> https_browser() {
    wchar_t buffer[1024] = {};
    DWORD size = 1024;
    if (FAILED(AssocQueryStringW(ASSOCF_NOTRUNCATE, ASSOCSTR_EXECUTABLE, L"https", L"open", buffer, &size)))
        return std::nullopt;
    const std::wstring executable(buffer, wcsnlen(buffer, 1024));
    const DWORD attributes = GetFileAttributesW(executable.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES ||
        (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)))
        return std::nullopt;
    return executable;
}

bool shell_open(HWND owner, const std::wstring& file, const std::wstring& parameters) {
    const HINSTANCE result = ShellExecuteW(owner, L"open", file.c_str(),
                                           parameters.empty() ? nullptr : parameters.c_str(), nullptr, SW_SHOWNORMAL);
    return reinterpret_cast<INT_PTR>(result) > 32;
}

bool start_forget_process(const std::wstring& page) {
    const auto program = running_program_path();
    if (!program) return false;
    std::wstring command = L"\"" + *program + L"\" " + FORGET_LENS_PAGE_OPTION + L" \"" + page + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    if (!CreateProcessW(program->c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &started))
        return false;
    const win::UniqueHandle process(started.hProcess), thread(started.hThread);  // not waited for
    return true;
}

void lens_search_worker(ChannelSender<LensSearchResult> sender, const BgraImage& picture, HWND window) noexcept {
    // A result that never came is told too: the handler then finds the
    // channel closed and reports the search interrupted. Only a gone
    // receiver (nobody waits any more) is told nothing.
    // The sending end goes before the post, so the handler never finds the
    // channel still open and empty.
    bool tell = true;
    {
        ChannelSender<LensSearchResult> owned = std::move(sender);
        try {
            LensSearchResult result;
            auto page = write_lens_page(picture);
            if (page)
                result.page = std::move(*page);
            else
                result.failure = error_to_text(page.failure(), current_language(), &win::code_text);
            tell = owned.send(result);
        } catch (...) {
        }
    }
    if (tell) PostMessageW(window, WM_APP_LENS_DONE, 0, 0);
}

std::wstring text(TextId id, std::initializer_list<TextArg> args = {}) {
    return win::to_wide(localized_text(current_language(), id, args));
}

}  // namespace

Result<std::wstring> lens_page_folder() {
    wchar_t temp[MAX_PATH + 1] = {};
    const DWORD length = GetTempPathW(MAX_PATH + 1, temp);
    if (length == 0 || length > MAX_PATH) return win::win32_failure("GetTempPathW");
    return win::join_path(std::wstring(temp, length), L"Glimmerly");
}

Result<std::wstring> write_lens_page_in(const std::wstring& folder, const BgraImage& picture) {
    auto png = encode_png(picture);
    if (!png) return std::move(png).failure();
    if (!lens_png_fits(png->size())) return make_app_error(TextId::error_lens_too_large);
    GLIM_TRY(create_directories(folder));
    delete_old_pages(folder);

    const std::uint64_t now = now_as_file_time();
    const std::uint64_t since_1970 = now > kUnixEpochAsFileTime ? now - kUnixEpochAsFileTime : 0;
    const std::wstring path =
        win::join_path(folder, win::from_u16(lens_page_name(GetCurrentProcessId(), since_1970 * 100)));
    const Language language = current_language();
    const std::string sending = localized_text(language, TextId::lens_sending);
    const std::string needs_script = localized_text(language, TextId::lens_needs_script);
    GLIM_TRY(write_whole_file(path, lens_page_text({language, sending, needs_script, since_1970 / 10'000, *png})));
    return path;
}

Result<std::wstring> write_lens_page(const BgraImage& picture) {
    win::keep_multithreaded_apartment();
    const win::ComApartment apartment;
    GLIM_TRY(apartment.status());
    auto folder = lens_page_folder();
    if (!folder) return std::move(folder).failure();
    return write_lens_page_in(*folder, picture);
}

LensSearch::~LensSearch() { win::join_thread(worker); }

Status start_lens_search(LensSearch& search, BgraImage picture, HWND window) {
    if (search.receiver) return plain_failure("An image search is already running");
    win::join_thread(search.worker);  // an earlier worker has sent; let it end
    auto [sender, receiver] = make_channel<LensSearchResult>();
    auto worker = win::start_named_thread(
        L"Glimmerly Google Lens", [sender = std::move(sender), picture = std::move(picture), window]() mutable {
            lens_search_worker(std::move(sender), picture, window);
        });
    if (!worker) return std::move(worker).failure();
    search.worker = std::move(*worker);
    search.receiver.emplace(std::move(receiver));
    return ok_status();
}

LensOpeners platform_lens_openers() { return {shell_open, start_forget_process}; }

bool open_in_browser(HWND owner, const std::wstring& page, const LensOpeners& openers) {
    const auto browser = https_browser();
    const bool opened =
        browser ? openers.shell_open(owner, *browser, L"\"" + page + L"\"") : openers.shell_open(owner, page, L"");
    if (!opened) {
        DeleteFileW(page.c_str());
        return false;
    }
    (void)openers.start_forget(page);
    return true;
}

std::optional<std::wstring> finish_lens_search(LensSearch& search, HWND window, const LensOpeners& openers) {
    if (!search.receiver) return std::nullopt;
    ChannelPoll<LensSearchResult> poll = search.receiver->try_receive();
    if (std::holds_alternative<ChannelEmpty>(poll)) return std::nullopt;
    search.receiver.reset();
    auto* result = std::get_if<LensSearchResult>(&poll);
    if (!result) return text(TextId::error_lens_interrupted);
    if (!result->page) return text(TextId::error_lens_failed, {{"detail", result->failure}});
    if (!open_in_browser(window, *result->page, openers)) return text(TextId::error_lens_browser);
    return std::nullopt;
}

Status run_forget_lens_page(const std::wstring& page) { return forget_lens_page_after(page, 60'000); }

Status forget_lens_page_after(const std::wstring& page, DWORD delay_ms) {
    const auto folder = lens_page_folder();
    if (!folder || !is_lens_page_file(win::to_u16(page)) || !same_folder(win::folder_of(page), *folder))
        return invalid_input("Not a Google Lens page");
    Sleep(delay_ms);
    if (DeleteFileW(page.c_str())) return ok_status();
    const DWORD error = GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return ok_status();
    return win::win32_failure_code(error, "DeleteFileW", page);
}

}  // namespace glimmerly
