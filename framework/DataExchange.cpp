#include "framework/DataExchange.h"

#include "framework/Wnd.h"

void CDataExchange::Text(int nID, std::string& strValue) {
    if (m_bSaveAndValidate)
        strValue = m_dialog.GetDlgItemText(nID);
    else
        m_dialog.SetDlgItemText(nID, strValue);
}

void CDataExchange::Check(int nID, int& nValue) {
    HWND hButton = m_dialog.GetDlgItem(nID);
    if (m_bSaveAndValidate)
        nValue = static_cast<int>(SendMessageA(hButton, BM_GETCHECK, 0, 0));
    else
        SendMessageA(hButton, BM_SETCHECK, nValue ? BST_CHECKED : BST_UNCHECKED, 0);
}

void CDataExchange::Radio(int nFirstID, int& nValue) {
    HWND hButton = m_dialog.GetDlgItem(nFirstID);
    if (m_bSaveAndValidate)
        nValue = -1;
    // The group runs from the first button up to the next control that starts a group.
    int nIndex = 0;
    do {
        if (SendMessageA(hButton, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON) {
            if (m_bSaveAndValidate) {
                if (SendMessageA(hButton, BM_GETCHECK, 0, 0) == BST_CHECKED)
                    nValue = nIndex;
            } else {
                SendMessageA(hButton, BM_SETCHECK, nIndex == nValue ? BST_CHECKED : BST_UNCHECKED,
                             0);
            }
            ++nIndex;
        }
        hButton = GetWindow(hButton, GW_HWNDNEXT);
    } while (hButton && !(GetWindowLongA(hButton, GWL_STYLE) & WS_GROUP));
}

void CDataExchange::Control(int nID, CWnd& control) {
    if (!control.m_hWnd)
        control.SubclassDlgItem(nID, m_dialog);
}
