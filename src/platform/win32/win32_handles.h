// Owners for what the Windows layer borrows from the system: COM interface
// pointers, handles (registry keys, hooks, device contexts, GDI objects,
// windows, file searches, files) and VARIANT / BSTR values. Each gives back what it holds when it
// goes, so no early return or failure path leaks one.
#pragma once

// clang-format off
#include <windows.h>
#include <ole2.h>
#include <oleauto.h>
// clang-format on

#include <string_view>
#include <utility>

namespace qta1::win32 {

// One counted reference to a COM interface.
template <class T>
class ComPtr {
public:
    ComPtr() = default;
    ComPtr(std::nullptr_t) {}
    // Takes a reference the caller already counted.
    static ComPtr Adopt(T* held) {
        ComPtr p;
        p.p_ = held;
        return p;
    }
    // Counts a new reference to `held`.
    static ComPtr Share(T* held) {
        if (held != nullptr) held->AddRef();
        return Adopt(held);
    }
    ComPtr(const ComPtr& other) : p_(other.p_) {
        if (p_ != nullptr) p_->AddRef();
    }
    ComPtr(ComPtr&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
    ComPtr& operator=(ComPtr other) noexcept {
        std::swap(p_, other.p_);
        return *this;
    }
    ~ComPtr() { Reset(); }

    void Reset() {
        if (T* held = std::exchange(p_, nullptr)) held->Release();
    }
    T* Get() const { return p_; }
    T* operator->() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }
    // For an out parameter: the old reference is given back first.
    T** Out() {
        Reset();
        return &p_;
    }
    void** OutVoid() { return reinterpret_cast<void**>(Out()); }
    // Hands the caller a new reference (an out parameter), null included.
    T* Copy() const {
        if (p_ != nullptr) p_->AddRef();
        return p_;
    }
    friend bool operator==(const ComPtr& p, std::nullptr_t) { return p.p_ == nullptr; }

    // Another interface of the same object, or null.
    template <class U>
    ComPtr<U> As(REFIID iid) const {
        ComPtr<U> other;
        if (p_ != nullptr) p_->QueryInterface(iid, other.OutVoid());
        return other;
    }

private:
    T* p_ = nullptr;
};

// A handle with the function that gives it back.
template <class H, class Traits>
class UniqueHandle {
public:
    UniqueHandle() = default;
    explicit UniqueHandle(H handle) : h_(handle) {}
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept : h_(other.Release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        Reset(other.Release());
        return *this;
    }
    ~UniqueHandle() { Reset(); }

    void Reset(H handle = Traits::Invalid()) {
        const H old = std::exchange(h_, handle);
        if (old != Traits::Invalid()) Traits::Close(old);
    }
    H Get() const { return h_; }
    H Release() { return std::exchange(h_, Traits::Invalid()); }
    H* Out() {
        Reset();
        return &h_;
    }
    explicit operator bool() const { return h_ != Traits::Invalid(); }

private:
    H h_ = Traits::Invalid();
};

// How a handle that is null when there is none is given back.
template <class H, auto close>
struct NullHandleTraits {
    static H Invalid() { return nullptr; }
    static void Close(H handle) { close(handle); }
};
// ... and a kernel handle that is INVALID_HANDLE_VALUE when there is none.
template <auto close>
struct KernelHandleTraits {
    static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(HANDLE handle) { close(handle); }
};

using RegKey = UniqueHandle<HKEY, NullHandleTraits<HKEY, &RegCloseKey>>;
using Hook = UniqueHandle<HHOOK, NullHandleTraits<HHOOK, &UnhookWindowsHookEx>>;
using MemoryDc = UniqueHandle<HDC, NullHandleTraits<HDC, &DeleteDC>>;
using GdiObject = UniqueHandle<HGDIOBJ, NullHandleTraits<HGDIOBJ, &DeleteObject>>;
using Window = UniqueHandle<HWND, NullHandleTraits<HWND, &DestroyWindow>>;
// A search of FindFirstFileW.
using FindHandle = UniqueHandle<HANDLE, KernelHandleTraits<&FindClose>>;
// A file of CreateFileW.
using FileHandle = UniqueHandle<HANDLE, KernelHandleTraits<&CloseHandle>>;

// A window's device context, given back to the window.
class WindowDc {
public:
    explicit WindowDc(HWND window, bool wholeWindow = false)
        : window_(window), dc_(wholeWindow ? GetWindowDC(window) : GetDC(window)) {}
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    ~WindowDc() {
        if (dc_ != nullptr) ReleaseDC(window_, dc_);
    }
    HDC Get() const { return dc_; }
    explicit operator bool() const { return dc_ != nullptr; }

private:
    HWND window_;
    HDC dc_;
};

// An object selected into a device context for a while.
class Selection {
public:
    Selection(HDC dc, HGDIOBJ object)
        : dc_(dc),
          previous_(dc != nullptr && object != nullptr ? SelectObject(dc, object) : nullptr) {}
    Selection(const Selection&) = delete;
    Selection& operator=(const Selection&) = delete;
    ~Selection() {
        if (previous_ != nullptr) SelectObject(dc_, previous_);
    }

private:
    HDC dc_;
    HGDIOBJ previous_;
};

// A VARIANT that is cleared when it goes.
class Variant {
public:
    Variant() { VariantInit(&v_); }
    Variant(const Variant&) = delete;
    Variant& operator=(const Variant&) = delete;
    ~Variant() { VariantClear(&v_); }
    VARIANT* Ptr() { return &v_; }

private:
    VARIANT v_;
};

// A BSTR that is freed when it goes.
class Bstr {
public:
    Bstr() = default;
    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;
    ~Bstr() { SysFreeString(s_); }
    BSTR* Out() {
        SysFreeString(std::exchange(s_, nullptr));
        return &s_;
    }
    BSTR Get() const { return s_; }
    // The text, NULs within it included; empty for a null BSTR.
    std::wstring_view View() const { return {s_, SysStringLen(s_)}; }

private:
    BSTR s_ = nullptr;
};

// A new BSTR holding `text`, NULs within it included, for an out parameter
// the caller frees; null when out of memory.
inline BSTR NewBstr(std::wstring_view text) {
    return SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
}

}  // namespace qta1::win32
