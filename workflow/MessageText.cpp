#include "workflow/MessageText.h"

#include "Profile.h"

const wchar_t kMessageTitle[] = CVN_MESSAGE_TITLE;

namespace {

LANGID g_messageLanguage = 0;

// A string block holds 16 counted strings; string `id` is entry id % 16 of
// block id / 16 + 1.
bool ReadFromBlock(HMODULE module, HRSRC block, UINT id, std::wstring& text)
{
    HGLOBAL loaded = LoadResource(module, block);
    const auto* data = loaded != nullptr ? static_cast<const WCHAR*>(LockResource(loaded)) : nullptr;
    if (data == nullptr) {
        return false;
    }
    const DWORD size = SizeofResource(module, block) / sizeof(WCHAR);
    const WCHAR* end = data + size;
    const WCHAR* entry = data;
    for (UINT index = id & 15; index > 0; --index) {
        if (entry >= end) {
            return false;
        }
        entry += 1 + *entry;
    }
    if (entry >= end || *entry == 0 || entry + 1 + *entry > end) {
        return false;
    }
    text.assign(entry + 1, *entry);
    return true;
}

HRSRC FindBlock(HMODULE module, UINT id, LANGID language)
{
    const auto blockName = MAKEINTRESOURCEW((id >> 4) + 1);
    if (language == 0) {
        return FindResourceW(module, blockName, MAKEINTRESOURCEW(6) /* RT_STRING */);
    }
    return FindResourceExW(module, MAKEINTRESOURCEW(6), blockName, language);
}

}  // namespace

void SetMessageLanguage(LANGID language)
{
    g_messageLanguage = language;
}

bool FindStringInLanguage(HMODULE module, UINT id, LANGID language, std::wstring& text)
{
    HRSRC block = FindBlock(module, id, language);
    return block != nullptr && ReadFromBlock(module, block, id, text);
}

std::wstring LoadMessageText(UINT id)
{
    // Lives until process exit and keeps the last text loaded.
    static std::wstring held;

    HMODULE module = GetModuleHandleW(nullptr);
    std::wstring text;
    // The chosen language's table, else whatever the platform's lookup picks.
    if (FindStringInLanguage(module, id, g_messageLanguage, text) ||
        (g_messageLanguage != 0 && FindStringInLanguage(module, id, 0, text))) {
        held = text;
    }
    return held;
}
