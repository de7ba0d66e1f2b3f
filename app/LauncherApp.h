#pragma once
#include "framework/App.h"

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
