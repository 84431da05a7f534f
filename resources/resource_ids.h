#pragma once

// Resource ids, shared by the .rc file and the program. Plain macros: windres reads them too.

// Dialogs
#define IDD_ABOUT 100

// Bitmaps: the digit glyphs are IDB_DIGIT0 + digit.
#define IDB_DIGIT0 101
#define IDB_DIGIT1 102
#define IDB_DIGIT2 103
#define IDB_DIGIT3 104
#define IDB_DIGIT4 105
#define IDB_DIGIT5 106
#define IDB_DIGIT6 107
#define IDB_DIGIT7 108
#define IDB_DIGIT8 109
#define IDB_DIGIT9 110
#define IDB_POINT 111
#define IDB_COMMA 112
#define IDB_BODY_TILE 115
#define IDB_MINUS 116

// Menus
#define IDM_POPUP 108

// Icons
#define IDI_KARVOLD 118

// Menu commands
#define IDC_HELP_CONTENTS 40002
#define IDC_ABOUT 40003
#define IDC_MINIMIZE 40005

// Strings: key captions are IDS_KEY_FIRST + key index.
#define IDS_KEY_FIRST 1
#define IDS_TAX_INCLUDED 4
#define IDS_TAX_EXCLUDED 5
#define IDS_ERROR_DIVIDE_BY_ZERO 31
#define IDS_ERROR_OVERFLOW 32
#define IDS_ERROR_INPUT 33
#define IDS_TAX_AMOUNT 34

// Strings for screen readers: key names are IDS_KEY_NAME_FIRST + key index, keyboard
// equivalents IDS_KEY_SHORTCUT_FIRST + key index.
#define IDS_ACCESSIBLE_CLIENT 200
#define IDS_ACCESSIBLE_DISPLAY 201
#define IDS_ACCESSIBLE_PRESS 202
#define IDS_KEY_NAME_FIRST 208
#define IDS_KEY_SHORTCUT_FIRST 240
