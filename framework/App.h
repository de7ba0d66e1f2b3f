#pragma once
// The application object: one static instance per program. The entry point
// calls InitInstance() once; FALSE ends the process at once, TRUE runs a
// message loop, which ends at once when there is no main window.
#include <windows.h>

#include <cstddef>
#include <string>

class CDialog;

// The framework's help command, as menus and F1 accelerators send it.
constexpr UINT ID_HELP = 0xE146;

class CApp {
public:
    using CommandHandler = void (CApp::*)();
    struct CommandEntry {
        UINT id;
        CommandHandler handler;
    };
    struct CommandTable {
        const CommandEntry* entries;
        std::size_t count;
    };

    CApp();
    virtual ~CApp();
    CApp(const CApp&) = delete;
    CApp& operator=(const CApp&) = delete;

    static CApp* Current();

    virtual BOOL InitInstance();
    virtual int ExitInstance();
    virtual int Run();

    // Routes a command through the application's command table; dialogs
    // hand on the commands they do not handle themselves.
    bool OnCommand(UINT id);

    HINSTANCE Instance() const { return m_hInstance; }
    CDialog* MainWindow() const { return m_pMainWnd; }
    void SetMainWindow(CDialog* dialog) { m_pMainWnd = dialog; }
    // Where stored settings would live. The launcher stores none, so the
    // name is only kept.
    void SetRegistryKey(const wchar_t* key) { m_registryKey = key; }

    // Called by the entry point before InitInstance().
    void Attach(HINSTANCE instance) { m_hInstance = instance; }

protected:
    virtual CommandTable GetCommandTable() const { return {nullptr, 0}; }
    // Default help handler. The program ships no help file, so there is
    // nothing to open.
    virtual void OnHelp() { }

private:
    HINSTANCE m_hInstance = nullptr;
    CDialog* m_pMainWnd = nullptr;
    std::wstring m_registryKey;
};
