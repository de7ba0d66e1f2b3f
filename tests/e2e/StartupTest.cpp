#include "E2E.h"

#include "framework/ScopedHandles.h"

TEST_F(LauncherTest, NotInstalledAndExitIsTheWholeRoad)
{
    LauncherRun run(disc.Launcher());
    HWND question = run.WaitForDialog();
    ASSERT_NE(question, nullptr) << "the download question appears";
    ClickButton(question, IDCANCEL);
    ASSERT_TRUE(run.WaitForExit());
    EXPECT_FALSE(run.Result().timedOut);
    EXPECT_EQ(run.Result().exitCode, 0u);
    EXPECT_EQ(run.WorkflowLines(), Concat(EnglishStartLines(), {"[RZ_K] CheckCVN(+)", "[RZ_K] CheckCVN(-)",
                                                                "[RZ_K] End. Zzz..", "[RZ_K] OnDestroy()"}));
    // The monitor looked at least once while start-up waited for it.
    const std::vector<std::string> lines = run.Lines();
    EXPECT_LT(IndexOf(lines, "[RZ_K] CDFS exist!"), IndexOf(lines, "[RZ_K] g_LocalPCLang : 1033"));
}

TEST_F(LauncherTest, DriverWindowIsNeverShown)
{
    LauncherRun run(disc.Launcher());
    HWND question = run.WaitForDialog();
    ASSERT_NE(question, nullptr);
    Sleep(300);  // not a wait for something: the watcher looks at the windows meanwhile
    ClickButton(question, IDCANCEL);
    ASSERT_TRUE(run.WaitForExit());
    const std::vector<SeenWindow> seen = run.VisibleWindowsSeen();
    ASSERT_FALSE(seen.empty());
    for (const SeenWindow& window : seen) {
        EXPECT_EQ(window.text, L"RZ_K") << "only the skinned dialogs are ever visible";
        EXPECT_EQ(window.rect.right - window.rect.left, 264) << "the question, not the 300 x 402 driver";
        EXPECT_EQ(window.rect.bottom - window.rect.top, 156);
    }
}

TEST_F(LauncherTest, SecondInstanceEndsAtOnceWithoutATrace)
{
    LauncherRun first(disc.Launcher());
    HWND question = first.WaitForDialog();
    ASSERT_NE(question, nullptr);

    LauncherRun second(disc.Launcher());
    ASSERT_TRUE(second.WaitForExit());
    EXPECT_EQ(second.Result().exitCode, 0u);
    EXPECT_TRUE(second.Lines().empty());
    EXPECT_TRUE(second.VisibleWindowsSeen().empty());
    EXPECT_FALSE(first.Exited()) << "the first launcher is not disturbed";

    ClickButton(question, IDCANCEL);
    ASSERT_TRUE(first.WaitForExit());
    EXPECT_EQ(first.Result().exitCode, 0u);
}

TEST_F(LauncherTest, MutexNameIsTheInstallersOwn)
{
    // Another program holding the name stops the launcher just the same.
    // Owned, so that a failed assertion cannot leave it to stop every
    // later launcher of this test program.
    OwnedHandle mutex(CreateMutexW(nullptr, FALSE, L"Tarnex_CVN_INSTALLER"));
    ASSERT_TRUE(mutex.Valid());
    LauncherRun run(disc.Launcher());
    ASSERT_TRUE(run.WaitForExit());
    mutex.Reset();
    EXPECT_EQ(run.Result().exitCode, 0u);
    EXPECT_TRUE(run.Lines().empty());
}
