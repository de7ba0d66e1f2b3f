// The signed launcher copied next to planted files runs none of them: DLLs
// under the names Windows or the launcher loads by name, beside it and in
// its current folder; a file manager of its own; another image DLL.
#include <oleacc.h>
#include <tlhelp32.h>

#include <functional>

#include "E2E.h"
#include "workflow/LinkFile.h"
#include "workflow/MessageText.h"

namespace {

const char kImageRefused[] = "[RZ_K] CVNImage.dll Verify Error.";

// The names to plant: those that Wine is told to look for as Windows does,
// program folder first ("name,name=n,b" in WINEDLLOVERRIDES, set by the
// e2e_planted entry), so that a planted DLL would be taken if the launcher
// let it. Wine reads that from its Unix environment at process start,
// which a test cannot change for the programs it starts.
std::vector<std::wstring> NamesLookedUpAsWindowsDoes()
{
    wchar_t overrides[2048] = {};
    GetEnvironmentVariableW(L"WINEDLLOVERRIDES", overrides, 2048);
    std::vector<std::wstring> names;
    std::wstring entries = overrides;
    for (std::wstring::size_type from = 0; from <= entries.size();) {
        std::wstring::size_type end = entries.find(L';', from);
        if (end == std::wstring::npos) end = entries.size();
        const std::wstring entry = entries.substr(from, end - from);
        if (entry.size() > 4 && entry.compare(entry.size() - 4, 4, L"=n,b") == 0) {
            std::wstring list = entry.substr(0, entry.size() - 4) + L",";
            for (std::wstring::size_type at = 0, comma; (comma = list.find(L',', at)) != std::wstring::npos;
                 at = comma + 1) {
                names.push_back(list.substr(at, comma - at));
            }
        }
        from = end + 1;
    }
    return names;
}

std::vector<std::wstring> MarksIn(const std::wstring& folder)
{
    std::vector<std::wstring> marks;
    WIN32_FIND_DATAW found;
    OwnedFindHandle search(FindFirstFileW((folder + L"\\*.loaded").c_str(), &found));
    if (search) {
        do {
            marks.push_back(found.cFileName);
        } while (FindNextFileW(search.Get(), &found));
    }
    return marks;
}

// What a screen reader in another process hears first: the dialog's name.
std::wstring AccessibleName(HWND dialog)
{
    CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    std::wstring name;
    {
        OwnedInterface<IAccessible> object;
        BSTR text = nullptr;
        VARIANT self;
        self.vt = VT_I4;
        self.lVal = CHILDID_SELF;
        if (SUCCEEDED(AccessibleObjectFromWindow(dialog, OBJID_CLIENT, __uuidof(IAccessible),
                                                 reinterpret_cast<void**>(object.Receive()))) &&
            object->get_accName(self, &text) == S_OK) {
            name = text;
            SysFreeString(text);
        }
    }
    CoUninitialize();
    return name;
}

// The command line's arguments after the program, quoted or not.
std::string ArgumentsOf(std::string commandLine)
{
    if (!commandLine.empty() && commandLine.back() == '\n') commandLine.pop_back();
    std::string::size_type end = commandLine[0] == '"' ? commandLine.find('"', 1) + 1 : commandLine.find(' ');
    if (end == std::string::npos || end >= commandLine.size()) return std::string();
    return commandLine.substr(commandLine[end] == ' ' ? end + 1 : end);
}

std::wstring WindowsFolder()
{
    wchar_t folder[MAX_PATH] = {};
    GetWindowsDirectoryW(folder, MAX_PATH);
    return folder;
}

// The image of Wine's desktop process, which must not be the stub.
std::wstring DesktopProcessImage()
{
    DWORD pid = 0;
    GetWindowThreadProcessId(GetDesktopWindow(), &pid);
    OwnedHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid));
    wchar_t image[MAX_PATH] = {};
    DWORD size = MAX_PATH;
    return process && QueryFullProcessImageNameW(process.Get(), 0, image, &size) ? image : L"";
}

class PlantedFilesTest : public LauncherTest {
protected:
    void SetUp() override
    {
        LauncherTest::SetUp();
        ASSERT_FALSE(current.Path().empty());
        const std::vector<std::wstring> names = NamesLookedUpAsWindowsDoes();
        ASSERT_GE(names.size(), 9u) << "run through the e2e_planted entry, which sets WINEDLLOVERRIDES";
        for (const std::wstring& folder : {disc.Folder(), current.Path()}) {
            for (const std::wstring& name : names) {
                ASSERT_TRUE(CopyFileW(WindowsPathOf(CVN_PLANTED_DLL_PATH).c_str(),
                                      (folder + L"\\" + name + L".dll").c_str(), FALSE));
            }
            plantedExplorerLogs.push_back(disc.PlaceStub(folder + L"\\explorer.exe"));
        }
    }

    // Runs to the first dialog, has a screen reader in this process ask for
    // its object, answers OK and waits for the end.
    void RunWithOk()
    {
        LauncherRun run(disc.Launcher(), 90000, current.Path());
        HWND dialog = run.WaitForDialog();
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(AccessibleName(dialog), kMessageTitle);
        ClickButton(dialog, IDOK);
        ASSERT_TRUE(run.WaitForExit());
        EXPECT_EQ(run.Result().exitCode, 0u);
        lines = run.WorkflowLines();
    }

    void ExpectNothingPlantedRan()
    {
        for (const std::wstring& folder : {disc.Folder(), current.Path()}) {
            EXPECT_EQ(MarksIn(folder), std::vector<std::wstring>()) << Narrow(folder);
        }
        for (const std::wstring& log : plantedExplorerLogs) {
            EXPECT_FALSE(FileExists(log)) << "a planted file manager ran: " << Narrow(log);
        }
    }

    TempFolder current{L"cvn-cwd-"};
    WindowsExplorerStub explorer;
    std::vector<std::wstring> plantedExplorerLogs;
    std::vector<std::string> lines;
};

}  // namespace

TEST_F(PlantedFilesTest, NoticeAndLaunchRunOnlyCorvanaInItsFolder)
{
    const TempFolder install(L"cvn-install-");
    const std::wstring corvana = install.Path() + L"\\Corvana.exe";
    disc.PlaceStub(corvana);
    SetInstallLocation(REG_SZ, install.Path());
    RunWithOk();
    EXPECT_TRUE(Contains(lines, "[RZ_K] CVN Run OK."));
    EXPECT_FALSE(Contains(lines, kImageRefused));
    EXPECT_EQ(StubWorkingFolder(corvana), install.Path()) << "Corvana starts in its install folder";
    ExpectNothingPlantedRan();
}

TEST_F(PlantedFilesTest, QuestionAndDownloadOpenTheAddressWithTheWindowsFileManager)
{
    ASSERT_NE(DesktopProcessImage(), WindowsExplorerStub::Path()) << "Wine's desktop must not run the stub";
    std::string address = FirstTextLine(ReadWholeFile(disc.PathOf(L"CVNAI.ini")));
    address.erase(0, std::string("[CVN_DOWNLOAD_LINK]=").size());
    RunWithOk();
    EXPECT_TRUE(Contains(lines, "[RZ_K] CVN Download OK."));
    EXPECT_EQ(ArgumentsOf(ReadWholeFile(explorer.Log())), "\"" + address + "\"") << "one quoted argument";
    EXPECT_EQ(explorer.WorkingFolder(), WindowsFolder());
    ExpectNothingPlantedRan();
}

namespace {

// Flips the last byte of the code section of the PE file at `path`, in the
// padding past the code itself: nothing loads or runs it, so only the
// digest can tell. (A changed instruction can make the DLL fail to load,
// which refuses it whether or not the digest is compared.)
bool ChangeOneUnusedCodeByte(const std::wstring& path)
{
    std::string bytes = ReadWholeFile(path);
    auto read32 = [&](size_t at) {
        return at + 4 <= bytes.size() ? *reinterpret_cast<const DWORD*>(&bytes[at]) : 0;
    };
    const size_t pe = read32(0x3C);
    if (pe + 24 > bytes.size()) return false;
    const size_t sections = *reinterpret_cast<const WORD*>(&bytes[pe + 6]);
    const size_t table = pe + 24 + *reinterpret_cast<const WORD*>(&bytes[pe + 20]);
    for (size_t i = 0; i < sections; ++i) {
        const size_t entry = table + 40 * i;
        if (entry + 40 <= bytes.size() && bytes.compare(entry, 5, ".text") == 0) {
            const size_t codeSize = read32(entry + 8);
            const size_t rawSize = read32(entry + 16);
            const size_t at = read32(entry + 20) + rawSize - 1;
            if (rawSize <= codeSize || at >= bytes.size()) return false;
            bytes[at] = static_cast<char>(bytes[at] ^ 0x01);
            OwnedHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
            DWORD written = 0;
            return file &&
                   WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                   written == bytes.size();
        }
    }
    return false;
}

struct ImageDllCase {
    const char* name;
    std::function<bool(const std::wstring& dll)> replace;
    bool loads;
};

std::ostream& operator<<(std::ostream& out, const ImageDllCase& c)
{
    return out << c.name;
}

const ImageDllCase kImageDlls[] = {
    {"planted",
     [](const std::wstring& dll) {
         return CopyFileW(WindowsPathOf(CVN_PLANTED_DLL_PATH).c_str(), dll.c_str(), FALSE) != 0;
     },
     false},
    {"one_unused_code_byte_changed", ChangeOneUnusedCodeByte, false},
    {"signed_twice_by_others",
     [](const std::wstring& dll) {
         return CopyFileW(WindowsPathOf(CVN_RESIGNED_DLL_PATH).c_str(), dll.c_str(), FALSE) != 0;
     },
     true},
};

class ImageDllTest : public LauncherTest, public ::testing::WithParamInterface<ImageDllCase> { };

// What a run to the question, answered with EXIT, shows of the image DLL.
struct ImageDllSeen {
    bool backgroundDrawn = false;
    bool refused = false;
    DWORD exitCode = 999;
    std::wstring loadedAs;
};

ImageDllSeen RunToQuestion(const std::wstring& launcher)
{
    ImageDllSeen seen;
    LauncherRun run(launcher);
    HWND question = run.WaitForDialog();
    EXPECT_NE(question, nullptr) << Narrow(launcher);
    const COLORREF band = CaptureClient(question).At(130, 12);
    seen.backgroundDrawn = question != nullptr && GetBValue(band) > GetRValue(band) + 40;
    OwnedHandle modules(CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, run.ProcessId()));
    MODULEENTRY32W module{sizeof(module)};
    for (BOOL more = modules && Module32FirstW(modules.Get(), &module); more;
         more = Module32NextW(modules.Get(), &module)) {
        if (lstrcmpiW(module.szModule, L"CVNImage.dll") == 0) seen.loadedAs = module.szExePath;
    }
    ClickButton(question, IDCANCEL);
    EXPECT_TRUE(run.WaitForExit());
    seen.exitCode = run.Result().exitCode;
    seen.refused = Contains(run.WorkflowLines(), kImageRefused);
    return seen;
}

}  // namespace

// Only the image DLL built with the launcher runs, signed or not; another
// one is never loaded, and the dialog is drawn without its background.
TEST_P(ImageDllTest, OnlyTheDllBuiltWithTheLauncherIsLoaded)
{
    const ImageDllCase& c = GetParam();
    const std::wstring dll = disc.PathOf(L"CVNImage.dll");
    ASSERT_TRUE(c.replace(dll));
    const ImageDllSeen seen = RunToQuestion(disc.Launcher());
    EXPECT_EQ(seen.exitCode, 0u);
    EXPECT_FALSE(FileExists(dll + L".loaded")) << "the planted DLL ran";
    EXPECT_EQ(seen.refused, !c.loads);
    EXPECT_EQ(seen.backgroundDrawn, c.loads);
}

// Never from a network drive (N:, typed by tools/wine-env.sh); through
// J:\k, which drive K: names directly, by its final path K:\... (Wine names
// a file by the drive nearest to it).
TEST_F(LauncherTest, ImageDllComesOnlyFromThisMachineByItsFinalPath)
{
    ASSERT_EQ(GetDriveTypeW(L"N:\\"), UINT{DRIVE_REMOTE}) << "the prefix lacks its test drives";
    for (const bool onNetwork : {true, false}) {
        const TestDisc there(onNetwork ? L"N:\\" : L"K:\\");
        const std::wstring through = (onNetwork ? L"N:\\" : L"J:\\k\\") + there.Folder().substr(3);
        SCOPED_TRACE(Narrow(through));
        const ImageDllSeen seen = RunToQuestion(through + L"\\CVNAI.exe");
        EXPECT_EQ(seen.exitCode, 0u);
        EXPECT_EQ(seen.refused, onNetwork);
        EXPECT_EQ(seen.backgroundDrawn, !onNetwork);
        EXPECT_EQ(Narrow(seen.loadedAs), onNetwork ? "" : Narrow(there.PathOf(L"CVNImage.dll")));
    }
}

INSTANTIATE_TEST_SUITE_P(Variants, ImageDllTest, ::testing::ValuesIn(kImageDlls),
                         [](const ::testing::TestParamInfo<ImageDllCase>& info) {
                             return std::string(info.param.name);
                         });
