// Resource strings and window texts with the product placeholders expanded: the Win32 side
// of LocalisedText.h.
#pragma once

#include <windows.h>

// Loads string nID into the next of four rotating 512-byte slots and expands it there.
// The text stays valid until four further calls; never null, empty when there is no
// such string. User-interface thread only.
const char* LoadExpandedString(UINT nID);

// Expands the placeholders in a window's text (up to 1023 bytes) and writes it back.
// A null window is ignored.
void ExpandWindowText(HWND hWnd);
