// 100 launcher runs back to back across the roads, every exit code checked,
// and no launcher left behind. Run by the "soak" CTest entry.
#include "E2E.h"

#include <tlhelp32.h>

namespace {

int CountProcessesNamed(const wchar_t* name)
{
    OwnedHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof(entry);
    int count = 0;
    if (Process32FirstW(snapshot.Get(), &entry)) {
        do {
            count += _wcsicmp(entry.szExeFile, name) == 0 ? 1 : 0;
        } while (Process32NextW(snapshot.Get(), &entry));
    }
    return count;
}

enum class Road { Installed, NotInstalledOk, NotInstalledExit, Unplugged, SecondInstance };

}  // namespace

TEST(Soak, HundredRunsAcrossTheRoads)
{
    DeleteUninstallKey();
    const TempFolder install(L"cvn-soak-install-");
    ASSERT_FALSE(install.Path().empty());
    const std::wstring& installFolder = install.Path();
    const Road roads[] = {Road::Installed, Road::NotInstalledOk, Road::NotInstalledExit, Road::Unplugged,
                          Road::SecondInstance};
    int failures = 0;
    for (int i = 0; i < 100 && failures < 3; ++i) {
        const Road road = roads[i % 5];
        TestDisc disc;
        const WindowsExplorerStub explorer;
        disc.PlaceStub(installFolder + L"\\Corvana.exe");
        if (road == Road::Installed) {
            SetInstallLocation(REG_SZ, installFolder);
        } else {
            DeleteUninstallKey();
        }
        LauncherRun run(disc.Launcher());
        HWND dialog = run.WaitForDialog();
        if (dialog == nullptr) {
            ADD_FAILURE() << "run " << i << ": no dialog";
            ++failures;
            continue;
        }
        switch (road) {
        case Road::Installed:
        case Road::NotInstalledOk:
            ClickButton(dialog, IDOK);
            break;
        case Road::NotInstalledExit:
            ClickButton(dialog, IDCANCEL);
            break;
        case Road::Unplugged:
            disc.Remove(L"Auto installer.qzt");
            break;
        case Road::SecondInstance: {
            LauncherRun second(disc.Launcher());
            EXPECT_TRUE(second.WaitForExit()) << "run " << i;
            EXPECT_EQ(second.Result().exitCode, 0u) << "run " << i;
            EXPECT_TRUE(second.Lines().empty()) << "run " << i;
            ClickButton(dialog, IDCANCEL);
            break;
        }
        }
        if (!run.WaitForExit()) {
            ADD_FAILURE() << "run " << i << ": the launcher did not end";
            ++failures;
            continue;
        }
        EXPECT_FALSE(run.Result().timedOut) << "run " << i;
        EXPECT_EQ(run.Result().exitCode, 0u) << "run " << i;
        const bool unplugged = Contains(run.Lines(), "[RZ_K] CDFS out!! Kill me!");
        EXPECT_EQ(unplugged, road == Road::Unplugged) << "run " << i;
        EXPECT_EQ(Contains(run.Lines(), "[RZ_K] OnDestroy()"), road != Road::Unplugged) << "run " << i;
    }
    DeleteUninstallKey();
    EXPECT_EQ(CountProcessesNamed(L"CVNAI.exe"), 0) << "no launcher is left behind";
}
