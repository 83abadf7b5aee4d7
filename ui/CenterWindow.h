// Where a window goes so that it is centred on the primary screen.
#pragma once

struct ScreenPoint {
    int x;
    int y;
};

// The top-left corner that centres a window of nWidth x nHeight on a screen of
// nScreenWidth x nScreenHeight, kept on the screen; a window larger than the screen
// goes to 0.
ScreenPoint CenteredOrigin(int nScreenWidth, int nScreenHeight, int nWidth, int nHeight);
