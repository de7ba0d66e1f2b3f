#pragma once
// Scoped owners for every handle the launcher holds: GDI objects and
// contexts for a paint pass or a region build, kernel handles, registry
// keys. Each releases its handle when it goes out of scope; Detach() hands a
// GDI object to someone else (a region given to a window, a bitmap given to
// a caller). The image DLL keeps its COM helpers to itself: it links none
// of the launcher's code.
#include <windows.h>

template <class Handle>
class GdiObject {
public:
    GdiObject() = default;
    explicit GdiObject(Handle handle) : m_handle(handle) {}
    ~GdiObject() { Reset(); }
    GdiObject(const GdiObject&) = delete;
    GdiObject& operator=(const GdiObject&) = delete;
    GdiObject(GdiObject&& other) noexcept : m_handle(other.Detach()) {}
    GdiObject& operator=(GdiObject&& other) noexcept
    {
        if (this != &other) {
            Reset(other.Detach());
        }
        return *this;
    }

    Handle Get() const { return m_handle; }
    explicit operator bool() const { return m_handle != nullptr; }
    Handle Detach()
    {
        Handle handle = m_handle;
        m_handle = nullptr;
        return handle;
    }
    void Reset(Handle handle = nullptr)
    {
        if (m_handle != nullptr) {
            DeleteObject(m_handle);
        }
        m_handle = handle;
    }

private:
    Handle m_handle = nullptr;
};

using OwnedBitmap = GdiObject<HBITMAP>;
using OwnedFont = GdiObject<HFONT>;
using OwnedRegion = GdiObject<HRGN>;

// The client-area device context of a window (GetDC / ReleaseDC).
class ClientDC {
public:
    explicit ClientDC(HWND window) : m_window(window), m_dc(GetDC(window)) {}
    ~ClientDC()
    {
        if (m_dc != nullptr) {
            ReleaseDC(m_window, m_dc);
        }
    }
    ClientDC(const ClientDC&) = delete;
    ClientDC& operator=(const ClientDC&) = delete;
    HDC Get() const { return m_dc; }

private:
    HWND m_window;
    HDC m_dc;
};

// A memory device context compatible with another one.
class MemoryDC {
public:
    explicit MemoryDC(HDC compatibleWith) : m_dc(CreateCompatibleDC(compatibleWith)) {}
    ~MemoryDC()
    {
        if (m_dc != nullptr) {
            DeleteDC(m_dc);
        }
    }
    MemoryDC(const MemoryDC&) = delete;
    MemoryDC& operator=(const MemoryDC&) = delete;
    HDC Get() const { return m_dc; }

private:
    HDC m_dc;
};

// Selects an object into a context and puts the previous one back.
class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ object) : m_dc(dc), m_previous(SelectObject(dc, object)) {}
    ~SelectedObject()
    {
        if (m_previous != nullptr && m_previous != HGDI_ERROR) {
            SelectObject(m_dc, m_previous);
        }
    }
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;

private:
    HDC m_dc;
    HGDIOBJ m_previous;
};

// A kernel handle: a file, a process, a thread, a snapshot. Both null and
// INVALID_HANDLE_VALUE mean none, as the creating calls use one or the other.
class OwnedHandle {
public:
    OwnedHandle() = default;
    explicit OwnedHandle(HANDLE handle) : m_handle(handle) {}
    ~OwnedHandle() { Close(); }
    OwnedHandle(const OwnedHandle&) = delete;
    OwnedHandle& operator=(const OwnedHandle&) = delete;

    HANDLE Get() const { return m_handle; }
    bool Valid() const { return m_handle != nullptr && m_handle != INVALID_HANDLE_VALUE; }
    void Close()
    {
        if (Valid()) {
            CloseHandle(m_handle);
        }
        m_handle = nullptr;
    }

private:
    HANDLE m_handle = nullptr;
};

// An open registry key.
class RegistryKey {
public:
    RegistryKey() = default;
    ~RegistryKey()
    {
        if (m_key != nullptr) {
            RegCloseKey(m_key);
        }
    }
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;
    HKEY* Receive() { return &m_key; }
    HKEY Get() const { return m_key; }

private:
    HKEY m_key = nullptr;
};
