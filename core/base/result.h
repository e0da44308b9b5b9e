#pragma once
// The failure value every fallible operation returns. It is a plain value (a
// 32-bit failure code and a UTF-8 message), so it crosses threads, window
// procedures and the editor child's exit path and can always be read back.

#include <cstdint>
#include <optional>
#include <string>
#include <type_traits>
#include <utility>
#include <variant>

namespace glimmerly {

// The platform's macros of the same name would collide with these in files
// that include <windows.h>, hence the suffix.
inline constexpr std::int32_t E_FAIL_CODE = static_cast<std::int32_t>(0x80004005u);
inline constexpr std::int32_t E_INVALIDARG_CODE = static_cast<std::int32_t>(0x80070057u);
inline constexpr std::int32_t E_NOTIMPL_CODE = static_cast<std::int32_t>(0x80004001u);
inline constexpr std::int32_t E_OUTOFMEMORY_CODE = static_cast<std::int32_t>(0x8007000Eu);
inline constexpr std::int32_t APP_ERROR_CODE = static_cast<std::int32_t>(0xA0530001u);

// Win32 error code -> the HRESULT the platform reports for it.
constexpr std::int32_t hresult_from_win32(std::uint32_t error) {
    return error == 0 ? 0 : static_cast<std::int32_t>((error & 0xFFFFu) | 0x80070000u);
}

struct Failure {
    std::int32_t code = E_FAIL_CODE;
    std::string message;  // UTF-8; may be empty

    friend bool operator==(const Failure&, const Failure&) = default;
};

// A failed check without a key of its own: E_FAIL with English prose.
inline Failure plain_failure(std::string message) { return Failure{E_FAIL_CODE, std::move(message)}; }
// Bad sizes and wrong input.
inline Failure invalid_input(std::string message) { return Failure{E_INVALIDARG_CODE, std::move(message)}; }
// The standard library's std::bad_alloc, caught where a reader, decoder or
// writer hands back its result: a hostile or huge file must not end the program.
inline Failure out_of_memory(const char* what) { return Failure{E_OUTOFMEMORY_CODE, what}; }

template <class T>
class [[nodiscard]] Result {
public:
    Result(T value) : state_(std::in_place_index<0>, std::move(value)) {}
    Result(Failure failure) : state_(std::in_place_index<1>, std::move(failure)) {}

    bool ok() const { return state_.index() == 0; }
    explicit operator bool() const { return ok(); }

    T& value() & { return std::get<0>(state_); }
    const T& value() const& { return std::get<0>(state_); }
    T&& value() && { return std::get<0>(std::move(state_)); }
    T* operator->() { return &value(); }
    const T* operator->() const { return &value(); }
    T& operator*() & { return value(); }
    const T& operator*() const& { return value(); }

    const Failure& failure() const& { return std::get<1>(state_); }
    Failure&& failure() && { return std::get<1>(std::move(state_)); }

    T value_or(T fallback) const& { return ok() ? value() : std::move(fallback); }

private:
    std::variant<T, Failure> state_;
};

template <>
class [[nodiscard]] Result<void> {
public:
    Result() = default;
    Result(Failure failure) : failure_(std::move(failure)) {}

    bool ok() const { return !failure_.has_value(); }
    explicit operator bool() const { return ok(); }

    const Failure& failure() const& { return *failure_; }
    Failure&& failure() && { return std::move(*failure_); }

private:
    std::optional<Failure> failure_;
};

using Status = Result<void>;

inline Status ok_status() { return Status{}; }

}  // namespace glimmerly

// Early return of a failed step: `GLIM_TRY(write_all(file, bytes));`
#define GLIM_TRY(expr)                                   \
    do {                                                 \
        auto&& glim_try_result_ = (expr);                \
        if (!glim_try_result_)                           \
            return std::move(glim_try_result_).failure(); \
    } while (0)
