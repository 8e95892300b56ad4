#pragma once
// Resource IDs of the registration check: its menu command, dialog, controls
// and texts.

#define ID_CHECK_REGISTRATION 32790 // menu: 登録内容の確認(&V)

#define IDD_REGISTRATION_CHECK 160

#define IDC_CHECK_COUNT 1101      // characters
#define IDC_CHECK_BYTES 1102      // bytes in the printer's memory
#define IDC_CHECK_FIT 1103        // whether that fits
#define IDC_CHECK_MISSING 1104    // characters the face has no glyph for
#define IDC_CHECK_DROPPED 1105    // characters the code page cannot hold
#define IDC_CHECK_SHEET 1106      // every glyph as it will be sent
#define IDC_CHECK_ZOOM 1107       // screen pixels per dot
#define IDC_CHECK_SAVE_IMAGE 1108 // 画像として保存
#define IDC_CHECK_CELL 1109       // the cell in dots and millimetres
#define IDC_CHECK_DROPPED_LABEL 1110
#define IDC_CHECK_SAVE_PROGRESS 1111 // how far a save of the image has come
#define IDC_CHECK_SAVE_CANCEL 1112   // 中止: stops that save
#define IDC_CHECK_FIT_SIZE 1113      // the largest sizes that fit
#define IDC_CHECK_USE_SIZE 1114      // sets the form's size to that size
#define IDC_CHECK_LINE_LABEL 1115
#define IDC_CHECK_LINE_TEXT 1116    // a line of label text
#define IDC_CHECK_LINE 1117         // that line as the printer prints it
#define IDC_CHECK_LINE_MISSING 1118 // its characters the registration lacks

// Texts; %1, %2, ... stand for the values put in.
#define IDS_CHECK_CELL 64200
#define IDS_CHECK_FITS_MEMORY 64201
#define IDS_CHECK_EXCEEDS_MEMORY 64202
#define IDS_CHECK_FITS_FREE 64203
#define IDS_CHECK_EXCEEDS_FREE 64204
#define IDS_CHECK_NO_LISTING 64206
#define IDS_CHECK_IMAGE_TOO_LARGE 64208
#define IDS_CHECK_IMAGE_FILTER 64209
#define IDS_CHECK_IMAGE_ASK_LARGE 64210
#define IDS_CHECK_IMAGE_FAILED_AT 64211
#define IDS_CHECK_HELD_PARTS 64212
#define IDS_CHECK_FIT_EMPTY 64213
#define IDS_CHECK_FIT_FREE 64214
#define IDS_CHECK_FIT_NONE_EMPTY 64215
#define IDS_CHECK_FIT_NONE_FREE 64216
#define IDS_CHECK_USE_SIZE 64217
#define IDS_CHECK_LINE_MISSING 64218
