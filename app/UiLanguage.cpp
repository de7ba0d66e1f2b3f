#include "app/UiLanguage.h"

#include <string>

#include "app/LocaleTable.h"
#include "framework/ProcessState.h"
#include "framework/Trace.h"
#include "workflow/MessageText.h"

namespace {

using SetThreadUILanguageProc = LANGID(WINAPI*)(LANGID);

// The texts follow the language chosen here. Windows' string lookup follows
// the thread's UI language or locale by itself; Wine's does not, so the
// choice is also handed to the text loader directly.
BOOL SetLocaleAndTexts(LCID locale)
{
    const BOOL set = SetThreadLocale(locale);
    if (set) {
        SetMessageLanguage(LANGIDFROMLCID(locale));
    }
    return set;
}

}  // namespace

UiLanguageOutcome SelectUiLanguage()
{
    g_LocalPCLang = GetThreadLocale();
    TraceF(L"[RZ_K] g_LocalPCLang : %d", static_cast<int>(g_LocalPCLang));

    if (IsSupportedLocale(g_LocalPCLang)) {
        Trace(L"[RZ_K] Lang OK!");
        g_bLangSupported = 1;
    }

    OSVERSIONINFOW version{};
    version.dwOSVersionInfoSize = sizeof(version);  // 276 bytes
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    const BOOL versionKnown = GetVersionExW(&version);
#pragma GCC diagnostic pop
    if (!versionKnown) {
        Trace(L"[RZ_K] OS Version Load Fail");
        SetLocaleAndTexts(kFallbackLocale);
        return {true, TRUE};
    }
    TraceF(L"[RZ_K] OS Version : %d", static_cast<int>(version.dwMajorVersion));

    if (version.dwMajorVersion > 5) {
        // Looked up at run time: the procedure does not exist before
        // major version 6. The name is ASCII, the same in every code page.
        const std::wstring wideName = L"SetThreadUILanguage";
        char procName[32] = {};
        WideCharToMultiByte(CP_ACP, 0, wideName.c_str(), -1, procName, sizeof(procName), nullptr, nullptr);
        HMODULE kernel = LoadLibraryW(L"kernel32.dll");
        auto setUiLanguage = kernel != nullptr ? reinterpret_cast<SetThreadUILanguageProc>(
                                                     reinterpret_cast<void*>(GetProcAddress(kernel, procName)))
                                               : nullptr;
        if (setUiLanguage == nullptr) {
            return {false, SetLocaleAndTexts(kFallbackLocale)};
        }
        if (g_bLangSupported == 1) {
            const LANGID chosen = LOWORD(g_LocalPCLang);
            const LANGID set = setUiLanguage(chosen);
            if (set != 0) {
                SetMessageLanguage(chosen);
            }
            TraceF(L"[RZ_K] VISTA - SetThreadUILanguage :  %d", static_cast<int>(set));
        } else {
            if (setUiLanguage(static_cast<LANGID>(kFallbackLocale)) != 0) {
                SetMessageLanguage(static_cast<LANGID>(kFallbackLocale));
            }
            Trace(L"[RZ_K] VISTA - SetThreadUILanguage :  Default");
        }
        return {true, TRUE};
    }

    if (g_bLangSupported != 1 || !SetLocaleAndTexts(g_LocalPCLang)) {
        SetLocaleAndTexts(kFallbackLocale);
    }
    return {true, TRUE};
}
