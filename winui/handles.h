// Non-copyable owners of kernel handles and GDI objects.
#pragma once

#include <windows.h>

#include <utility>

namespace winui {

template <typename T, typename Traits>
class Owner {
public:
    Owner() = default;
    explicit Owner(T value) : value_(value) {}
    ~Owner() { Reset(); }
    Owner(const Owner&) = delete;
    Owner& operator=(const Owner&) = delete;
    Owner(Owner&& other) noexcept : value_(std::exchange(other.value_, Traits::Invalid())) {}
    Owner& operator=(Owner&& other) noexcept {
        if (this != &other) {
            Reset();
            value_ = std::exchange(other.value_, Traits::Invalid());
        }
        return *this;
    }

    T get() const { return value_; }
    bool valid() const { return !Traits::Empty(value_); }
    void Reset(T value = Traits::Invalid()) {
        if (valid()) Traits::Close(value_);
        value_ = value;
    }

private:
    T value_ = Traits::Invalid();
};

template <typename T>
struct NullIsEmpty {
    static T Invalid() { return nullptr; }
    static bool Empty(T h) { return h == nullptr; }
};

struct KernelHandleTraits : NullIsEmpty<HANDLE> {
    // Some calls fail with INVALID_HANDLE_VALUE rather than NULL: empty too, never closed.
    static bool Empty(HANDLE h) { return h == nullptr || h == INVALID_HANDLE_VALUE; }
    static void Close(HANDLE h) { CloseHandle(h); }
};

template <typename T>
struct GdiTraits : NullIsEmpty<T> {
    static void Close(T h) { DeleteObject(h); }
};

using UniqueHandle = Owner<HANDLE, KernelHandleTraits>;
using UniqueFont = Owner<HFONT, GdiTraits<HFONT>>;
using UniqueBrush = Owner<HBRUSH, GdiTraits<HBRUSH>>;

// A device context of the whole screen, released on scope exit.
class ScreenDc {
public:
    ScreenDc() : dc_(GetDC(nullptr)) {}
    ~ScreenDc() { ReleaseDC(nullptr, dc_); }
    ScreenDc(const ScreenDc&) = delete;
    ScreenDc& operator=(const ScreenDc&) = delete;
    HDC get() const { return dc_; }

private:
    HDC dc_;
};

}  // namespace winui
