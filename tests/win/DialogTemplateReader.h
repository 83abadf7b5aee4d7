// Reads a dialog template resource (DLGTEMPLATE or DLGTEMPLATEEX) into plain fields, so
// tests can compare it with what the dialog should look like.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

struct ControlTemplate {
    int nId = 0;
    DWORD dwStyle = 0;
    DWORD dwExStyle = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
    std::string strClass; // predefined classes by name ("Button", "Edit", ...)
    std::string strText;  // in the ANSI code page; "#n" for an ordinal
};

struct DialogTemplate {
    bool bExtended = false;
    DWORD dwStyle = 0;
    DWORD dwExStyle = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
    std::string strMenu; // "#n" for a menu given by number, empty for none
    std::string strClass;
    std::string strCaption;
    WORD wPointSize = 0;
    WORD wWeight = 0;
    BYTE bItalic = 0;
    BYTE bCharSet = 0;
    std::string strTypeface;
    std::vector<ControlTemplate> controls;
};

// Parses cbSize bytes of template data; false when the data is cut short or malformed.
bool ReadDialogTemplate(const void* pData, size_t cbSize, DialogTemplate& result);

// Finds dialog resource nId in hModule and parses it; false when there is none.
bool LoadDialogTemplate(HMODULE hModule, UINT nId, DialogTemplate& result);
