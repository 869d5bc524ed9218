// Control identifiers and the dialog template id, declared once for the C++
// sources and for the generated Windows resource script.
#pragma once

#define IDD_COLOR_TABLE 5008

#define IDC_DATASET_NAME 1000
#define IDC_MAX_PCT 1001
#define IDC_MIN_PCT 1002
#define IDC_MAX_THR 1004
#define IDC_MIN_THR 1005
#define IDC_VIEW 1007
#define IDC_SCHEME 1010
#define IDC_NOTIFY 1012
#define IDC_LOG_SCALE 1013
#define IDC_BIN_PERCENT 1015
#define IDC_BIN_COUNT 1016
#define IDC_BIN_LABEL 1017
#define IDC_COLOR_COUNT 1018
#define IDC_EDIT_ALPHA 1019

// Controls without an identifier of their own.
#define IDC_STATIC_TEXT (-1)
