#include <shlobj.h>

#include "E2E.h"

namespace {

std::wstring ProgramFilesX86()
{
    wchar_t folder[MAX_PATH] = {};
    SHGetFolderPathW(nullptr, CSIDL_PROGRAM_FILES, nullptr, SHGFP_TYPE_CURRENT, folder);
    return folder;
}

// Runs to the first dialog, answers it and waits for the end.
struct Outcome {
    std::vector<std::string> lines;
    DWORD exitCode = 999;
    int dialogs = 0;
    bool firstDialogWasNotice = false;  // 401 pixels wide
};

Outcome RunAndAnswer(const TestDisc& disc, int answer)
{
    Outcome outcome;
    LauncherRun run(disc.Launcher());
    HWND dialog = run.WaitForDialog();
    if (dialog != nullptr) {
        RECT rect;
        GetClientRect(dialog, &rect);
        outcome.firstDialogWasNotice = rect.right == 401;
        if (answer == VK_ESCAPE) {
            PressEscape(dialog);
        } else {
            // The notice has no EXIT button: then OK, so the run still ends.
            ClickButton(dialog, GetDlgItem(dialog, answer) != nullptr ? answer : IDOK);
        }
    }
    run.WaitForExit();
    outcome.lines = run.WorkflowLines();
    outcome.exitCode = run.Result().exitCode;
    outcome.dialogs = run.DistinctWindowsSeen();
    return outcome;
}

class InstalledTest : public LauncherTest {
protected:
    void SetUp() override
    {
        LauncherTest::SetUp();
        installFolder = NewTempFolder(L"cvn-install-");
        corvanaLog = disc.PlaceStub(installFolder + L"\\Corvana.exe");
    }
    void TearDown() override
    {
        RemoveTree(installFolder);
        LauncherTest::TearDown();
    }
    std::wstring installFolder;
    std::wstring corvanaLog;
};

}  // namespace

TEST_F(InstalledTest, NoticeThenCorvanaStartsFromTheInstallFolder)
{
    SetInstallLocation(REG_SZ, installFolder);
    const Outcome outcome = RunAndAnswer(disc, IDOK);
    EXPECT_EQ(outcome.exitCode, 0u);
    EXPECT_TRUE(outcome.firstDialogWasNotice);
    EXPECT_EQ(outcome.dialogs, 1) << "exactly one notice";
    const std::string folder = Narrow(installFolder);
    EXPECT_EQ(outcome.lines,
              Concat(EnglishStartLines(), {"[RZ_K] CheckCVN(+)", "[RZ_K] CVN InstallLocation : [" + folder + "]",
                                           "[RZ_K] CheckCVN(-)", "[RZ_K] RunCVN(+)", folder, "[RZ_K] CVN Run OK.",
                                           "[RZ_K] RunCVN(-)", "[RZ_K] End. Zzz..", "[RZ_K] OnDestroy()"}));
    const std::string log = ReadWholeFile(corvanaLog);
    EXPECT_NE(log.find("Corvana.exe"), std::string::npos) << "Corvana was started: " << log;
    EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 1);
}

TEST_F(InstalledTest, EscapeOnTheNoticeStillStartsCorvana)
{
    SetInstallLocation(REG_SZ, installFolder);
    const Outcome outcome = RunAndAnswer(disc, VK_ESCAPE);
    EXPECT_EQ(outcome.exitCode, 0u);
    EXPECT_TRUE(Contains(outcome.lines, "[RZ_K] CVN Run OK."));
    EXPECT_FALSE(ReadWholeFile(corvanaLog).empty());
}

TEST_F(InstalledTest, ExpandStringIsUsedUnexpanded)
{
    // A variable every Windows process has: expanding it would change the
    // folder. (Where the launch then goes is not checked: Wine's
    // ShellExecuteEx expands variables in the file name by itself, Windows'
    // does not.)
    wchar_t systemRoot[MAX_PATH] = {};
    ASSERT_GT(GetEnvironmentVariableW(L"SystemRoot", systemRoot, MAX_PATH), 0u);
    const std::wstring value = installFolder + L"\\%SystemRoot%";
    SetInstallLocation(REG_EXPAND_SZ, value);
    const Outcome outcome = RunAndAnswer(disc, IDOK);
    EXPECT_EQ(outcome.exitCode, 0u);
    EXPECT_TRUE(Contains(outcome.lines, "[RZ_K] CVN InstallLocation : [" + Narrow(value) + "]"));
    EXPECT_TRUE(Contains(outcome.lines, Narrow(value))) << "the folder line shows the variable as stored";
    for (const std::string& line : outcome.lines) {
        EXPECT_EQ(line.find(Narrow(systemRoot)), std::string::npos) << "expanded: " << line;
    }
}

TEST_F(InstalledTest, EmptyValueLaunchesFromTheDefaultFolder)
{
    const std::wstring tarnex = ProgramFilesX86() + L"\\Tarnex";
    const std::wstring folder = tarnex + L"\\Tarnex Corvana";
    CreateDirectoryW(tarnex.c_str(), nullptr);
    CreateDirectoryW(folder.c_str(), nullptr);
    const std::wstring log = disc.PlaceStub(folder + L"\\Corvana.exe");
    SetInstallLocation(REG_SZ, L"");
    const Outcome outcome = RunAndAnswer(disc, IDOK);
    const std::string logText = ReadWholeFile(log);
    RemoveTree(tarnex);
    EXPECT_EQ(outcome.exitCode, 0u);
    EXPECT_TRUE(Contains(outcome.lines, "[RZ_K] CVN InstallLocation : []"));
    EXPECT_TRUE(Contains(outcome.lines, Narrow(folder) + "\\")) << "default folder, ending in a backslash";
    EXPECT_TRUE(Contains(outcome.lines, "[RZ_K] CVN Run OK."));
    EXPECT_FALSE(logText.empty()) << "the default folder's Corvana was started";
}

TEST_F(InstalledTest, MissingExecutableIsOnlyTraced)
{
    SetInstallLocation(REG_SZ, installFolder + L"\\nowhere");
    const Outcome outcome = RunAndAnswer(disc, IDOK);
    EXPECT_EQ(outcome.exitCode, 0u);
    EXPECT_EQ(outcome.dialogs, 1) << "no error dialog";
    EXPECT_FALSE(Contains(outcome.lines, "[RZ_K] CVN Run OK."));
    EXPECT_TRUE(Contains(outcome.lines, "[RZ_K] RunCVN(-)"));
}

TEST_F(LauncherTest, ValueOf255CharactersIsAcceptedAnd256IsNot)
{
    const std::wstring fits = L"C:\\" + std::wstring(252, L'a');
    ASSERT_EQ(fits.size(), 255u);
    SetInstallLocation(REG_SZ, fits);
    Outcome outcome = RunAndAnswer(disc, IDOK);
    EXPECT_TRUE(outcome.firstDialogWasNotice);
    EXPECT_TRUE(Contains(outcome.lines, "[RZ_K] CVN InstallLocation : [" + Narrow(fits) + "]"));

    SetInstallLocation(REG_SZ, fits + L"b");
    outcome = RunAndAnswer(disc, IDCANCEL);
    EXPECT_FALSE(outcome.firstDialogWasNotice) << "256 characters: not installed, the question";
    EXPECT_FALSE(Contains(outcome.lines, "[RZ_K] RunCVN(+)"));
}

TEST_F(LauncherTest, ValueOfAnotherTypeCountsAsNotInstalled)
{
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, kUninstallKeyPath, 0, nullptr, 0, KEY_WRITE | KEY_WOW64_32KEY,
                              nullptr, &key, nullptr),
              ERROR_SUCCESS);
    const DWORD number = 42;
    RegSetValueExW(key, L"InstallLocation", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof(number));
    RegCloseKey(key);
    const Outcome outcome = RunAndAnswer(disc, IDCANCEL);
    EXPECT_FALSE(outcome.firstDialogWasNotice);
    EXPECT_EQ(outcome.exitCode, 0u);
}

TEST_F(LauncherTest, ValuesThatNameNoInstallFolderCountAsNotInstalled)
{
    // A relative folder names one below the current folder, the disc's: a Corvana.exe there must not start.
    ASSERT_TRUE(CreateDirectoryW(disc.PathOf(L"Corvana").c_str(), nullptr));
    const std::wstring plantedLog = disc.PlaceStub(L"Corvana\\Corvana.exe");
    for (const bool relative : {false, true}) {
        SetInstallLocation(REG_SZ, relative ? L"Corvana" : L"C:\\Corvana", relative);  // else unterminated
        const Outcome outcome = RunAndAnswer(disc, IDCANCEL);
        EXPECT_FALSE(outcome.firstDialogWasNotice) << relative;
        EXPECT_EQ(outcome.exitCode, 0u);
    }
    EXPECT_FALSE(FileExists(plantedLog)) << "a Corvana.exe below the current folder ran";
}

TEST_F(LauncherTest, RecordInTheOtherViewIsNotSeen)
{
    // A 32-bit program reads the 32-bit view, where Corvana's installer writes.
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, kUninstallKeyPath, 0, nullptr, 0, KEY_WRITE | KEY_WOW64_64KEY,
                              nullptr, &key, nullptr),
              ERROR_SUCCESS);
    const wchar_t value[] = L"C:\\Corvana";
    RegSetValueExW(key, L"InstallLocation", 0, REG_SZ, reinterpret_cast<const BYTE*>(value), sizeof(value));
    RegCloseKey(key);
    const Outcome outcome = RunAndAnswer(disc, IDCANCEL);
    EXPECT_FALSE(outcome.firstDialogWasNotice);
}

TEST_F(LauncherTest, DetectionNeverCreatesTheUninstallKey)
{
    ASSERT_FALSE(UninstallKeyExists(KEY_WOW64_32KEY));
    const Outcome outcome = RunAndAnswer(disc, IDCANCEL);
    EXPECT_EQ(outcome.exitCode, 0u);
    EXPECT_FALSE(UninstallKeyExists(KEY_WOW64_32KEY));
    EXPECT_FALSE(UninstallKeyExists(KEY_WOW64_64KEY));
}

TEST_F(LauncherTest, NotInstalledExitAndEscapeDownloadNothing)
{
    const WindowsExplorerStub explorer;
    const std::wstring explorerLog = explorer.Log();
    for (int answer : {IDCANCEL, static_cast<int>(VK_ESCAPE)}) {
        const Outcome outcome = RunAndAnswer(disc, answer);
        EXPECT_EQ(outcome.exitCode, 0u);
        EXPECT_EQ(outcome.dialogs, 1) << "exactly one question";
        EXPECT_FALSE(Contains(outcome.lines, "[RZ_K] DownloadCVN(+)"));
    }
    EXPECT_FALSE(FileExists(explorerLog));
}
