#include "E2E.h"

namespace {

struct LinkCase {
    const char* name;
    std::string fileBytes;
    bool opens;              // the file manager is started
    std::string parameters;  // what it is given, when it is
    const char* errorLine;   // the trace line of the error, otherwise
};

std::ostream& operator<<(std::ostream& out, const LinkCase& c)
{
    return out << c.name;
}

const std::string kMarker = "[CVN_DOWNLOAD_LINK]=";

std::string Utf16(const std::string& ascii)
{
    std::string bytes = "\xFF\xFE";
    for (char c : ascii) {
        bytes.push_back(c);
        bytes.push_back('\0');
    }
    return bytes;
}

// Only an http or https address is opened, quoted as one argument; every
// other link is a wrong file.
const LinkCase kCases[] = {
    {"plain", kMarker + "https://example.test/Setup.exe\r\n", true, "\"https://example.test/Setup.exe\"", nullptr},
    {"unix_line_end", kMarker + "https://example.test/a\nsecond\n", true, "\"https://example.test/a\"", nullptr},
    {"no_line_end", kMarker + "HTTP://example.test/b", true, "\"HTTP://example.test/b\"", nullptr},
    {"text_before_and_after_joined", "https://exa" + kMarker + "mple.test/c\r\n", true,
     "\"https://example.test/c\"", nullptr},
    {"blanks_and_cr_around", kMarker + " \t https://example.test/g \t\r\r\n", true, "\"https://example.test/g\"",
     nullptr},
    {"ctrl_z_ends_the_file", kMarker + "https://example.test/d\x1Aignored\r\n", true, "\"https://example.test/d\"",
     nullptr},
    {"marker_on_line_two", "https://example.test/e\r\n" + kMarker + "https://example.test/e\r\n", false, "",
     "[RZ_K] Wrong File Error."},
    {"empty_file", "", false, "", "[RZ_K] Wrong File Error."},
    {"utf16_text", Utf16(kMarker + "https://example.test/f\r\n"), false, "", "[RZ_K] Wrong File Error."},
    {"binary", std::string("\x00\x01\x02\xFF\xFE\x80\n", 7), false, "", "[RZ_K] Wrong File Error."},
    {"empty_address", kMarker + " \r\n", false, "", "[RZ_K] Wrong File Error."},
    {"text_before_the_address", "see:" + kMarker + "https://example.test/c\r\n", false, "",
     "[RZ_K] Wrong File Error."},
    {"local_program", kMarker + "C:\\Windows\\System32\\cmd.exe\r\n", false, "", "[RZ_K] Wrong File Error."},
    {"network_path", kMarker + "\\\\host\\share\\x\r\n", false, "", "[RZ_K] Wrong File Error."},
    {"file_scheme", kMarker + "file:///C:/Windows/System32/cmd.exe\r\n", false, "", "[RZ_K] Wrong File Error."},
    {"other_scheme", kMarker + "ms-msdt:/id PCWDiagnostic\r\n", false, "", "[RZ_K] Wrong File Error."},
    {"explorer_switch", kMarker + "/select,C:\\Windows\\System32\\cmd.exe\r\n", false, "",
     "[RZ_K] Wrong File Error."},
    {"quote", kMarker + "https://example.test/\" /root,C:\\\r\n", false, "", "[RZ_K] Wrong File Error."},
    {"blank_inside", kMarker + "https://example.test/a b\r\n", false, "", "[RZ_K] Wrong File Error."},
    {"no_host", kMarker + "https:///x\r\n", false, "", "[RZ_K] Wrong File Error."},
};

// The arguments in the stub file manager's recorded command line: its
// program (quoted or not) and one space come first.
std::string ParametersGiven(std::string log)
{
    if (log.empty() || log.back() != '\n') {
        return "<not started once: " + log + ">";
    }
    log.pop_back();
    const std::string::size_type end = log[0] == '"' ? log.find('"', 1) : log.find(' ');
    if (end == std::string::npos) {
        return "<unexpected command line: " + log + ">";
    }
    const std::string::size_type from = log[0] == '"' ? end + 1 : end;
    return from < log.size() && log[from] == ' ' ? log.substr(from + 1) : log.substr(from);
}

class DownloadLinkTest : public LauncherTest, public ::testing::WithParamInterface<LinkCase> { };

// Runs the not-installed road with OK; answers a 5002 notice with OK.
std::vector<std::string> RunDownload(const TestDisc& disc, int* dialogs, DWORD* exitCode)
{
    LauncherRun run(disc.Launcher());
    HWND question = run.WaitForDialog();
    if (question != nullptr) {
        ClickButton(question, IDOK);
        run.WaitForDialogGone(question);
        // An error notice may follow.
        HWND notice = run.WaitForDialog(3000);
        if (notice != nullptr) {
            ClickButton(notice, IDOK);
        }
    }
    run.WaitForExit();
    *dialogs = run.DistinctWindowsSeen();
    *exitCode = run.Result().exitCode;
    return run.WorkflowLines();
}

}  // namespace

TEST_P(DownloadLinkTest, LinkFileOutcome)
{
    const LinkCase& c = GetParam();
    disc.Write(L"CVNAI.ini", c.fileBytes);
    const WindowsExplorerStub explorer;
    const std::wstring explorerLog = explorer.Log();
    int dialogs = 0;
    DWORD exitCode = 999;
    const std::vector<std::string> lines = RunDownload(disc, &dialogs, &exitCode);
    EXPECT_EQ(exitCode, 0u);
    const size_t start = IndexOf(lines, "[RZ_K] DownloadCVN(+)");
    ASSERT_LT(start, lines.size());
    const std::vector<std::string> tail(lines.begin() + static_cast<long>(start), lines.end());
    if (c.opens) {
        EXPECT_EQ(tail,
                  (std::vector<std::string>{"[RZ_K] DownloadCVN(+)", "[RZ_K] CVN Download OK.",
                                            "[RZ_K] DownloadCVN(-)", "[RZ_K] End. Zzz..", "[RZ_K] OnDestroy()"}));
        EXPECT_EQ(dialogs, 1) << "just the question";
        EXPECT_EQ(ParametersGiven(ReadWholeFile(explorerLog)), c.parameters);
    } else {
        EXPECT_EQ(tail, (std::vector<std::string>{"[RZ_K] DownloadCVN(+)", c.errorLine, "[RZ_K] End. Zzz..",
                                                  "[RZ_K] OnDestroy()"}));
        EXPECT_EQ(dialogs, 2) << "the question, then notice 5002";
        EXPECT_FALSE(FileExists(explorerLog));
    }
}

INSTANTIATE_TEST_SUITE_P(Variants, DownloadLinkTest, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<LinkCase>& info) {
                             return std::string(info.param.name);
                         });

TEST_F(LauncherTest, MissingLinkFileIsAnIniError)
{
    ASSERT_TRUE(disc.Remove(L"CVNAI.ini"));
    int dialogs = 0;
    DWORD exitCode = 999;
    const std::vector<std::string> lines = RunDownload(disc, &dialogs, &exitCode);
    EXPECT_EQ(exitCode, 0u);
    EXPECT_TRUE(Contains(lines, "[RZ_K] INI File Error."));
    EXPECT_FALSE(Contains(lines, "[RZ_K] DownloadCVN(-)"));
    EXPECT_EQ(dialogs, 2);
}

TEST_F(LauncherTest, LinkFileHeldOpenElsewhereIsAnIniError)
{
    disc.Write(L"CVNAI.ini", kMarker + "https://example.test/\r\n");
    OwnedHandle held(CreateFileW(disc.PathOf(L"CVNAI.ini").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                 OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(held.Valid());
    int dialogs = 0;
    DWORD exitCode = 999;
    const std::vector<std::string> lines = RunDownload(disc, &dialogs, &exitCode);
    held.Reset();
    EXPECT_TRUE(Contains(lines, "[RZ_K] INI File Error."));
    EXPECT_EQ(exitCode, 0u);
}

TEST_F(LauncherTest, HundredMegabyteLineWithoutLineEndIsAWrongFile)
{
    const WindowsExplorerStub explorer;
    disc.Write(L"CVNAI.ini", kMarker + "https://example.test/" + std::string(100 * 1024 * 1024, 'x'));
    int dialogs = 0;
    DWORD exitCode = 999;
    const std::vector<std::string> lines = RunDownload(disc, &dialogs, &exitCode);
    EXPECT_EQ(exitCode, 0u);
    EXPECT_TRUE(Contains(lines, "[RZ_K] Wrong File Error."));
    EXPECT_EQ(dialogs, 2) << "the question, then notice 5002";
    EXPECT_FALSE(FileExists(explorer.Log()));
}
