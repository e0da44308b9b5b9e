#pragma once
// COM interface owner and the per-thread apartment.

#include <objbase.h>
#include <windows.h>

#include <utility>

#include "app/win/failure.h"
#include "core/base/result.h"

namespace glimmerly::win {

template <class T>
class ComPtr {
public:
    ComPtr() noexcept = default;
    ComPtr(std::nullptr_t) noexcept {}
    // Adopts a reference the caller already holds.
    static ComPtr adopt(T* raw) noexcept {
        ComPtr p;
        p.ptr_ = raw;
        return p;
    }
    // Takes a reference of its own.
    static ComPtr share(T* raw) noexcept {
        if (raw) raw->AddRef();
        return adopt(raw);
    }
    ComPtr(const ComPtr& other) noexcept : ptr_(other.ptr_) {
        if (ptr_) ptr_->AddRef();
    }
    ComPtr(ComPtr&& other) noexcept : ptr_(std::exchange(other.ptr_, nullptr)) {}
    ComPtr& operator=(ComPtr other) noexcept {
        std::swap(ptr_, other.ptr_);
        return *this;
    }
    ~ComPtr() { reset(); }

    T* get() const noexcept { return ptr_; }
    T* operator->() const noexcept { return ptr_; }
    explicit operator bool() const noexcept { return ptr_ != nullptr; }

    // For out-parameters: releases the current interface first.
    T** put() noexcept {
        reset();
        return &ptr_;
    }
    void** put_void() noexcept { return reinterpret_cast<void**>(put()); }
    void reset() noexcept {
        if (T* old = std::exchange(ptr_, nullptr)) old->Release();
    }
    [[nodiscard]] T* detach() noexcept { return std::exchange(ptr_, nullptr); }

    template <class U>
    Result<ComPtr<U>> query() const {
        ComPtr<U> out;
        if (!ptr_) return hr_failure(E_POINTER, "QueryInterface on an empty pointer");
        const HRESULT hr = ptr_->QueryInterface(__uuidof(U), out.put_void());
        if (FAILED(hr)) return hr_failure(hr, "QueryInterface");
        if (!out) return hr_failure(E_NOINTERFACE, "QueryInterface");
        return out;
    }
    // Empty when the object does not implement U.
    template <class U>
    ComPtr<U> try_query() const noexcept {
        ComPtr<U> out;
        if (ptr_ && FAILED(ptr_->QueryInterface(__uuidof(U), out.put_void()))) out.reset();
        return out;
    }

private:
    T* ptr_ = nullptr;
};

// COM for the current thread. Uninitialises only when its own initialisation
// succeeded (S_OK or S_FALSE); a thread already in another apartment keeps it.
class ComApartment {
public:
    explicit ComApartment(DWORD model = COINIT_APARTMENTTHREADED) noexcept
        : result_(CoInitializeEx(nullptr, model)) {}
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;
    ~ComApartment() {
        if (SUCCEEDED(result_)) CoUninitialize();
    }
    HRESULT result() const noexcept { return result_; }
    bool initialized() const noexcept { return SUCCEEDED(result_); }
    Status status() const {
        if (SUCCEEDED(result_)) return ok_status();
        return hr_failure(result_, "CoInitializeEx");
    }

private:
    HRESULT result_;
};

// Once per process, before the first worker thread opens its apartment: one
// reference to the multithreaded apartment, so that the process's COM stays
// up while workers come and go (each worker's CoUninitialize would otherwise
// tear down state the next one needs again). Later calls do nothing; a
// failure is ignored, since the workers work without it, only slower.
void keep_multithreaded_apartment() noexcept;

// The usual creation: a failure or a null object is a failure.
template <class T>
Result<ComPtr<T>> create_instance(REFCLSID clsid, DWORD context = CLSCTX_INPROC_SERVER) {
    ComPtr<T> out;
    const HRESULT hr = CoCreateInstance(clsid, nullptr, context, __uuidof(T), out.put_void());
    if (FAILED(hr)) return hr_failure(hr, "CoCreateInstance");
    if (!out) return hr_failure(E_NOINTERFACE, "CoCreateInstance");
    return out;
}

}  // namespace glimmerly::win
