#include "skin/ImageLibrary.h"

#include <windows.h>

#include <string>

#include "ImageLibraryDigest.h"
#include "Profile.h"
#include "framework/ModuleFileName.h"
#include "framework/ScopedHandles.h"
#include "framework/Trace.h"
#include "framework/VerifiedLibrary.h"

// The calls of CxImage (imagelib/ximage.h, a dllimport class) go through
// one pointer per exported function, named "__imp_" and the function's
// symbol, as through the import table of a program that links the DLL's
// import library. The launcher links none, so that Windows never loads a
// DLL of that name for it before it is checked: these pointers are its own,
// filled in once the DLL is loaded. A member added to the class and not
// here fails to link.
#define CVN_STRINGIFY2(x) #x
#define CVN_STRINGIFY(x) CVN_STRINGIFY2(x)
#define CVN_IMPORT_NAME(symbol) "__imp_" CVN_STRINGIFY(__USER_LABEL_PREFIX__) symbol

extern "C" {
void* g_cxImageConstructor __asm__(CVN_IMPORT_NAME("_ZN7CxImageC1Em")) = nullptr;
void* g_cxImageDestructor __asm__(CVN_IMPORT_NAME("_ZN7CxImageD1Ev")) = nullptr;
void*
    g_cxImageLoadResource __asm__(CVN_IMPORT_NAME("_ZN7CxImage12LoadResourceEP7HRSRC__mP11HINSTANCE__")) = nullptr;
void* g_cxImageDecode __asm__(CVN_IMPORT_NAME("_ZN7CxImage6DecodeEPKvmm")) = nullptr;
void* g_cxImageMakeBitmap __asm__(CVN_IMPORT_NAME("_ZNK7CxImage10MakeBitmapEP5HDC__")) = nullptr;
void* g_cxImageDestroy __asm__(CVN_IMPORT_NAME("_ZN7CxImage7DestroyEv")) = nullptr;
void* g_cxImageMakeScaledBitmap __asm__(CVN_IMPORT_NAME("_ZNK7CxImage10MakeBitmapEP5HDC__mm")) = nullptr;
}

namespace {

struct ImportSlot {
    const char* symbol;
    void** slot;
};
const ImportSlot kImports[] = {
    {"_ZN7CxImageC1Em", &g_cxImageConstructor},
    {"_ZN7CxImageD1Ev", &g_cxImageDestructor},
    {"_ZN7CxImage12LoadResourceEP7HRSRC__mP11HINSTANCE__", &g_cxImageLoadResource},
    {"_ZN7CxImage6DecodeEPKvmm", &g_cxImageDecode},
    {"_ZNK7CxImage10MakeBitmapEP5HDC__", &g_cxImageMakeBitmap},
    {"_ZN7CxImage7DestroyEv", &g_cxImageDestroy},
    {"_ZNK7CxImage10MakeBitmapEP5HDC__mm", &g_cxImageMakeScaledBitmap},
};

// Far more than the DLL is; a larger file is not read at all.
const DWORD kMaxImageLibraryBytes = 1024 * 1024;

bool LoadImageLibrary()
{
    std::wstring folder = ModuleFileName(nullptr);
    const std::wstring::size_type cut = folder.find_last_of(L"\\/");
    if (cut == std::wstring::npos) {
        return false;
    }
    folder.resize(cut);
    Sha256::Digest expected;
    for (std::size_t i = 0; i < expected.size(); ++i) {
        expected[i] = kImageLibraryDigest[i];
    }
    OwnedModule library(LoadVerifiedLibrary(folder + L"\\" CVN_IMAGE_DLL_FILE, expected, kMaxImageLibraryBytes));
    if (!library) {
        return false;
    }
    void* found[sizeof(kImports) / sizeof(kImports[0])] = {};
    for (std::size_t i = 0; i < sizeof(kImports) / sizeof(kImports[0]); ++i) {
        found[i] = reinterpret_cast<void*>(GetProcAddress(library.Get(), kImports[i].symbol));
        if (found[i] == nullptr) {
            return false;
        }
    }
    for (std::size_t i = 0; i < sizeof(kImports) / sizeof(kImports[0]); ++i) {
        *kImports[i].slot = found[i];
    }
    library.Detach();  // loaded for the life of the process
    return true;
}

// 0: not tried, 1: being loaded, 2: decided. The user-interface thread
// decodes; tests decode from other threads too.
volatile LONG g_state = 0;
bool g_ready = false;

}  // namespace

bool ImageLibraryReady()
{
    if (InterlockedCompareExchange(&g_state, 1, 0) == 0) {
        g_ready = LoadImageLibrary();
        if (!g_ready) {
            // Drawn without images from here on, as without the imaging
            // component.
            Trace(L"[RZ_K] CVNImage.dll Verify Error.");
        }
        InterlockedExchange(&g_state, 2);
    }
    while (g_state != 2) {
        Sleep(0);
    }
    return g_ready;
}
