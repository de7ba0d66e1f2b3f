// dialogshots: opens every message dialog a user can meet (5000 and 5002 in
// the notice, 5001 in the question, in the ten languages, and 5003 in
// English) for real, one after another, and saves each one's client area
// as a 24-bit BMP in the given folder: KIND-ID-LANGUAGE.bmp. With
// --check-fit it opens nothing and says of each of them whose message does
// not fit its rectangle by how many pixels it overflows (exit code 1).
//   dialogshots FOLDER
//   dialogshots --check-fit
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "DialogControl.h"
#include "app/LocaleTable.h"
#include "skin/MessageDialogs.h"
#include "workflow/MessageText.h"

namespace {

// Runs the dialog, saves it once it has painted, and closes it with Esc.
bool Shoot(CDialog& dialog, const std::wstring& path)
{
    bool saved = false;
    RunModalWithSteps([&dialog] { return dialog.DoModal(); }, {[&](HWND window) {
                          saved = SaveCaptureAsBmp(CaptureClient(window), path);
                          PressEscape(window);
                      }});
    return saved;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: dialogshots FOLDER | --check-fit\n");
        return 2;
    }
    const std::wstring folder = argv[1];
    const bool checkFit = folder == L"--check-fit";
    int failed = 0;
    struct Message {
        UINT id;
        bool notice;
        bool allLanguages;
    };
    for (const Message& message : {Message{5000, true, true}, Message{5001, false, true},
                                   Message{5002, true, true}, Message{5003, true, false}}) {
        for (std::uint32_t locale : kSupportedLocales) {
            if (!message.allLanguages && locale != kFallbackLocale) continue;
            const auto language = static_cast<LANGID>(locale);
            std::wstring text;
            FindStringInLanguage(GetModuleHandleW(nullptr), message.id, language, text);
            if (checkFit) {
                const RECT& area = (message.notice ? CAFXOKBIG::kLayout : CASFXYESNO::kLayout).messageRect;
                std::wstring face;
                const SIZE laid = LaidOutMessage(text, area.right - area.left, face);
                const long over = laid.cy - (area.bottom - area.top);
                if (over > 0 || laid.cx > area.right - area.left) {
                    std::fprintf(stderr,
                                 "dialogshots: message %u in language %u does not fit its dialog: %ld pixels "
                                 "too high, %ld too wide (measured with %ls)\n",
                                 message.id, language, over > 0 ? over : 0,
                                 laid.cx > area.right - area.left ? laid.cx - (area.right - area.left) : 0,
                                 face.c_str());
                    ++failed;
                }
                continue;
            }
            const std::wstring path = folder + L"\\" + (message.notice ? L"notice-" : L"question-") +
                                      std::to_wstring(message.id) + L"-" + std::to_wstring(language) + L".bmp";
            bool ok;
            if (message.notice) {
                CAFXOKBIG dialog(nullptr, kMessageTitle, text);
                ok = Shoot(dialog, path);
            } else {
                CASFXYESNO dialog(nullptr, kMessageTitle, text);
                ok = Shoot(dialog, path);
            }
            if (!ok) {
                std::fprintf(stderr, "dialogshots: could not save %ls\n", path.c_str());
                ++failed;
            }
        }
    }
    return failed == 0 ? 0 : 1;
}
