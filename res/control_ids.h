#pragma once
// Resource IDs of the main program's windows: dialogs, their controls, the
// menu commands and the shared resource IDR_MAINFRAME (menu, icon, accelerators).

#define IDR_MAINFRAME 128 // menu, icon, accelerators and the template's description

// Dialogs
#define IDD_ABOUTBOX 100
#define IDD_GLYPHKIT_FORM 101
#define IDD_PROGRESS 137
#define IDD_FONT_DETAIL 138
#define IDD_LOGO_DETAIL 139
#define IDD_COMPORT 140
#define IDD_NETWORK_PRINTER 141
#define IDD_PRINTER_WAIT 142
#define IDD_SELECT_PRINTER 150

// Menu commands
#define ID_HELP_CONTENTS 32777
#define ID_COMPORT 32781
#define ID_NETWORK_PRINTER 32782
#define ID_APP_ABOUT 57664
#define ID_FILE_NEW 57600

// Main form
#define IDC_FONT_COMBO 1000
#define IDC_REG_NAME 1001
#define IDC_REGISTERED_LIST 1002
#define IDC_BOLD 1003
#define IDC_ITALIC 1004
#define IDC_POINT_SIZE 1005
#define IDC_POINT_SIZE_SPIN 1006
#define IDC_CODE_START 1007
#define IDC_CODE_START_SPIN 1008
#define IDC_CODE_END 1009
#define IDC_CODE_END_SPIN 1010
#define IDC_GET_INFO 1011
#define IDC_CLEAR 1012
#define IDC_PREVIEW 1013
#define IDC_SAVE 1014
#define IDC_EXIT 1015
#define IDC_DOWNLOAD 1016
#define IDC_ALL_CLEAR 1017
#define IDC_TEXT_FILE 1024
#define IDC_REG_TEXT 1043
#define IDC_UNICODE_FILE 1044
#define IDC_REG_ID 1052
#define IDC_RANGE_ON 1053
#define IDC_LOAD 1022
#define IDC_MEMORY_USAGE 1063
#define IDC_PRINTER_ADDRESS 1064 // the printer the column talks to

// About
#define IDC_ABOUT_DESCRIPTION 1021
#define IDC_ABOUT_VERSION 1022
#define IDC_ABOUT_COPYRIGHT 1023

// Progress of a download
#define IDC_PROGRESS_BAR 1054
#define IDC_PROGRESS_LABEL 1067
#define IDC_PROGRESS_COUNT 1090

// Detail dialogs of a registered font or logo
#define IDC_DETAIL_LIST 1056
#define IDC_DETAIL_NAME 1057
#define IDC_DETAIL_ID 1058
#define IDC_DETAIL_COUNT 1059
#define IDC_DETAIL_SIZE 1060
#define IDC_DETAIL_EMPHASIS 1061
#define IDC_DETAIL_ITALIC 1062
#define IDC_LOGO_VERTICAL 1013
#define IDC_LOGO_HORIZONTAL 1014

// COM port
#define IDC_COMPORT_COMBO 1069

// Network printer
#define IDC_NET_HOST 1073
#define IDC_NET_PORT 1074
#define IDC_NET_TEST 1075
#define IDC_WAIT_LABEL 1224

// Model choice: the three buttons of one group, in model table order
#define IDC_MODEL_COMPACT 1070
#define IDC_MODEL_QW300 1071
#define IDC_MODEL_QW400 1072

// Framework messages
#define IDS_CREATE_DOC_FAILED 61704    // 空のドキュメントの作成に失敗しました。
#define IDS_CREATE_DIALOG_FAILED 61705 // Error creating Dialog
