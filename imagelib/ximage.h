#pragma once
// The image library the skinned dialogs decode their backgrounds with, in a
// DLL of its own. Images are decoded by the Windows Imaging Component.
#include <windows.h>

#ifdef CVNIMAGE_BUILDING_DLL
#define CVNIMAGE_API __declspec(dllexport)
#else
#define CVNIMAGE_API __declspec(dllimport)
#endif

// Image types. Unknown lets the decoder tell the format from the data.
enum : DWORD {
    CXIMAGE_FORMAT_UNKNOWN = 0,
    CXIMAGE_FORMAT_BMP = 1,
    CXIMAGE_FORMAT_GIF = 2,
    CXIMAGE_FORMAT_JPG = 3,
    CXIMAGE_FORMAT_PNG = 4,
};

class CVNIMAGE_API CxImage {
public:
    explicit CxImage(DWORD imageType = CXIMAGE_FORMAT_UNKNOWN);
    ~CxImage();
    CxImage(const CxImage&) = delete;
    CxImage& operator=(const CxImage&) = delete;

    // Decodes the image held by resource `resource` of `module` (null: the
    // executable). True exactly when the data was decoded as `imageType`;
    // false for a null resource or data that is not such an image.
    bool LoadResource(HRSRC resource, DWORD imageType, HMODULE module = nullptr);

    // Decodes an image from memory; the same rules as LoadResource.
    bool Decode(const void* data, DWORD size, DWORD imageType);

    // A new bitmap of the image's size and colours, owned by the caller and
    // valid after this object is gone; null when no image is loaded. The
    // alpha channel is kept in the pixels but never applied.
    HBITMAP MakeBitmap(HDC reference = nullptr) const;
    // The same at `width` x `height` pixels, each the bilinear mix of the
    // four image pixels around its centre, scaled as it is written: a larger
    // display's background made at its size, not stretched afterwards. At
    // another size than the image's it is a bitmap compatible with the
    // screen, whatever `reference` is. Null without an image or for a size
    // of 0 or over the largest side decoded.
    HBITMAP MakeBitmap(HDC reference, DWORD width, DWORD height) const;

    // Releases the pixel data. The destructor does the same.
    void Destroy();

    bool IsValid() const { return m_pixels != nullptr; }
    DWORD GetWidth() const { return m_width; }
    DWORD GetHeight() const { return m_height; }
    DWORD GetType() const { return m_type; }

private:
    DWORD m_type;
    DWORD m_width = 0;
    DWORD m_height = 0;
    BYTE* m_pixels = nullptr;  // top-down 32-bit BGRA rows
};
