#include "imagelib/ximage.h"

#include <wincodec.h>

#include <cstddef>
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

// Where output row or column `i` of `to` samples an axis of `from` pixels:
// the two source pixels around its centre and the second one's weight in
// 1/256 (centres aligned, edges clamped).
struct Tap {
    DWORD first;
    DWORD second;
    DWORD weight;
};

Tap TapFor(DWORD i, DWORD from, DWORD to)
{
    // The centre of output pixel i in source pixels, times 256.
    const LONGLONG centre = (static_cast<LONGLONG>(2 * i + 1) * from * 256) / (2 * to) - 128;
    if (centre <= 0) {
        return {0, 0, 0};
    }
    const DWORD first = static_cast<DWORD>(centre >> 8);
    if (first >= from - 1) {
        return {from - 1, from - 1, 0};
    }
    return {first, first + 1, static_cast<DWORD>(centre & 255)};
}

// `a` and `b` mixed, b by `weight` / 256: two 8-bit channels at a time in
// 16-bit lanes, which 255 x 256 and the rounding still fit.
DWORD Mix(DWORD a, DWORD b, DWORD weight)
{
    const DWORD keep = 256 - weight;
    const DWORD blueRed = ((((a & 0x00FF00FF) * keep + (b & 0x00FF00FF) * weight + 0x00800080) >> 8) & 0x00FF00FF);
    const DWORD greenAlpha =
        ((((a >> 8) & 0x00FF00FF) * keep + ((b >> 8) & 0x00FF00FF) * weight + 0x00800080) & 0xFF00FF00);
    return blueRed | greenAlpha;
}

}  // namespace

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
    // Written straight into the bitmap: fresh memory is what costs under
    // load, so the only other buffers are the column taps and two image
    // rows scaled across, each source row scaled once.
    HANDLE heap = GetProcessHeap();
    auto* columns = static_cast<Tap*>(HeapAlloc(heap, 0, sizeof(Tap) * width));
    auto* rows = static_cast<DWORD*>(HeapAlloc(heap, 0, static_cast<SIZE_T>(width) * 2 * 4));
    DWORD* bits = nullptr;
    HBITMAP bitmap = columns != nullptr && rows != nullptr ? NewDib(reference, width, height, bits) : nullptr;
    if (bitmap != nullptr) {
        for (DWORD x = 0; x < width; ++x) {
            columns[x] = TapFor(x, m_width, width);
        }
        const auto* source = reinterpret_cast<const DWORD*>(m_pixels);
        DWORD held[2] = {0xFFFFFFFF, 0xFFFFFFFF};  // the image rows in `rows`
        auto across = [&](DWORD imageRow) -> const DWORD* {
            const DWORD slot = imageRow & 1;
            DWORD* out = rows + static_cast<SIZE_T>(slot) * width;
            if (held[slot] != imageRow) {
                const DWORD* in = source + static_cast<SIZE_T>(imageRow) * m_width;
                for (DWORD x = 0; x < width; ++x) {
                    out[x] = Mix(in[columns[x].first], in[columns[x].second], columns[x].weight);
                }
                held[slot] = imageRow;
            }
            return out;
        };
        for (DWORD y = 0; y < height; ++y) {
            const Tap row = TapFor(y, m_height, height);
            const DWORD* upper = across(row.first);
            const DWORD* lower = across(row.second);
            DWORD* out = bits + static_cast<SIZE_T>(y) * width;
            for (DWORD x = 0; x < width; ++x) {
                out[x] = Mix(upper[x], lower[x], row.weight);
            }
        }
    }
    if (columns != nullptr) HeapFree(heap, 0, columns);
    if (rows != nullptr) HeapFree(heap, 0, rows);
    return bitmap;
}
