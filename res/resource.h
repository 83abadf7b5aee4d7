// Resource ids of the program: dialogs, controls, menus, commands, strings, icon, cursor.
#pragma once

// Icon and cursor
#define IDI_MAINFRAME 128
#define IDC_LINKHAND 143

// Dialog templates
#define IDD_PROGRESS 132
#define IDD_CONVERTER 133
#define IDD_CONFIGURE 142
#define IDD_ABOUT 145

// Menus: 134 is the one the converter window shows; the others are translations.
#define IDR_MAINMENU 134
#define IDR_MENU_FR 144
#define IDR_MENU_DE 145
#define IDR_MENU_IT 146
#define IDR_MENU_ES 147
#define IDR_MENU_EN 148

// Menu commands, routed to the application object
#define IDM_FILE_OPEN 32771
#define IDM_CONFIGURE 32775
#define IDM_ABOUT 32777
#define IDM_HELP 32778

// System-menu entry of the progress dialog
#define IDM_SYS_ABOUT 16

// Progress dialog (132)
#define IDC_SOURCE 129
#define IDC_DESTINATION 130
#define IDC_PROGRESS 131
#define IDC_PAUSE 1006
#define IDC_PROGRESS_CANCEL 1016

// Converter window (133); also IDC_PROGRESS and IDC_PAUSE
#define IDC_CANCEL_BATCH 1007
#define IDC_INPUT_NAME 1008
#define IDC_OUTPUT_NAME 1009
#define IDC_PROCESSED 1059
#define IDC_REMAINING 1060

// Configuration selection dialog (142)
#define IDC_PROMPT_ALWAYS 1012
#define IDC_PROMPT_NEVER 1013
#define IDC_CONFIGURATIONS 1017
#define IDC_EDIT_CONFIGURATIONS 1018
#define IDC_CONFIGURE_INTRO 1090

// About box (145)
#define IDC_VERSION_LINE 1071
#define IDC_MAKER_NOTICE 1072
#define IDC_SUPPORT_NOTE 1089
#define IDC_LEGAL_WARNING 1119
#define IDC_DEBUG_MODE 1124
#define IDC_WEB_LINK 1132

// Strings
#define IDS_REGISTRY_CAPTION 12
#define IDS_CAPTION 13
#define IDS_NO_PRINTER 14
#define IDS_PRINTER_DELETED 15
#define IDS_PRINTER_PAUSED 16
#define IDS_PRINTER_ERROR 17
#define IDS_REG_OPEN 19
#define IDS_REG_SIZE 20
#define IDS_REG_QUERY 21
#define IDS_REG_CREATE 22
#define IDS_REG_WRITE 23
#define IDS_LEGAL_WARNING_1 34
#define IDS_LEGAL_WARNING_2 35
#define IDS_KERNEL_VERSION 37
#define IDS_VERSION_PREFIX 38
#define IDS_ABOUT_MENU 101
#define IDS_CANCEL_QUESTION 102
#define IDS_CANCEL_CAPTION 103
#define IDS_RESUME 104
#define IDS_PAUSE 105
#define IDS_OPEN_TITLE 106
#define IDS_OPEN_FILTER 107
#define IDS_NO_MEMORY 108
#define IDS_CANNOT_OPEN_INPUT 109
#define IDS_ALREADY_PDF 110
#define IDS_NOT_POSTSCRIPT 111
#define IDS_OUTPUT_NAME_TOO_LONG 112
#define IDS_SEND_FAILED 113
