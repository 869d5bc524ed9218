// Dialog template 5008: the colour table window.
#include "dialog_template.h"

#include "../framework/win_api.h"
#include "resource.h"

namespace {

constexpr uint32_t kChild = WS_CHILD | WS_VISIBLE;
constexpr uint32_t kEdit = kChild | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL;
constexpr uint32_t kReadOnlyEdit = kChild | ES_READONLY;
constexpr uint32_t kCheck = kChild | WS_TABSTOP | BS_AUTOCHECKBOX;

// Controls in template order; rectangles in dialog units.
constexpr DialogControl kControls[] = {
    {IDC_DATASET_NAME, ControlClass::Static, kChild | SS_CENTER, 2, 7, 261, 18, "Data set name: Null"},
    {IDC_STATIC_TEXT, ControlClass::Static, kChild | SS_RIGHT, 37, 55, 51, 11, "Max threshold:"},
    {IDC_STATIC_TEXT, ControlClass::Static, kChild | SS_RIGHT, 37, 41, 51, 11, "Min threshold:"},
    {IDC_MAX_PCT, ControlClass::Edit, kEdit, 96, 53, 52, 12, ""},
    {IDC_MIN_PCT, ControlClass::Edit, kEdit, 96, 38, 52, 12, ""},
    {IDC_MAX_THR, ControlClass::Edit, kEdit, 156, 53, 52, 12, ""},
    {IDC_MIN_THR, ControlClass::Edit, kEdit, 156, 38, 52, 12, ""},
    {IDC_STATIC_TEXT, ControlClass::Static, kChild | SS_LEFT, 157, 27, 45, 8, "Absolute"},
    {IDOK, ControlClass::Button, kChild | WS_TABSTOP | BS_DEFPUSHBUTTON, 2, 287, 41, 14, "Tamsel color"},
    {IDC_VIEW, ControlClass::Static, kChild | SS_NOTIFY, 2, 83, 261, 201, "", WS_EX_DLGMODALFRAME},
    {IDC_STATIC_TEXT, ControlClass::Static, kChild | SS_LEFT, 97, 27, 42, 8, "Percent"},
    {IDC_SCHEME, ControlClass::ComboBox,
     kChild | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_SORT, 171, 289, 92, 150,
     ""},
    {IDC_NOTIFY, ControlClass::Button, kCheck, 77, 288, 37, 13, "Refresh"},
    {IDC_LOG_SCALE, ControlClass::Button, kCheck, 120, 290, 44, 11, "Log space"},
    {IDC_BIN_PERCENT, ControlClass::Edit, kReadOnlyEdit, 96, 68, 52, 12, ""},
    {IDC_BIN_LABEL, ControlClass::Static, kChild | SS_RIGHT, 2, 69, 86, 8, "Bin value:"},
    {IDC_BIN_COUNT, ControlClass::Edit, kReadOnlyEdit, 156, 68, 52, 12, ""},
    {IDC_COLOR_COUNT, ControlClass::Edit, kEdit, 45, 288, 27, 12, ""},
    {IDC_EDIT_ALPHA, ControlClass::Button, kCheck, 216, 37, 47, 11, "Edit Alpha"},
};

}  // namespace

const DialogTemplate g_colorTableTemplate = {
    IDD_COLOR_TABLE,
    static_cast<uint32_t>(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SHELLFONT),
    268,
    308,
    QOR_CAPTION,
    "MS Shell Dlg",
    8,
    kControls,
    static_cast<int>(sizeof(kControls) / sizeof(kControls[0])),
};
