// Resource and control ids of the editor. Included by the resource script too, so only #defines.
#pragma once

#define IDD_MAIN 101
#define IDD_DIRECT_INPUT 102
#define IDD_MOVE_COPY 103
#define IDI_EDITOR 104
#define IDM_LIST_MENU 105

// The program list's context menu.
#define IDM_COPY_LINE 1100
#define IDM_PASTE_LINES 1101
#define IDM_EXPORT_PROGRAM 1102
#define IDM_IMPORT_PROGRAM 1103

// Main dialog controls.
#define IDC_PROGRAM_SELECT 1000
#define IDC_PROGRAM_LIST 1001
#define IDC_SAVE 1002
#define IDC_LOAD 1003
#define IDC_CHAR_CODE 1004
#define IDC_EDIT_FRAME 1005
#define IDC_STATUS 1006
#define IDC_CHAR_CELLS_LABEL 1007
#define IDC_INSERT_LINE 1008
#define IDC_DELETE_LINE 1009
#define IDC_LABEL_CHECK 1010
#define IDC_DIRECT_INPUT 1011
#define IDC_CHAR_DISPLAY 1013
#define IDC_MOVE_COPY 1014

// Direct string input dialog.
#define IDC_DIRECT_TEXT 1012

// Move and copy dialog.
#define IDC_SOURCE_PROGRAM 1015
#define IDC_SOURCE_LIST 1016
#define IDC_DESTINATION_PROGRAM 1018
#define IDC_DESTINATION_LIST 1019
#define IDC_MOVE 1020
#define IDC_COPY 1021

// Panel control n has the id IDC_PANEL_FIRST + n (n = 0..11).
#define IDC_PANEL_FIRST 10000
#define IDC_PANEL_LAST 10011

// String table: guidance texts 1-10 and 15, status texts 11-14 and 16.
#define IDS_INSTRUCTION_KEYS 1
#define IDS_SEND_KINDS 2
#define IDS_WAIT_KINDS 3
#define IDS_IF_KINDS 4
#define IDS_SET_KINDS 5
#define IDS_VALUE_RANGE 6
#define IDS_VALUE_RANGE_DONT_CARE 7
#define IDS_VALUE_RANGE_FLAG 8
#define IDS_CHOOSE_FROM 9
#define IDS_VALUE_RANGE_OR_CHOOSE 10
#define IDS_LABEL_MISMATCH 11
#define IDS_LABELS_CONSISTENT 12
#define IDS_LOADED 13
#define IDS_SAVED 14
#define IDS_CHAR_EDIT_KEYS 15
#define IDS_MOVE_COPY_DONE 16
// The texts of undo and redo, the unsaved-changes question and the pushed-off lines.
#define IDS_SAVE_CHANGES 17
#define IDS_FILE_CHANGED_ON_DISK 18
#define IDS_LINES_PUSHED_OFF 19
#define IDS_UNDONE 20
#define IDS_REDONE 21
#define IDS_NOTHING_TO_UNDO 22
#define IDS_NOTHING_TO_REDO 23
#define IDS_UNTITLED 24
// Copy and paste of lines, export and import of a program as text.
#define IDS_LINE_COPIED 25
#define IDS_LINES_PASTED 26
#define IDS_PASTE_FAILED 27
#define IDS_CLIPBOARD_NO_TEXT 28
#define IDS_CLIPBOARD_BUSY 29
#define IDS_PROGRAM_EXPORTED 30
#define IDS_PROGRAM_IMPORTED 31
