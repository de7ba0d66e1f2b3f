#pragma once
// Scoped owners for every handle the launcher holds: GDI objects and
// contexts for a paint pass or a region build, kernel handles, registry
// keys, file searches, COM interface pointers. Each releases its handle
// when it goes out of scope; Detach() hands it to someone else (a region
// given to a window, a bitmap given to a caller). The image DLL keeps its
// COM helpers to itself: it links none of the launcher's code.
#include <windows.h>
#include <unknwn.h>

// How a kind of handle is released, and which values mean none.
struct GdiObjectKind {
    static void Release(HGDIOBJ object) { DeleteObject(object); }
    static bool IsNone(HGDIOBJ object) { return object == nullptr; }
};
struct KernelHandleKind {
    static void Release(HANDLE handle) { CloseHandle(handle); }
    // The creating calls use one or the other for failure.
    static bool IsNone(HANDLE handle) { return handle == nullptr || handle == INVALID_HANDLE_VALUE; }
};
struct RegistryKeyKind {
    static void Release(HKEY key) { RegCloseKey(key); }
    static bool IsNone(HKEY key) { return key == nullptr; }
};

struct ModuleKind {
    static void Release(HMODULE module) { FreeLibrary(module); }
    static bool IsNone(HMODULE module) { return module == nullptr; }
};
struct FindHandleKind {
    static void Release(HANDLE search) { FindClose(search); }
    static bool IsNone(HANDLE search) { return search == nullptr || search == INVALID_HANDLE_VALUE; }
};
// One reference to a COM object, taken over from whoever handed it out.
struct ComInterfaceKind {
    static void Release(IUnknown* object) { object->Release(); }
    static bool IsNone(const IUnknown* object) { return object == nullptr; }
};

template <class Handle, class Kind>
class Owned {
public:
    Owned() = default;
    explicit Owned(Handle handle) : m_handle(handle) { }
    ~Owned() { Reset(); }
    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;
    Owned(Owned&& other) noexcept : m_handle(other.Detach()) { }
    Owned& operator=(Owned&& other) noexcept
    {
        if (this != &other) {
            Reset(other.Detach());
        }
        return *this;
    }

    Handle Get() const { return m_handle; }
    // For owners of interface pointers.
    Handle operator->() const { return m_handle; }
    bool Valid() const { return !Kind::IsNone(m_handle); }
    explicit operator bool() const { return Valid(); }
    Handle Detach()
    {
        Handle handle = m_handle;
        m_handle = nullptr;
        return handle;
    }
    void Reset(Handle handle = nullptr)
    {
        if (Valid()) {
            Kind::Release(m_handle);
        }
        m_handle = handle;
    }
    // For calls that hand a new handle back through a pointer.
    Handle* Receive()
    {
        Reset();
        return &m_handle;
    }

private:
    Handle m_handle = nullptr;
};

using OwnedBitmap = Owned<HBITMAP, GdiObjectKind>;
using OwnedFont = Owned<HFONT, GdiObjectKind>;
using OwnedRegion = Owned<HRGN, GdiObjectKind>;
using OwnedHandle = Owned<HANDLE, KernelHandleKind>;
using RegistryKey = Owned<HKEY, RegistryKeyKind>;
using OwnedFindHandle = Owned<HANDLE, FindHandleKind>;
using OwnedModule = Owned<HMODULE, ModuleKind>;
template <class Interface>
using OwnedInterface = Owned<Interface*, ComInterfaceKind>;

// The client-area device context of a window (GetDC / ReleaseDC).
class ClientDC {
public:
    explicit ClientDC(HWND window) : m_window(window), m_dc(GetDC(window)) { }
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
    explicit MemoryDC(HDC compatibleWith) : m_dc(CreateCompatibleDC(compatibleWith)) { }
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
    SelectedObject(HDC dc, HGDIOBJ object) : m_dc(dc), m_previous(SelectObject(dc, object)) { }
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
