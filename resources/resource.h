// Resource ids of Lorvane.exe. Families: dialogs 100-103, strings 101, bitmaps 132,
// icons 142, system-menu commands 0x0010, controls 1000 and up (per dialog).
#pragma once

// Dialogs
#define IDD_ABOUTBOX            100
#define IDD_PRONOUNCE_DIALOG    102
#define IDD_TRAINING            103

// Strings
#define IDS_ABOUTBOX            101

// Bitmaps and icons
#define IDB_DIVIDER             132
#define IDR_MAINFRAME           142

// System menu commands (the low four bits belong to the system)
#define IDM_ABOUTBOX            0x0010

#ifndef IDC_STATIC
#define IDC_STATIC              (-1)
#endif

// Main window controls
#define IDC_LOOKUP              1000
#define IDC_TEXT                1001
#define IDC_PAUSE               1002
#define IDC_PHONETIC            1003
#define IDC_PLAYER              1004
#define IDC_STOP                1007
#define IDC_BUTTON3             1008
#define IDC_TAB                 1009
#define IDC_BROWSER             1028
// The "音标:" label has no id of its own.
#define IDC_PHONETIC_LABEL      IDC_STATIC

// Training page controls (its player is IDC_PLAYER too)
#define IDC_ANSWER              1001
#define IDC_FALLING             1013
#define IDC_RICHTEXT            1016
#define IDC_SPEED               1019
#define IDC_START               1020
#define IDC_HALT                1021
#define IDC_MISSES              1022
#define IDC_TOTAL               1023
#define IDC_HITS                1024
#define IDC_RATE                1025
#define IDC_HINT                1026
#define IDC_CHANGE              1029
