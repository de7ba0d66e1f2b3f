#include "E2E.h"

#include <tlhelp32.h>

namespace {

bool ProcessAlive(HANDLE process)
{
    return WaitForSingleObject(process, 0) == WAIT_TIMEOUT;
}

// Position of `pid` in the system's process listing.
size_t ListingPosition(DWORD pid)
{
    OwnedHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof(entry);
    size_t index = 0;
    size_t found = SIZE_MAX;
    if (Process32FirstW(snapshot.Get(), &entry)) {
        do {
            if (entry.th32ProcessID == pid) {
                found = index;
            }
            ++index;
        } while (Process32NextW(snapshot.Get(), &entry));
    }
    return found;
}

}  // namespace

TEST_F(LauncherTest, MonitorWritesItsPairWhileTheMarkerIsThere)
{
    LauncherRun run(disc.Launcher());
    HWND question = run.WaitForDialog();
    ASSERT_NE(question, nullptr);
    ASSERT_TRUE(run.WaitForLineCount("[RZ_K] CDFS exist!", 3));
    ClickButton(question, IDCANCEL);
    ASSERT_TRUE(run.WaitForExit());
    // Every status line is followed by "CDFS exist!" (the workflow's lines
    // may come between them, from the other thread).
    std::vector<std::string> monitor;
    for (const std::string& line : run.Lines()) {
        if (line.rfind("[RZ_K] CheckCDFS :", 0) == 0 || line.rfind("[RZ_K] CDFS", 0) == 0) {
            monitor.push_back(line);
        }
    }
    ASSERT_GE(monitor.size(), 6u);
    EXPECT_EQ(monitor.front(), "[RZ_K] CheckCDFS : 1");
    for (size_t i = 0; i + 1 < monitor.size(); i += 2) {
        EXPECT_EQ(monitor[i], "[RZ_K] CheckCDFS : 1") << i;
        EXPECT_EQ(monitor[i + 1], "[RZ_K] CDFS exist!") << i;
    }
    EXPECT_FALSE(Contains(monitor, "[RZ_K] CDFS out!! Kill me!"));
}

TEST_F(LauncherTest, UnpluggedWhileTheQuestionIsOpenEndsTheLauncher)
{
    LauncherRun run(disc.Launcher());
    ASSERT_NE(run.WaitForDialog(), nullptr);
    ASSERT_TRUE(disc.Remove(L"Auto installer.qzt"));
    ASSERT_TRUE(run.WaitForExit());
    EXPECT_FALSE(run.Result().timedOut);
    EXPECT_EQ(run.Result().exitCode, 0u);
    const std::vector<std::string> lines = run.Lines();
    const size_t out = IndexOf(lines, "[RZ_K] CDFS out!! Kill me!");
    ASSERT_LT(out, lines.size());
    ASSERT_LT(out + 1, lines.size());
    EXPECT_EQ(lines[out - 1], "[RZ_K] CheckCDFS : 1");
    EXPECT_EQ(lines[out + 1], "[LC] FindProcess Success!!");
    EXPECT_EQ(out + 2, lines.size()) << "nothing after the termination";
    EXPECT_FALSE(Contains(lines, "[RZ_K] End. Zzz.."));
}

TEST_F(LauncherTest, MarkerMissingAtStartEndsTheLauncherInTheFirstCycle)
{
    ASSERT_TRUE(disc.Remove(L"Auto installer.qzt"));
    LauncherRun run(disc.Launcher());
    ASSERT_TRUE(run.WaitForExit());
    EXPECT_EQ(run.Result().exitCode, 0u);
    EXPECT_EQ(run.Lines(), (std::vector<std::string>{"[RZ_K] Run CheckCDFS", "[RZ_K] CheckCDFS : 1",
                                                     "[RZ_K] CDFS out!! Kill me!", "[LC] FindProcess Success!!"}));
    EXPECT_TRUE(run.VisibleWindowsSeen().empty());
}

TEST_F(LauncherTest, MarkerHeldOpenElsewhereCountsAsGone)
{
    OwnedHandle held(CreateFileW(disc.PathOf(L"Auto installer.qzt").c_str(), GENERIC_READ, FILE_SHARE_READ,
                                 nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(held.Valid());
    LauncherRun run(disc.Launcher());
    ASSERT_TRUE(run.WaitForExit());
    held.Reset();
    EXPECT_EQ(run.Result().exitCode, 0u);
    EXPECT_TRUE(Contains(run.Lines(), "[RZ_K] CDFS out!! Kill me!"));
}

TEST_F(LauncherTest, LauncherUnderAnotherNameRunsOnWithoutItsMonitor)
{
    ASSERT_TRUE(CopyFileW(disc.Launcher().c_str(), disc.PathOf(L"Launcher.exe").c_str(), FALSE));
    LauncherRun run(disc.PathOf(L"Launcher.exe"));
    HWND question = run.WaitForDialog();
    ASSERT_NE(question, nullptr);
    ASSERT_TRUE(disc.Remove(L"Auto installer.qzt"));
    ASSERT_TRUE(run.WaitForLine("[RZ_K] CDFS out!! Kill me!"));
    EXPECT_FALSE(run.WaitForExit(2000)) << "nothing is terminated";
    EXPECT_TRUE(IsWindowVisible(question));
    ClickButton(question, IDCANCEL);
    ASSERT_TRUE(run.WaitForExit());
    EXPECT_EQ(run.Result().exitCode, 0u);
    const std::vector<std::string> lines = run.Lines();
    EXPECT_FALSE(Contains(lines, "[LC] FindProcess Success!!")) << "no process of the launcher's name";
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "[RZ_K] CDFS out!! Kill me!"), 1) << "the monitor ended";
    EXPECT_TRUE(Contains(lines, "[RZ_K] End. Zzz.."));
}

TEST_F(LauncherTest, AnotherProcessNamedLikeTheLauncherIsNeverTouched)
{
    // A process of the launcher's name, started first so that it is listed
    // before the launcher, as another device's launcher would be.
    const TempFolder decoyFolder(L"cvn-decoy-");
    ASSERT_FALSE(decoyFolder.Path().empty());
    const std::wstring decoy = decoyFolder.Path() + L"\\CVNAI.exe";
    disc.PlaceStub(decoy);
    TestProcess decoyProcess;
    ASSERT_TRUE(decoyProcess.Start(L"\"" + decoy + L"\" --wait 120000"));

    LauncherRun run(disc.Launcher());
    ASSERT_NE(run.WaitForDialog(), nullptr);
    const size_t decoyPosition = ListingPosition(decoyProcess.Id());
    const size_t launcherPosition = ListingPosition(run.ProcessId());
    ASSERT_TRUE(disc.Remove(L"Auto installer.qzt"));
    ASSERT_TRUE(run.WaitForExit());
    EXPECT_EQ(run.Result().exitCode, 0u);
    EXPECT_TRUE(Contains(run.Lines(), "[LC] FindProcess Success!!"));
    EXPECT_TRUE(ProcessAlive(decoyProcess.Handle())) << "only the launcher itself ends";
    EXPECT_LT(decoyPosition, launcherPosition) << "the other process was listed first";
}
