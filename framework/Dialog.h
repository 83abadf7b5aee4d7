// CDialog: a dialog run modally from its template, with data exchange and command routing.
#pragma once

#include "framework/DataExchange.h"
#include "framework/Wnd.h"

class CDialog : public CWnd {
public:
    // Without a parent the main window owns the dialog, as the framework does.
    explicit CDialog(UINT nIDTemplate, HWND hParentWnd = nullptr);
    ~CDialog() override;

    // Runs the dialog until EndDialog; returns its result, or -1 if it could not be made.
    virtual INT_PTR DoModal();
    void EndDialog(int nResult);

    // Moves data between the members and the controls (true: controls to members).
    bool UpdateData(bool bSaveAndValidate = true);

    bool OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& lResult) override;

protected:
    virtual BOOL OnInitDialog();
    virtual void DoDataExchange(CDataExchange& dx);
    virtual void OnOK();
    virtual void OnCancel();

private:
    static INT_PTR CALLBACK DialogProc(HWND hDlg, UINT message, WPARAM wParam, LPARAM lParam);
    HWND DefaultOwner() const;
    static void PlaceOverOwner(HWND hDlg, HWND hOwner);
    void RunModalLoop();
    bool RouteCommand(WPARAM wParam, LPARAM lParam, LRESULT& lResult);

    UINT m_nIDTemplate;
    HWND m_hParentWnd;
    INT_PTR m_nModalResult = -1;
    bool m_bInModalLoop = false;
};

// F1 without Shift, Ctrl or Alt in one of the program's windows: sends ID_HELP to the
// main window. True when the message was taken.
bool PreTranslateHelpKey(const MSG& msg);
