// What a host needs to find the colour table window and its controls.
//
// Constants: QOR_CAPTION, QOR_IDC_* (control identifiers)
//
// Plain C macros, so that C, C++ and resource scripts read the same values.
// On Windows FindWindowA(NULL, QOR_CAPTION) and GetDlgItem give the window
// and its controls; every platform drives them through <qorcolor/headless.h>.
#pragma once

#define QOR_CAPTION "Color Table"

#define QOR_IDC_DATASET_NAME 1000  // label: the data set's name
#define QOR_IDC_MAX_PCT 1001       // edit: upper threshold, percent of the data range
#define QOR_IDC_MIN_PCT 1002       // edit: lower threshold, percent of the data range
#define QOR_IDC_MAX_THR 1004       // edit: upper threshold, data value
#define QOR_IDC_MIN_THR 1005       // edit: lower threshold, data value
#define QOR_IDC_VIEW 1007          // the histogram view
#define QOR_IDC_SCHEME 1010        // combo box: colour scheme
#define QOR_IDC_NOTIFY 1012        // check box "Refresh"
#define QOR_IDC_LOG_SCALE 1013     // check box: logarithmic histogram
#define QOR_IDC_BIN_PERCENT 1015   // read-only edit: the pointed bin's share
#define QOR_IDC_BIN_COUNT 1016     // read-only edit: the pointed bin's count
#define QOR_IDC_BIN_LABEL 1017     // label: the pointed bin's range
#define QOR_IDC_COLOR_COUNT 1018   // edit: entries of a generated table
#define QOR_IDC_EDIT_ALPHA 1019    // check box: edit the alpha curve
