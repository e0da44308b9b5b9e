#include "app/win/owners.h"

#include <gtest/gtest.h>

#include <thread>

#include "app/win/com.h"
#include "app/win/failure.h"
#include "tests/app/support/child_process.h"

namespace glimmerly::win {
namespace {

bool handle_is_open(HANDLE h) {
    DWORD flags = 0;
    return GetHandleInformation(h, &flags) != 0;
}

TEST(UniqueHandle, ClosesOnceAndMovesOwnership) {
    UniqueHandle event(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    ASSERT_TRUE(event.valid());
    const HANDLE raw = event.get();

    UniqueHandle moved(std::move(event));
    EXPECT_FALSE(event.valid());
    EXPECT_TRUE(handle_is_open(raw));

    moved.reset();
    EXPECT_FALSE(handle_is_open(raw));
}

TEST(UniqueHandle, TreatsBothInvalidConventionsAsEmpty) {
    EXPECT_FALSE(UniqueHandle(INVALID_HANDLE_VALUE).valid());
    EXPECT_FALSE(UniqueHandle(nullptr).valid());
}

TEST(GdiOwners, DeleteTheObjectAndRestoreTheSelection) {
    UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
    ASSERT_TRUE(dc);
    const HGDIOBJ original = GetCurrentObject(dc.get(), OBJ_BRUSH);
    HBRUSH raw_brush = nullptr;
    {
        UniqueBrush brush(CreateSolidBrush(RGB(10, 20, 30)));
        raw_brush = brush.get();
        {
            SelectedObject selected(dc.get(), brush.get());
            EXPECT_TRUE(selected.selected());
            EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_BRUSH), raw_brush);
        }
        EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_BRUSH), original);
        EXPECT_EQ(GetObjectType(raw_brush), static_cast<DWORD>(OBJ_BRUSH));
    }
    EXPECT_EQ(GetObjectType(raw_brush), 0u);
}

struct DestroyProbe {
    bool saw_state_during_destroy = false;
};

LRESULT CALLBACK probe_proc(HWND h, UINT m, WPARAM w, LPARAM l) noexcept {
    if (m == WM_NCCREATE)
        SetWindowLongPtrW(h, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(l)->lpCreateParams));
    if (m == WM_DESTROY) {
        // The owner clears the state pointer before destroying the window.
        if (GetWindowLongPtrW(h, GWLP_USERDATA) != 0) std::abort();
    }
    return DefWindowProcW(h, m, w, l);
}

TEST(UniqueWindow, ClearsTheStatePointerThenDestroys) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = probe_proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"Glimmerly.Test.OwnerProbe";
    RegisterClassW(&wc);
    DestroyProbe probe;
    UniqueWindow window(CreateWindowExW(0, wc.lpszClassName, L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                        wc.hInstance, &probe));
    ASSERT_TRUE(window);
    const HWND raw = window.get();
    EXPECT_EQ(GetWindowLongPtrW(raw, GWLP_USERDATA), reinterpret_cast<LONG_PTR>(&probe));
    window.reset();
    EXPECT_FALSE(IsWindow(raw));
}

TEST(IconAndMenuOwners, ReleaseTheirObjects) {
    UniqueMenu menu(CreatePopupMenu());
    ASSERT_TRUE(menu);
    const HMENU raw_menu = menu.get();
    menu.reset();
    EXPECT_FALSE(IsMenu(raw_menu));

    BYTE and_mask[4 * 16] = {};
    BYTE xor_mask[4 * 16] = {};
    UniqueIcon icon(CreateIcon(GetModuleHandleW(nullptr), 16, 16, 1, 1, and_mask, xor_mask));
    ASSERT_TRUE(icon);
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(icon.get(), &info));
    DeleteObject(info.hbmMask);
    if (info.hbmColor) DeleteObject(info.hbmColor);
}

TEST(Win32Failure, CarriesTheHresultAndTheSystemText) {
    SetLastError(ERROR_ACCESS_DENIED);
    const Failure f = win32_failure("MoveFileExW", "C:\\a.txt");
    EXPECT_EQ(static_cast<std::uint32_t>(f.code), 0x80070005u);
    EXPECT_EQ(f.message.rfind("MoveFileExW C:\\a.txt: ", 0), 0u) << f.message;
    EXPECT_GT(f.message.size(), std::string("MoveFileExW C:\\a.txt: ").size());

    SetLastError(0x12345);
    EXPECT_EQ(static_cast<std::uint32_t>(win32_failure("x").code), 0x80072345u);

    SetLastError(0);
    EXPECT_EQ(win32_failure("x").code, E_FAIL_CODE);
}

TEST(Win32Failure, WideConversionRoundTrips) {
    const std::string text = "Gr\xC3\xBC\xC3\x9F" "e \xF0\x9F\x98\x80";
    EXPECT_EQ(to_utf8(to_wide(text)), text);
    EXPECT_EQ(to_wide(text).size(), 8u);
}

TEST(ComApartment, UninitialisesOnlyWhatItInitialised) {
    std::thread([] {
        ComApartment sta(COINIT_APARTMENTTHREADED);
        EXPECT_TRUE(sta.initialized());
        {
            ComApartment mta(COINIT_MULTITHREADED);
            EXPECT_EQ(mta.result(), RPC_E_CHANGED_MODE);
            EXPECT_FALSE(mta.status().ok());
        }
        // Still apartment-threaded: the failed guard did not uninitialise.
        ComApartment again(COINIT_APARTMENTTHREADED);
        EXPECT_EQ(again.result(), S_FALSE);
    }).join();
}

TEST(ComPtr, CountsReferencesAndQueries) {
    ComApartment com;
    ASSERT_TRUE(com.initialized());
    auto unknown = create_instance<IUnknown>(CLSID_StdGlobalInterfaceTable);
    ASSERT_TRUE(unknown.ok()) << unknown.failure().message;
    auto table = unknown->query<IGlobalInterfaceTable>();
    ASSERT_TRUE(table.ok());
    EXPECT_FALSE(unknown->try_query<IStream>());
    EXPECT_FALSE(unknown->query<IStream>().ok());
    ComPtr<IGlobalInterfaceTable> copy = *table;
    EXPECT_EQ(copy.get(), table->get());
}

GLIM_TEST_CHILD(exit_with_argument_count) { return static_cast<int>(args.size()) + 40; }

TEST(TestChildProcess, RunsTheNamedChildWithItsArguments) {
    auto child = testing_support::start_child(L"exit_with_argument_count", {L"a", L"b c"});
    ASSERT_TRUE(child.ok()) << child.failure().message;
    EXPECT_EQ(testing_support::wait_for_exit(*child), 42);
}

}  // namespace
}  // namespace glimmerly::win
