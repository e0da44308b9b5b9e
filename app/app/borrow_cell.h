#pragma once
// A value with a borrow mark, for state that a window procedure works on.
// A handler that pumps messages (a message box, a modal menu) lets the same
// procedure run again while it still holds the state; the nested call finds
// the mark and leaves the state alone instead of entering it twice. There is
// only one kind of borrow, for writing, and it is never waited for.

#include <cstdint>
#include <utility>

namespace glimmerly {

template <class T>
class BorrowCell {
public:
    template <class... Args>
    explicit BorrowCell(Args&&... args) : value_(std::forward<Args>(args)...) {}
    BorrowCell(const BorrowCell&) = delete;
    BorrowCell& operator=(const BorrowCell&) = delete;

    class Borrow {
    public:
        Borrow() noexcept = default;
        Borrow(Borrow&& other) noexcept : cell_(std::exchange(other.cell_, nullptr)) {}
        Borrow& operator=(Borrow&& other) noexcept {
            if (this != &other) {
                release();
                cell_ = std::exchange(other.cell_, nullptr);
            }
            return *this;
        }
        Borrow(const Borrow&) = delete;
        Borrow& operator=(const Borrow&) = delete;
        ~Borrow() { release(); }

        explicit operator bool() const noexcept { return cell_ != nullptr; }
        T& operator*() const noexcept { return cell_->value_; }
        T* operator->() const noexcept { return &cell_->value_; }
        void release() noexcept {
            if (cell_) std::exchange(cell_, nullptr)->count_ = 0;
        }

    private:
        friend class BorrowCell;
        explicit Borrow(BorrowCell* cell) noexcept : cell_(cell) { cell_->count_ = -1; }
        BorrowCell* cell_ = nullptr;
    };

    // Empty while another borrow holds the value.
    Borrow try_borrow() noexcept { return in_use() ? Borrow() : Borrow(this); }
    bool in_use() const noexcept { return count_ != 0; }

private:
    std::int64_t count_ = 0;  // 0 free, -1 borrowed
    T value_;
};

}  // namespace glimmerly
