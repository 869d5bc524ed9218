// The colour table window.
//
// Classes: CColorDlgBase (the dialog and the whole state of the editor)
// Records: ColorDlgJoins (what the dialog's parts ask of one another)
// Globals: g_pColorDlg (the single dialog of the process), g_colorDlgJoins
//
// Every field is public: the histogram engine, the colour table builders and
// the view work on them directly. Each group of members is defined in the
// folder named in its comment. Those three folders never call one another,
// and this one calls none of them: what one part needs of another goes through
// the joins, which module/ fills in when the library is loaded.
#pragma once

#include <qorcolor/qorcolor.h>

#include <cmath>
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "../canvas/dib.h"
#include "../framework/afx.h"
#include "../res/resource.h"

class CColorDlgBase;

struct ColorDlgJoins {
    void (*computeHistogram)(CColorDlgBase& dlg);
    void (*updateView)(CColorDlgBase& dlg, int bNotify);
    void (*resetAlphaCurve)(CColorDlgBase& dlg, int entries);
    void (*setAlphaKnot)(CColorDlgBase& dlg, int knot, float alpha);
    void (*deleteAlphaKnot)(CColorDlgBase& dlg);
    void (*saveActiveTable)(CColorDlgBase& dlg);
    bool (*runCommand)(CColorDlgBase& dlg, UINT id);
};

extern ColorDlgJoins g_colorDlgJoins;

class CColorDlgBase : public CDialog {
    DECLARE_DYNAMIC(CColorDlgBase)

public:
    enum { IDD = IDD_COLOR_TABLE };
    static constexpr int kSchemeCount = CDIB::kBuiltInCount;
    static constexpr int kDefaultScheme = 10;  // "Gray"
    // The view's handles (m_nActiveHandle), in the order a press tries them.
    enum Handle {
        kNoHandle = -1,
        kLowThr,
        kHighThr,
        kLowIndex,
        kHighIndex,
        kMidThr,
        kMidIndex,
        kHandleCount
    };
    // The threshold edit being typed in (m_nEditing), which the exchange skips.
    enum EditedField { kNoField = -1, kMinPctField, kMaxPctField, kMinThrField, kMaxThrField };
    // What the table entry points return when the host gave no table to fill:
    // neither a value-indexed (1) nor a ramp (0) result.
    static constexpr int kNoHostTable = -1;
    // Colour counts a generated table may have (edit 1018).
    static constexpr int kMinColorCount = 256;
    static constexpr int kMaxColorCount = 10240;
    static constexpr int kDefaultColorCount = 1024;
    static constexpr int kBinCount = 1024;
    // Pixels around the histogram that also hold the handles, and the reach
    // of a press around a handle.
    static constexpr int kMargin = 7;
    // The narrowest the two percentages may come, in percent of the data range.
    static constexpr double kMinGapPercent = 1.5;
    static constexpr int kPreviewWidth = 36, kPreviewHeight = 12;

    CColorDlgBase();
    ~CColorDlgBase() override;
    // Cuts the dialog off from the host and hides it; the object goes once
    // none of its messages is being handled any more.
    void End();

    // ---- dialog/: construction, data exchange, control handlers
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void BuildPreviews();
    // Built-in table `scheme` of the canvas library's 256-entry tables.
    unsigned int* BuiltInTable(int scheme) const;
    // Makes `table` of maxIndex + 1 entries, called `name`, the active table.
    void ActivateTable(unsigned int* table, int maxIndex, char* name);
    void OnNoAction();
    void OnSelChangeScheme();
    void OnClickedViewOption();
    void OnClickedNotify();
    void OnChangeMinPct();
    void OnChangeMaxPct();
    void OnChangeMinThr();
    void OnChangeMaxThr();
    void FinishThresholdEdit(EditedField editing, bool fromPercent);
    // A threshold taken as typed into its edit (`editing`, or kNoField to write
    // all four): false, with the last accepted value back, when refused.
    bool TakeMinThreshold(double t, EditedField editing);
    bool TakeMaxThreshold(double t, EditedField editing);
    // The step of one histogram bin, and a threshold moved by `bins` of them
    // (Up/Down, Page Up/Page Down in the threshold edits): false when it stays.
    double BinStep() const;
    bool NudgeThreshold(bool upper, int bins);
    // Enter in a threshold edit: true when the focus is in one of the four,
    // whose texts then show the values in force.
    bool ConfirmThresholdEdit();
    // Focus left a threshold edit: the value typed there is one step of history.
    void OnThresholdEditDone();
    void OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT lpDrawItemStruct) override;
    void DrawSchemeItem(LPDRAWITEMSTRUCT lpDrawItemStruct);

    // ---- dialog/history.cpp: undo and redo of the user's gestures
    // Ends a gesture: the state before it becomes one undo step if it changed.
    void RecordStep();
    // Ends a wheel notch: notches with no other gesture between them are one step.
    void RecordWheelStep();
    // Restore the state before (after) the last step; 0, or -3 when there is none.
    int Undo();
    int Redo();
    bool CanUndo() const { return !m_undo.empty(); }
    bool CanRedo() const { return !m_redo.empty(); }
    // New data: the history starts again from the state in force.
    void ClearHistory();

    // ---- colortable/: the active table's entries in reverse order
    int ReverseColors();

    // ---- the joins, by the part that does the work
    // histogram/: rebuilds the counts, range and thresholds when marked invalid.
    void ComputeHistogram() { g_colorDlgJoins.computeHistogram(*this); }
    // view/: the refresh every change of state passes through.
    void UpdateView(int bNotify) { g_colorDlgJoins.updateView(*this, bNotify); }
    // colortable/: a flat curve at 1.0 over `entries` entries, knots at both ends.
    void ResetAlphaCurve(int entries) { g_colorDlgJoins.resetAlphaCurve(*this, entries); }
    // colortable/: entry `knot` becomes a knot of `alpha`, the runs beside it straight.
    void SetAlphaKnot(int knot, float alpha) { g_colorDlgJoins.setAlphaKnot(*this, knot, alpha); }
    // colortable/: removes the active knot unless it is an end knot.
    void DeleteAlphaKnot() { g_colorDlgJoins.deleteAlphaKnot(*this); }
    // colortable/: the other half of a left double click, saving the active table.
    void SaveActiveTable() { g_colorDlgJoins.saveActiveTable(*this); }
    // module/: a command of the menu (ID_AUTO_CONTRAST ...); false for another id.
    bool RunCommand(UINT id) { return g_colorDlgJoins.runCommand(*this, id); }

    // ---- module/: the menu; dialog/keys.cpp: the keys that reach it
    BOOL PreTranslateMessage(MSG* pMsg) override;
    void OnContextMenu(CWnd* pWnd, CPoint point);
    void OnSysCommand(UINT nID, LPARAM lParam);
    void OnInitMenuPopup(HMENU menu, UINT index, BOOL sysMenu);
    void AddCommandsToSystemMenu();

    // ---- histogram/: sources and typed kernels
    void MakeDemoHistogram();
    // Both thresholds become exact voxel values, s[floor(p * (N - 1))] of the
    // N voxels that are not NaN sorted ascending, then clamped and kept apart
    // as the edits keep them; a QorResult code (0, -2 or -3 with nothing changed).
    static constexpr double kAutoContrastLow = 0.005, kAutoContrastHigh = 0.995;
    int AutoContrast(double pLow, double pHigh);
    void BuildHistogram(const uint8_t* data);
    void BuildHistogram(const int8_t* data);
    void BuildHistogram(const int16_t* data);
    void BuildHistogram(const uint16_t* data);
    void BuildHistogram(const int32_t* data);
    void BuildHistogram(const uint32_t* data);
    void BuildHistogram(const float* data);
    void BuildHistogram(const double* data);
    void BuildHistogram(uint8_t*** data);
    void BuildHistogram(int8_t*** data);
    void BuildHistogram(int16_t*** data);
    void BuildHistogram(uint16_t*** data);
    void BuildHistogram(int32_t*** data);
    void BuildHistogram(uint32_t*** data);
    void BuildHistogram(float*** data);
    void BuildHistogram(double*** data);

    // ---- colortable/: tables for the host, the own table, alpha knots
    int BuildDataColorTab(unsigned int* table);
    int BuildDataColorTabEx(unsigned int* table, int& count, double& minThr, double& maxThr, double& dataMin,
                            double& dataMax);
    int SampleColorTabAlpha(unsigned int* table, int& count, double& minThr, double& maxThr, double& dataMin,
                            double& dataMax);
    // The thresholds and data range that the extended exchange hands back.
    void ReportRange(double& minThr, double& maxThr, double& dataMin, double& dataMax) const;
    void OnBnClickedOk();
    void OnRButtonDown(UINT nFlags, CPoint point);
    void LoadTableFile(const CFileDialog& chosen);
    // A colour table file of any form the reader knows becomes the active
    // (file) table: 0, or QOR_REFUSED with `reason` and nothing changed.
    int ImportColorTable(const char* path, CString& reason);
    // The active table, its alpha curve and thresholds in QorTableFormat
    // `format`: 0, QOR_BAD_ARGUMENT or QOR_WRITE_FAILED with `reason`.
    int ExportColorTable(const char* path, int format, CString& reason);

    // ---- view/: refresh, drawing, mouse
    void DrawAlphaCurve(int x, int y, int width, int height);
    // Where the view placed a handle, in canvas coordinates.
    const CPoint& HandlePoint(Handle handle) const;
    void HitTestKnot(int x, int y);
    void MoveActiveKnot(int dy);
    void EditAlphaKnot(CPoint point);  // the Edit Alpha half of a left double click
    void OnPaint();
    void OnLButtonDblClk(UINT nFlags, CPoint point);
    void OnLButtonDown(UINT nFlags, CPoint point);
    void OnMouseMove(UINT nFlags, CPoint point);
    void OnLButtonUp(UINT nFlags, CPoint point);
    BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint point);

    // ---- canvas and layout
    CRect m_rcView;
    CDIB m_dib;
    CDIB m_dibPreview[kSchemeCount];
    int m_nPreviewWidth = kPreviewWidth;
    int m_nPreviewHeight = kPreviewHeight;
    int m_nViewLeft = 0, m_nViewTop = 0;
    int m_nViewWidth = 0, m_nViewHeight = 0;
    int m_nMargin = kMargin;

    // ---- mouse interaction
    int m_bMouseDown = 0;
    CPoint m_ptDown{0, 0};
    // The six handles, in handle index order 0 to 5.
    CPoint m_ptLowThr{0, 0}, m_ptHighThr{0, 0}, m_ptLowIndex{0, 0}, m_ptHighIndex{0, 0}, m_ptMidThr{0, 0},
        m_ptMidIndex{0, 0};
    int m_nActiveHandle = kNoHandle;
    int m_nDownLowIndex = 0, m_nDownHighIndex = 0;
    int m_nCurBin = 0;

    // ---- data exchange
    int m_nEditing = kNoField;
    // Non-zero while the exchange writes the controls: the change
    // notifications that the writes raise are the program's own, not the user's.
    int m_bWritingControls = 0;

    // ---- host data
    void*** m_pVolume = nullptr;
    void* m_pFlatData = nullptr;
    unsigned int* m_pHostColorTab = nullptr;
    ColorTabParam m_param{};
    int m_nDataType = 0;
    int m_nDimX = 0, m_nDimY = 0, m_nDimZ = 0;
    QorColorNotify m_pfnNotify = nullptr;

    // ---- histogram
    int m_nBins = kBinCount;
    int32_t* m_pHistogram = nullptr;
    int m_nHistScale = 0;
    int m_nHistPeak = 0;
    int m_bHistValid = 0;
    double m_dBinWidth = 0.0;

    // ---- thresholds and range
    CWnd* m_pEditMaxPct = nullptr;
    CWnd* m_pEditMinPct = nullptr;
    CWnd* m_pEditMaxThr = nullptr;
    CWnd* m_pEditMinThr = nullptr;
    double m_dMaxPct = 100.0, m_dMinPct = 0.0, m_dMaxThr = 0.0, m_dMinThr = 0.0;
    double m_dLastMaxThr = 0.0, m_dLastMinThr = 0.0;
    double m_dDataMin = 0.0, m_dDataMax = 0.0;
    double m_dMinGapThr = 0.0;
    double m_dMinGapPct = kMinGapPercent;
    // The percentage that names a threshold exactly over the range it was
    // taken from: converting one into the other and back gives it unchanged.
    struct ThresholdLink {
        double pct = NAN, thr = NAN, lo = NAN, hi = NAN;
    };
    ThresholdLink m_maxLink, m_minLink;
    double PercentOf(ThresholdLink& link, double thr);
    double ThresholdOf(ThresholdLink& link, double pct, double range);
    // Both thresholds from the percentages (over `range`, the data range as
    // the element type's arithmetic gives it), or both percentages from the thresholds.
    void ThresholdsFromPercentages(double range);
    void ThresholdsFromPercentages() { ThresholdsFromPercentages(m_dDataMax - m_dDataMin); }
    void PercentagesFromThresholds();
    // Keeps each threshold inside its own band of the data range, the gap
    // m_dMinGapThr short of the far end; one is never moved for the other.
    void KeepThresholdsInBands();

    // ---- colour mapping
    int m_nMinGapIndex = 0;
    int m_nLowIndex = 0, m_nHighIndex = CDIB::kBuiltInEntries - 1, m_nMaxIndex = CDIB::kBuiltInEntries - 1;

    // ---- colour tables
    int m_nScheme = kDefaultScheme;
    char* m_pszSchemeName[kSchemeCount] = {};
    unsigned char* m_pBuiltInTabs = nullptr;
    unsigned int* m_pColorTab = nullptr;
    unsigned char* m_pFileTab = nullptr;
    char m_szFileTabName[132] = {};
    char* m_pszTabName = nullptr;
    unsigned int* m_pOwnTab = nullptr;

    // ---- alpha curve
    float* m_pAlpha = nullptr;
    int* m_pAlphaKnot = nullptr;
    CPoint* m_pKnotPos = nullptr;
    int m_nActiveKnot = -1;
    int m_nKnotDownY = 0;
    int m_nAlphaLeft = 0, m_nAlphaRight = 0, m_nAlphaBottom = 0, m_nAlphaTop = 0;

    // ---- controls
    CComboBox m_cbScheme;
    int m_bNotify = 1;
    int m_bLogScale = 1;
    double m_dBinPercent = 0.0;
    int m_nBinCount = 0;
    CString m_strBinLabel;
    CString m_strDataSet;
    int m_nColorCount = kDefaultColorCount;
    // The count of the last generated table (the default before one); button 1
    // puts it back into m_nColorCount when the edit held a count out of range.
    int m_nLastColorCount = kDefaultColorCount;
    int m_bEditAlpha = 0;

    // ---- history
    static constexpr size_t kHistorySteps = 100;
    enum TableKind { kBuiltInTable, kFileTable, kOwnTable };
    // What one undo step puts back; tables other than built-in ones by content.
    struct HistoryState {
        double minThr = 0, maxThr = 0, minPct = 0, maxPct = 0;
        ThresholdLink minLink, maxLink;
        int lowIndex = 0, highIndex = 0;
        int kind = kBuiltInTable, scheme = 0, maxIndex = 0, colorCount = 0, lastColorCount = 0;
        std::vector<unsigned int> table;
        std::string fileName;
        char* tabName = nullptr;
        std::vector<float> alpha;
        std::vector<int> knots;
        int logScale = 0;
    };
    HistoryState CaptureState() const;
    void RestoreState(const HistoryState& state);
    bool PushIfChanged();
    std::deque<HistoryState> m_undo, m_redo;
    HistoryState m_current;
    bool m_bHaveCurrent = false;
    bool m_bWheelBurst = false;
    bool m_bBurstRecorded = false;

    DECLARE_MESSAGE_MAP()
};

extern CColorDlgBase* g_pColorDlg;
