// CWinApp: the one application object, its command table and the program's entry.
#pragma once

#include "framework/CommandLineInfo.h"
#include "framework/Wnd.h"

// The standard help command, sent by the F1 key (57670).
constexpr UINT ID_HELP = 0xE146;

class CWinApp {
public:
    CWinApp();
    virtual ~CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    // The program's life; returning FALSE ends it through ExitInstance.
    virtual BOOL InitInstance();
    virtual int ExitInstance();

    // Commands from the windows that they do not handle themselves; true when handled.
    virtual bool OnCmdMsg(UINT nID);

    // Runs ParseParam over the C runtime's arguments after the program name.
    void ParseCommandLine(CCommandLineInfo& info);

    // The standard help command (ID_HELP): help for the active window, through the main
    // window's WinHelp.
    void OnHelp();

    HINSTANCE m_hInstance = nullptr;
    CWnd* m_pMainWnd = nullptr;

private:
    CWinApp* m_pPreviousApp;
};

// The application object constructed last (tests may make their own).
CWinApp* AfxGetApp();
CWnd* AfxGetMainWnd();

// Runs the application object: common controls, InitInstance, ExitInstance.
int AfxWinMain(HINSTANCE hInstance, int nCmdShow);
