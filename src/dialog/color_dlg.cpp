// Construction, initialisation and destruction of the colour table window.
#include "color_dlg.h"

#include "../res/dialog_template.h"

CColorDlgBase* g_pColorDlg = nullptr;
ColorDlgJoins g_colorDlgJoins{};

IMPLEMENT_DYNAMIC(CColorDlgBase, CDialog)

CColorDlgBase::CColorDlgBase()
    : CDialog(IDD_COLOR_TABLE, nullptr),
      m_dib(1),
      m_ptDown(0, 0),
      m_ptLowThr(0, 0),
      m_ptHighThr(0, 0),
      m_ptLowIndex(0, 0),
      m_ptHighIndex(0, 0),
      m_ptMidThr(0, 0),
      m_ptMidIndex(0, 0),
      m_dMaxPct(100.0),
      m_dMinPct(0.0),
      m_dMaxThr(0.0),
      m_dMinThr(0.0),
      m_bNotify(1),
      m_bLogScale(1),
      m_dBinPercent(0.0),
      m_nBinCount(0),
      m_nColorCount(1024),
      m_bEditAlpha(0) {
    AfxRegisterDialogTemplate(g_colorTableTemplate);  // so that Create finds template 5008
    CDIB::GetBuildInColorName(m_pszSchemeName, 0);
    m_pBuiltInTabs = CDIB::GetBuildInColorTable();

    m_pVolume = nullptr;
    m_nDimX = m_nDimY = m_nDimZ = 0;
    m_nBins = 1024;
    m_nCurBin = 0;
    m_bHistValid = 0;
    m_pfnNotify = nullptr;
    m_pHistogram = nullptr;
    m_nLowIndex = 0;
    m_nHighIndex = 255;
    m_nMaxIndex = 255;
    m_bMouseDown = 0;
    m_nMargin = 7;
    m_dMinGapPct = 1.5;
    m_nPreviewHeight = 12;
    m_nPreviewWidth = 36;

    BuildPreviews();

    m_nEditing = kNoField;
    m_nActiveHandle = kNoHandle;
    m_pFileTab = nullptr;
    m_pOwnTab = nullptr;

    ResetAlphaCurve(m_nMaxIndex + 1);

    m_pVolume = nullptr;
    m_pFlatData = nullptr;
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
    for (int i = 0; i < kSchemeCount; ++i) {
        ::SendMessage(m_cbScheme.m_hWnd, CB_INSERTSTRING, static_cast<WPARAM>(i),
                      reinterpret_cast<LPARAM>(m_pszSchemeName[i]));
    }
    ::SendMessage(m_cbScheme.m_hWnd, CB_SETCURSEL, static_cast<WPARAM>(m_nScheme), 0);

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
