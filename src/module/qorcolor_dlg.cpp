// The exported entry points and the lifetime of the single dialog.
#include <qorcolor/qorcolor.h>

#include "../dialog/color_dlg.h"
#include "../histogram/kernels/histogram_kernels.h"

namespace {

// Creates the dialog and its window on first use.
CColorDlgBase* GetDialog() {
    if (g_pColorDlg == nullptr) {
        g_pColorDlg = new CColorDlgBase();
        g_pColorDlg->Create(IDD_COLOR_TABLE, nullptr);
        g_pColorDlg->AddCommandsToSystemMenu();
    }
    return g_pColorDlg;
}

void ShowAndRefresh(CColorDlgBase* dlg) {
    dlg->ShowWindow(SW_SHOW);
    dlg->BringWindowToTop();
    dlg->UpdateView(0);
    dlg->ClearHistory();
}

// State every new data set starts from: no mouse drag, bin readout at 0,
// thresholds to be placed again from the percentages by the rebuild.
void ResetForNewData(CColorDlgBase* dlg) {
    dlg->m_pVolume = nullptr;
    dlg->m_pFlatData = nullptr;
    dlg->m_dMaxThr = 0.0;
    dlg->m_dMinThr = 0.0;
    dlg->m_bHistValid = 0;
    dlg->m_bMouseDown = 0;
    dlg->m_nCurBin = 0;
    dlg->m_nMargin = CColorDlgBase::kMargin;
}

}  // namespace

CQorColorDlg::CQorColorDlg() = default;

// The host may end the window from inside one of the window's own handlers
// (its callback, or while a modal question is open): the host sees it gone at
// once, the object itself goes when the outermost handler has returned.
// The thread's histogram counters, kept for the window's rebuilds, go with it.
CQorColorDlg::~CQorColorDlg() {
    CColorDlgBase* dlg = g_pColorDlg;
    g_pColorDlg = nullptr;
    if (!dlg) return;
    dlg->End();
    qorcolor::histogram::ReleaseThreadCounters();
}

CQorColorDlg& CQorColorDlg::operator=(const CQorColorDlg&) { return *this; }

void CQorColorDlg::show() {
    AFX_MANAGE_STATE(AfxGetStaticModuleState());
    CColorDlgBase* dlg = GetDialog();
    ResetForNewData(dlg);
    dlg->m_pHostColorTab = nullptr;
    dlg->m_pfnNotify = nullptr;
    dlg->m_nDataType = 0;
    dlg->m_nDimX = dlg->m_nDimY = dlg->m_nDimZ = 0;
    dlg->m_strDataSet.Format("Data set: %s",
                             "Noisy Guassian histogram. No volume was given; this is a demonstration.");
    ShowAndRefresh(dlg);
}

void CQorColorDlg::showInit(void*** data, int dataType, int dimX, int dimY, int dimZ, void* notify,
                            void* dataSetName, unsigned int* colorTab) {
    AFX_MANAGE_STATE(AfxGetStaticModuleState());
    CColorDlgBase* dlg = GetDialog();
    ResetForNewData(dlg);
    dlg->m_pfnNotify = reinterpret_cast<QorColorNotify>(notify);
    if (dataType < 0) {
        // The negation of INT_MIN does not exist; no datatype code is that large anyway.
        dlg->m_nDataType = dataType == INT32_MIN ? 0 : -dataType;
        dlg->m_pFlatData = static_cast<void*>(data);
    } else {
        dlg->m_nDataType = dataType;
        dlg->m_pVolume = data;
    }
    dlg->m_pHostColorTab = colorTab;
    dlg->m_nDimX = dimX;
    dlg->m_nDimY = dimY;
    dlg->m_nDimZ = dimZ;
    const char* name = static_cast<const char*>(dataSetName);
    dlg->m_strDataSet.Format("Data set: %s", name ? name : "");
    ShowAndRefresh(dlg);
}

int CQorColorDlg::UpdateDataColorTab() {
    if (g_pColorDlg == nullptr) return 0;
    if (g_pColorDlg->m_pHostColorTab == nullptr) return CColorDlgBase::kNoHostTable;
    return g_pColorDlg->BuildDataColorTab(g_pColorDlg->m_pHostColorTab);
}

int CQorColorDlg::GenerateColorTab(unsigned int* table) {
    if (g_pColorDlg == nullptr) return 0;
    if (table == nullptr) return CColorDlgBase::kNoHostTable;
    return g_pColorDlg->BuildDataColorTab(table);
}

int CQorColorDlg::GetColorTabEx(int& isVolume, int& count, double& minThr, double& maxThr, double& dataMin,
                                double& dataMax) {
    if (g_pColorDlg == nullptr) return 0;
    isVolume = g_pColorDlg->m_pVolume != nullptr ? 1 : 0;
    return g_pColorDlg->SampleColorTabAlpha(g_pColorDlg->m_pHostColorTab, count, minThr, maxThr, dataMin,
                                            dataMax);
}

int CQorColorDlg::UpdateDataColorTabEx(int& isVolume, int& count, double& minThr, double& maxThr,
                                       double& dataMin, double& dataMax) {
    if (g_pColorDlg == nullptr) return 0;
    isVolume = g_pColorDlg->m_pVolume != nullptr ? 1 : 0;
    return g_pColorDlg->BuildDataColorTabEx(g_pColorDlg->m_pHostColorTab, count, minThr, maxThr, dataMin,
                                            dataMax);
}

int CQorColorDlg::GenerateColorTabEx(unsigned int* table, int& count, double& minThr, double& maxThr,
                                     double& dataMin, double& dataMax) {
    if (g_pColorDlg == nullptr) return 0;
    return g_pColorDlg->BuildDataColorTabEx(table, count, minThr, maxThr, dataMin, dataMax);
}

void* CQorColorDlg::GetData() { return g_pColorDlg != nullptr ? g_pColorDlg->m_pVolume : nullptr; }

void* CQorColorDlg::Initialize() {
    if (g_pColorDlg == nullptr) return nullptr;
    g_pColorDlg->m_bHistValid = 0;
    g_pColorDlg->UpdateView(0);
    g_pColorDlg->ClearHistory();
    return g_pColorDlg->m_pHistogram;
}

void CQorColorDlg::RecomputeHistogram() {
    if (g_pColorDlg == nullptr) return;
    g_pColorDlg->m_bHistValid = 0;
    g_pColorDlg->UpdateView(0);
    g_pColorDlg->ClearHistory();
}

void* CQorColorDlg::GetColorTabParam() { return g_pColorDlg != nullptr ? &g_pColorDlg->m_param : nullptr; }
