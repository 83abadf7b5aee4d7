// Entry point of the Windows tests: registers the common controls the dialogs use and
// makes sure no test can hang on a real message box it did not expect.
#include "ui/MessageBox.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstdio>

int main(int argc, char** argv) {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);
    ::testing::InitGoogleTest(&argc, argv);
    // Tests that expect boxes install their own recorder; any other box is a failure.
    SetMessageBoxHook([](const MessageBoxRequest& request) {
        ADD_FAILURE() << "unexpected message box \"" << request.strCaption << "\": "
                      << request.strText;
        return IDCANCEL;
    });
    SetBeepHook([](UINT) {});
    return RUN_ALL_TESTS();
}
