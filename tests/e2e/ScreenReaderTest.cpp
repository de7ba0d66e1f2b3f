// A screen reader in another process (tools/ReaderProbe.cpp) hears the
// question as a user of one would, and the objects it kept fail cleanly once
// the question has gone, while the launcher goes on.
#include <oleacc.h>

#include "E2E.h"

namespace {

std::vector<std::string> LinesOf(const std::string& text)
{
    std::vector<std::string> lines;
    std::string::size_type from = 0;
    for (std::string::size_type end; (end = text.find('\n', from)) != std::string::npos; from = end + 1) {
        lines.push_back(text.substr(from, end - from));
    }
    return lines;
}

bool Heard(const std::wstring& file, const std::string& line)
{
    return Contains(LinesOf(ReadWholeFile(file)), line);
}

// Tab, as the user presses it on the focused button.
void PressTab(HWND button)
{
    PostMessageW(button, WM_KEYDOWN, VK_TAB, 0x000F0001);
    PostMessageW(button, WM_KEYUP, VK_TAB, 0xC00F0001);
}

}  // namespace

TEST_F(LauncherTest, AScreenReaderInAnotherProcessHearsTheQuestionAndItsKeptObjectsFailCleanly)
{
    // OK then finds no link and shows notice 5002: the launcher goes on
    // after the question, and the reader calls what it kept meanwhile.
    disc.Write(L"CVNAI.ini", "no link here\r\n");
    const TempFolder work(L"cvn-reader-");
    const std::wstring heard = work.Path() + L"\\heard.txt";
    TestProcess reader;
    ASSERT_TRUE(reader.Start(QuoteArgument(WindowsPathOf(CVN_READER_PATH)) + L" " + QuoteArgument(heard) +
                             L" --keep --seconds 60"));
    ASSERT_TRUE(WaitUntil([&] { return Heard(heard, "ready"); }, 30000)) << ReadWholeFile(heard);

    LauncherRun run(disc.Launcher());
    HWND question = run.WaitForDialog();
    ASSERT_NE(question, nullptr);
    const std::string ok = "focus: OK | " + std::to_string(ROLE_SYSTEM_PUSHBUTTON);
    const std::string cancel = "focus: Cancel | " + std::to_string(ROLE_SYSTEM_PUSHBUTTON);
    // Wine sends no focus event for the focus a dialog opens with, nor a
    // foreground event without a window manager: Tab moves the focus to
    // Cancel and back to OK, which is heard.
    PressTab(GetDlgItem(question, IDOK));
    EXPECT_TRUE(WaitUntil([&] { return Heard(heard, cancel); }, 10000)) << ReadWholeFile(heard);
    PressTab(GetDlgItem(question, IDCANCEL));
    EXPECT_TRUE(WaitUntil([&] { return Heard(heard, ok); }, 10000)) << ReadWholeFile(heard);
    ClickButton(question, IDOK);
    ASSERT_TRUE(run.WaitForDialogGone(question));
    HWND notice = nullptr;
    ASSERT_TRUE(WaitUntil(
        [&] { return (notice = FindLauncherDialog(run.ProcessId())) != nullptr && notice != question; }, 10000));
    EXPECT_TRUE(WaitUntil([&] { return Heard(heard, "done"); }, 30000)) << ReadWholeFile(heard);
    ClickButton(notice, IDOK);
    ASSERT_TRUE(run.WaitForExit());
    EXPECT_EQ(run.Result().exitCode, 0u) << "the launcher did not crash";
    EXPECT_TRUE(Contains(run.WorkflowLines(), "[RZ_K] Wrong File Error."));

    const std::vector<std::string> lines = LinesOf(ReadWholeFile(heard));
    const std::string question5001 =
        "Corvana is not installed.\\r\\nDo you want to download the installation file?";
    EXPECT_TRUE(Contains(lines, "window name: CVN Auto Installer")) << "the window object is named by the title";
    EXPECT_TRUE(Contains(lines, "client: CVN Auto Installer | " + question5001)) << ReadWholeFile(heard);
    EXPECT_TRUE(Contains(lines, "kept: CVN Auto Installer"));
    int after = 0;
    for (const std::string& line : lines) {
        if (line.compare(0, 6, "after ") != 0) continue;
        ++after;
        const unsigned long result = std::stoul(line.substr(line.rfind("0x")), nullptr, 16);
        EXPECT_TRUE(FAILED(static_cast<HRESULT>(result)))
            << "a call on a gone dialog's object succeeded: " << line;
    }
    EXPECT_EQ(after, 3 * 14) << "every method of the dialog's, its window's and a button's object";
}
