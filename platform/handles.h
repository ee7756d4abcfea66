// Small owners for Win32 handles: each closes its handle exactly once, on every path.
// Copying is deleted; moving hands the handle over.
#pragma once

#include <windows.h>

#include <utility>

namespace velmorin {

template <typename Handle, auto Close>
class UniqueOwner {
public:
    UniqueOwner() = default;
    explicit UniqueOwner(Handle owned) : handle_(owned) {}
    UniqueOwner(const UniqueOwner&) = delete;
    UniqueOwner& operator=(const UniqueOwner&) = delete;
    UniqueOwner(UniqueOwner&& other) noexcept : handle_(other.Release()) {}
    UniqueOwner& operator=(UniqueOwner&& other) noexcept {
        if (this != &other) Reset(other.Release());
        return *this;
    }
    ~UniqueOwner() { Reset(); }

    Handle Get() const { return handle_; }
    explicit operator bool() const { return handle_ != Handle{}; }
    // For out-parameters: closes what is held and hands out the empty slot.
    Handle* Put() {
        Reset();
        return &handle_;
    }
    Handle Release() { return std::exchange(handle_, Handle{}); }
    void Reset(Handle replacement = Handle{}) {
        if (handle_ != Handle{}) Close(handle_);
        handle_ = replacement;
    }

private:
    Handle handle_{};
};

inline void CloseKernelHandle(HANDLE h) {
    ::CloseHandle(h);
}
inline void CloseRegistryKey(HKEY key) {
    ::RegCloseKey(key);
}
// Parenthesised: <windows.h> defines FreeModule as a function-like macro.
inline void(FreeModule)(HMODULE module) {
    ::FreeLibrary(module);
}
inline void DeleteGdiObject(HGDIOBJ object) {
    ::DeleteObject(object);
}
inline void DestroyIconHandle(HICON icon) {
    ::DestroyIcon(icon);
}

using UniqueHandle = UniqueOwner<HANDLE, CloseKernelHandle>;
using UniqueKey = UniqueOwner<HKEY, CloseRegistryKey>;
using UniqueLibrary = UniqueOwner<HMODULE, FreeModule>;
using UniqueGdiObject = UniqueOwner<HGDIOBJ, DeleteGdiObject>;
using UniqueIcon = UniqueOwner<HICON, DestroyIconHandle>;

// Selects an object into a device context and puts the previous one back.
class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), previous_(::SelectObject(dc, object)) {}
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;
    ~SelectedObject() {
        if (previous_ != nullptr && previous_ != HGDI_ERROR) ::SelectObject(dc_, previous_);
    }

private:
    HDC dc_;
    HGDIOBJ previous_;
};

}  // namespace velmorin
