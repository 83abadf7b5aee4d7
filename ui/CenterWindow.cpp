#include "ui/CenterWindow.h"

#include <algorithm>

namespace {

int CenteredCoordinate(int nScreen, int nSize) {
    int n = nScreen / 2 - nSize / 2;
    if (std::min(n, nScreen - nSize) < 0)
        return 0;
    return std::min(n, nScreen - nSize);
}

} // namespace

ScreenPoint CenteredOrigin(int nScreenWidth, int nScreenHeight, int nWidth, int nHeight) {
    return {CenteredCoordinate(nScreenWidth, nWidth), CenteredCoordinate(nScreenHeight, nHeight)};
}
