// Resource ids of the framework's test dialogs.
#pragma once

#define IDD_ROUTING 200
#define IDD_MODAL 201
#define IDD_HOST 202
#define IDD_PAGE 203
#define IDD_HOSTED 204

#define IDS_GREETING 300

#define IDC_PUSH 1100
#define IDC_EDIT 1101
#define IDC_NUMBER 1102
#define IDC_TAB 1103
#define IDC_SLIDER 1104
#define IDC_LABEL 1105
#define IDC_MULTI 1106
#define IDC_FRAME 1107
#define IDC_OPEN_MODAL 1108
#define IDC_THROW 1109
#define IDC_CONTROL 1110
