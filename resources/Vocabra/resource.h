#pragma once
// Resource and command ids of Vocabra.exe, shared by its .rc files and its code.
// Plain defines: the resource compiler reads this file too.

// Icon, menu, tray icon and the "Vocabra" string share one id.
#define IDR_MAINFRAME 128
#define IDD_MAINDLG 129
#define IDD_ABOUTBOX 100

#define IDB_ABOUT_PICTURE 202
#define IDC_VERSION_TEXT 201

#define IDC_WORD 1000
#define IDC_DIRECTIONS 1001
#define IDC_DICTIONARIES 1002
#define IDC_OPEN_IN_BROWSER 1003

#define ID_USE_CTRL_INS_INS 32777
#define ID_USE_CTRL_C_C 32778
#define ID_OPEN_VOCABRA 32781
// The current service's answers in the web browser: outside the services' and directions' ranges.
#define ID_OPEN_IN_BROWSER 32782
#define ID_APP_ABOUT 57664
#define ID_APP_EXIT 57665

#define IDS_TRAY_TIP 200
#define IDS_HOT_KEYS_OFF 201
// The Linux desktop program's: a desktop without global key capture (Wayland), and its portal shortcut.
#define IDS_WAYLAND_NOTE 202
#define IDS_CLIPBOARD_SHORTCUT 203
#define IDS_CLIPBOARD_SHORTCUT_BOUND 204
// No portal shortcut: the command to bind to a desktop shortcut of the user's own.
#define IDS_CLIPBOARD_COMMAND 206
// A choice in the dialog or the tray menu whose settings write failed.
#define IDS_SETTING_NOT_STORED 205
#define IDS_OTHER_DIRECTIONS 210
#define IDS_SERVICES 211
#define IDS_OPEN_IN_BROWSER 212
// The lookup history: the "Recent" popup of the tray menu, its question and its export.
#define IDS_RECENT 213
#define IDS_KEEP_HISTORY 214
#define IDS_EXPORT_HISTORY 215
#define IDS_CLEAR_HISTORY 216
#define IDS_CLEAR_HISTORY_QUESTION 217
#define IDS_EXPORT_FAILED 218
#define IDS_EXPORT_TITLE 219
// The Save dialog's file types: name|pattern|name|pattern.
#define IDS_EXPORT_FILTER 220

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif
