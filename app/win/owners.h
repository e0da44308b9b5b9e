#pragma once
// Move-only owners of Win32 resources: each knows its invalid value and its
// one release call, so every handle, GDI object, DC, icon, menu and window in
// the program has exactly one owner that gives it back.

#include <windows.h>

#include <utility>

namespace glimmerly::win {

template <class Traits>
class UniqueResource {
public:
    using Type = typename Traits::Type;

    UniqueResource() noexcept = default;
    explicit UniqueResource(Type value) noexcept : value_(value) {}
    UniqueResource(UniqueResource&& other) noexcept : value_(other.release()) {}
    UniqueResource& operator=(UniqueResource&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    UniqueResource(const UniqueResource&) = delete;
    UniqueResource& operator=(const UniqueResource&) = delete;
    ~UniqueResource() { reset(); }

    Type get() const noexcept { return value_; }
    bool valid() const noexcept { return Traits::valid(value_); }
    explicit operator bool() const noexcept { return valid(); }

    [[nodiscard]] Type release() noexcept { return std::exchange(value_, Traits::invalid()); }
    void reset(Type value = Traits::invalid()) noexcept {
        const Type old = std::exchange(value_, value);
        if (Traits::valid(old)) Traits::close(old);
    }
    // For out-parameters of creation calls: releases the old value first.
    Type* put() noexcept {
        reset();
        return &value_;
    }

private:
    Type value_ = Traits::invalid();
};

// The failure value of most creation calls is null.
template <class T>
struct NullInvalidTraits {
    using Type = T;
    static Type invalid() noexcept { return nullptr; }
    static bool valid(Type h) noexcept { return h != nullptr; }
};

// Kernel handles come with two failure values, and each creation call uses
// one: CreateMutexW, CreateEventW, OpenProcess, CreateThread and
// CreateProcessW give null; CreateFileW gives INVALID_HANDLE_VALUE. The two
// are not interchangeable (INVALID_HANDLE_VALUE is also the current process's
// pseudo handle), so each kind has its own owner.
struct HandleTraits : NullInvalidTraits<HANDLE> {
    static void close(Type h) noexcept { CloseHandle(h); }
};
using UniqueHandle = UniqueResource<HandleTraits>;

// A handle from CreateFileW.
struct FileHandleTraits {
    using Type = HANDLE;
    static Type invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static bool valid(Type h) noexcept { return h != INVALID_HANDLE_VALUE; }
    static void close(Type h) noexcept { CloseHandle(h); }
};
using UniqueFileHandle = UniqueResource<FileHandleTraits>;

// A directory listing from FindFirstFileExW: not a kernel handle, closed by FindClose.
struct FindHandleTraits {
    using Type = HANDLE;
    static Type invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static bool valid(Type h) noexcept { return h != INVALID_HANDLE_VALUE; }
    static void close(Type h) noexcept { FindClose(h); }
};
using UniqueFindHandle = UniqueResource<FindHandleTraits>;

// ReleaseMutex, then CloseHandle. Failures of either are ignored: the handle
// is gone either way, and a mutex left unreleased counts as abandoned, which
// the next waiter accepts as owned.
inline void release_mutex(HANDLE mutex) noexcept {
    ReleaseMutex(mutex);
    CloseHandle(mutex);
}

// A mutex (from CreateMutexW, null when it failed) this thread holds:
// released and closed together.
struct HeldMutexTraits : NullInvalidTraits<HANDLE> {
    static void close(Type h) noexcept { release_mutex(h); }
};
using HeldMutex = UniqueResource<HeldMutexTraits>;

// An opened registry key; the predefined roots (HKEY_CURRENT_USER) are never owned.
struct RegistryKeyTraits : NullInvalidTraits<HKEY> {
    static void close(Type h) noexcept { RegCloseKey(h); }
};
using UniqueRegistryKey = UniqueResource<RegistryKeyTraits>;

template <class T>
struct GdiObjectTraits : NullInvalidTraits<T> {
    static void close(T h) noexcept { DeleteObject(h); }
};
using UniqueBitmap = UniqueResource<GdiObjectTraits<HBITMAP>>;
using UniqueBrush = UniqueResource<GdiObjectTraits<HBRUSH>>;
using UniquePen = UniqueResource<GdiObjectTraits<HPEN>>;
using UniqueFont = UniqueResource<GdiObjectTraits<HFONT>>;
using UniqueRegion = UniqueResource<GdiObjectTraits<HRGN>>;

// A DC made by CreateCompatibleDC or CreateDCW.
struct MemoryDcTraits : NullInvalidTraits<HDC> {
    static void close(Type h) noexcept { DeleteDC(h); }
};
using UniqueMemoryDc = UniqueResource<MemoryDcTraits>;

// A library loaded for functions looked up at run time.
struct ModuleTraits : NullInvalidTraits<HMODULE> {
    static void close(Type h) noexcept { FreeLibrary(h); }
};
using UniqueModule = UniqueResource<ModuleTraits>;

struct IconTraits : NullInvalidTraits<HICON> {
    static void close(Type h) noexcept { DestroyIcon(h); }
};
using UniqueIcon = UniqueResource<IconTraits>;

// A cursor made by CreateIconIndirect; the system's shared cursors
// (LoadCursorW) are never owned.
struct CursorTraits : NullInvalidTraits<HCURSOR> {
    static void close(Type h) noexcept { DestroyCursor(h); }
};
using UniqueCursor = UniqueResource<CursorTraits>;

struct MenuTraits : NullInvalidTraits<HMENU> {
    static void close(Type h) noexcept { DestroyMenu(h); }
};
using UniqueMenu = UniqueResource<MenuTraits>;

struct WindowTraits : NullInvalidTraits<HWND> {
    // The state pointer goes first, so that the messages DestroyWindow sends
    // (WM_DESTROY, WM_NCDESTROY) never reach a state that is being dropped.
    static void close(Type h) noexcept {
        SetWindowLongPtrW(h, GWLP_USERDATA, 0);
        DestroyWindow(h);
    }
};
using UniqueWindow = UniqueResource<WindowTraits>;

// A window that runs one timer of its own (a notice's fade, the capture
// pulse): the timer is killed first, so that no tick reaches a window that
// is being destroyed.
template <UINT_PTR Timer>
struct TimedWindowTraits : WindowTraits {
    static void close(Type h) noexcept {
        KillTimer(h, Timer);
        WindowTraits::close(h);
    }
};
template <UINT_PTR Timer>
using TimedWindow = UniqueResource<TimedWindowTraits<Timer>>;

// A DC of a window (GetDC / GetDCEx): released with the window it came from.
class WindowDc {
public:
    WindowDc() noexcept = default;
    WindowDc(HWND window, HDC dc) noexcept : window_(window), dc_(dc) {}
    static WindowDc of(HWND window) noexcept { return WindowDc(window, GetDC(window)); }
    WindowDc(WindowDc&& other) noexcept
        : window_(std::exchange(other.window_, nullptr)), dc_(std::exchange(other.dc_, nullptr)) {}
    WindowDc& operator=(WindowDc&& other) noexcept {
        if (this != &other) {
            reset();
            window_ = std::exchange(other.window_, nullptr);
            dc_ = std::exchange(other.dc_, nullptr);
        }
        return *this;
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    ~WindowDc() { reset(); }

    HDC get() const noexcept { return dc_; }
    explicit operator bool() const noexcept { return dc_ != nullptr; }
    void reset() noexcept {
        if (dc_) ReleaseDC(window_, dc_);
        dc_ = nullptr;
        window_ = nullptr;
    }

private:
    HWND window_ = nullptr;
    HDC dc_ = nullptr;
};

// One WM_PAINT's DC: BeginPaint on construction, EndPaint on destruction.
class PaintDc {
public:
    explicit PaintDc(HWND window) noexcept : window_(window) { dc_ = BeginPaint(window, &paint_); }
    PaintDc(const PaintDc&) = delete;
    PaintDc& operator=(const PaintDc&) = delete;
    ~PaintDc() {
        if (dc_) EndPaint(window_, &paint_);
    }
    HDC get() const noexcept { return dc_; }
    const PAINTSTRUCT& paint() const noexcept { return paint_; }

private:
    HWND window_;
    PAINTSTRUCT paint_{};
    HDC dc_ = nullptr;
};

// An object selected into a DC; the DC's previous object is selected back on
// destruction, so the owned object is never deleted while selected.
class SelectedObject {
public:
    SelectedObject() noexcept = default;
    SelectedObject(HDC dc, HGDIOBJ object) noexcept : dc_(dc), old_(SelectObject(dc, object)) {}
    SelectedObject(SelectedObject&& other) noexcept
        : dc_(std::exchange(other.dc_, nullptr)), old_(std::exchange(other.old_, nullptr)) {}
    SelectedObject& operator=(SelectedObject&& other) noexcept {
        if (this != &other) {
            reset();
            dc_ = std::exchange(other.dc_, nullptr);
            old_ = std::exchange(other.old_, nullptr);
        }
        return *this;
    }
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;
    ~SelectedObject() { reset(); }

    bool selected() const noexcept { return dc_ && old_ && old_ != HGDI_ERROR; }
    void reset() noexcept {
        if (selected()) SelectObject(dc_, old_);
        dc_ = nullptr;
        old_ = nullptr;
    }

private:
    HDC dc_ = nullptr;
    HGDIOBJ old_ = nullptr;
};

}  // namespace glimmerly::win
