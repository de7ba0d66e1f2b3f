#include "imagelib/ximage.h"

#include <wincodec.h>

#include <cstring>

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
    ComScope() : m_result(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
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

const GUID* ContainerFor(DWORD imageType)
{
    switch (imageType) {
    case CXIMAGE_FORMAT_BMP: return &GUID_ContainerFormatBmp;
    case CXIMAGE_FORMAT_GIF: return &GUID_ContainerFormatGif;
    case CXIMAGE_FORMAT_JPG: return &GUID_ContainerFormatJpeg;
    case CXIMAGE_FORMAT_PNG: return &GUID_ContainerFormatPng;
    default: return nullptr;
    }
}

// Images larger than this are refused rather than allocated.
const UINT kMaxSide = 16384;

}  // namespace

CxImage::CxImage(DWORD imageType) : m_type(imageType) {}

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

bool CxImage::Decode(const void* data, DWORD size, DWORD imageType)
{
    Destroy();
    if (data == nullptr || size == 0) {
        return false;
    }
    const GUID* wanted = ContainerFor(imageType);
    if (imageType != CXIMAGE_FORMAT_UNKNOWN && wanted == nullptr) {
        return false;
    }

    ComScope com;
    if (!com.Usable()) {
        return false;
    }
    ComPtr<IWICImagingFactory> factory;
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                reinterpret_cast<void**>(factory.Receive())))) {
        return false;
    }
    ComPtr<IWICStream> stream;
    if (FAILED(factory->CreateStream(stream.Receive())) ||
        FAILED(stream->InitializeFromMemory(static_cast<BYTE*>(const_cast<void*>(data)), size))) {
        return false;
    }
    ComPtr<IWICBitmapDecoder> decoder;
    if (FAILED(factory->CreateDecoderFromStream(stream.Get(), nullptr, WICDecodeMetadataCacheOnDemand,
                                                decoder.Receive()))) {
        return false;
    }
    if (wanted != nullptr) {
        GUID container{};
        if (FAILED(decoder->GetContainerFormat(&container)) || !IsEqualGUID(container, *wanted)) {
            return false;
        }
    }
    ComPtr<IWICBitmapFrameDecode> frame;
    if (FAILED(decoder->GetFrame(0, frame.Receive()))) {
        return false;
    }
    UINT width = 0;
    UINT height = 0;
    if (FAILED(frame->GetSize(&width, &height)) || width == 0 || height == 0 || width > kMaxSide ||
        height > kMaxSide) {
        return false;
    }
    ComPtr<IWICFormatConverter> converter;
    if (FAILED(factory->CreateFormatConverter(converter.Receive())) ||
        FAILED(converter->Initialize(frame.Get(), GUID_WICPixelFormat32bppBGRA, WICBitmapDitherTypeNone, nullptr, 0.0,
                                     WICBitmapPaletteTypeCustom))) {
        return false;
    }
    const UINT stride = width * 4;
    const UINT bytes = stride * height;
    auto* pixels = static_cast<BYTE*>(HeapAlloc(GetProcessHeap(), 0, bytes));
    if (pixels == nullptr) {
        return false;
    }
    if (FAILED(converter->CopyPixels(nullptr, stride, bytes, pixels))) {
        HeapFree(GetProcessHeap(), 0, pixels);
        return false;
    }
    m_pixels = pixels;
    m_width = width;
    m_height = height;
    m_type = imageType != CXIMAGE_FORMAT_UNKNOWN ? imageType : m_type;
    return true;
}

HBITMAP CxImage::MakeBitmap(HDC reference) const
{
    if (m_pixels == nullptr) {
        return nullptr;
    }
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = static_cast<LONG>(m_width);
    info.bmiHeader.biHeight = -static_cast<LONG>(m_height);  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    HDC screen = nullptr;
    if (reference == nullptr) {
        screen = GetDC(nullptr);
    }
    void* bits = nullptr;
    HBITMAP bitmap =
        CreateDIBSection(reference != nullptr ? reference : screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (screen != nullptr) {
        ReleaseDC(nullptr, screen);
    }
    if (bitmap != nullptr && bits != nullptr) {
        std::memcpy(bits, m_pixels, static_cast<size_t>(m_width) * m_height * 4);
    }
    return bitmap;
}
