// Control identifiers and the dialog template id, declared once for the C++
// sources and for the generated Windows resource script. The caption and the
// ids a host drives are public (controls.h); these are their internal names.
#pragma once

#include <qorcolor/controls.h>

#define IDD_COLOR_TABLE 5008

#define IDC_DATASET_NAME QOR_IDC_DATASET_NAME
#define IDC_MAX_PCT QOR_IDC_MAX_PCT
#define IDC_MIN_PCT QOR_IDC_MIN_PCT
#define IDC_MAX_THR QOR_IDC_MAX_THR
#define IDC_MIN_THR QOR_IDC_MIN_THR
#define IDC_VIEW QOR_IDC_VIEW
#define IDC_SCHEME QOR_IDC_SCHEME
#define IDC_NOTIFY QOR_IDC_NOTIFY
#define IDC_LOG_SCALE QOR_IDC_LOG_SCALE
#define IDC_BIN_PERCENT QOR_IDC_BIN_PERCENT
#define IDC_BIN_COUNT QOR_IDC_BIN_COUNT
#define IDC_BIN_LABEL QOR_IDC_BIN_LABEL
#define IDC_COLOR_COUNT QOR_IDC_COLOR_COUNT
#define IDC_EDIT_ALPHA QOR_IDC_EDIT_ALPHA

// Controls without an identifier of their own.
#define IDC_STATIC_TEXT (-1)

// Commands of the window's menu, also appended to the system menu: the system
// keeps the low four bits of an id for itself, and its own ids start at 0xF000.
#define ID_AUTO_CONTRAST 0x0100
#define ID_UNDO 0x0110
#define ID_REDO 0x0120
#define ID_REVERSE_COLORS 0x0130
#define ID_IMPORT_TABLE 0x0140
#define ID_EXPORT_TABLE 0x0150
