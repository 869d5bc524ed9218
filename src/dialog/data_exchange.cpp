// Data exchange between the state fields and the controls of template 5008.
#include "color_dlg.h"

// m_nEditing names the threshold edit that is being typed in: its text and
// caret are left alone while the handler writes the other representation.
void CColorDlgBase::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    const int editing = m_nEditing;
    const int wasWriting = m_bWritingControls;
    if (!pDX->m_bSaveAndValidate) m_bWritingControls = 1;
    if (editing <= kNoField) {
        DDX_Text(pDX, IDC_MAX_PCT, m_dMaxPct);
        DDX_Text(pDX, IDC_MIN_PCT, m_dMinPct);
        DDX_Text(pDX, IDC_MAX_THR, m_dMaxThr);
        DDX_Text(pDX, IDC_MIN_THR, m_dMinThr);
        DDX_Control(pDX, IDC_SCHEME, m_cbScheme);
        DDX_Check(pDX, IDC_NOTIFY, m_bNotify);
        DDX_Check(pDX, IDC_LOG_SCALE, m_bLogScale);
        DDX_Text(pDX, IDC_BIN_PERCENT, m_dBinPercent);
        DDX_Text(pDX, IDC_BIN_COUNT, m_nBinCount);
        DDX_Text(pDX, IDC_BIN_LABEL, m_strBinLabel);
        DDX_Text(pDX, IDC_DATASET_NAME, m_strDataSet);
    } else {
        if (editing != kMaxPctField) DDX_Text(pDX, IDC_MAX_PCT, m_dMaxPct);
        if (editing != kMinPctField) DDX_Text(pDX, IDC_MIN_PCT, m_dMinPct);
        if (editing != kMaxThrField) DDX_Text(pDX, IDC_MAX_THR, m_dMaxThr);
        if (editing != kMinThrField) DDX_Text(pDX, IDC_MIN_THR, m_dMinThr);
    }
    DDX_Text(pDX, IDC_COLOR_COUNT, m_nColorCount);
    DDV_MinMaxInt(pDX, m_nColorCount, kMinColorCount, kMaxColorCount);
    DDX_Check(pDX, IDC_EDIT_ALPHA, m_bEditAlpha);
    m_bWritingControls = wasWriting;
}
