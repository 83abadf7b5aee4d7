#include "ui/ConverterDialog.h"

#include "framework/ResourceString.h"
#include "res/resource.h"
#include "ui/CenterWindow.h"

ConverterDialog::ConverterDialog()
    : CDialog(IDD_CONVERTER),
      m_hIcon(LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDI_MAINFRAME))) {}

BOOL ConverterDialog::OnInitDialog() {
    CDialog::OnInitDialog();
    SendMessageA(m_hWnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
    SendMessageA(m_hWnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon));
    SetWindowContextHelpId(m_hWnd, 1);
    CenterWindowOnScreen(m_hWnd);
    ShowWindow(m_hWnd, SW_SHOWNORMAL);
    m_progress.Attach(GetDlgItem(IDC_PROGRESS));
    m_progress.SetRange(0, 100);
    m_progress.SetPos(0);
    return TRUE;
}
