#include <gtest/gtest.h>

#include <windows.h>

#include "app/CriticalErrors.h"

namespace {
UINT ReadErrorMode()
{
    const UINT mode = SetErrorMode(0);
    SetErrorMode(mode);
    return mode;
}
}  // namespace

TEST(CriticalErrors, SilencedWithTheOtherBitsKept)
{
    const UINT original = ReadErrorMode();
    SetErrorMode(SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
    KeepCriticalErrorsSilent();
    EXPECT_EQ(ReadErrorMode(), SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX | SEM_FAILCRITICALERRORS);

    SetErrorMode(0);
    KeepCriticalErrorsSilent();
    KeepCriticalErrorsSilent();
    EXPECT_EQ(ReadErrorMode(), static_cast<UINT>(SEM_FAILCRITICALERRORS));
    SetErrorMode(original);
}
