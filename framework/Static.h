// CStatic and CProgressCtrl: the control classes the windows attach to their controls.
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
    int GetPos() const { return static_cast<int>(SendMessageA(m_hWnd, PBM_GETPOS, 0, 0)); }
};
