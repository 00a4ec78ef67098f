#pragma once
// Owners of Win32 handles. Each gives its handle back with the function that
// matches how it was got, once, when the owner goes; none can be copied.
//
//   KernelHandle        CloseHandle: files, mutexes, events, threads
//   FindHandle          FindClose: a FindFirstFileW search
//   RegistryKey         RegCloseKey
//   OwnedMenu           DestroyMenu: a menu not attached to a window
//   GdiObject<T>        DeleteObject: OwnedBitmap, OwnedFont, OwnedBrush
//   WindowDc            ReleaseDC: the device context of GetDC
//   SelectedObject      SelectObject back to what a selection replaced
//   MemoryDc            DeleteDC (base/MemoryDc_win.h)

#include <windows.h>

// A handle and the way to give it back. Traits name the empty value (what the
// getting function returns on failure) and the closing function.
template <typename Traits>
class UniqueHandle {
public:
    using Handle = typename Traits::Handle;

    UniqueHandle() = default;
    explicit UniqueHandle(Handle handle) : handle(handle) {}
    ~UniqueHandle() { Close(); }
    UniqueHandle(UniqueHandle&& other) noexcept : handle(other.Release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) Reset(other.Release());
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;

    Handle Get() const { return handle; }
    explicit operator bool() const { return Traits::Valid(handle); }
    // For functions that return the handle through a pointer; closes any held.
    Handle* Receive() {
        Close();
        return &handle;
    }
    // Gives up ownership without closing.
    Handle Release() {
        Handle h = handle;
        handle = Traits::Empty();
        return h;
    }
    void Reset(Handle replacement = Traits::Empty()) {
        Close();
        handle = replacement;
    }
    // Closes now; false when the closing function reports a failure (closing a
    // written file can fail when the data does not reach the disk).
    bool Close() {
        if (!Traits::Valid(handle)) return true;
        const bool ok = Traits::Close(handle);
        handle = Traits::Empty();
        return ok;
    }

private:
    Handle handle = Traits::Empty();
};

namespace HandleTraits {

// CreateFileW fails with INVALID_HANDLE_VALUE, most other kernel functions
// with null; neither is closed.
struct Kernel {
    using Handle = HANDLE;
    static Handle Empty() { return nullptr; }
    static bool Valid(Handle h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
    static bool Close(Handle h) { return CloseHandle(h) != FALSE; }
};

struct Find {
    using Handle = HANDLE;
    static Handle Empty() { return INVALID_HANDLE_VALUE; }
    static bool Valid(Handle h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
    static bool Close(Handle h) { return FindClose(h) != FALSE; }
};

struct Registry {
    using Handle = HKEY;
    static Handle Empty() { return nullptr; }
    static bool Valid(Handle h) { return h != nullptr; }
    static bool Close(Handle h) { return RegCloseKey(h) == ERROR_SUCCESS; }
};

struct Menu {
    using Handle = HMENU;
    static Handle Empty() { return nullptr; }
    static bool Valid(Handle h) { return h != nullptr; }
    static bool Close(Handle h) { return DestroyMenu(h) != FALSE; }
};

template <typename T>
struct Gdi {
    using Handle = T;
    static Handle Empty() { return nullptr; }
    static bool Valid(Handle h) { return h != nullptr; }
    static bool Close(Handle h) { return DeleteObject(h) != FALSE; }
};

}  // namespace HandleTraits

using KernelHandle = UniqueHandle<HandleTraits::Kernel>;
using FindHandle = UniqueHandle<HandleTraits::Find>;
using RegistryKey = UniqueHandle<HandleTraits::Registry>;
using OwnedMenu = UniqueHandle<HandleTraits::Menu>;
template <typename T>
using GdiObject = UniqueHandle<HandleTraits::Gdi<T>>;
using OwnedBitmap = GdiObject<HBITMAP>;
using OwnedFont = GdiObject<HFONT>;
using OwnedBrush = GdiObject<HBRUSH>;
using OwnedRegion = GdiObject<HRGN>;

// The device context of a window (or of the screen, for null) from GetDC.
class WindowDc {
public:
    explicit WindowDc(HWND window) : window(window), dc(GetDC(window)) {}
    ~WindowDc() {
        if (dc) ReleaseDC(window, dc);
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;

    HDC Get() const { return dc; }
    explicit operator bool() const { return dc != nullptr; }

private:
    HWND window;
    HDC dc;
};

// An object selected into a device context for one scope; the object that it
// replaced goes back in at the end. A null device context or object selects
// nothing.
class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ object)
        : dc(dc), previous(dc && object ? SelectObject(dc, object) : nullptr) {}
    ~SelectedObject() {
        if (dc && previous) SelectObject(dc, previous);
    }
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;

private:
    HDC dc;
    HGDIOBJ previous;
};
