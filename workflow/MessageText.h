#pragma once
#include <windows.h>

#include <string>

#include "res/resource.h"  // the message identifiers

// The title every message is shown with, the same in all languages.
extern const wchar_t kMessageTitle[];

// The text of `id` in the language chosen at start-up. An identifier
// without a text gives the text of the previous successful load (or an
// empty text before the first).
std::wstring LoadMessageText(UINT id);

// The language whose table LoadMessageText reads; 0 lets the platform's
// string lookup decide.
void SetMessageLanguage(LANGID language);

// The string `id` of the executable's table for `language` exactly, without
// fallback; false when that language has no such string.
bool FindStringInLanguage(HMODULE module, UINT id, LANGID language, std::wstring& text);
