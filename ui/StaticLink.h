// StaticLink: a static control drawn as an underlined, coloured link that opens its text
// with the shell when clicked.
#pragma once

#include "framework/Handle.h"
#include "framework/Static.h"

#include <string>

// Attached to an existing static control by subclassing; its parent must reflect the
// control's colouring and notifications to it (CDialog does).
class StaticLink : public CStatic {
public:
    bool OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& lResult) override;

    COLORREF m_crUnvisited = RGB(0, 0, 255);
    COLORREF m_crVisited = RGB(128, 0, 128);
    int m_bVisited = 0;
    std::string m_strUrl; // the control's text at the first click
    OwnedFont m_font;     // underlined copy of the control's font, made at the first colouring

private:
    // Called when the parent reflects the control's WM_CTLCOLOR*; null: the parent colours.
    HBRUSH CtlColor(HDC hDC);
    // Called when the parent reflects STN_CLICKED.
    void OnClicked();
};
