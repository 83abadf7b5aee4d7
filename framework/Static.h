// CStatic, CProgressCtrl and CComboBox: the control classes the windows attach to their controls.
#pragma once

#include "framework/Wnd.h"

#include <commctrl.h>

class CStatic : public CWnd {};

class CProgressCtrl : public CWnd {
public:
    void SetRange(short nLower, short nUpper) {
        SendMessageA(m_hWnd, PBM_SETRANGE, 0, MAKELPARAM(nLower, nUpper));
    }
    int SetPos(int nPos) { return static_cast<int>(SendMessageA(m_hWnd, PBM_SETPOS, nPos, 0)); }
};

// A combo box's selection and the texts of its entries.
class CComboBox : public CWnd {
public:
    // The selected entry's index, or CB_ERR (-1) when none is selected.
    int GetCurSel() const { return static_cast<int>(SendMessageA(m_hWnd, CB_GETCURSEL, 0, 0)); }

    // The whole text of entry nIndex, however long; empty when there is no such entry.
    std::string GetLBText(int nIndex) const {
        LRESULT nLength = SendMessageA(m_hWnd, CB_GETLBTEXTLEN, static_cast<WPARAM>(nIndex), 0);
        if (nLength == CB_ERR)
            return std::string();
        std::string strText(static_cast<size_t>(nLength) + 1, '\0');
        LRESULT nCopied = SendMessageA(m_hWnd, CB_GETLBTEXT, static_cast<WPARAM>(nIndex),
                                       reinterpret_cast<LPARAM>(&strText[0]));
        strText.resize(nCopied == CB_ERR ? 0 : static_cast<size_t>(nCopied));
        return strText;
    }
};
