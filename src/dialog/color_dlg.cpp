// Construction, initialisation and destruction of the colour table window.
#include "color_dlg.h"

#include "../res/dialog_template.h"

CColorDlgBase* g_pColorDlg = nullptr;
ColorDlgJoins g_colorDlgJoins{};

IMPLEMENT_DYNAMIC(CColorDlgBase, CDialog)

// The fields start from their defaults in the class; the scheme names and
// tables belong to the canvas library.
CColorDlgBase::CColorDlgBase() : CDialog(IDD_COLOR_TABLE, nullptr), m_dib(1) {
    AfxRegisterDialogTemplate(g_colorTableTemplate);  // so that Create finds template 5008
    CDIB::GetBuildInColorName(m_pszSchemeName, 0);
    m_pBuiltInTabs = CDIB::GetBuildInColorTable();
    BuildPreviews();
    ResetAlphaCurve(m_nMaxIndex + 1);
}

void CColorDlgBase::End() {
    // From here on nothing reaches the host: no callback, no table, no voxels.
    m_pfnNotify = nullptr;
    m_pHostColorTab = nullptr;
    m_pVolume = nullptr;
    m_pFlatData = nullptr;
    m_bHistValid = 1;
    if (!m_hWnd) return DeleteWhenIdle();
    if (::GetCapture() == m_hWnd) ::ReleaseCapture();
    ShowWindow(SW_HIDE);
    DeleteWhenIdle();
}

CColorDlgBase::~CColorDlgBase() {
    delete[] m_pHistogram;
    delete[] m_pFileTab;
    delete[] m_pOwnTab;
    delete[] m_pAlpha;
    delete[] m_pAlphaKnot;
    delete[] m_pKnotPos;
}

// One strip per built-in scheme: column x shows entry m_nMaxIndex * x / (width - 1).
void CColorDlgBase::BuildPreviews() {
    const int lastColumn = m_nPreviewWidth - 1;
    for (int k = 0; k < kSchemeCount; ++k) {
        const auto* table = reinterpret_cast<const unsigned char*>(BuiltInTable(k));
        CDIB& strip = m_dibPreview[k];
        strip.NewCreate(m_nPreviewWidth, m_nPreviewHeight, 24, 0, 1);
        for (int x = 0; x <= lastColumn; ++x) {
            const int e = lastColumn > 0 ? m_nMaxIndex * x / lastColumn : 0;
            const unsigned char* entry = table + 4 * e;
            strip.Line(x, 0, x, m_nPreviewHeight - 1, entry[2], entry[1], entry[0]);
        }
    }
}

BOOL CColorDlgBase::OnInitDialog() {
    CDialog::OnInitDialog();

    m_pEditMaxPct = GetDlgItem(IDC_MAX_PCT);
    m_pEditMinPct = GetDlgItem(IDC_MIN_PCT);
    m_pEditMaxThr = GetDlgItem(IDC_MAX_THR);
    m_pEditMinThr = GetDlgItem(IDC_MIN_THR);

    CWnd* placeholder = GetDlgItem(IDC_VIEW);
    placeholder->GetWindowRect(&m_rcView);
    placeholder->ShowWindow(SW_HIDE);
    ScreenToClient(&m_rcView);
    m_nViewLeft = m_rcView.left;
    m_nViewTop = m_rcView.top;
    const int width = m_rcView.right - m_rcView.left;
    const int height = m_rcView.bottom - m_rcView.top;
    m_dib.NewCreate(width, height, 24, 0, 1);
    m_nViewWidth = width;
    m_nViewHeight = height;

    // Items are inserted by position, so item i is built-in table i although
    // the template asks for a sorted list; the list keeps only the name pointers.
    m_nScheme = kDefaultScheme;
    for (int i = 0; i < kSchemeCount; ++i) m_cbScheme.InsertString(i, m_pszSchemeName[i]);
    m_cbScheme.SetCurSel(m_nScheme);

    ActivateTable(BuiltInTable(m_nScheme), CDIB::kBuiltInEntries - 1, m_pszSchemeName[m_nScheme]);
    return TRUE;
}

unsigned int* CColorDlgBase::BuiltInTable(int scheme) const {
    return reinterpret_cast<unsigned int*>(m_pBuiltInTabs) +
           static_cast<ptrdiff_t>(scheme) * CDIB::kBuiltInEntries;
}

void CColorDlgBase::ActivateTable(unsigned int* table, int maxIndex, char* name) {
    m_pColorTab = table;
    m_nMaxIndex = maxIndex;
    m_pszTabName = name;
}

void CColorDlgBase::OnNoAction() {}
