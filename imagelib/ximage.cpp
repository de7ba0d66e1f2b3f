#include "imagelib/ximage.h"

#include <wincodec.h>

#include <cstddef>
#include <cstring>

#include "imagelib/BilinearScaler.h"

namespace {

template <class Interface>
class ComPtr {
public:
    ComPtr() = default;
    ~ComPtr()
    {
        if (m_pointer != nullptr) {
            m_pointer->Release();
        }
    }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    Interface* operator->() const { return m_pointer; }
    Interface* Get() const { return m_pointer; }
    Interface** Receive() { return &m_pointer; }

private:
    Interface* m_pointer = nullptr;
};

// COM for this thread for the length of one decode; a thread that already
// has COM in another apartment model can use WIC as it is.
class ComScope {
public:
    ComScope() : m_result(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) { }
    ~ComScope()
    {
        if (SUCCEEDED(m_result)) {
            CoUninitialize();
        }
    }
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;
    bool Usable() const { return SUCCEEDED(m_result) || m_result == RPC_E_CHANGED_MODE; }

private:
    HRESULT m_result;
};

// The decoder of each image type, by its class: creating a decoder through
// the factory looks all installed decoders up first, which costs more than
// decoding the skin's backgrounds.
struct DecoderClass {
    DWORD imageType;
    const GUID* container;
    const CLSID* decoder;
};
const DecoderClass kDecoderClasses[] = {
    {CXIMAGE_FORMAT_BMP, &GUID_ContainerFormatBmp, &CLSID_WICBmpDecoder},
    {CXIMAGE_FORMAT_GIF, &GUID_ContainerFormatGif, &CLSID_WICGifDecoder},
    {CXIMAGE_FORMAT_JPG, &GUID_ContainerFormatJpeg, &CLSID_WICJpegDecoder},
    {CXIMAGE_FORMAT_PNG, &GUID_ContainerFormatPng, &CLSID_WICPngDecoder},
};
const std::size_t kDecoderClassCount = sizeof(kDecoderClasses) / sizeof(kDecoderClasses[0]);

const DecoderClass* DecoderClassFor(DWORD imageType)
{
    for (const DecoderClass& entry : kDecoderClasses) {
        if (entry.imageType == imageType) {
            return &entry;
        }
    }
    return nullptr;
}

// What decoding needs besides the image data: the imaging factory and the
// decoders' class objects, made when first needed.
struct Imaging {
    IWICImagingFactory* factory = nullptr;
    IClassFactory* decoders[kDecoderClassCount] = {};

    bool Ready()
    {
        if (factory == nullptr &&
            FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                    reinterpret_cast<void**>(&factory)))) {
            factory = nullptr;
        }
        return factory != nullptr;
    }

    // A new decoder of the given class, or null.
    IWICBitmapDecoder* CreateDecoder(const DecoderClass& type)
    {
        IClassFactory*& classObject = decoders[&type - kDecoderClasses];
        if (classObject == nullptr &&
            FAILED(CoGetClassObject(*type.decoder, CLSCTX_INPROC_SERVER, nullptr, IID_IClassFactory,
                                    reinterpret_cast<void**>(&classObject)))) {
            classObject = nullptr;
            return nullptr;
        }
        IWICBitmapDecoder* decoder = nullptr;
        if (FAILED(
                classObject->CreateInstance(nullptr, IID_IWICBitmapDecoder, reinterpret_cast<void**>(&decoder)))) {
            return nullptr;
        }
        return decoder;
    }

    void Release()
    {
        for (IClassFactory*& classObject : decoders) {
            if (classObject != nullptr) {
                classObject->Release();
                classObject = nullptr;
            }
        }
        if (factory != nullptr) {
            factory->Release();
            factory = nullptr;
        }
    }
};

// Every paint decodes a background, and setting up COM, the factory and
// the decoder classes each time would cost more than the decoding. So the
// first thread that decodes (the launcher's user-interface thread) sets up
// COM once and keeps it, and keeps its Imaging for the life of the
// process; the launcher ends by terminating itself, so nothing is torn
// down. Other threads make their own for each decode: COM objects belong
// to their creator's apartment.
Imaging g_shared;
DWORD g_sharedThread = 0;

// The shared Imaging when the calling thread owns it, else null.
Imaging* SharedImagingOfThisThread()
{
    const auto thread = static_cast<LONG>(GetCurrentThreadId());
    auto* owner = reinterpret_cast<volatile LONG*>(&g_sharedThread);
    if (InterlockedCompareExchange(owner, thread, 0) == 0) {
        // Kept on purpose: the shared objects live in this apartment.
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    }
    return *owner == thread ? &g_shared : nullptr;
}

// Images larger than this are refused rather than allocated.
const UINT kMaxSide = 16384;

// How many pixels a band of a scaled bitmap holds: 64 KiB, small enough to
// come from memory the heap already has.
const DWORD kBandPixels = 16384;

}  // namespace

CxImage::CxImage(DWORD imageType) : m_type(imageType) { }

CxImage::~CxImage()
{
    Destroy();
}

void CxImage::Destroy()
{
    if (m_pixels != nullptr) {
        HeapFree(GetProcessHeap(), 0, m_pixels);
        m_pixels = nullptr;
    }
    m_width = 0;
    m_height = 0;
}

bool CxImage::LoadResource(HRSRC resource, DWORD imageType, HMODULE module)
{
    if (resource == nullptr) {
        return false;
    }
    if (module == nullptr) {
        module = GetModuleHandleW(nullptr);
    }
    HGLOBAL loaded = ::LoadResource(module, resource);
    const void* data = loaded != nullptr ? LockResource(loaded) : nullptr;
    const DWORD size = SizeofResource(module, resource);
    if (data == nullptr || size == 0) {
        return false;
    }
    return Decode(data, size, imageType);
}

namespace {

// Decodes into a new top-down BGRA buffer from the process heap.
BYTE* DecodePixels(Imaging& imaging, const void* data, DWORD size, const DecoderClass* type, UINT& width,
                   UINT& height)
{
    if (!imaging.Ready()) {
        return nullptr;
    }
    IWICImagingFactory* factory = imaging.factory;
    ComPtr<IWICStream> stream;
    if (FAILED(factory->CreateStream(stream.Receive())) ||
        FAILED(stream->InitializeFromMemory(static_cast<BYTE*>(const_cast<void*>(data)), size))) {
        return nullptr;
    }
    ComPtr<IWICBitmapDecoder> decoder;
    if (type != nullptr) {
        // The type's own decoder refuses data of another type.
        *decoder.Receive() = imaging.CreateDecoder(*type);
        if (decoder.Get() == nullptr ||
            FAILED(decoder->Initialize(stream.Get(), WICDecodeMetadataCacheOnDemand))) {
            return nullptr;
        }
    } else if (FAILED(factory->CreateDecoderFromStream(stream.Get(), nullptr, WICDecodeMetadataCacheOnDemand,
                                                       decoder.Receive()))) {
        return nullptr;
    }
    if (type != nullptr) {
        GUID container{};
        if (FAILED(decoder->GetContainerFormat(&container)) || !IsEqualGUID(container, *type->container)) {
            return nullptr;
        }
    }
    ComPtr<IWICBitmapFrameDecode> frame;
    if (FAILED(decoder->GetFrame(0, frame.Receive()))) {
        return nullptr;
    }
    if (FAILED(frame->GetSize(&width, &height)) || width == 0 || height == 0 || width > kMaxSide ||
        height > kMaxSide) {
        return nullptr;
    }
    ComPtr<IWICFormatConverter> converter;
    if (FAILED(factory->CreateFormatConverter(converter.Receive())) ||
        FAILED(converter->Initialize(frame.Get(), GUID_WICPixelFormat32bppBGRA, WICBitmapDitherTypeNone, nullptr,
                                     0.0, WICBitmapPaletteTypeCustom))) {
        return nullptr;
    }
    const UINT stride = width * 4;
    const UINT bytes = stride * height;
    auto* pixels = static_cast<BYTE*>(HeapAlloc(GetProcessHeap(), 0, bytes));
    if (pixels == nullptr) {
        return nullptr;
    }
    if (FAILED(converter->CopyPixels(nullptr, stride, bytes, pixels))) {
        HeapFree(GetProcessHeap(), 0, pixels);
        return nullptr;
    }
    return pixels;
}

}  // namespace

bool CxImage::Decode(const void* data, DWORD size, DWORD imageType)
{
    Destroy();
    if (data == nullptr || size == 0) {
        return false;
    }
    const DecoderClass* type = DecoderClassFor(imageType);
    if (imageType != CXIMAGE_FORMAT_UNKNOWN && type == nullptr) {
        return false;
    }

    UINT width = 0;
    UINT height = 0;
    BYTE* pixels = nullptr;
    if (Imaging* shared = SharedImagingOfThisThread()) {
        pixels = DecodePixels(*shared, data, size, type, width, height);
    } else {
        ComScope com;
        if (!com.Usable()) {
            return false;
        }
        Imaging own;
        pixels = DecodePixels(own, data, size, type, width, height);
        own.Release();
    }
    if (pixels == nullptr) {
        return false;
    }
    m_pixels = pixels;
    m_width = width;
    m_height = height;
    m_type = imageType != CXIMAGE_FORMAT_UNKNOWN ? imageType : m_type;
    return true;
}

namespace {

// A top-down 32-bit DIB section and its pixels.
HBITMAP NewDib(HDC reference, DWORD width, DWORD height, DWORD*& bits)
{
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = static_cast<LONG>(width);
    info.bmiHeader.biHeight = -static_cast<LONG>(height);  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    // The context only matters for palette colours; these are RGB, so no
    // screen context is fetched when none is given.
    void* pixels = nullptr;
    HBITMAP bitmap = CreateDIBSection(reference, &info, DIB_RGB_COLORS, &pixels, nullptr, 0);
    if (bitmap != nullptr && pixels == nullptr) {
        DeleteObject(bitmap);
        bitmap = nullptr;
    }
    bits = static_cast<DWORD*>(pixels);
    return bitmap;
}

}  // namespace

HBITMAP CxImage::MakeBitmap(HDC reference) const
{
    if (m_pixels == nullptr) {
        return nullptr;
    }
    DWORD* bits = nullptr;
    HBITMAP bitmap = NewDib(reference, m_width, m_height, bits);
    if (bitmap != nullptr) {
        std::memcpy(bits, m_pixels, static_cast<size_t>(m_width) * m_height * 4);
    }
    return bitmap;
}

HBITMAP CxImage::MakeBitmap(HDC reference, DWORD width, DWORD height) const
{
    if (m_pixels == nullptr || width == 0 || height == 0 || width > kMaxSide || height > kMaxSide) {
        return nullptr;
    }
    if (width == m_width && height == m_height) {
        return MakeBitmap(reference);
    }
    // A bitmap in the screen's format, filled a band of rows at a time from
    // one small buffer: fresh memory is what costs (under Wine an
    // image-sized DIB section or buffer costs several times the scaling
    // into it), and a compatible bitmap's memory is the system's.
    const DWORD bandRows = width >= kBandPixels ? 1 : kBandPixels / width;
    const SIZE_T workBytes = BilinearScaler::WorkBytes(width) + static_cast<SIZE_T>(bandRows) * width * 4;
    HANDLE heap = GetProcessHeap();
    void* work = HeapAlloc(heap, 0, workBytes);
    HDC screen = GetDC(nullptr);
    HDC target = screen != nullptr ? CreateCompatibleDC(screen) : nullptr;
    HBITMAP bitmap = target != nullptr && work != nullptr
                         ? CreateCompatibleBitmap(screen, static_cast<int>(width), static_cast<int>(height))
                         : nullptr;
    HGDIOBJ previous = bitmap != nullptr ? SelectObject(target, bitmap) : nullptr;
    if (previous != nullptr) {
        BilinearScaler scaler(reinterpret_cast<const std::uint32_t*>(m_pixels), m_width, m_height, width, height,
                              work);
        auto* band = reinterpret_cast<std::uint32_t*>(static_cast<BYTE*>(work) + BilinearScaler::WorkBytes(width));
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = static_cast<LONG>(width);
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        for (DWORD top = 0; top < height && bitmap != nullptr; top += bandRows) {
            const DWORD rows = height - top < bandRows ? height - top : bandRows;
            // The band is a whole bottom-up DIB of its own, the form every
            // Windows version sets in one call.
            for (DWORD y = 0; y < rows; ++y) {
                scaler.Row(top + y, band + static_cast<SIZE_T>(rows - 1 - y) * width);
            }
            info.bmiHeader.biHeight = static_cast<LONG>(rows);
            if (SetDIBitsToDevice(target, 0, static_cast<int>(top), width, rows, 0, 0, 0, rows, band, &info,
                                  DIB_RGB_COLORS) == 0) {
                SelectObject(target, previous);
                previous = nullptr;
                DeleteObject(bitmap);
                bitmap = nullptr;
            }
        }
        if (previous != nullptr) {
            SelectObject(target, previous);
        }
    }
    if (target != nullptr) DeleteDC(target);
    if (screen != nullptr) ReleaseDC(nullptr, screen);
    if (work != nullptr) HeapFree(heap, 0, work);
    return bitmap;
}
