#pragma once
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "LauncherRun.h"
#include "framework/ScopedHandles.h"
#include "TestDisc.h"

// The launcher's thread locale comes from Wine's LANG / LC_ALL, which a
// Wine child takes from its parent's Unix environment, not from the Windows
// environment block. So the locale of a run is this test program's own,
// set per CTest entry (en_US.UTF-8 for the main run).

inline std::string Narrow(const std::wstring& text)
{
    std::string narrow;
    for (wchar_t c : text) {
        narrow.push_back(static_cast<char>(c));
    }
    return narrow;
}

inline bool Contains(const std::vector<std::string>& lines, const std::string& line)
{
    for (const std::string& l : lines) {
        if (l == line) {
            return true;
        }
    }
    return false;
}

inline size_t IndexOf(const std::vector<std::string>& lines, const std::string& line)
{
    for (size_t i = 0; i < lines.size(); ++i) {
        if (lines[i] == line) {
            return i;
        }
    }
    return lines.size();
}

// The start-up lines of a run in English (United States) on major version 6.
inline std::vector<std::string> EnglishStartLines()
{
    return {"[RZ_K] Run CheckCDFS",
            "[RZ_K] g_LocalPCLang : 1033",
            "[RZ_K] Lang OK!",
            "[RZ_K] OS Version : 6",
            "[RZ_K] VISTA - SetThreadUILanguage :  1033",
            "[RZ_K] CAFXOKBIG SET",
            "[RZ_K] CASFXYESNO SET",
            "[RZ_K] Start. Action!."};
}

inline std::vector<std::string> Concat(std::vector<std::string> a, const std::vector<std::string>& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// Every test starts without an uninstall record and leaves none behind.
class LauncherTest : public ::testing::Test {
protected:
    void SetUp() override { DeleteUninstallKey(); }
    void TearDown() override { DeleteUninstallKey(); }
    TestDisc disc;
};
