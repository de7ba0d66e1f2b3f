#include "framework/App.h"

#include "framework/Dialog.h"

namespace {
CApp* g_currentApp = nullptr;
}

CApp::CApp()
{
    g_currentApp = this;
}

CApp::~CApp()
{
    if (g_currentApp == this) {
        g_currentApp = nullptr;
    }
}

CApp* CApp::Current()
{
    return g_currentApp;
}

BOOL CApp::InitInstance()
{
    return TRUE;
}

int CApp::ExitInstance()
{
    return 0;
}

int CApp::Run()
{
    if (m_pMainWnd == nullptr || !IsWindow(m_pMainWnd->GetSafeHwnd())) {
        PostQuitMessage(0);
    }
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return ExitInstance();
}

bool CApp::OnCommand(UINT id)
{
    const CommandTable table = GetCommandTable();
    for (std::size_t i = 0; i < table.count; ++i) {
        if (table.entries[i].id == id) {
            (this->*table.entries[i].handler)();
            return true;
        }
    }
    return false;
}

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int)
{
    CApp* app = CApp::Current();
    if (app == nullptr) {
        return 1;
    }
    app->Attach(instance);
    if (!app->InitInstance()) {
        return app->ExitInstance();
    }
    return app->Run();
}
