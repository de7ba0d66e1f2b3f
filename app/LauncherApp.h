#pragma once
#include <string>

#include "framework/App.h"

// The running executable's full path, and its folder without a trailing
// separator. Written once at start-up, read by the download link and the
// device monitor.
extern std::wstring g_strModulePath;
extern std::wstring g_strModuleDir;

class CLauncherApp : public CApp {
public:
    BOOL InitInstance() override;

protected:
    CommandTable GetCommandTable() const override;

private:
    static constexpr CommandEntry kCommands[] = {
        {ID_HELP, &CLauncherApp::OnHelp},
    };
};
