#pragma once
// Resource IDs of the batch provisioning window: its menu command, dialog,
// controls and texts.

#define ID_BATCH_PROVISION 32791 // menu: 一括登録(&B)

#define IDD_BATCH_PROVISION 170

#define IDC_BATCH_ID 1201            // the registration ID of what is added next
#define IDC_BATCH_ADD_FILE 1202      // ファイルを追加: a .kfd
#define IDC_BATCH_ADD_FORM 1203      // フォームの登録を追加: the form, saved first
#define IDC_BATCH_REMOVE_ENTRY 1204  // the selected registrations go
#define IDC_BATCH_OPEN_PLAN 1205     // 計画を開く
#define IDC_BATCH_SAVE_PLAN 1206     // 計画を保存
#define IDC_BATCH_PLAN 1207          // the plan: ID, name, characters, size, bytes, file
#define IDC_BATCH_PLAN_TOTAL 1208    // the plan's bytes in the printer's memory
#define IDC_BATCH_PRINTER 1209       // a COM port number or an address
#define IDC_BATCH_ADD_PRINTER 1210   // 追加
#define IDC_BATCH_READ_PRINTERS 1211 // 一覧ファイルから追加
#define IDC_BATCH_REMOVE_PRINTER 1212
#define IDC_BATCH_JOBS 1213        // printers at once
#define IDC_BATCH_OVERWRITE 1214   // overwrite a registered ID
#define IDC_BATCH_CLEAR 1215       // all clear first
#define IDC_BATCH_CONVERGE 1216    // send only what is missing
#define IDC_BATCH_PRINTERS 1217    // a line per printer: state, step, characters, message
#define IDC_BATCH_SUMMARY 1218     // counts of done and failed
#define IDC_BATCH_START 1219       // 実行
#define IDC_BATCH_STOP 1220        // 中止
#define IDC_BATCH_SAVE_RESULT 1221 // 結果を保存
#define IDC_BATCH_PLAN_LABEL 1222
#define IDC_BATCH_PRINTERS_LABEL 1223

// Texts; %1, %2, ... stand for the values put in.
#define IDS_BATCH_KFD_FILTER 64300
#define IDS_BATCH_PLAN_FILTER 64301
#define IDS_BATCH_PRINTER_FILTER 64302
#define IDS_BATCH_CSV_FILTER 64303
#define IDS_BATCH_COLUMNS_PLAN 64304
#define IDS_BATCH_COLUMNS_PRINTERS 64305
#define IDS_BATCH_PLAN_TOTAL 64306
#define IDS_BATCH_ID_TAKEN 64307
#define IDS_BATCH_FILE_REFUSED 64308
#define IDS_BATCH_BEYOND_MEMORY 64310
#define IDS_BATCH_PLAN_READ_FAILED 64311
#define IDS_BATCH_PLAN_LINE 64312
#define IDS_BATCH_PLAN_WRITE_FAILED 64313
#define IDS_BATCH_BAD_PRINTER 64314
#define IDS_BATCH_SAME_PRINTER 64315
#define IDS_BATCH_LIST_READ_FAILED 64316
#define IDS_BATCH_LIST_LINE 64317
#define IDS_BATCH_NO_PLAN 64318
#define IDS_BATCH_NO_PRINTER 64319
#define IDS_BATCH_BAD_JOBS 64320
#define IDS_BATCH_CLEAR_OR_CONVERGE 64321
#define IDS_BATCH_DOWNLOAD_RUNNING 64322
#define IDS_BATCH_RUNNING 64323
#define IDS_BATCH_ASK_STOP 64324
#define IDS_BATCH_SUMMARY 64325
#define IDS_BATCH_SUMMARY_CANCELLED 64326
#define IDS_BATCH_RESULT_WRITE_FAILED 64327
#define IDS_BATCH_STATE_WAITING 64330
#define IDS_BATCH_STATE_OPENING 64331
#define IDS_BATCH_STATE_CLEARING 64332
#define IDS_BATCH_STATE_DELETING 64333
#define IDS_BATCH_STATE_SURVEYING 64334
#define IDS_BATCH_STATE_REGISTERING 64335
#define IDS_BATCH_STATE_LISTING 64336
#define IDS_BATCH_STATE_DONE 64337
#define IDS_BATCH_STATE_FAILED 64338
#define IDS_BATCH_STATE_CANCELLED 64339
#define IDS_BATCH_STATE_READY 64340
#define IDS_BATCH_WHY_OVERWRITE 64341
#define IDS_BATCH_WHY_MISSING 64342
#define IDS_BATCH_WHY_DIFFERS 64343
#define IDS_BATCH_WHY_CANCELLED 64344
#define IDS_BATCH_STEP_REGISTERING 64345
#define IDS_BATCH_DONE_KEPT 64346
// What is wrong with a line of a plan file; %1: the line planning the ID first
#define IDS_BATCH_CSV_COLUMNS 64357
#define IDS_BATCH_CSV_CHANGED 64358
#define IDS_BATCH_CSV_UNCHANGED 64359
