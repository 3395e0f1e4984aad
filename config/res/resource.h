// Resource identifiers of ClientConfig, shared by the program and its English library
// (a replacement library must carry the same identifiers).
#pragma once

// Dialogs.
#define IDD_SERVER_PAGE 138
#define IDD_LOGFILE_PAGE 139
#define IDD_OTHER_PAGE 140
#define IDD_TCP_PORTS 146

// The framework's dialog-initialisation data (the combo box items of the Log files page).
#define RT_KY_DLGINIT 240
#define KY_DLGINIT_CB_ADDSTRING 0x0403

// Strings.
#define IDS_CHANGES_NEXT_START 129
#define IDS_BROWSE_FAILED 130
#define IDS_SERVER_NAME_INVALID 131
#define IDS_PORT_OUT_OF_RANGE 132
#define IDS_LINK_DEMO_SERVER 135
#define IDS_TIP_DEMO_SERVER 136
#define IDS_SHEET_CAPTION 138
#define IDS_HEADER_TCP_PORTS 139
#define IDS_HEADER_SERVER 140
#define IDS_HEADER_LOGFILES 141
#define IDS_HEADER_OTHER 142
#define IDS_LINK_OWN_SERVER 143
#define IDS_TIP_OWN_SERVER 144
#define IDS_LINK_OTHER 145
#define IDS_TIP_OTHER 146
#define IDS_LINK_LOGFILES 147
#define IDS_TIP_LOGFILES 148
#define IDS_TEST_SUCCEEDED 149

// Header pictures (48 x 48, 24 bits, white transparent).
#define IDB_HEADER_SERVER 4025
#define IDB_HEADER_LOGFILES 4026
#define IDB_HEADER_OTHER 148

// Controls.
#define IDC_PORT 1000
#define IDC_LOCAL_DATA_FILE 1002
#define IDC_SERVER_ADDRESS 1003
#define IDC_LOG_FOLDER 1004
#define IDC_BROWSE 1005
#define IDC_OPEN_FOLDER 1007
#define IDC_LOG_LEVEL 1010
#define IDC_SHOW_STATUS_WINDOW 1012
#define IDC_DEMO_SERVER 1013
#define IDC_OWN_SERVER 1014
#define IDC_TCP_PORT 1020
#define IDC_USER_NAME 1024
#define IDC_HEADER_AREA 1026
#define IDC_SEND_LOGS 1026
#define IDC_LOGFILE_HEADER_AREA 1027
#define IDC_LINK_OWN_SERVER 1027
#define IDC_LINK_MORE 1028
#define IDC_SYNCHRONIZE_READ_FLAG 1029
#define IDC_TEST 1030
#define IDC_LINK_DEMO_SERVER 4005
