// ConverterDialog: the window of the main-window run mode.
#pragma once

#include "framework/Dialog.h"
#include "framework/Static.h"

class ConverterDialog : public CDialog {
public:
    ConverterDialog();

protected:
    BOOL OnInitDialog() override;

private:
    CProgressCtrl m_progress;
    HICON m_hIcon;
};
