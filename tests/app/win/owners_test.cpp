#include "app/win/owners.h"

#include <gtest/gtest.h>

#include <thread>

#include "app/win/com.h"
#include "app/win/failure.h"
#include "tests/app/support/child_process.h"

namespace glimmerly::win {
namespace {

TEST(HandleOwners, CloseWithTheirOwnCallOnceAndKnowTheirOwnInvalidValue) {
    DWORD flags = 0;
    UniqueHandle event(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    const HANDLE raw_event = event.get();
    UniqueHandle moved(std::move(event));
    EXPECT_FALSE(event.valid());
    EXPECT_TRUE(GetHandleInformation(raw_event, &flags));
    moved.reset();
    EXPECT_FALSE(GetHandleInformation(raw_event, &flags));

    WIN32_FIND_DATAW data{};
    UniqueFindHandle find(FindFirstFileExW(L"C:\\windows\\*", FindExInfoBasic, &data, FindExSearchNameMatch, nullptr, 0));
    const HANDLE raw_find = find.get();
    EXPECT_TRUE(FindNextFileW(raw_find, &data));
    find.reset();
    EXPECT_FALSE(FindNextFileW(raw_find, &data));

    // INVALID_HANDLE_VALUE is also the current process's pseudo handle: live
    // where null means failure, empty where it is the failure.
    EXPECT_TRUE(UniqueHandle(GetCurrentProcess()).valid());
    EXPECT_FALSE(UniqueFileHandle(INVALID_HANDLE_VALUE).valid());
}

TEST(GdiOwners, DeleteTheObjectAndRestoreTheSelection) {
    UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
    const HGDIOBJ original = GetCurrentObject(dc.get(), OBJ_BRUSH);
    UniqueBrush brush(CreateSolidBrush(RGB(10, 20, 30)));
    const HBRUSH raw = brush.get();
    {
        SelectedObject selected(dc.get(), raw);
        EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_BRUSH), raw);
    }
    EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_BRUSH), original);
    brush.reset();
    EXPECT_EQ(GetObjectType(raw), 0u);
}

TEST(UserOwners, IconMenuAndWindowAreDestroyed) {
    BYTE and_mask[4 * 16] = {}, xor_mask[4 * 16] = {};
    UniqueIcon icon(CreateIcon(GetModuleHandleW(nullptr), 16, 16, 1, 1, and_mask, xor_mask));
    const HICON raw_icon = icon.get();
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(raw_icon, &info));
    DeleteObject(info.hbmMask);
    icon.reset();
    EXPECT_FALSE(GetIconInfo(raw_icon, &info));

    UniqueMenu menu(CreatePopupMenu());
    const HMENU raw_menu = menu.get();
    menu.reset();
    EXPECT_FALSE(IsMenu(raw_menu));

    // The state pointer is cleared first, so that WM_DESTROY finds none.
    static LONG_PTR state_at_destroy = -1;
    WNDCLASSW wc{};
    wc.lpfnWndProc = [](HWND h, UINT m, WPARAM w, LPARAM l) noexcept -> LRESULT {
        if (m == WM_DESTROY) state_at_destroy = GetWindowLongPtrW(h, GWLP_USERDATA);
        return DefWindowProcW(h, m, w, l);
    };
    wc.lpszClassName = L"Glimmerly.Test.OwnerProbe";
    RegisterClassW(&wc);
    UniqueWindow window(CreateWindowExW(0, wc.lpszClassName, L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr));
    const HWND raw_window = window.get();
    SetWindowLongPtrW(raw_window, GWLP_USERDATA, 1);
    window.reset();
    EXPECT_FALSE(IsWindow(raw_window));
    EXPECT_EQ(state_at_destroy, 0);
}

TEST(Win32Failure, CarriesTheHresultAndTheSystemText) {
    SetLastError(ERROR_ACCESS_DENIED);
    const Failure denied = win32_failure("MoveFileExW", L"C:\\Gr\u00FC\u00DFe.txt");
    EXPECT_EQ(static_cast<std::uint32_t>(denied.code), 0x80070005u);
    EXPECT_EQ(denied.message, "MoveFileExW C:\\Gr\xC3\xBC\xC3\x9F" "e.txt: " + system_message(denied.code));
    SetLastError(0x12345);
    EXPECT_EQ(static_cast<std::uint32_t>(win32_failure("x").code), 0x80072345u);
    SetLastError(0);  // a call that failed without saying why still failed
    EXPECT_EQ(win32_failure("x").code, E_FAIL_CODE);
    EXPECT_EQ(to_utf8(to_wide("\xF0\x9F\x98\x80")), "\xF0\x9F\x98\x80");
}

TEST(ComApartment, UninitialisesOnlyWhatItInitialised) {
    std::thread([] {
        ComApartment sta(COINIT_APARTMENTTHREADED);
        EXPECT_TRUE(sta.initialized());
        {
            ComApartment mta(COINIT_MULTITHREADED);
            EXPECT_EQ(mta.result(), RPC_E_CHANGED_MODE);
        }
        // Still apartment-threaded: the failed guard did not uninitialise.
        EXPECT_EQ(ComApartment(COINIT_APARTMENTTHREADED).result(), S_FALSE);
    }).join();
}

// An object that counts its references and knows only IUnknown.
struct Counted : IUnknown {
    ULONG references = 1;
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** out) override {
        *out = id == __uuidof(IUnknown) ? this : nullptr;
        if (!*out) return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references; }
    ULONG STDMETHODCALLTYPE Release() override { return --references; }
};

TEST(ComPtr, HoldsOneReferencePerOwner) {
    Counted object;
    {
        auto owner = ComPtr<IUnknown>::adopt(&object);  // the reference made with the object
        ComPtr<IUnknown> copy = owner;
        ComPtr<IUnknown> moved = std::move(copy);
        auto queried = owner.query<IUnknown>();
        EXPECT_FALSE(owner.try_query<IStream>());
        EXPECT_EQ(owner.query<IStream>().failure().code, E_NOINTERFACE);
        EXPECT_EQ(object.references, 3u);
    }
    EXPECT_EQ(object.references, 0u);
    EXPECT_EQ(ComPtr<IUnknown>::share(&object).detach(), &object);
    EXPECT_EQ(object.references, 1u);
}

GLIM_TEST_CHILD(exit_with_argument_count) { return static_cast<int>(args.size()) + 40; }

TEST(TestChildProcess, RunsTheNamedChildWithItsArguments) {
    auto child = testing_support::start_child(L"exit_with_argument_count", {L"a", L"b c"});
    ASSERT_TRUE(child.ok()) << child.failure().message;
    EXPECT_EQ(testing_support::wait_for_exit(*child), 42);
}

}  // namespace
}  // namespace glimmerly::win
