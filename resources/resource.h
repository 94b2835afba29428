#pragma once
// Identifiers shared by lumaro.rc and the code: the dialog, its controls, the icon and the
// string table. Control names give their role, then their kind.

// Dialog template and icon.
#define IDD_LUMARO_DIALOG 102
#define IDI_LUMARO 128

// String table.
#define IDS_SOCKETS_FAILED 103
#define IDS_MESSAGE_CAPTION 104
#define IDS_WEB_ACCESS_FAILED 105
#define IDS_CONTROLLER_UNREACHABLE 106
#define IDS_SELECT_CONTROLLER_FIRST 107
#define IDS_CLOCK_SET 108
#define IDS_CLOCK_NOT_SET 109
#define IDS_COLUMN_SERIAL 110
#define IDS_COLUMN_IP 111
#define IDS_COLUMN_MASK 112
#define IDS_COLUMN_GATEWAY 113
#define IDS_COLUMN_MAC 114
#define IDS_COLUMN_HOST_IP 115
#define IDS_DATE_YMD_DASH 117
#define IDS_DATE_MDY_DASH 118
#define IDS_DATE_DMY_DASH 119
#define IDS_DATE_YMD_SLASH 120
#define IDS_DATE_MDY_SLASH 121
#define IDS_DATE_DMY_SLASH 122
#define IDS_WEB_LANGUAGE_CHINESE 123
#define IDS_WEB_LANGUAGE_ENGLISH 124
#define IDS_COLUMN_WEB 127
#define IDS_WEB_ENABLED 128
#define IDS_WEB_NOT_ENABLED 129
#define IDS_SHOW_ADVANCED 130
#define IDS_HIDE_ADVANCED 131
#define IDS_ADDRESS_REFUSED 132

// Controls of the main dialog. The exit button is IDCANCEL (2); the panel frame is the
// only control with the identifier -1.
#define IDC_PANEL_FRAME -1
#define IDC_SEARCH_BUTTON 1000
#define IDC_CONTROLLER_LIST 1001
#define IDC_QUICK_ENABLE_BUTTON 1002
#define IDC_IP_FIELD 1003
#define IDC_MASK_FIELD 1004
#define IDC_GATEWAY_FIELD 1005
#define IDC_APPLY_BUTTON 1006
#define IDC_SERIAL_EDIT 1007
#define IDC_SYNC_TIME_BUTTON 1008
#define IDC_SERIAL_LABEL 1010
#define IDC_IP_LABEL 1011
#define IDC_MASK_LABEL 1012
#define IDC_GATEWAY_LABEL 1013
#define IDC_ADVANCED_BUTTON 1014
#define IDC_DISABLE_WEB_BUTTON 1015
#define IDC_DATE_FORMAT_LABEL 1018
#define IDC_DATE_FORMAT_COMBO 1019
#define IDC_WEB_LANGUAGE_COMBO 1022
#define IDC_WEB_LANGUAGE_LABEL 1024
