#include "app/win/owners.h"

#include <gtest/gtest.h>

#include <thread>

#include "app/win/com.h"
#include "app/win/failure.h"

namespace glimmerly::win {
namespace {

// The owner's object is alive until the owner lets it go, and then gone.
template <class Owner, class Alive>
void expect_released_once(Owner owner, Alive alive) {
    const auto raw = owner.get();
    Owner moved(std::move(owner));
    EXPECT_FALSE(owner.valid());
    EXPECT_TRUE(alive(raw));
    moved.reset();
    EXPECT_FALSE(alive(raw));
}

// What the probe window's state pointer was when WM_DESTROY came.
LONG_PTR g_state_at_destroy = -1;

LRESULT CALLBACK note_state_at_destroy(HWND h, UINT m, WPARAM w, LPARAM l) noexcept {
    if (m == WM_DESTROY) g_state_at_destroy = GetWindowLongPtrW(h, GWLP_USERDATA);
    return DefWindowProcW(h, m, w, l);
}

TEST(Owners, ReleaseTheirObjectOnceWithTheirOwnCall) {
    DWORD flags = 0;
    expect_released_once(UniqueHandle(CreateEventW(nullptr, TRUE, FALSE, nullptr)),
                         [&](HANDLE h) { return GetHandleInformation(h, &flags) != 0; });
    WIN32_FIND_DATAW data{};
    expect_released_once(
        UniqueFindHandle(FindFirstFileExW(L"C:\\windows\\*", FindExInfoBasic, &data, FindExSearchNameMatch, nullptr, 0)),
        [&](HANDLE h) { return FindNextFileW(h, &data) != 0; });
    expect_released_once(UniqueBrush(CreateSolidBrush(RGB(10, 20, 30))), [](HBRUSH b) { return GetObjectType(b) != 0; });
    expect_released_once(UniqueMenu(CreatePopupMenu()), [](HMENU m) { return IsMenu(m) != 0; });
    BYTE and_mask[4 * 16] = {}, xor_mask[4 * 16] = {};
    expect_released_once(UniqueIcon(CreateIcon(nullptr, 16, 16, 1, 1, and_mask, xor_mask)), [](HICON i) {
        ICONINFO info{};
        const bool alive = GetIconInfo(i, &info);
        DeleteObject(info.hbmMask);
        return alive;
    });

    // A window's state pointer is cleared first, so that WM_DESTROY finds none.
    WNDCLASSW wc{};
    wc.lpfnWndProc = note_state_at_destroy;
    wc.lpszClassName = L"Glimmerly.Test.OwnerProbe";
    RegisterClassW(&wc);
    UniqueWindow window(CreateWindowExW(0, wc.lpszClassName, L"", WS_POPUP, 0, 0, 9, 9, nullptr, nullptr, nullptr, nullptr));
    SetWindowLongPtrW(window.get(), GWLP_USERDATA, 1);
    expect_released_once(std::move(window), [](HWND w) { return IsWindow(w) != 0; });
    EXPECT_EQ(g_state_at_destroy, 0);
}

TEST(Owners, EachHandleKindKnowsItsOwnInvalidValue) {
    // INVALID_HANDLE_VALUE is also the current process's pseudo handle: live
    // where null means failure, empty where it is the failure.
    EXPECT_TRUE(UniqueHandle(GetCurrentProcess()).valid());
    EXPECT_FALSE(UniqueHandle(nullptr).valid());
    EXPECT_FALSE(UniqueFileHandle(INVALID_HANDLE_VALUE).valid());
}

TEST(Owners, ASelectedObjectIsSelectedBack) {
    UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
    const HGDIOBJ original = GetCurrentObject(dc.get(), OBJ_BRUSH);
    UniqueBrush brush(CreateSolidBrush(RGB(10, 20, 30)));
    {
        SelectedObject selected(dc.get(), brush.get());
        EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_BRUSH), brush.get());
    }
    EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_BRUSH), original);
}

TEST(Win32Failure, CarriesTheHresultOfItsThreadsLastErrorAndTheSystemText) {
    // Made on a worker, read here: the code is the worker's and travels with the value.
    Failure denied;
    SetLastError(ERROR_DISK_FULL);
    std::thread([&] {
        SetLastError(ERROR_ACCESS_DENIED);
        denied = win32_failure("MoveFileExW", L"C:\\Gr\u00FC\u00DFe.txt");
    }).join();
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
        EXPECT_EQ(ComApartment(COINIT_MULTITHREADED).result(), RPC_E_CHANGED_MODE);
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

}  // namespace
}  // namespace glimmerly::win
