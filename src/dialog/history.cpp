// Undo and redo: the state after the last gesture is kept, and each gesture
// that changes it pushes the state before onto the undo list.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "color_dlg.h"

namespace {

using State = CColorDlgBase::HistoryState;

bool Same(double a, double b) { return a == b || (std::isnan(a) && std::isnan(b)); }

// The links only keep the values exact; they never make a step of their own.
bool SameState(const State& a, const State& b) {
    return Same(a.minThr, b.minThr) && Same(a.maxThr, b.maxThr) && Same(a.minPct, b.minPct) &&
           Same(a.maxPct, b.maxPct) && a.lowIndex == b.lowIndex && a.highIndex == b.highIndex &&
           a.kind == b.kind && a.scheme == b.scheme && a.maxIndex == b.maxIndex &&
           a.colorCount == b.colorCount && a.table == b.table && a.fileName == b.fileName &&
           a.alpha == b.alpha && a.knots == b.knots && a.logScale == b.logScale;
}

void PushBounded(std::deque<State>& list, State state) {
    list.push_back(std::move(state));
    if (list.size() > CColorDlgBase::kHistorySteps) list.pop_front();
}

}  // namespace

CColorDlgBase::HistoryState CColorDlgBase::CaptureState() const {
    State s;
    s.minThr = m_dMinThr;
    s.maxThr = m_dMaxThr;
    s.minPct = m_dMinPct;
    s.maxPct = m_dMaxPct;
    s.minLink = m_minLink;
    s.maxLink = m_maxLink;
    s.lowIndex = m_nLowIndex;
    s.highIndex = m_nHighIndex;
    s.scheme = m_nScheme;
    s.maxIndex = m_nMaxIndex;
    s.colorCount = m_nColorCount;
    s.lastColorCount = m_nLastColorCount;
    s.tabName = m_pszTabName;
    s.logScale = m_bLogScale;
    const size_t entries = static_cast<size_t>(m_nMaxIndex) + 1;
    if (m_pColorTab == BuiltInTable(m_nScheme)) {
        s.kind = kBuiltInTable;
    } else {
        // A table held by the dialog (or by a command's own storage) is kept by content.
        s.kind = m_pColorTab == reinterpret_cast<unsigned int*>(m_pFileTab) ? kFileTable : kOwnTable;
        if (m_pColorTab) s.table.assign(m_pColorTab, m_pColorTab + entries);
    }
    if (s.kind == kFileTable) s.fileName = m_szFileTabName;
    if (m_pAlpha) s.alpha.assign(m_pAlpha, m_pAlpha + entries);
    if (m_pAlphaKnot) s.knots.assign(m_pAlphaKnot, m_pAlphaKnot + entries);
    return s;
}

void CColorDlgBase::RestoreState(const HistoryState& s) {
    m_dMinThr = s.minThr;
    m_dMaxThr = s.maxThr;
    m_dMinPct = s.minPct;
    m_dMaxPct = s.maxPct;
    m_minLink = s.minLink;
    m_maxLink = s.maxLink;
    m_dLastMinThr = m_dMinThr;
    m_dLastMaxThr = m_dMaxThr;
    m_nLowIndex = s.lowIndex;
    m_nHighIndex = s.highIndex;
    m_nScheme = s.scheme;
    m_nColorCount = s.colorCount;
    m_nLastColorCount = s.lastColorCount;
    m_bLogScale = s.logScale;
    if (s.kind == kBuiltInTable) {
        ActivateTable(BuiltInTable(s.scheme), s.maxIndex, s.tabName);
    } else if (s.kind == kFileTable) {
        if (!m_pFileTab) m_pFileTab = new unsigned char[4 * CDIB::kBuiltInEntries];
        std::memcpy(m_pFileTab, s.table.data(),
                    std::min(s.table.size(), size_t{CDIB::kBuiltInEntries}) * sizeof(unsigned int));
        const size_t length = std::min(s.fileName.size(), sizeof m_szFileTabName - 1);
        std::memcpy(m_szFileTabName, s.fileName.c_str(), length);
        m_szFileTabName[length] = '\0';
        ActivateTable(reinterpret_cast<unsigned int*>(m_pFileTab), s.maxIndex, s.tabName);
    } else {
        delete[] m_pOwnTab;
        m_pOwnTab = new unsigned int[s.table.size()];
        std::copy(s.table.begin(), s.table.end(), m_pOwnTab);
        ActivateTable(m_pOwnTab, s.maxIndex, s.tabName);
    }
    ResetAlphaCurve(s.maxIndex + 1);
    std::copy(s.alpha.begin(), s.alpha.end(), m_pAlpha);
    std::copy(s.knots.begin(), s.knots.end(), m_pAlphaKnot);
    if (m_cbScheme.m_hWnd) m_cbScheme.SetCurSel(m_nScheme);
    m_nEditing = kNoField;
    UpdateData(FALSE);
    UpdateView(m_bNotify);
}

// True when the state before this gesture went onto the undo list.
bool CColorDlgBase::PushIfChanged() {
    State now = CaptureState();
    const bool changed = m_bHaveCurrent && !SameState(now, m_current);
    if (changed) {
        PushBounded(m_undo, std::move(m_current));
        m_redo.clear();
    }
    m_current = std::move(now);
    m_bHaveCurrent = true;
    return changed;
}

void CColorDlgBase::RecordStep() {
    m_bWheelBurst = false;
    PushIfChanged();
}

// A burst's notches make one step: once the state before the burst is on the
// undo list, later notches only move the state the step leads to.
void CColorDlgBase::RecordWheelStep() {
    if (m_bWheelBurst && m_bBurstRecorded) {
        m_current = CaptureState();
        return;
    }
    if (!m_bWheelBurst) m_bBurstRecorded = false;
    m_bWheelBurst = true;
    m_bBurstRecorded = PushIfChanged();
}

int CColorDlgBase::Undo() {
    RecordStep();  // a value typed but not yet confirmed is a step of its own
    if (m_undo.empty()) return -3;
    PushBounded(m_redo, std::move(m_current));
    m_current = std::move(m_undo.back());
    m_undo.pop_back();
    RestoreState(m_current);
    return 0;
}

int CColorDlgBase::Redo() {
    RecordStep();
    if (m_redo.empty()) return -3;
    PushBounded(m_undo, std::move(m_current));
    m_current = std::move(m_redo.back());
    m_redo.pop_back();
    RestoreState(m_current);
    return 0;
}

void CColorDlgBase::ClearHistory() {
    m_undo.clear();
    m_redo.clear();
    m_bWheelBurst = false;
    m_current = CaptureState();
    m_bHaveCurrent = true;
}

void CColorDlgBase::OnThresholdEditDone() { RecordStep(); }
