// One owner for every kind of handle: a handle type plus its release function.
// Copying is deleted, moving hands ownership over. Each kind keeps a count of
// the handles currently owned, so leak tests can check that every path
// released what it took (GetGuiResources reports 0 under Wine).
#pragma once

#include <atomic>
#include <utility>

// Traits: `using Handle = ...;`, `static Handle Invalid()`, `static void Close(Handle)`.
template <typename Traits>
class UniqueHandle;

// The traits of a kind whose failure value is null and whose release is one
// call of `close` (a function, or a callable object with static storage).
// Each handle type and release pair is its own kind, with its own counter.
template <typename H, auto& close>
struct NullHandleTraits {
    using Handle = H;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle h) { close(h); }
};

template <typename Traits>
class UniqueHandle {
public:
    using Handle = typename Traits::Handle;

    UniqueHandle() noexcept = default;
    explicit UniqueHandle(Handle handle) noexcept : handle_(handle) {
        if (IsValid()) ++LiveCount();
    }
    ~UniqueHandle() { Reset(); }

    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;

    UniqueHandle(UniqueHandle&& other) noexcept
        : handle_(std::exchange(other.handle_, Traits::Invalid())) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) {
            Reset();
            handle_ = std::exchange(other.handle_, Traits::Invalid());
        }
        return *this;
    }

    Handle Get() const noexcept { return handle_; }
    bool IsValid() const noexcept { return handle_ != Traits::Invalid(); }
    explicit operator bool() const noexcept { return IsValid(); }

    // Closes the owned handle (if any) and takes the new one.
    void Reset(Handle handle = Traits::Invalid()) noexcept {
        if (handle == handle_) return;
        if (IsValid()) {
            Traits::Close(handle_);
            --LiveCount();
        }
        handle_ = handle;
        if (IsValid()) ++LiveCount();
    }

    // Gives up ownership without closing; the caller now owns the handle.
    [[nodiscard]] Handle Release() noexcept {
        if (IsValid()) --LiveCount();
        return std::exchange(handle_, Traits::Invalid());
    }

    // Number of handles of this kind currently owned by some UniqueHandle.
    static long Live() noexcept { return LiveCount().load(); }

private:
    static std::atomic<long>& LiveCount() noexcept {
        static std::atomic<long> count{0};
        return count;
    }

    Handle handle_ = Traits::Invalid();
};
