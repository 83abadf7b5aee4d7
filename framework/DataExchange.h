// CDataExchange: moves values between a dialog's members and its controls.
#pragma once

#include <windows.h>

#include <string>

class CWnd;

class CDataExchange {
public:
    CDataExchange(CWnd& dialog, bool bSaveAndValidate)
        : m_dialog(dialog), m_bSaveAndValidate(bSaveAndValidate) {}

    // Window text of a control.
    void Text(int nID, std::string& strValue);
    // Check box: 0 unticked, 1 ticked.
    void Check(int nID, int& nValue);
    // Radio group starting at nFirstID: index of the checked button, -1 for none.
    void Radio(int nFirstID, int& nValue);
    // Attaches a control object to the control, once.
    void Control(int nID, CWnd& control);

    CWnd& m_dialog;
    const bool m_bSaveAndValidate;
};
