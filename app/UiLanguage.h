#pragma once
#include <windows.h>

struct UiLanguageOutcome {
    bool proceed;        // false: start-up ends here
    BOOL startupResult;  // what start-up returns when it ends here
};

// Reads the thread locale, records whether it is supported and sets the
// thread's UI language (major version 6 and later) or locale (earlier) to
// it or to English (United States).
UiLanguageOutcome SelectUiLanguage();
