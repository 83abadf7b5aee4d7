// CWnd: a C++ object attached to a window; the base of dialogs and controls.
#pragma once

#include <windows.h>

#include <string>

// Messages a parent reflects back to the control that caused them.
constexpr UINT WM_REFLECT_BASE = 0xBC00;
constexpr UINT WM_REFLECT_COMMAND = WM_REFLECT_BASE + WM_COMMAND;
constexpr UINT WM_REFLECT_CTLCOLOR = WM_REFLECT_BASE + 0x0019; // all WM_CTLCOLOR* kinds

class CWnd {
public:
    CWnd() = default;
    virtual ~CWnd();
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    // The object subclassing hWnd, if any.
    static CWnd* FromHandlePermanent(HWND hWnd);

    // Attaches without taking over the window's messages (enough for plain controls).
    void Attach(HWND hWnd) { m_hWnd = hWnd; }

    // Takes over the window's messages: they reach OnWndMsg first.
    bool SubclassWindow(HWND hWnd);
    bool SubclassDlgItem(int nID, const CWnd& parent);

    HWND GetDlgItem(int nID) const { return ::GetDlgItem(m_hWnd, nID); }
    std::string GetWindowText() const;
    std::string GetDlgItemText(int nID) const;
    void SetDlgItemText(int nID, const std::string& strText) {
        ::SetDlgItemTextA(m_hWnd, nID, strText.c_str());
    }

    // A help request for this window. The windows that can be the main window decide.
    virtual void WinHelp(DWORD_PTR dwData, UINT nCmd);

    // Handles one message; true when handled, with the message's result in lResult.
    virtual bool OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& lResult);

    HWND m_hWnd = nullptr;

protected:
    // The subclassed window's original handling of the message being processed.
    LRESULT Default();

private:
    static LRESULT CALLBACK SubclassProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam,
                                         UINT_PTR uIdSubclass, DWORD_PTR dwRefData);
    void Unsubclass();

    bool m_bSubclassed = false;
    const MSG* m_pCurrentMessage = nullptr;
};
