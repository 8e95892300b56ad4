#pragma once
// String-table IDs of the messages and texts of the user interface; the texts
// themselves are in strings.rc. Also included by portable code, which reports
// outcomes by these IDs.

#define IDS_RESULT_CAPTION 258 // 実行結果
#define IDS_APP_NAME 57344     // Glyphkit

// Building a registration
#define IDS_NO_DATA 131
#define IDS_CREATE_FILE_FAILED 133
#define IDS_BAD_REGISTRATION_ID 135
#define IDS_BAD_BYTE_RANGE 139
#define IDS_TEXT_TOO_LARGE 141
#define IDS_FONT_REALIZE_FAILED 149
#define IDS_READ_FILE_FAILED 150
#define IDS_FILE_UNUSABLE 152
#define IDS_FILE_VERSION 158
#define IDS_BAD_REGISTRATION_NAME 501
#define IDS_REGISTRATION_NAME_UNFIT 503
#define IDS_FACE_NOT_INSTALLED 165 // %1: the face
#define IDS_BAD_FONT_SIZE 137
#define IDS_TEXT_FILE_TOO_LARGE 160
#define IDS_TEXT_FILE_STARTS_WITH_ZERO 166
#define IDS_TEXT_FILE_READ_FAILED 167
#define IDS_PATH_TOO_LONG 168
#define IDS_TEXT_PASTE_TOO_LARGE 169
#define IDS_NAME_PASTE_TIP_TITLE 170
#define IDS_NAME_PASTE_TIP 171
#define IDS_TEXT_FILE_ODD_LENGTH 172
#define IDS_TEXT_FILE_READS_AS_UTF8 173
#define IDS_TEXT_FILE_CUT_AT_ZERO 174 // %1: the characters read

// Printer link
#define IDS_COM_OPEN_FAILED 62000
#define IDS_COM_STATE_FAILED 62002
#define IDS_COM_SETUP_FAILED 62004
// %1: the network printer's address
#define IDS_NET_IN_USE 62100
#define IDS_NET_REFUSED 62102
#define IDS_NET_NO_ANSWER 62104
#define IDS_NET_NAME_NOT_FOUND 62106
#define IDS_NET_CONNECTION_LOST 62108
#define IDS_NET_TEST_NO_LISTING 62110
#define IDS_NET_TEST_DONE 62112 // %2: registrations, %3: memory use in KB
#define IDS_NET_BAD_HOST 62114
#define IDS_NET_BAD_PORT 62116
#define IDS_NET_TEST_NOT_PRINTER 62118
// Second lines naming the printer (%1) and what happened; %2: the character
#define IDS_DETAIL_NOT_PRINTER 62120
#define IDS_DETAIL_NO_ANSWER 62122
#define IDS_DETAIL_NO_ACK 62124
#define IDS_DETAIL_WRONG_ACK 62126
#define IDS_DETAIL_PORT_NOT_OPENED 62128 // %1: the COM port, %2: why
#define IDS_PORT_HELD 62130
#define IDS_PORT_NO_DEVICE 62132
// Below 登録領域がNGです: %1 the bytes the registration needs, %2 those free
#define IDS_DETAIL_AREA 62134
#define IDS_DETAIL_AREA_FREE 62136
#define IDS_DOWNLOAD_FAILED 63000
#define IDS_DOWNLOAD_DONE 63002
#define IDS_ASK_OVERWRITE 63004
#define IDS_AREA_NG 63006
#define IDS_QUERY_FAILED 63008
#define IDS_QUERY_DONE_EMPTY 63010
#define IDS_QUERY_DONE 63012
#define IDS_TRANSFER_RUNNING 63020
#define IDS_PRINTER_WAIT_RUNNING 63022
#define IDS_PRINTER_STOPPED 63024
#define IDS_PRINTER_STOPPING 63028
// A stopped download, and what became of its ID (%1: "ID05", %2: its list line)
#define IDS_DOWNLOAD_STOPPED 63030
#define IDS_STOPPED_ID_ABSENT 63032
#define IDS_STOPPED_ID_KEPT 63034
#define IDS_STOPPED_ID_LISTED 63036
#define IDS_STOPPED_ID_UNKNOWN 63038
#define IDS_PROGRESS_COUNT 63040 // %1 / %2 文字
#define IDS_DELETE_SELECT 64000
#define IDS_DELETE_NOTHING 64002
#define IDS_ASK_DELETE 64004
#define IDS_DELETE_FAILED 64006
#define IDS_DELETE_DONE 64008
#define IDS_ASK_DELETE_ALL 64010
#define IDS_DELETE_STOPPED 64012
#define IDS_DELETE_STOPPED_UNKNOWN 64014

// What is wrong with a provisioning plan's line (%1: the line planning the ID already)
#define IDS_PLAN_ZERO_BYTE 64350
#define IDS_PLAN_NOT_UTF8 64351
#define IDS_PLAN_NO_ID 64352
#define IDS_PLAN_ID_RANGE 64353
#define IDS_PLAN_NO_FILE 64354
#define IDS_PLAN_DUPLICATE 64355
#define IDS_PLAN_EMPTY 64356

// Memory usage line
#define IDS_MEMORY_USAGE 64100    // メモリ使用量　%d/240Kbyte
#define IDS_MEMORY_USAGE_NA 64102 // メモリ使用量　N/A
