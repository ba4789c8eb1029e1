#pragma once
// Owners of the user-interface handles the tray program holds: each releases its handle once,
// with the call that matches how it was made.

#include <windows.h>

#include <commctrl.h>

#include <utility>

namespace tray::win32 {

// A handle with its release function; move-only.
template <class H, auto Free>
class UniqueUiHandle {
public:
    UniqueUiHandle() = default;
    explicit UniqueUiHandle(H handle) : m_handle(handle) {}
    ~UniqueUiHandle() { Reset(); }
    UniqueUiHandle(UniqueUiHandle&& other) noexcept : m_handle(std::exchange(other.m_handle, nullptr)) {}
    UniqueUiHandle& operator=(UniqueUiHandle&& other) noexcept
    {
        if (this != &other)
            Reset(std::exchange(other.m_handle, nullptr));
        return *this;
    }
    UniqueUiHandle(const UniqueUiHandle&) = delete;
    UniqueUiHandle& operator=(const UniqueUiHandle&) = delete;

    H Get() const { return m_handle; }
    explicit operator bool() const { return m_handle != nullptr; }
    // Gives the handle up without releasing it (it now belongs to someone else).
    H Release() { return std::exchange(m_handle, nullptr); }
    void Reset(H handle = nullptr)
    {
        if (m_handle && m_handle != handle)
            Free(m_handle);
        m_handle = handle;
    }

private:
    H m_handle = nullptr;
};

using IconHandle = UniqueUiHandle<HICON, &::DestroyIcon>;
using MenuHandle = UniqueUiHandle<HMENU, &::DestroyMenu>;
using ImageListHandle = UniqueUiHandle<HIMAGELIST, &::ImageList_Destroy>;

// The clipboard opened for `owner`; closed again only when opening succeeded.
class ClipboardSession {
public:
    explicit ClipboardSession(HWND owner) : m_open(::OpenClipboard(owner) != FALSE) {}
    ~ClipboardSession()
    {
        if (m_open)
            ::CloseClipboard();
    }
    ClipboardSession(const ClipboardSession&) = delete;
    ClipboardSession& operator=(const ClipboardSession&) = delete;

private:
    bool m_open;
};

// GlobalLock for the lifetime of the object. Size() is the block's size in bytes.
class GlobalLockScope {
public:
    explicit GlobalLockScope(HANDLE memory)
        : m_memory(static_cast<HGLOBAL>(memory)), m_data(memory ? ::GlobalLock(m_memory) : nullptr)
    {
    }
    ~GlobalLockScope()
    {
        if (m_data)
            ::GlobalUnlock(m_memory);
    }
    GlobalLockScope(const GlobalLockScope&) = delete;
    GlobalLockScope& operator=(const GlobalLockScope&) = delete;

    const void* Data() const { return m_data; }
    SIZE_T Size() const { return m_data ? ::GlobalSize(m_memory) : 0; }

private:
    HGLOBAL m_memory;
    void* m_data;
};

}  // namespace tray::win32
