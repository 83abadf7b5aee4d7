// Resource ids of the Quillon.cpl applet: icon, dialog, controls and strings.
#pragma once

#define IDI_APPLET 1

#define IDD_CONFIGURATIONS 100

// Controls of the configurations dialog
#define IDC_CONFIG_LIST 1001
#define IDC_ACTIVATE 1002
#define IDC_DELETE 1003
#define IDC_ACTIVE_NAME 1004
#define IDC_NEW_NAME 1005
#define IDC_CREATE 1006
#define IDC_SETTINGS_GROUP 1007
#define IDC_USE_OUTPUT_PATH 1008
#define IDC_OUTPUT_PATH 1009
#define IDC_OVERWRITE 1010
#define IDC_COLOUR_RESOLUTION 1011
#define IDC_COLOUR_COMPRESSION 1012
#define IDC_GREY_RESOLUTION 1013
#define IDC_GREY_COMPRESSION 1014
#define IDC_MONO_RESOLUTION 1015
#define IDC_MONO_COMPRESSION 1016
#define IDC_FONTS 1017
#define IDC_EMBED_FONTS 1018
#define IDC_NEVER_EMBED_FONTS 1019

// Strings: the applet's name and description for the control panel
#define IDS_APPLET_NAME 1
#define IDS_APPLET_INFO 2

// Strings: captions and texts of the dialog and its message boxes ("%1" is a name,
// "%2" a second name or the system's error text)
#define IDS_BOX_CAPTION 10
#define IDS_ACTIVE_MARK 11
#define IDS_NO_ACTIVE 12
#define IDS_ACTIVE_MISSING 15
#define IDS_SETTINGS_OF 13
#define IDS_SETTINGS_NONE 14
#define IDS_NAME_EMPTY 20
#define IDS_NAME_BACKSLASH 21
#define IDS_NAME_CONTROL 22
#define IDS_NAME_TOO_LONG 23
#define IDS_NAME_EXISTS 24
#define IDS_CREATE_FAILED 25
#define IDS_DELETE_CONFIRM 30
#define IDS_DELETE_ACTIVE_CONFIRM 31
#define IDS_DELETE_LAST_ACTIVE_CONFIRM 32
#define IDS_DELETE_FAILED 33
#define IDS_ACTIVATE_FAILED 34
#define IDS_CLEAR_ACTIVE_FAILED 35
#define IDS_PATH_MISSING 40
#define IDS_PATH_NOT_ABSOLUTE 41
#define IDS_PATH_PARENT 45
#define IDS_PATH_TOO_LONG 42
#define IDS_SAVE_FAILED 43
#define IDS_LIST_FAILED 44
#define IDS_DISK_FAILED 46

// Strings: the PDF settings, their choices (one string per choice, in the order of the
// settings' values) and what is wrong with what was typed ("%2": the allowed range, or
// the offending font name)
#define IDS_IMAGE_COMPRESSION_0 50
#define IDS_IMAGE_COMPRESSION_1 51
#define IDS_IMAGE_COMPRESSION_2 52
#define IDS_MONO_COMPRESSION_0 53
#define IDS_MONO_COMPRESSION_1 54
#define IDS_MONO_COMPRESSION_2 55
#define IDS_FONTS_0 56
#define IDS_FONTS_1 57
#define IDS_FONTS_2 58
#define IDS_COLOUR_RESOLUTION_INVALID 60
#define IDS_GREY_RESOLUTION_INVALID 61
#define IDS_MONO_RESOLUTION_INVALID 62
#define IDS_EMBED_FONTS_INVALID 63
#define IDS_NEVER_EMBED_FONTS_INVALID 64
#define IDS_FONT_LIST_TOO_LONG 65
